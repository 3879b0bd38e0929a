#include "service/RequestTarget.h"

#include "common/FileUtil.h"
#include "common/TextCodec.h"

namespace kestrel::service {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    if (lead < 0x80)
      length = 1;
    else if (lead >= 0xC2 && lead <= 0xDF)
      length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
      length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
      length = 4;
    else
      return false;
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

const std::string* RequestTarget::Find(std::string_view key) const {
  for (const auto& [name, value] : params)
    if (EqualsIgnoreCase(name, key)) return &value;
  return nullptr;
}

std::string RequestTarget::Get(std::string_view key) const {
  const std::string* value = Find(key);
  return value != nullptr ? *value : std::string();
}

int ParseRequestTarget(std::string_view raw, RequestTarget& out, const TargetLimits& limits) {
  out = RequestTarget();
  if (raw.size() > limits.maxTarget) return 414;
  const size_t question = raw.find('?');
  out.path = PercentDecode(raw.substr(0, question));
  if (out.path.find('\0') != std::string::npos) return 400;
  if (question == std::string_view::npos) return 0;

  std::string_view query = raw.substr(question + 1);
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    if (out.params.size() >= limits.maxParams) return 400;
    const size_t equals = pair.find('=');
    std::string key = PercentDecode(pair.substr(0, equals));
    std::string value =
        equals == std::string_view::npos ? std::string() : PercentDecode(pair.substr(equals + 1));
    if (key.size() > limits.maxKey || value.size() > limits.maxValue) return 400;
    if (key.find('\0') != std::string::npos || value.find('\0') != std::string::npos) return 400;
    if (!IsUtf8(value)) value = Cp950ToUtf8(value);
    out.params.emplace_back(std::move(key), std::move(value));
  }
  return 0;
}

}  // namespace kestrel::service
