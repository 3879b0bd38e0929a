#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrel::service {

inline constexpr const char* kCp950Text = "text/plain; charset=Big5";
inline constexpr const char* kCp950Html = "text/html; charset=Big5";
inline constexpr const char* kUtf8Text = "text/plain; charset=UTF-8";

// One answer of the service: a body, or a file streamed with its length.
struct Reply {
  int status = 200;
  std::string contentType = kCp950Text;
  std::string body;
  std::filesystem::path file;  // when set, the file's bytes are the body

  // Plain text given in UTF-8, sent in CP950 (the client's ANSI code page).
  static Reply Text(std::string_view utf8);
  static Reply Utf8Text(std::string utf8);
  static Reply Html(std::string_view utf8);
  static Reply File(std::filesystem::path path, std::string contentType);
  // The page for anything not served; its text is what the client looks for
  // in a missing training file.
  static Reply NotFound();
  static Reply Status(int status, std::string_view reason);
};

// The content type of a served file, by its extension.
std::string ContentTypeOf(std::string_view fileName);

}  // namespace kestrel::service
