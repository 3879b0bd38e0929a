#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::sim {

// The simulator's command line. Plain value; not thread-safe.
struct SimOptions {
  std::filesystem::path archive;                  // the day archive (TICK_YYYY_MM_DD.zip)
  std::optional<std::filesystem::path> book;      // its book archive: the day has a real book
  std::optional<std::filesystem::path> data;      // K-line history; an empty temporary one if not
  std::optional<std::filesystem::path> settings;  // setup.ini for fees, contract and margin
  std::optional<std::filesystem::path> orders;    // the order script
  std::optional<int32_t> speed;                   // 1, 2, 4, 8, 16 or 32; RUN_SPEED if not
  bool smooth = false;                            // one tick per heartbeat (normal speed only)
  bool student = false;                           // the classroom's order-size limits
  bool help = false;
};

// The usage text.
const char* SimUsage();

// Reads the arguments after the program name; an error text, empty on success.
// Options may come before or after the archive; each takes its value as the
// next argument.
std::string ParseSimOptions(const std::vector<std::string>& args, SimOptions* options);

}  // namespace kestrel::sim
