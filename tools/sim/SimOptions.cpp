#include "SimOptions.h"

#include "common/Decimal.h"

namespace kestrel::sim {

namespace {

// The speeds the trainer's speed commands offer.
constexpr int32_t kSpeeds[] = {1, 2, 4, 8, 16, 32};

bool IsCommandSpeed(std::string_view text, int32_t* speed) {
  if (text.empty() || text.size() > 2) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  const int32_t n = ParseDecimal(text);
  for (int32_t s : kSpeeds) {
    if (s == n) {
      *speed = n;
      return true;
    }
  }
  return false;
}

}  // namespace

const char* SimUsage() {
  return "usage: kestrel-sim ARCHIVE [--book BOOKARCHIVE] [--data DIR] [--settings setup.ini]\n"
         "                   [--speed 1|2|4|8|16|32] [--smooth] [--student] [--orders FILE]\n"
         "Replays the day archive on a simulated clock, runs the order script and prints\n"
         "the detailed deal export followed by the margin-account text.\n"
         "Script lines: HH:MM:SS,limit,buy|sell,PRICE,LOTS  HH:MM:SS,market,buy|sell,LOTS\n"
         "              HH:MM:SS,ladder,buy|sell,PRICE,LOTS HH:MM:SS,trigger,buy|sell,PRICE,LOTS\n"
         "              HH:MM:SS,cancel,NO  HH:MM:SS,cancel-all  HH:MM:SS,end\n";
}

std::string ParseSimOptions(const std::vector<std::string>& args, SimOptions* o) {
  *o = SimOptions{};
  bool haveArchive = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o->help = true;
      continue;
    }
    if (a == "--smooth") {
      o->smooth = true;
      continue;
    }
    if (a == "--student") {
      o->student = true;
      continue;
    }
    std::optional<std::filesystem::path>* path = nullptr;
    if (a == "--book") path = &o->book;
    if (a == "--data") path = &o->data;
    if (a == "--settings") path = &o->settings;
    if (a == "--orders") path = &o->orders;
    if (path != nullptr || a == "--speed") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return a + " needs a value";
      const std::string& value = args[++i];
      if (path != nullptr) {
        *path = value;
        continue;
      }
      int32_t speed = 0;
      if (!IsCommandSpeed(value, &speed))
        return "--speed must be 1, 2, 4, 8, 16 or 32, not '" + value + "'";
      o->speed = speed;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return "unknown option " + a;
    if (haveArchive) return "more than one archive given ('" + a + "')";
    o->archive = a;
    haveArchive = true;
  }
  if (o->help) return "";
  if (!haveArchive) return "no day archive given";
  if (o->smooth && o->speed && *o->speed != 1) return "--smooth runs at normal speed only";
  return "";
}

}  // namespace kestrel::sim
