#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrel::service {

// Small strict helpers for the data folder's text files.

// Lines split at LF with a trailing CR dropped; a leading UTF-8 BOM is skipped.
std::vector<std::string_view> SplitLines(std::string_view text);
std::vector<std::string_view> SplitFields(std::string_view line, char separator);
std::string_view Trim(std::string_view text);
// An optional sign and 1 to 18 digits, nothing else (surrounding blanks allowed).
std::optional<int64_t> ParseInteger(std::string_view text);

}  // namespace kestrel::service
