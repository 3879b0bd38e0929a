#pragma once

#include <ostream>

#include "SimOptions.h"

namespace kestrel::sim {

// Exit statuses of the simulator.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a missing file, a bad archive or a bad script line
inline constexpr int kExitUsage = 2;   // a bad command line

// One whole run: checks the files and the script, loads a copy of the day in a
// private temporary folder, replays it with the script and writes the deal
// export and the margin-account text to `out` (UTF-8). Every message goes to
// `err`. Returns the exit status. Not thread-safe.
int RunSimulator(const SimOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrel::sim
