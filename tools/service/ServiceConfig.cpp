#include "service/ServiceConfig.h"

#include "common/FileUtil.h"
#include "service/FileNames.h"
#include "service/TextLines.h"

namespace kestrel::service {

ServiceConfig ServiceConfig::Parse(std::string_view text, std::vector<std::string>* warnings) {
  ServiceConfig config;
  size_t number = 0;
  auto warn = [&](const std::string& what) {
    if (warnings != nullptr) warnings->push_back("line " + std::to_string(number) + ": " + what);
  };
  for (std::string_view line : SplitLines(text)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      warn("expected key=value");
      continue;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (EqualsIgnoreCase(key, "version")) {
      const auto parsed = ParseInteger(value);
      if (parsed && *parsed > 0 && value.front() != '+')
        config.version = std::to_string(*parsed);
      else
        warn("version must be a positive whole number");
    } else if (EqualsIgnoreCase(key, "update")) {
      const bool zip = value.size() > 4 && EqualsIgnoreCase(value.substr(value.size() - 4), ".zip");
      if (zip && IsSafeFileName(value))
        config.updateArchive = std::string(value);
      else
        warn("update must be a plain file name ending in .zip");
    } else {
      warn("unknown key " + std::string(key));
    }
  }
  return config;
}

std::string ServiceConfig::VersionReply() const {
  if (version.empty() || updateArchive.empty()) return "EMPTY";
  return version + "," + updateArchive;
}

}  // namespace kestrel::service
