#include "tradingday/DayMembers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/TextCodec.h"

namespace kestrel {
namespace {

using namespace day_members;

std::vector<std::string> Strings(const std::vector<std::string_view>& views) {
  return {views.begin(), views.end()};
}

TEST(DayMembers, LinesEndAtLfAndDropTheirCr) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Strings(SplitLines("a\r\nb\n\nc")), (V{"a", "b", "", "c"}));
  EXPECT_EQ(Strings(SplitLines("a\n")), (V{"a"}));
  EXPECT_EQ(Strings(SplitLines("a\r")), (V{"a\r"}));  // a lone CR is no line end
  EXPECT_EQ(Strings(SplitLines("")), V{});
  EXPECT_EQ(Strings(SplitFields("1,,3")), (V{"1", "", "3"}));
  EXPECT_EQ(Strings(SplitFields("")), (V{""}));
}

TEST(DayMembers, ParseFraction) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {{"312.57", 312.57}, {" -0.5", -0.5}, {"+7", 7},    {".25", 0.25},
                        {"12.5abc", 12.5},  {"", 0},         {"abc", 0},   {"inf", 0},
                        {"nan", 0},         {"-", 0},        {"1e3", 1000}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ParseFraction(c.text), c.value) << c.text;
}

TEST(DayMembers, TickLinesAreTrimmedAndStopAtTheFirstBlankLine) {
  const auto lines = ReadTickLines(
      "09000125,8001,8002,8002,3\r\n  09000200,8001,8002,8001,1 \n \n09000300,1,2,3,4\n");
  EXPECT_EQ(lines,
            (std::vector<std::string>{"09000125,8001,8002,8002,3", "09000200,8001,8002,8001,1"}));
}

TEST(DayMembers, DayBarLinesStopAtTheFirstEmptyLine) {
  EXPECT_EQ(ReadDayBarLines("20110113,1\n20110114,2\n\n20110117,3\n"),
            (std::vector<std::string>{"20110113,1", "20110114,2"}));
}

TEST(DayMembers, OpenValuesTakeTheTextAfterTheFirstComma) {
  const OpenValues v =
      ParseOpenValues("close,8512.37\r\nref,8555\nclose,312.57\nclose,1009.5\nx,1\n");
  EXPECT_EQ(v.indexReference, 8512);
  EXPECT_EQ(v.futuresReference, 8555);
  EXPECT_DOUBLE_EQ(v.electronicReference, 312.57);
  EXPECT_DOUBLE_EQ(v.financialReference, 1009.5);

  const OpenValues bare = ParseOpenValues("8000\n8100");  // no comma: the whole line
  EXPECT_EQ(bare.indexReference, 8000);
  EXPECT_EQ(bare.futuresReference, 8100);
  EXPECT_EQ(bare.electronicReference, 0);
}

TEST(DayMembers, IndexTimesAreNormalised) {
  struct Case {
    const char* time;
    const char* normal;
  };
  const Case cases[] = {{"0901", "09010000"}, {"090105", "09010500"}, {"", "00"}, {"09", "0900"}};
  for (const auto& c : cases) EXPECT_EQ(NormaliseIndexTime(c.time), c.normal) << c.time;
}

TEST(DayMembers, IndexRecordsKeepEmptyLines) {
  auto records = std::make_unique<std::array<_IndexRecord, TradingDay::kIndexCapacity>>();
  const int32_t n = ParseIndexRecords("0901,8010.5,1,2,3,4,5,6,7.25\n\n090105,8011\n", *records);
  ASSERT_EQ(n, 3);
  const _IndexRecord& r = (*records)[0];
  EXPECT_EQ(r.time, "09010000");
  EXPECT_EQ(r.value, 8010.5f);
  EXPECT_EQ(r.buyOrderCount, 1);
  EXPECT_EQ(r.buyOrderQuantity, 2);
  EXPECT_EQ(r.sellOrderCount, 3);
  EXPECT_EQ(r.sellOrderQuantity, 4);
  EXPECT_EQ(r.tradeCount, 5);
  EXPECT_EQ(r.tradeQuantity, 6);
  EXPECT_EQ(r.tradeValue, 7.25f);
  EXPECT_EQ((*records)[1].time, "00");
  EXPECT_EQ((*records)[1].value, 0);
  EXPECT_EQ((*records)[2].time, "09010500");
  EXPECT_EQ((*records)[2].tradeValue, 0);
}

TEST(DayMembers, RecordsBeyondTheCapacityAreDropped) {
  std::string text;
  for (int i = 0; i < TradingDay::kIndexCapacity + 5; ++i)
    text += "0901," + std::to_string(i) + "\n";
  auto index = std::make_unique<std::array<_IndexRecord, TradingDay::kIndexCapacity>>();
  auto sector = std::make_unique<std::array<_SectorRecord, TradingDay::kIndexCapacity>>();
  EXPECT_EQ(ParseIndexRecords(text, *index), TradingDay::kIndexCapacity);
  EXPECT_EQ(ParseSectorRecords(text, *sector), TradingDay::kIndexCapacity);
  EXPECT_EQ(index->back().value, 3999);
  EXPECT_EQ(sector->back().time, "09010000");
}

