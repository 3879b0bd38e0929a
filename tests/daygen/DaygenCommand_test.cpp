// The kestrel-daygen program, run as a user runs it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TestDir.h"
#include "common/FileUtil.h"
#include "common/TextCodec.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

int RunDaygen(const std::string& args) {
  const std::string command = std::string(KESTREL_DAYGEN) + " " + args + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file below a folder with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file())
      files[fs::relative(e.path(), root).string()] = *ReadWholeFile(e.path());
  return files;
}

TEST(DaygenCommand, GeneratesAConsistentRangeByteForByte) {
  const fs::path dir = test::FreshDir();
  const std::string args =
      "generate --from 2013-05-09 --to 2013-05-13 --seed 5 --training 1 --out ";
  ASSERT_EQ(RunDaygen(args + (dir / "a").string()), 0);
  ASSERT_EQ(RunDaygen(args + (dir / "b").string()), 0);
  const auto a = Tree(dir / "a");
  EXPECT_TRUE(a == Tree(dir / "b")) << "same seed and range must give the same bytes";

  // 9, 10 and 13 May are trading days; 11 and 12 are a weekend.
  for (const char* f : {"DATA/TICK_2013_05_09.zip", "DATA/TICK_2013_05_13.zip",
                        "DATA/K_2013_05_13.zip", "TICKDATA/TICK_102_05_10.zip"}) {
    ASSERT_TRUE(a.count(f)) << f;
  }
  EXPECT_FALSE(a.count("DATA/TICK_2013_05_11.zip"));
  EXPECT_GT(a.at("DATA/TICK_2013_05_09.zip").size(), 50000u);
  EXPECT_GT(a.at("TICKDATA/TICK_102_05_10.zip").size(), 20000u);
  // K-line archives of the days before the range, for the K-line completion.
  EXPECT_TRUE(a.count("DATA/K_2013_04_18.zip"));

  const std::string catalogue = a.at("catalogue.txt");
  EXPECT_EQ(catalogue.rfind("2013/05/09,", 0), 0u);
  EXPECT_NE(catalogue.find("\n2013/05/13,"), std::string::npos);
  const std::string training = a.at("training.txt");
  EXPECT_EQ(training.rfind("2013/05/09,TRAIN_2013_05_09.txt,", 0), 0u);
  EXPECT_EQ(a.at("DB/TRAIN_2013_05_09.txt").rfind("[#] 084500\r\n", 0), 0u);
  const std::string& trend = a.at("TREND/2013_05_10.txt");
  EXPECT_EQ(trend.rfind("0846,", 0), 0u);
  EXPECT_NE(trend.find("\n1345,"), std::string::npos);
}

TEST(DaygenCommand, PackAndUnpackRoundTrip) {
  const fs::path dir = test::FreshDir();
  fs::create_directories(dir / "plain");
  test::WriteFile(dir / "plain/FTX.DAT", "08450000,7999,8000,8000,5\r\n");
  test::WriteFile(dir / "plain/OPEN.DAT", "INDEX,7980.5\r\nFUTURES,8000\r\nE,300\r\nF,900\r\n");
  test::WriteFile(dir / "plain/DAYK.DAT", "20130508,1,2,0,1,5\r\n20130509,1,2,0,1,5\r\n");
  test::WriteFile(dir / "plain/StockPrice.Dat",
                  "2330," + Utf8ToCp950("台積晶圓") + ",100,110,90\r\n");
  ASSERT_EQ(
      RunDaygen("pack " + (dir / "plain").string() + " " + (dir / "TICK_2013_05_09.zip").string()),
      0);
  const std::string packed = *ReadWholeFile(dir / "TICK_2013_05_09.zip");
  EXPECT_EQ(packed.find("FTX.DAT"), std::string::npos) << "the whole archive is scrambled";
  ASSERT_EQ(
      RunDaygen("unpack " + (dir / "TICK_2013_05_09.zip").string() + " " + (dir / "out").string()),
      0);
  EXPECT_TRUE(Tree(dir / "plain") == Tree(dir / "out"));
}

TEST(DaygenCommand, BadArgumentsFailWithAMessage) {
  const fs::path dir = test::FreshDir();
  const std::string out = " --out " + dir.string();
  const char* cases[] = {
      "generate --from 2013-05-09 --to 2013-05-13 --seed x",
      "generate --from 2013-02-30 --to 2013-05-13 --seed 1",
      "generate --from 2013-05-13 --to 2013-05-09 --seed 1",
      "generate --from 2013-05-09 --to 2013-05-13 --seed 1 --pattern sideways",
      "generate --from 2013-05-11 --to 2013-05-12 --seed 1",
      "frobnicate",
  };
  for (const char* c : cases) EXPECT_NE(RunDaygen(std::string(c) + out), 0) << c;
  EXPECT_NE(RunDaygen("unpack " + (dir / "missing.zip").string() + " " + dir.string()), 0);
  test::WriteFile(dir / "junk.zip", std::string(1000, 'x'));
  EXPECT_NE(RunDaygen("unpack " + (dir / "junk.zip").string() + " " + (dir / "o").string()), 0);
}

}  // namespace
}  // namespace kestrel
