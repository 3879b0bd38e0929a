#include "trading/TradeText.h"

namespace kestrel {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::string_view FieldAt(const std::vector<std::string_view>& fields, size_t index) {
  return index < fields.size() ? fields[index] : std::string_view();
}

}  // namespace kestrel