TEST(DayMembers, StockListDecodesNamesAndSkipsEmptyLines) {
  const std::string list = "2330," + Utf8ToCp950("台積電") + ",60.5,64.7,56.3\r\n\r\n2317," +
                           Utf8ToCp950("鴻海") + ",110,117.5,102.5\n";
  std::string error;
  const auto stocks = ParseStockList(list, TradingDay::kStockCapacity, error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(stocks.size(), 2u);
  EXPECT_EQ(stocks[0].code, "2330");
  EXPECT_EQ(stocks[0].name, "台積電");
  EXPECT_EQ(stocks[0].reference, 60.5f);
  EXPECT_EQ(stocks[0].limitUp, 64.7f);
  EXPECT_EQ(stocks[0].limitDown, 56.3f);
  EXPECT_EQ(stocks[1].name, "鴻海");
  EXPECT_EQ(stocks[1].volumeScale, 100);
}

TEST(DayMembers, StockListStopsAtItsCapacity) {
  std::string list;
  for (int i = 0; i < 25; ++i) list += "A" + std::to_string(i) + ",n,1,2,3\n";
  list += "bad/code,n,1,2,3\n";  // beyond the capacity: never looked at
  std::string error;
  const auto stocks = ParseStockList(list, TradingDay::kStockCapacity, error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(stocks.size(), 20u);
  EXPECT_EQ(stocks.back().code, "A19");
}

TEST(DayMembers, StockCodesAreLettersAndDigitsOnly) {
  struct Case {
    const char* code;
    bool ok;
  };
  const Case cases[] = {{"2330", true},   {"TSMC1", true},  {"", false},    {"../x", false},
                        {"23 30", false}, {"2330.", false}, {"a\\b", false}};
  for (const auto& c : cases) EXPECT_EQ(IsValidStockCode(c.code), c.ok) << c.code;

  std::string error;
  EXPECT_TRUE(ParseStockList("2330,n,1,2,3\n\n../x,n,1,2,3\n", 20, error).empty());
  EXPECT_EQ(error, "股票清單第3行代號錯誤：../x,n,1,2,3");
}

TEST(DayMembers, StockRecordsHoldSixTexts) {
  const auto records = ParseStockRecords("090000,60.1,60.2,60.2,5,5\n090001,0,60.3,60.3,2\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].time, "090000");
  EXPECT_EQ(records[0].totalVolume, "5");
  EXPECT_EQ(records[1].bid, "0");
  EXPECT_EQ(records[1].totalVolume, "");
}

TEST(DayMembers, BookTicksAreRestampedAndTheFirstLosesItsMissingQuotes) {
  const auto ticks = ReadBookTicks(
      "08440012,-9999,-9999,8500,10\n08440099,-9999,8501,8500,1\n09000000,8500,8501,8501,2\n\n"
      "09000100,1,2,3,4\n");
  EXPECT_EQ(ticks, (std::vector<std::string>{"08450000,--,--,8500,10",
                                             "08450000,-9999,8501,8500,1",  // fewer than 300 lines
                                             "09000000,8500,8501,8501,2"}));
}

TEST(DayMembers, OpeningBookTicksWithoutABidTakeThePrice) {
  std::string text = "08440012,-9999,-9999,8500,10\n";
  text += "08450100,-9999,-9999,8502,3\n";
  text += "08450200,8501,-9999,8502,3\n";  // bid present: kept
  for (int i = 3; i < 300; ++i) text += "09000000,8500,8501,8501,1\n";
  text += "09100000,-9999,-9999,8510,1\n";  // line 301: kept
  const auto ticks = ReadBookTicks(text);
  ASSERT_EQ(ticks.size(), 301u);
  EXPECT_EQ(ticks[0], "08450000,--,--,8500,10");
  EXPECT_EQ(ticks[1], "08450100,8502,8502,8502,3");
  EXPECT_EQ(ticks[2], "08450200,8501,-9999,8502,3");
  EXPECT_EQ(ticks[300], "09100000,-9999,-9999,8510,1");
}

TEST(DayMembers, BookSnapshotsSkipEmptyQuotesAndEarlyLines) {
  const auto snapshots = ReadBookSnapshots(
      "08420000,1,2\n08430000,1,2\n08445000,8500,5\n09000000,8500,0,,0\n09000100,8501,4\n\n"
      "09000200,8502,4\n");
  EXPECT_EQ(snapshots, (std::vector<std::string>{"08450000,8500,5", "09000100,8501,4"}));
}

}  // namespace
}  // namespace kestrel
