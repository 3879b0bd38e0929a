#pragma once

#include <filesystem>

namespace kestrel {

// Every path of the program is built from these folders; the process's current
// directory is never changed (a classroom thread downloads while the window works).
struct Folders {
  std::filesystem::path work;   // the program's working folder
  std::filesystem::path cache;  // downloads while a day loads
  std::filesystem::path data;   // K-line history
  std::filesystem::path diary;  // trade records

  static Folders FromWork(const std::filesystem::path& work);

  // setup.ini and Version.ini, found case-insensitively in the working folder.
  std::filesystem::path SetupIni() const;
  std::filesystem::path VersionIni() const;

  // Creates cache, data and Diary when missing; false when one cannot be made.
  bool CreateAll() const;
};

}  // namespace kestrel
