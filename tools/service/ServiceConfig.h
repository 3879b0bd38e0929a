#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::service {

// The service's own settings, "key=value" lines ('#' starts a comment):
// version (the latest software version number, a positive integer) and
// update (the update archive's file name in DB/, ending in ".zip").
struct ServiceConfig {
  std::string version;
  std::string updateArchive;

  static ServiceConfig Parse(std::string_view text, std::vector<std::string>* warnings = nullptr);
  // "NUMBER,ARCHIVE.zip", or "EMPTY" while either is missing.
  std::string VersionReply() const;
};

}  // namespace kestrel::service
