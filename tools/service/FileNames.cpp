#include "service/FileNames.h"

namespace kestrel::service {

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name.size() > 128 || name.front() == '.') return false;
  for (char c : name) {
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                         (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    if (!allowed) return false;
  }
  return name.find("..") == std::string_view::npos;
}

}  // namespace kestrel::service
