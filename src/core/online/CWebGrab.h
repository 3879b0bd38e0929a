#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "online/Fetcher.h"

namespace kestrel {

// The fetcher over libcurl: one blocking GET per call with the given user
// agent, the body read whole into memory, the system's proxy settings (the
// proxy environment), no shared cache. The connection handle is created by the
// first fetch and reused by later fetches of the same object. Not thread-safe
// except Abort.
class CWebGrab final : public Fetcher {
 public:
  explicit CWebGrab(std::string userAgent = kUserAgent);
  ~CWebGrab() override;
  CWebGrab(const CWebGrab&) = delete;
  CWebGrab& operator=(const CWebGrab&) = delete;

  bool Fetch(const std::string& url, std::string& buffer,
             const FetchOptions& options = {}) override;
  void Abort() override { aborted_.store(true); }

  // 0: the library defaults below; otherwise the whole transfer's limit.
  void SetTimeoutMs(uint32_t ms) { timeoutMs_ = ms; }

  // Of the last fetch.
  unsigned statusCode() const { return statusCode_; }
  const std::string& rawHeaders() const { return rawHeaders_; }
  const std::string& errorMessage() const { return errorMessage_; }
  const std::string& statusText() const { return statusText_; }
  double transferRate() const { return transferRate_; }  // KiB per second

  // A connection that cannot be made within this time fails; so does a
  // transfer that delivers nothing for the low-speed time.
  static constexpr long kConnectTimeoutMs = 15000;
  static constexpr long kLowSpeedSeconds = 60;
  static constexpr size_t kMaxErrorChars = 255;

 private:
  struct Transfer;
  static size_t OnBody(char* data, size_t size, size_t count, void* user);
  static size_t OnHeader(char* data, size_t size, size_t count, void* user);
  static int OnProgress(void* user, int64_t total, int64_t now, int64_t, int64_t);

  std::string userAgent_;
  void* session_ = nullptr;  // CURL*
  std::atomic<bool> aborted_{false};
  uint32_t timeoutMs_ = 0;

  unsigned statusCode_ = 0;
  std::string rawHeaders_;
  std::string errorMessage_;
  std::string statusText_;
  double transferRate_ = 0;
};

}  // namespace kestrel
