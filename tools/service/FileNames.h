#pragma once

#include <string_view>

namespace kestrel::service {

// A file name the service may open inside one of its folders: 1 to 128 of
// A-Z a-z 0-9 _ - . with no leading dot, so no path, no "..", no escape and
// no hidden file can be named.
bool IsSafeFileName(std::string_view name);

}  // namespace kestrel::service
