#include "online/ReplyText.h"

#include "common/TextCodec.h"

namespace kestrel {

namespace {

std::string_view UpToZero(std::string_view bytes) {
  const size_t zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

}  // namespace

std::string ReplyText(std::string_view buffer) {
  return Cp950ToUtf8(UpToZero(buffer.substr(0, kReplyTextBytes)));
}

std::string FullReplyText(std::string_view buffer) {
  return Cp950ToUtf8(UpToZero(buffer));
}

std::string Utf8ReplyText(std::string_view buffer) {
  std::string_view text = UpToZero(buffer);
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  return std::string(text);
}

std::string WithoutLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text)
    if (c != '\n') out.push_back(c);
  return out;
}

}  // namespace kestrel
