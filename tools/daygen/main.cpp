// kestrel-daygen: writes practice trading days, and packs or unpacks day archives.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "DayGenerator.h"
#include "DayPacking.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage:\n"
               "  kestrel-daygen generate --from YYYY-MM-DD --to YYYY-MM-DD --seed N --out DIR\n"
               "                          [--pattern random|rising|falling|oscillating|"
               "long-squeeze|short-squeeze] [--training N]\n"
               "  kestrel-daygen pack DIR ARCHIVE\n"
               "  kestrel-daygen unpack ARCHIVE DIR\n");
}

// --key value pairs; false on a malformed or unknown option.
bool ParseOptions(int argc, char** argv, int first, const std::vector<std::string>& known,
                  std::map<std::string, std::string>* options) {
  for (int i = first; i < argc; i += 2) {
    const std::string key = argv[i];
    if (key.rfind("--", 0) != 0 || i + 1 >= argc) {
      std::fprintf(stderr, "kestrel-daygen: expected --option value at '%s'\n", argv[i]);
      return false;
    }
    bool ok = false;
    for (const auto& k : known) ok = ok || k == key.substr(2);
    if (!ok) {
      std::fprintf(stderr, "kestrel-daygen: unknown option %s\n", key.c_str());
      return false;
    }
    (*options)[key.substr(2)] = argv[i + 1];
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrel::daygen;
  if (argc < 2) {
    Usage();
    return 2;
  }
  const std::string command = argv[1];
  std::string error;
  if (command == "generate") {
    std::map<std::string, std::string> o;
    if (!ParseOptions(argc, argv, 2, {"from", "to", "seed", "out", "pattern", "training"}, &o)) {
      Usage();
      return 2;
    }
    GenerateRequest request;
    error = ParseGenerateRequest(o, &request);
    if (error.empty()) error = Generate(request);
  } else if (command == "pack" && argc == 4) {
    error = PackDayArchive(argv[2], argv[3]);
  } else if (command == "unpack" && argc == 4) {
    error = UnpackDayArchive(argv[2], argv[3]);
  } else {
    Usage();
    return 2;
  }
  if (!error.empty()) {
    std::fprintf(stderr, "kestrel-daygen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
