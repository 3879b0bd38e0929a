#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel {

// The user agent of every request to the service.
inline constexpr const char* kUserAgent = "DEMO";

// Upper bounds of one reply: more is a failed fetch, never an exhausted memory.
inline constexpr size_t kMaxPageBytes = size_t{1} << 20;   // pages and short replies
inline constexpr size_t kMaxFileBytes = size_t{64} << 20;  // archives, pictures, notes

// Where a download shows its progress (a progress bar). Called on the fetching
// thread.
class FetchProgress {
 public:
  virtual ~FetchProgress() = default;
  virtual void SetRange(uint64_t maximum) = 0;  // 0 .. maximum
  virtual void SetPosition(uint64_t position) = 0;
};

struct FetchOptions {
  bool forceReload = false;  // bypass any cached copy
  bool useCache = false;     // the reply may be kept in a cache
  size_t maxBytes = kMaxPageBytes;
  FetchProgress* progress = nullptr;
};

// One blocking HTTP GET of a complete URL. On success `buffer` holds the whole
// body followed by one zero byte; an error page of the server is a success.
// Failure: no connection, refused, a failed read, a body above maxBytes, or an
// abort; the buffer is then to be ignored. One object serves one thread.
class Fetcher {
 public:
  virtual ~Fetcher() = default;
  virtual bool Fetch(const std::string& url, std::string& buffer,
                     const FetchOptions& options = {}) = 0;
  // From any thread: the running fetch and every later one fail at once.
  virtual void Abort() = 0;
};

}  // namespace kestrel
