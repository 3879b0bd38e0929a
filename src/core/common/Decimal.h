#pragma once

#include <cstdint>
#include <string_view>

namespace kestrel {

// The one decimal parse used for every number read from a file, a setting or a
// reply: optional leading white space and sign, digits up to the first
// non-digit, no digits gives 0. Long digit strings saturate instead of wrapping.
int32_t ParseDecimal(std::string_view text);
int64_t ParseDecimal64(std::string_view text);

}  // namespace kestrel
