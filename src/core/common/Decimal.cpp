#include "common/Decimal.h"

#include <limits>

namespace kestrel {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

int64_t ParseDecimal64(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so INT64_MIN is reachable without overflow.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  bool saturated = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (saturated) continue;
    if (value < (kMin + digit) / 10) {
      saturated = true;
      value = kMin;
      continue;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  if (value == kMin) return std::numeric_limits<int64_t>::max();
  return -value;
}

int32_t ParseDecimal(std::string_view text) {
  const int64_t v = ParseDecimal64(text);
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace kestrel
