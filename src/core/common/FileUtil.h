#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// dir/name when it exists; otherwise an entry of dir whose name matches
// ignoring ASCII case; otherwise dir/name (the path a new file gets).
std::filesystem::path FindCaseInsensitive(const std::filesystem::path& dir, std::string_view name);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file's content without ever leaving a half-written file: writes a
// temporary file beside it, flushes it and renames it over. A read-only file is
// made writable first. Returns an error text, empty on success.
std::string WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Clears a read-only attribute: gives the owner read and write permission.
void MakeWritable(const std::filesystem::path& path);

}  // namespace kestrel
