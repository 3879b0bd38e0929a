#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// One member to write: its stored name and its plain bytes.
struct ArchiveMember {
  std::string name;
  std::string bytes;
};

// Builds archives byte for byte as the data service stores them. Used by the
// tests, the day generator and the practice service. Pure functions.
class ArchiveWriter {
 public:
  // A standard zip of the members in the given order, every member deflated,
  // fixed timestamps (equal input gives equal output). Empty when the members
  // exceed the classic zip limits (65535 members, 4 GiB).
  static std::string Zip(const std::vector<ArchiveMember>& members);

  // Whether a member of the day archive is stored scrambled inside the zip:
  // every member but "FTX.DAT".
  static bool IsScrambledDayMember(std::string_view name);

  // The day archive as stored: scrambled members scrambled, zipped, and the
  // whole file scrambled.
  static std::string DayArchive(const std::vector<ArchiveMember>& members);

  // The book archive "TICK_%03d_%02d_%02d.zip": members plain, whole file scrambled.
  static std::string BookArchive(const std::vector<ArchiveMember>& members);

  // A K-line archive "K_%4d_%02d_%02d.zip" ("MIN1K.DAT", "MIN5K.DAT",
  // "MIN30K.DAT"): members scrambled, since they are extracted unchanged into
  // the data folder where history files stay scrambled; whole file scrambled.
  static std::string KLineArchive(const std::vector<ArchiveMember>& members);

  // The names the download and the loader use for a day (year, month, day).
  static std::string DayArchiveName(int year, int month, int day);    // TICK_2011_01_17.zip
  static std::string BookArchiveName(int year, int month, int day);   // TICK_100_01_17.zip
  static std::string BookMemberStem(int year, int month, int day);    // TX00_100_01_17
  static std::string KLineArchiveName(int year, int month, int day);  // K_2011_01_17.zip
};

}  // namespace kestrel
