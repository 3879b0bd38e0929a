#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The reply helpers. A reply is read as a zero-terminated text: everything from
// its first zero byte on is ignored. Results are UTF-8.

// At most the first 400 bytes, in CP950. Every short reply (codes, flags, one
// line of data) is read this way.
inline constexpr size_t kReplyTextBytes = 400;
std::string ReplyText(std::string_view buffer);

// The whole reply, in CP950 (lists longer than 400 bytes).
std::string FullReplyText(std::string_view buffer);

// The whole reply as UTF-8 text (the training list and notes), without a BOM.
std::string Utf8ReplyText(std::string_view buffer);

// The text with every line feed removed (the login reply).
std::string WithoutLineFeeds(std::string_view text);

}  // namespace kestrel
