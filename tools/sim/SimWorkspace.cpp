#include "SimWorkspace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/FileUtil.h"

namespace kestrel::sim {

namespace fs = std::filesystem;

std::unique_ptr<SimWorkspace> SimWorkspace::Create(std::string* error) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) {
    *error = "no temporary folder: " + ec.message();
    return nullptr;
  }
  std::string pattern = (base / "kestrel-sim-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) {
    *error = "cannot create a temporary folder in " + base.string() + ": " + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<SimWorkspace> ws(new SimWorkspace(fs::path(name.data())));
  for (const fs::path& dir : {ws->Cache(), ws->Data()}) {
    fs::create_directory(dir, ec);
    if (ec) {
      *error = "cannot create " + dir.string() + ": " + ec.message();
      return nullptr;
    }
  }
  return ws;
}

SimWorkspace::~SimWorkspace() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

std::string SimWorkspace::CopyIntoCache(const fs::path& source, const std::string& name) const {
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return "no such file: " + source.string();
  const std::optional<std::string> bytes = ReadWholeFile(source);
  if (!bytes) return "cannot read " + source.string();
  const std::string failed = WriteFileAtomically(Cache() / name, *bytes);
  if (!failed.empty()) return "cannot copy " + source.string() + ": " + failed;
  return "";
}

}  // namespace kestrel::sim
