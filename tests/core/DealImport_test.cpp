#include "trading/DealImport.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "TradeFixture.h"
#include "common/TextCodec.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::TradeFixture;
using test::WriteFile;

DealFileParse Parse(const std::string& utf8) {
  return ParseDealFile(Utf8ToCp950(utf8));
}

std::vector<std::string> Times(const DealFileParse& p) {
  std::vector<std::string> times;
  for (const _DEALDATA& d : p.deals) times.push_back(d.time);
  return times;
}

TEST(DealFile, PlainLineWithSpacesOrCommas) {
  struct Case {
    const char* line;
    _DEALDATA deal;
  };
  const Case cases[] = {
      {"大台指 b 8000 2 9:5:3", {"", "大台指", "買進", "8000", "2", "09:05:03"}},
      {"小台指,S,7990,1,13:44:59", {"", "小台指", "賣出", "7990", "1", "13:44:59"}},
      {"大台指\tB\t8000\t3\t10:00:00", {"", "大台指", "買進", "8000", "3", "10:00:00"}},
      {" 大台指 , 賣出 , 8001 , 4 , 9 : 01 : 2 ", {"", "大台指", "賣出", "8001", "4", "09:01:02"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const DealFileParse p = Parse(c.line);
    ASSERT_TRUE(p.ok) << (p.messages.empty() ? "" : p.messages[0].text);
    EXPECT_EQ(p.format, DealFileFormat::Plain);
    ASSERT_EQ(p.deals.size(), 1u);
    EXPECT_EQ(p.deals[0], c.deal);
  }
}

TEST(DealFile, TimeRules) {
  struct Case {
    const char* text;
    const char* normalised;  // nullptr: rejected
  };
  const Case cases[] = {
      {"9:5:3", "09:05:03"},
      {"09:05:03", "09:05:03"},
      {" 13 : 45 : 00 ", "13:45:00"},
      {"0:05:03", nullptr},
      {"00:05:03", nullptr},
      {":05:03", nullptr},
      {"09:05", nullptr},
      {"090:05:03", nullptr},
      {"09:05:003", nullptr},
      {"09::03", nullptr},
      {"", nullptr},
      {"09:05:03:00", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto t = NormaliseDealTime(c.text);
    if (c.normalised == nullptr) {
      EXPECT_FALSE(t.has_value());
    } else {
      EXPECT_EQ(t.value_or("<rejected>"), c.normalised);
    }
  }
}

TEST(DealFile, FieldFaultsNameTheFieldAndTheLine) {
  struct Case {
    const char* name;
    std::string file;
    const char* fieldMessage;  // nullptr: only the line message
    int line;
  };
  const std::string own = "演練時間,2024-05-02\r\n復盤日期,2024-03-15\r\n\r\n成交記錄\r\n";
  const Case cases[] = {
      {"plain: hour 0", "大台指 b 8000 2 0:05:03",
       "第五個欄位(時間)資料格式錯誤，必須是 XX：XX：XX", 1},
      {"plain: side", "大台指 x 8000 2 9:05:03", "第二個欄位(買賣別)資料錯誤", 1},
      {"plain: price", "# note\n\n大台指 b 8000 2 9:05:03\n大台指 b abc 2 9:05:04",
       "第三個欄位(成交價)資料錯誤", 4},
      {"plain: lots", "大台指 b 8000 0 9:05:03", "第四個欄位(成交量)資料錯誤", 1},
      {"plain: too few fields", "大台指 b 8000", "第五個欄位(時間)資料格式錯誤，必須是 XX：XX：XX",
       1},
      {"own: time", own + "0001,,9:05,大台指,買進,,8000,1\r\n",
       "第三個欄位(時間)資料格式錯誤，必須是 XX：XX：XX", 5},
      {"own: side", own + "0001,,09:05:03,大台指,b,,8000,1\r\n", "第五個欄位(買賣別)資料錯誤", 5},
      {"own: price", own + "0001,,09:05:03,大台指,買進,,,1\r\n", "第七個欄位(成交價)資料錯誤", 5},
      {"own: lots missing", own + "0001,,09:05:03,大台指,買進,,8000\r\n",
       "第八個欄位(成交量)資料錯誤", 5},
      {"own: no comma", own + "0001\r\n", nullptr, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DealFileParse p = Parse(c.file);
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.deals.empty());
    std::vector<UserMessage> expected;
    if (c.fieldMessage != nullptr) expected.push_back({c.fieldMessage, "錯誤"});
    expected.push_back({"請檢查檔案第 " + std::to_string(c.line) + " 列", "錯誤"});
    EXPECT_EQ(p.messages, expected);
  }
}

TEST(DealFile, NewestFirstFilesEndOldestFirst) {
  struct Case {
    const char* name;
    const char* file;
    std::vector<std::string> times;
  };
  const Case cases[] = {
      {"ascending",
       "a b 1 1 9:00:00\na s 1 1 9:00:01\na b 1 1 9:00:02",
       {"09:00:00", "09:00:01", "09:00:02"}},
      {"descending",
       "a b 1 1 9:00:02\na s 1 1 9:00:01\na b 1 1 9:00:00",
       {"09:00:00", "09:00:01", "09:00:02"}},
      {"equal first pair counts as descending",
       "a b 1 1 9:00:00\na s 1 1 9:00:00\na b 1 1 9:00:05",
       {"09:00:05", "09:00:00", "09:00:00"}},
      {"decided at the second line only",
       "a b 1 1 9:00:01\na s 1 1 9:00:02\na b 1 1 9:00:00",
       {"09:00:01", "09:00:02", "09:00:00"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DealFileParse p = Parse(c.file);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(Times(p), c.times);
  }
}

TEST(DealFile, Utf16FilesWithBomAndSkippedLines) {
  const std::string text = "# exported elsewhere\r\n\r\n大台指,B,8000,2,09:05:03\r\n";
  const DealFileParse p = ParseDealFile(std::string(kUtf16LeBom) + Utf8ToUtf16Le(text));
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(p.deals.size(), 1u);
  EXPECT_EQ(p.deals[0], (_DEALDATA{"", "大台指", "買進", "8000", "2", "09:05:03"}));
  EXPECT_TRUE(Parse("").ok);
}

class DealImport : public TradeFixture {};

TEST_F(DealImport, ReplacesTheDayDealsAndRenumbers) {
  const auto dir = FreshDir();
  WriteFile(dir / "plain.txt", Utf8ToCp950("大台指 b 8000 2 9:5:3\n大台指 s 8010 2 9:6:0\n"));
  SetQuote(8000, 7999, 8000);
  Market(kSideBuy);
  MatchAtQuote(ctx, "09:00:00");
  const auto lots = state.LongPositions;

  EXPECT_TRUE(ImportDeals(ctx, dir / "plain.txt").empty());
  ASSERT_EQ(rows.deals.size(), 2u);
  EXPECT_EQ(rows.deals[0].cells, (std::vector<std::string>{"0001", "", "09:05:03", "大台指", "買進",
                                                           "", "8000", "2", "", "", "", "", ""}));
  ASSERT_EQ(state.DealRecords.size(), 2u);
  _Orders expected;
  expected.no = "0002";
  expected.product = "大台指";
  expected.fillTime = "09:06:00";
  expected.qty = 2;
  expected.side = kSideSell;
  EXPECT_EQ(state.DealRecords[1], expected);
  EXPECT_EQ(state.LongPositions, lots);
}

TEST_F(DealImport, AFaultyFileLeavesAnEmptyDealList) {
  const auto dir = FreshDir();
  WriteFile(dir / "bad.txt", Utf8ToCp950("大台指 b 8000 2 9:5:3\n大台指 s 8010 2 0:6:0\n"));
  SetQuote(8000, 7999, 8000);
  Market(kSideBuy);
  MatchAtQuote(ctx, "09:00:00");
  const auto messages = ImportDeals(ctx, dir / "bad.txt");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "請檢查檔案第 2 列");
  EXPECT_TRUE(rows.deals.empty());
  EXPECT_TRUE(state.DealRecords.empty());
  EXPECT_EQ(state.LongPositions.size(), 1u);
}

TEST_F(DealImport, AnUnreadableFileChangesNothing) {
  SetQuote(8000, 7999, 8000);
  Market(kSideBuy);
  MatchAtQuote(ctx, "09:00:00");
  const auto messages = ImportDeals(ctx, FreshDir() / "absent.csv");
  EXPECT_EQ(messages, (std::vector<UserMessage>{{"CFT Error: file not found", ""}}));
  EXPECT_EQ(rows.deals.size(), 1u);
  EXPECT_EQ(state.DealRecords.size(), 1u);
  EXPECT_EQ(CheckDealImportAllowed(false), (UserMessage{"請開盤後再載入資料", "錯誤"}));
  EXPECT_FALSE(CheckDealImportAllowed(true).has_value());
}

}  // namespace
}  // namespace kestrel
