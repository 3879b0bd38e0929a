#pragma once

#include <cstdint>
#include <string>

namespace kestrel::service::load {

struct GetResult {
  bool ok = false;  // connected and read a whole reply
  int status = 0;
  std::string body;  // kept only when asked for
  int64_t bodyLength = 0;
};

// One HTTP/1.1 GET to 127.0.0.1:port on a new connection, the target sent as
// written, read to the end with large reads: the load generator shares the
// processors with the service, so its own client must cost little.
GetResult LoopbackGet(int port, const std::string& target, bool keepBody);

}  // namespace kestrel::service::load
