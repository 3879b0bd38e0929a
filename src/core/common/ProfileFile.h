#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// A profile ("ini") file with the semantics the program relies on:
// - section and key names match ignoring ASCII case; the first match wins;
// - a value is trimmed, one pair of enclosing quotes is stripped, and at most
//   kMaxValueChars characters are returned; missing file or key reads empty;
// - a write creates the file, section or key as needed and keeps every other
//   line byte for byte (unknown keys, comments, odd lines);
// - the file is CP950 text, or UTF-16LE when it starts with a BOM, and keeps
//   its encoding when written; saving replaces the file atomically.
// Not thread-safe; each instance is a snapshot of the file at Load.
class ProfileFile {
 public:
  static constexpr size_t kMaxValueChars = 254;

  static ProfileFile Load(const std::filesystem::path& path);

  std::string Get(std::string_view section, std::string_view key) const;
  bool Has(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, long long value);

  // Writes the file; returns an error text, empty on success.
  std::string Save() const;

  // The bytes Save would write.
  std::string Serialize() const;

  const std::filesystem::path& path() const { return path_; }

 private:
  struct Line {
    std::string text;  // UTF-8, without the line end
    std::string raw;   // original bytes of an untouched CP950 line
    std::string eol;   // "\r\n", "\n" or "" for a last line without one
    bool touched = false;
  };

  // Index of the section header, or npos.
  size_t FindSection(std::string_view section) const;
  // Index of the key line inside the section that starts at `header`, or npos.
  size_t FindKey(size_t header, std::string_view key) const;
  size_t SectionEnd(size_t header) const;

  std::filesystem::path path_;
  std::vector<Line> lines_;
  bool utf16_ = false;
};

// One read, as the program's readers use it.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key);

// One write (load, set, save); returns an error text, empty on success.
std::string WriteProfileString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value);

}  // namespace kestrel
