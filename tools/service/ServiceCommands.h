#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrel::service {

// The command line of kestrel-service (arguments after the program name):
//   init --data DIR
//   serve --data DIR [--listen ADDR:PORT] [--threads N] [--log]
//   user add --data DIR ID PASSWORD [--rights R] [--expiry YYYY/MM/DD] [--class NAME]
//   user passwd|rights|class|expiry --data DIR ID VALUE
//   user unlock --data DIR ID
//   user list --data DIR
// A PASSWORD of "-" is read from standard input. --cheap-hash (any command)
// hashes new passwords at the library minimum: for tests only.
// Returns the process exit code: 0 done, 1 failed, 2 wrong usage.
int RunServiceCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err);

inline constexpr const char* kDefaultListen = "127.0.0.1:18631";

}  // namespace kestrel::service
