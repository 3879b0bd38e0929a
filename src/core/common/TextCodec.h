#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// Text inside the program is UTF-8. Files and replies the Windows program kept
// in its ANSI code page are CP950 (Traditional Chinese); a few are UTF-16LE.
// Conversions never fail: bytes that cannot be converted become '?'.

std::string Cp950ToUtf8(std::string_view cp950);
std::string Utf8ToCp950(std::string_view utf8);

// UTF-16LE without BOM handling: the caller strips or adds the BOM.
std::string Utf16LeToUtf8(std::string_view utf16le);
std::string Utf8ToUtf16Le(std::string_view utf8);

inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Decodes a text file's bytes the way the program's readers do: UTF-16LE when it
// starts with its BOM, otherwise CP950.
std::string DecodeAnsiOrUtf16(std::string_view bytes);

// Number of characters (code points) in UTF-8 text, and the longest prefix of
// at most `count` characters.
size_t Utf8Length(std::string_view utf8);
std::string_view Utf8Prefix(std::string_view utf8, size_t count);

}  // namespace kestrel
