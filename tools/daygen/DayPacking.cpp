#include "DayPacking.h"

#include <algorithm>
#include <vector>

#include "common/FileUtil.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/Scramble.h"
#include "tradingday/ZipReader.h"

namespace kestrel::daygen {

namespace fs = std::filesystem;

namespace {

// The fixed members first, in the order the service writes them; stock members after.
int MemberRank(const std::string& name) {
  static const char* kOrder[] = {"FTX.DAT", "OPEN.DAT", "DAYK.DAT",      "TX.DAT",
                                 "TXE.DAT", "TXF.DAT",  "StockPrice.Dat"};
  for (int i = 0; i < 7; ++i)
    if (name == kOrder[i]) return i;
  return 7;
}

}  // namespace

std::string PackDayArchive(const fs::path& folder, const fs::path& archive) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return "not a folder: " + folder.string();
  std::vector<ArchiveMember> members;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    auto bytes = ReadWholeFile(entry.path());
    if (!bytes) return "cannot read " + entry.path().string();
    members.push_back({name, std::move(*bytes)});
  }
  if (ec) return "cannot list " + folder.string() + ": " + ec.message();
  if (members.size() < 3) return "a day archive needs at least 3 members in " + folder.string();
  std::sort(members.begin(), members.end(), [](const ArchiveMember& a, const ArchiveMember& b) {
    const int ra = MemberRank(a.name), rb = MemberRank(b.name);
    return ra != rb ? ra < rb : a.name < b.name;
  });
  const std::string bytes = ArchiveWriter::DayArchive(members);
  if (bytes.empty()) return "too many or too large members";
  return WriteFileAtomically(archive, bytes);
}

std::string UnpackDayArchive(const fs::path& archive, const fs::path& folder) {
  auto bytes = ReadWholeFile(archive);
  if (!bytes) return "cannot read " + archive.string();
  Descramble(*bytes);
  ZipReader zip;
  if (!zip.Open(std::move(*bytes))) return "not a day archive: " + archive.string();
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return "cannot create " + folder.string() + ": " + ec.message();
  std::string error;
  zip.ForEachMember([&](const std::string& name, std::optional<std::string> member) {
    if (!member || !IsSafeMemberName(name)) {
      error = "unreadable member '" + name + "' in " + archive.string();
      return false;
    }
    if (ArchiveWriter::IsScrambledDayMember(name)) Descramble(*member);
    error = WriteFileAtomically(folder / name, *member);
    return error.empty();
  });
  return error;
}

}  // namespace kestrel::daygen
