#include "tradingday/TradingDay.h"

#include <gtest/gtest.h>

#include <utility>

namespace kestrel {
namespace {

TEST(TradingDay, TickTimeToOffset) {
  struct Case {
    const char* time;
    int32_t offset;
  };
  const Case cases[] = {
      {"08450000", 0},      {"08445990", -100},
      {"09000125", 901250}, {"090005", 905050},  // the last pair is both seconds and hundredths
      {"09010000", 960000}, {"13445999", 17999990},
      {"00", -31500000},                      // an empty index line's time
      {"", -31500000},      {"0845xx00", 0},  // a pair without digits reads 0
  };
  for (const auto& c : cases) EXPECT_EQ(TickTimeToOffset(c.time), c.offset) << c.time;
}

TEST(TradingDay, TickTimeToRealDividesBySpeedTowardZero) {
  EXPECT_EQ(TickTimeToReal("08460001", 32), 1875);  // offset 60010
  EXPECT_EQ(TickTimeToReal("08460001", 1), 60010);
  EXPECT_EQ(TickTimeToReal("08445990", 32), -3);    // -100 / 32 truncates toward zero
  EXPECT_EQ(TickTimeToReal("08460001", 0), 60010);  // a bad speed never divides by 0
}

TEST(TradingDay, SeriesAddressesTheFourLists) {
  TradingDay day;
  EXPECT_EQ(&day.Series(KPeriod::Day), &day.dayBars);
  EXPECT_EQ(&day.Series(KPeriod::Min1), &day.min1Bars);
  EXPECT_EQ(&day.Series(KPeriod::Min5), &day.min5Bars);
  EXPECT_EQ(&std::as_const(day).Series(KPeriod::Min30), &day.min30Bars);
}

TEST(TradingDay, ResetForLoadEmptiesSeriesAndStocks) {
  TradingDay day;
  day.tickLines = {"08450000,1,2,2,1"};
  day.bookLines = {"x"};
  day.min5Bars.bars.resize(3);
  day.min5Bars.historyCount = 3;
  day.stocks[0].code = "2330";
  day.stocks[0].volumeScale = 900;
  day.stocks[0].records.resize(2);
  day.stocks[0].cursor = 1;
  day.stockCount = 1;
  day.ResetForLoad();
  EXPECT_TRUE(day.tickLines.empty());
  EXPECT_TRUE(day.bookLines.empty());
  EXPECT_TRUE(day.min5Bars.bars.empty());
  EXPECT_EQ(day.min5Bars.historyCount, 0);
  EXPECT_EQ(day.stocks[0].code, "");
  EXPECT_EQ(day.stocks[0].volumeScale, 100);
  EXPECT_TRUE(day.stocks[0].records.empty());
  EXPECT_EQ(day.stocks[0].cursor, 0);
  EXPECT_EQ(day.stockCount, 0);
}

// A day in the middle of a session, every running figure away from its reset value.
TradingDay RunningDay() {
  TradingDay day;
  day.futuresReference = 8000;
  day.indexReference = 7900;
  day.futuresTop = 8100;
  day.futuresBottom = 7950;
  day.openPrice = 8010;
  day.lastPrice = 8020;
  day.bidPrice = 8019;
  day.askPrice = 8020;
  day.lastVolume = 4;
  day.totalVolume = 500;
  day.spreadNow = 12;
  day.tickCursor = 40;
  day.bookCursor = 30;
  day.indexCursor = 20;
  day.indexTop = 8000;
  day.indexBottom = 7800;
  day.indexVolumeScale = 9000;
  day.indexNow = day.indexFirst = day.indexTradeValue = 1;
  day.spreadMax = 30;
  day.buyOrderAverage = day.sellOrderAverage = day.tradeAverage = 2;
  day.buyOrderQuantityNow = day.sellOrderQuantityNow = day.tradeQuantityNow = 3;
  day.electronicTop = 300;
  day.financialBottom = 900;
  day.fiveMinuteSlot = 7;
  day.nextBoundaryMinute = 40;
  day.indexFiveMinuteValue[3] = 5;
  day.minuteBuckets[4].volume = 9;
  day.twentySecondBuckets[9].high = 8020;
  day.minuteVolumeScale = 3000;
  day.stocks[1].cursor = 6;
  day.stocks[1].volumeScale = 700;
  return day;
}

TEST(TradingDay, ResetForOpenClearsTheSessionFigures) {
  TradingDay day = RunningDay();
  day.ResetForOpen();
  EXPECT_EQ(day.minuteBuckets[4].volume, 0);
  EXPECT_EQ(day.twentySecondBuckets[9].high, 0u);
  EXPECT_EQ(day.minuteVolumeScale, 1000u);
  EXPECT_EQ(day.futuresTop, 0u);
  EXPECT_EQ(day.futuresBottom, 0u);
  EXPECT_EQ(day.openPrice, 0);
  EXPECT_EQ(day.totalVolume, 0);
  EXPECT_EQ(day.tickCursor, 0);
  EXPECT_EQ(day.bookCursor, 0);
  EXPECT_EQ(day.indexCursor, 0);
  EXPECT_EQ(day.fiveMinuteSlot, 0);
  EXPECT_EQ(day.nextBoundaryMinute, 5);
  EXPECT_EQ(day.indexFiveMinuteValue[3], 0);
  // Not touched at open.
  EXPECT_EQ(day.stocks[1].cursor, 6);
  EXPECT_EQ(day.electronicTop, 300);
  EXPECT_EQ(day.lastPrice, 8020);
}

TEST(TradingDay, ResetForEndRestoresTheLoadedRanges) {
  TradingDay day = RunningDay();
  day.ResetForEnd();
  EXPECT_EQ(day.futuresTop, 8060u);
  EXPECT_EQ(day.futuresBottom, 7940u);
  EXPECT_EQ(day.openPrice, 0);
  EXPECT_EQ(day.lastPrice, 0);
  EXPECT_EQ(day.lastVolume, 0);
  EXPECT_EQ(day.totalVolume, 0);
  EXPECT_EQ(day.spreadNow, 0);
  EXPECT_EQ(day.indexCursor, 0);
  EXPECT_EQ(day.indexTop, 7960);
  EXPECT_EQ(day.indexBottom, 7840);
  EXPECT_EQ(day.indexVolumeScale, 2000);
  EXPECT_EQ(day.indexNow + day.indexFirst + day.indexTradeValue + day.spreadMax, 0);
  EXPECT_EQ(day.buyOrderAverage + day.sellOrderAverage + day.tradeAverage, 0);
  EXPECT_EQ(day.buyOrderQuantityNow + day.sellOrderQuantityNow + day.tradeQuantityNow, 0);
  EXPECT_EQ(day.stocks[1].cursor, 0);
  EXPECT_EQ(day.stocks[1].volumeScale, 100);
  EXPECT_EQ(day.minuteBuckets[4].volume, 0);
  EXPECT_EQ(day.twentySecondBuckets[9].high, 0u);
  EXPECT_EQ(day.minuteVolumeScale, 1000u);
  // Kept.
  EXPECT_EQ(day.bidPrice, 8019);
  EXPECT_EQ(day.askPrice, 8020);
  EXPECT_EQ(day.electronicTop, 300);
  EXPECT_EQ(day.financialBottom, 900);
}

}  // namespace
}  // namespace kestrel
