#include "common/ProfileFile.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "common/TextCodec.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::ReadFile;
using test::WriteFile;

TEST(ProfileFile, ReadsWithTheProfileRules) {
  const auto dir = FreshDir();
  WriteFile(dir / "a.ini",
            "; a comment\r\n"
            "[ui]\r\n"
            "  Run_Speed =  8  \r\n"
            "QUOTED=\"  spaced  \"\r\n"
            "SINGLE='x'\r\n"
            "HALF=\"x\r\n"
            "DUP=first\r\n"
            "dup=second\r\n"
            ";HIDDEN=1\r\n"
            "[UI]\r\n"
            "OTHER=in second UI section\r\n"
            "[account]\n"
            "TRADE=1");
  const ProfileFile f = ProfileFile::Load(dir / "a.ini");
  EXPECT_EQ(f.Get("UI", "RUN_SPEED"), "8");
  EXPECT_EQ(f.Get("Ui", "quoted"), "  spaced  ");
  EXPECT_EQ(f.Get("UI", "SINGLE"), "x");
  EXPECT_EQ(f.Get("UI", "HALF"), "\"x");
  EXPECT_EQ(f.Get("UI", "DUP"), "first");
  EXPECT_EQ(f.Get("UI", "HIDDEN"), "");
  EXPECT_EQ(f.Get("UI", "OTHER"), "");  // first section of a name wins
  EXPECT_EQ(f.Get("ACCOUNT", "TRADE"), "1");
  EXPECT_EQ(f.Get("ACCOUNT", "MISSING"), "");
  EXPECT_EQ(f.Get("NOSECTION", "TRADE"), "");
  EXPECT_TRUE(f.Has("ui", "dup"));
  EXPECT_FALSE(f.Has("UI", "NOPE"));
}

TEST(ProfileFile, MissingFileReadsEmpty) {
  const auto dir = FreshDir();
  EXPECT_EQ(ReadProfileString(dir / "none.ini", "UI", "RUN_SPEED"), "");
}

TEST(ProfileFile, LongValuesAreCutTo254Characters) {
  const auto dir = FreshDir();
  const std::string ascii(300, 'x');
  std::string chinese;
  for (int i = 0; i < 260; ++i) chinese += "台";
  WriteFile(dir / "a.ini", "[S]\r\nA=" + ascii + "\r\nB=" + Utf8ToCp950(chinese) + "\r\n");
  const ProfileFile f = ProfileFile::Load(dir / "a.ini");
  EXPECT_EQ(f.Get("S", "A"), std::string(254, 'x'));
  EXPECT_EQ(Utf8Length(f.Get("S", "B")), 254u);
  EXPECT_EQ(f.Get("S", "B").substr(0, 3), "台");
}

TEST(ProfileFile, WritesKeepEveryOtherLine) {
  const auto dir = FreshDir();
  const std::string original =
      "; hand-written notes \xA4\x6A\r\n"
      "[UI]\r\n"
      "RUN_SPEED=4\r\n"
      "MYKEY=keep me\r\n"
      "\r\n"
      "[CUSTOM]\n"
      "X = 1\n";
  WriteFile(dir / "a.ini", original);
  ProfileFile f = ProfileFile::Load(dir / "a.ini");
  f.Set("ui", "run_speed", "8");
  f.Set("UI", "NEWKEY", "new");
  f.Set("TECH", "DAYK_KD_PARA", "9");
  ASSERT_EQ(f.Save(), "");
  EXPECT_EQ(ReadFile(dir / "a.ini"),
            "; hand-written notes \xA4\x6A\r\n"
            "[UI]\r\n"
            "run_speed=8\r\n"
            "MYKEY=keep me\r\n"
            "NEWKEY=new\r\n"
            "\r\n"
            "[CUSTOM]\n"
            "X = 1\n"
            "[TECH]\r\n"
            "DAYK_KD_PARA=9\r\n");
}

TEST(ProfileFile, CreatesAMissingFileAndStoresChineseAsCp950) {
  const auto dir = FreshDir();
  ASSERT_EQ(WriteProfileString(dir / "new.ini", "ACCOUNT", "ID", "學生一"), "");
  EXPECT_EQ(ReadFile(dir / "new.ini"), "[ACCOUNT]\r\nID=" + Utf8ToCp950("學生一") + "\r\n");
  EXPECT_EQ(ReadProfileString(dir / "new.ini", "account", "id"), "學生一");
}

TEST(ProfileFile, AFileWithoutTrailingNewlineGetsOneBeforeNewLines) {
  const auto dir = FreshDir();
  WriteFile(dir / "a.ini", "[UI]\r\nA=1");
  ASSERT_EQ(WriteProfileString(dir / "a.ini", "UI", "B", "2"), "");
  EXPECT_EQ(ReadFile(dir / "a.ini"), "[UI]\r\nA=1\r\nB=2\r\n");
  ASSERT_EQ(WriteProfileString(dir / "a.ini", "X", "C", "3"), "");
  EXPECT_EQ(ReadFile(dir / "a.ini"), "[UI]\r\nA=1\r\nB=2\r\n[X]\r\nC=3\r\n");
}

TEST(ProfileFile, Utf16FilesStayUtf16) {
  const auto dir = FreshDir();
  WriteFile(dir / "w.ini", std::string(kUtf16LeBom) + Utf8ToUtf16Le("[VER]\r\nVERSION=105\r\n"));
  EXPECT_EQ(ReadProfileString(dir / "w.ini", "VER", "VERSION"), "105");
  ASSERT_EQ(WriteProfileString(dir / "w.ini", "VER", "NOTE", "版本"), "");
  EXPECT_EQ(ReadFile(dir / "w.ini"),
            std::string(kUtf16LeBom) + Utf8ToUtf16Le("[VER]\r\nVERSION=105\r\nNOTE=版本\r\n"));
}

TEST(ProfileFile, AReadOnlyFileIsMadeWritable) {
  const auto dir = FreshDir();
  WriteFile(dir / "ro.ini", "[UI]\r\nA=1\r\n");
  std::filesystem::permissions(dir / "ro.ini", std::filesystem::perms::owner_read);
  ASSERT_EQ(WriteProfileString(dir / "ro.ini", "UI", "A", "2"), "");
  EXPECT_EQ(ReadProfileString(dir / "ro.ini", "UI", "A"), "2");
}

TEST(ProfileFile, AFailedWriteLeavesTheOldFileWhole) {
  const auto dir = FreshDir();
  // A folder in the way of the temporary file's rename target makes Save fail.
  const auto target = dir / "sub";
  std::filesystem::create_directories(target / "x");
  ProfileFile f = ProfileFile::Load(target);
  f.Set("UI", "A", "1");
  EXPECT_NE(f.Save(), "");
  EXPECT_TRUE(std::filesystem::is_directory(target / "x"));
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename(), "sub") << "temporary file left behind";
}

}  // namespace
}  // namespace kestrel
