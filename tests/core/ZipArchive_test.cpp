#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tradingday/ArchiveWriter.h"
#include "tradingday/Scramble.h"
#include "tradingday/ZipReader.h"

namespace kestrel {
namespace {

struct Read {
  std::string name;
  std::optional<std::string> bytes;
};

// Every member the reader visits, or nothing when the bytes do not open.
std::optional<std::vector<Read>> ReadAll(std::string bytes) {
  ZipReader zip;
  if (!zip.Open(std::move(bytes))) return std::nullopt;
  std::vector<Read> out;
  EXPECT_TRUE(zip.ForEachMember([&](const std::string& name, std::optional<std::string> b) {
    out.push_back({name, std::move(b)});
    return true;
  }));
  return out;
}

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  return bytes;
}

TEST(Scramble, DescrambleUndoesScrambleByteForByte) {
  for (size_t length : {1u, 4u, 5u, 6u, 256u, 1031u}) {
    std::string plain;
    for (size_t i = 0; i < length; ++i) plain.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    std::string stored = plain;
    Scramble(stored);
    if (length >= 5) {
      EXPECT_NE(stored, plain);
    }
    Descramble(stored);
    EXPECT_EQ(stored, plain) << length;
    Descramble(stored);
    Scramble(stored);
    EXPECT_EQ(stored, plain) << length;
  }
}

TEST(Scramble, EmptyFileIsUntouched) {
  std::string empty;
  Scramble(empty);
  Descramble(empty);
  EXPECT_EQ(empty, "");
}

TEST(Scramble, UsesThePairOfThePositionModuloFive) {
  std::string bytes(10, '\0');
  Scramble(bytes);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto& p = ScrambleTable::kPairs[i % 5];
    EXPECT_EQ(static_cast<uint8_t>(bytes[i]), static_cast<uint8_t>(p.mask + p.offset)) << i;
  }
}

TEST(ZipArchive, WrittenMembersReadBackInOrder) {
  const std::vector<ArchiveMember> members = {
      {"FTX.DAT", "08450000,8000,8001,8001,5\n"},
      {"EMPTY.DAT", ""},
      {"BIN.DAT", AllBytes() + std::string(100000, 'x')},
  };
  const auto read = ReadAll(ArchiveWriter::Zip(members));
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->size(), members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ((*read)[i].name, members[i].name);
    ASSERT_TRUE((*read)[i].bytes.has_value());
    EXPECT_EQ(*(*read)[i].bytes, members[i].bytes);
  }
  ZipReader zip;
  ASSERT_TRUE(zip.Open(ArchiveWriter::Zip(members)));
  EXPECT_EQ(zip.MemberCount(), 3u);
}

TEST(ZipArchive, WriterIsDeterministicAndDeflates) {
  const std::vector<ArchiveMember> members = {{"A.DAT", std::string(50000, '7')}};
  const std::string zip = ArchiveWriter::Zip(members);
  EXPECT_EQ(zip, ArchiveWriter::Zip(members));
  EXPECT_LT(zip.size(), 1000u);
}

TEST(ZipArchive, TrailingBytesAfterTheArchiveAreAccepted) {
  const std::vector<ArchiveMember> members = {{"A.DAT", "a"}, {"B.DAT", "bb"}};
  for (const std::string& tail : {std::string(1, '\0'), std::string(300, 'z')}) {
    const auto read = ReadAll(ArchiveWriter::Zip(members) + tail);
    ASSERT_TRUE(read.has_value()) << tail.size();
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1].bytes.value_or("?"), "bb");
  }
}

TEST(ZipArchive, NotAZipDoesNotOpen) {
  for (const std::string& bytes :
       {std::string(), std::string("PK\x03\x04 garbage"), std::string(70000, 'q'), AllBytes()}) {
    ZipReader zip;
    EXPECT_FALSE(zip.Open(bytes)) << bytes.size();
    EXPECT_FALSE(zip.IsOpen());
  }
}

TEST(ZipArchive, MemberNamesThatLeaveTheFolderAreRefused) {
  struct Case {
    const char* name;
    bool safe;
  };
  const Case cases[] = {
      {"FTX.DAT", true}, {"2330.DAT", true}, {"TX00_100_01_17.B5", true},
      {"", false},       {".", false},       {"..", false},
      {"../x", false},   {"a..b", false},    {"/etc/passwd", false},
      {"sub/x", false},  {"sub\\x", false},  {"C:x", false},
      {"\\x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeMemberName(c.name), c.safe) << c.name;

  const auto read = ReadAll(ArchiveWriter::Zip({{"../x", "evil"}, {"OK.DAT", "ok"}}));
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[0].name, "../x");
  EXPECT_FALSE((*read)[0].bytes.has_value());
  EXPECT_EQ((*read)[1].bytes.value_or("?"), "ok");
}

TEST(ZipArchive, CorruptMemberDataIsReportedByName) {
  const std::string text(2000, 'k');
  std::string zip = ArchiveWriter::Zip({{"A.DAT", "fine"}, {"B.DAT", text}});
  // Change the CRC the directory holds for B.DAT: the data no longer matches it.
  const size_t directory = zip.find("PK\x01\x02", 0);
  const size_t second = zip.find("PK\x01\x02", directory + 4);
  ASSERT_NE(second, std::string::npos);
  zip[second + 16] = static_cast<char>(zip[second + 16] ^ 0x55);
  const auto read = ReadAll(zip);
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->size(), 2u);
  EXPECT_TRUE((*read)[0].bytes.has_value());
  EXPECT_EQ((*read)[1].name, "B.DAT");
  EXPECT_FALSE((*read)[1].bytes.has_value());
}

TEST(ZipArchive, DayArchiveScramblesAllButTheTickMember) {
  const std::vector<ArchiveMember> members = {{"FTX.DAT", "ticks"}, {"OPEN.DAT", "close,1"}};
  std::string stored = ArchiveWriter::DayArchive(members);
  EXPECT_FALSE(ZipReader().Open(stored));  // the file itself is scrambled
  Descramble(stored);
  const auto read = ReadAll(stored);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ((*read)[0].bytes.value_or("?"), "ticks");
  std::string open = (*read)[1].bytes.value_or("?");
  EXPECT_NE(open, "close,1");
  Descramble(open);
  EXPECT_EQ(open, "close,1");
}

TEST(ZipArchive, BookArchiveKeepsMembersPlainAndKLineArchiveScramblesThem) {
  const std::vector<ArchiveMember> members = {{"X.B5", "book"}};
  std::string book = ArchiveWriter::BookArchive(members);
  std::string kline = ArchiveWriter::KLineArchive(members);
  Descramble(book);
  Descramble(kline);
  EXPECT_EQ(ReadAll(book).value().at(0).bytes.value_or("?"), "book");
  std::string member = ReadAll(kline).value().at(0).bytes.value_or("?");
  Descramble(member);
  EXPECT_EQ(member, "book");
}

TEST(ZipArchive, ArchiveNames) {
  EXPECT_EQ(ArchiveWriter::DayArchiveName(2011, 1, 17), "TICK_2011_01_17.zip");
  EXPECT_EQ(ArchiveWriter::BookArchiveName(2013, 5, 6), "TICK_102_05_06.zip");
  EXPECT_EQ(ArchiveWriter::BookMemberStem(2013, 5, 6), "TX00_102_05_06");
  EXPECT_EQ(ArchiveWriter::KLineArchiveName(2011, 1, 3), "K_2011_01_03.zip");
}

}  // namespace
}  // namespace kestrel
