#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrel::service {

// Bounds on what one request may carry; the client's longest request is a few
// hundred bytes.
struct TargetLimits {
  size_t maxTarget = 2048;
  size_t maxParams = 16;
  size_t maxKey = 32;
  size_t maxValue = 256;
};

// The path and query of a request target. The client inserts values as typed,
// without escaping, so '+' stays '+'; percent escapes are decoded for clients
// that do escape. A value that is not UTF-8 is read as CP950.
struct RequestTarget {
  std::string path;
  std::vector<std::pair<std::string, std::string>> params;

  // First value of the key, compared ignoring ASCII case; nullptr when absent.
  const std::string* Find(std::string_view key) const;
  // The value, or "" when absent: the pages treat a missing and an empty value alike.
  std::string Get(std::string_view key) const;
};

// Fills `out` and returns 0, or returns the HTTP status to answer: 414 for a
// target over the limit, 400 for too many or too long parameters or a NUL byte.
int ParseRequestTarget(std::string_view raw, RequestTarget& out, const TargetLimits& limits = {});

std::string PercentDecode(std::string_view text);
bool IsUtf8(std::string_view text);

}  // namespace kestrel::service
