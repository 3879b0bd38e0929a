#include "online/ServiceUrl.h"

#include <cctype>

#include "online/AccountState.h"

namespace kestrel {

namespace {

bool BreaksUrl(unsigned char c) {
  if (c < 0x20 || c >= 0x7F) return true;
  switch (c) {
    case ' ':
    case '"':
    case '#':
    case '%':
    case '&':
    case '<':
    case '>': return true;
    default: return false;
  }
}

}  // namespace

std::string EncodeUrlValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    if (BreaksUrl(c)) {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

ServiceUrl::ServiceUrl(std::string_view base, std::string_view path) {
  url_.reserve(base.size() + path.size() + 64);
  url_.append(base).append("/").append(path);
  hasQuery_ = path.find('?') != std::string_view::npos;
}

ServiceUrl& ServiceUrl::Param(std::string_view key, std::string_view value) {
  url_.push_back(hasQuery_ ? '&' : '?');
  hasQuery_ = true;
  url_.append(key).append("=").append(EncodeUrlValue(value));
  return *this;
}

ServiceUrl& ServiceUrl::Param(std::string_view key, long long value) {
  return Param(key, std::to_string(value));
}

ServiceUrl AccountUrl(std::string_view base, std::string_view path, const AccountState& account) {
  ServiceUrl url(base, path);
  url.Param("id", account.userId).Param("pwd", account.password);
  return url;
}

std::string FileUrl(std::string_view base, std::string_view folder, std::string_view name) {
  std::string url(base);
  url.append(folder).append(EncodeUrlValue(name));
  return url;
}

std::string RedactPassword(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const bool keyStart = i == 0 || text[i - 1] == '?' || text[i - 1] == '&';
    if (keyStart && i + 4 <= text.size() &&
        std::tolower(static_cast<unsigned char>(text[i])) == 'p' &&
        std::tolower(static_cast<unsigned char>(text[i + 1])) == 'w' &&
        std::tolower(static_cast<unsigned char>(text[i + 2])) == 'd' && text[i + 3] == '=') {
      out.append(text.substr(i, 4)).append("***");
      i += 4;
      while (i < text.size() && text[i] != '&' && text[i] != ' ' && text[i] != '\'' &&
             text[i] != '"' && text[i] != '\n' && text[i] != '\r')
        ++i;
      continue;
    }
    out.push_back(text[i++]);
  }
  return out;
}

}  // namespace kestrel
