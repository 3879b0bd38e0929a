#pragma once

#include <filesystem>
#include <string>

namespace kestrel::daygen {

// Builds a day archive from the plain member files of a folder (scrambling the
// members the archive keeps scrambled, then the whole file). Returns an error
// text, empty on success.
std::string PackDayArchive(const std::filesystem::path& folder,
                           const std::filesystem::path& archive);

// The inverse: writes the plain members of a day archive into a folder.
std::string UnpackDayArchive(const std::filesystem::path& archive,
                             const std::filesystem::path& folder);

}  // namespace kestrel::daygen
