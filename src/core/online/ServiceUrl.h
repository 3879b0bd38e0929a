#pragma once

#include <string>
#include <string_view>

namespace kestrel {

struct AccountState;

// A value as typed, except the bytes that would break a URL (controls, space,
// '"', '#', '%', '&', '<', '>', DEL and every non-ASCII byte), which are
// percent-encoded.
std::string EncodeUrlValue(std::string_view value);

// A page request: base + "/" + path, then "?key=value" and "&key=value" for
// every parameter added, values through EncodeUrlValue. The path may carry its
// own "?" query already.
class ServiceUrl {
 public:
  ServiceUrl(std::string_view base, std::string_view path);
  ServiceUrl& Param(std::string_view key, std::string_view value);
  ServiceUrl& Param(std::string_view key, long long value);
  const std::string& str() const { return url_; }
  operator const std::string&() const { return url_; }

 private:
  std::string url_;
  bool hasQuery_ = false;
};

// The account query every account request starts with: "?id=" + id + "&pwd=" +
// password.
ServiceUrl AccountUrl(std::string_view base, std::string_view path, const AccountState& account);

// A file request: base + folder ("/DATA/", ...) + file name.
std::string FileUrl(std::string_view base, std::string_view folder, std::string_view name);

// The text with the value of every "pwd=" parameter replaced by "***", for any
// text that might quote a URL (errors, logs).
std::string RedactPassword(std::string_view text);

}  // namespace kestrel
