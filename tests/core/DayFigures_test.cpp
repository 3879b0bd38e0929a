#include "tradingday/DayFigures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kestrel {
namespace {

TEST(DayFigures, FirstPriceAfterOpenSetsBothFuturesBounds) {
  TradingDay day;
  day.ResetForOpen();
  WidenFuturesRange(day, 8002);
  EXPECT_EQ(day.futuresTop, 8002u);
  EXPECT_EQ(day.futuresBottom, 8002u);
  EXPECT_TRUE(day.futuresTopChanged);
  EXPECT_TRUE(day.futuresBottomChanged);

  day.futuresTopChanged = day.futuresBottomChanged = false;
  WidenFuturesRange(day, 8001);
  EXPECT_EQ(day.futuresTop, 8002u);
  EXPECT_EQ(day.futuresBottom, 8001u);
  EXPECT_FALSE(day.futuresTopChanged);
  EXPECT_TRUE(day.futuresBottomChanged);
}

TEST(DayFigures, MinuteVolumeScaleRisesToTheNextMultipleOf500) {
  struct Case {
    std::vector<int32_t> volumes;
    uint32_t scale;
    bool changed;
  };
  const Case cases[] = {
      {{999}, 1000, false}, {{1000}, 1000, false},    {{1001}, 1500, true},
      {{1500}, 2000, true}, {{600, 401}, 1500, true}, {{1000, 1, 499}, 1500, true},
  };
  for (const auto& c : cases) {
    TradingDay day;
    day.ResetForOpen();
    for (int32_t v : c.volumes) UpdateBuckets(day, 8000, v, 61000, "08460100");
    EXPECT_EQ(day.minuteVolumeScale, c.scale) << c.volumes.size();
    EXPECT_EQ(day.minuteVolumeScaleChanged, c.changed);
  }
}

TEST(DayFigures, BucketsTakeHighLowCloseVolumeAndSecond) {
  TradingDay day;
  day.ResetForOpen();
  // 09:00:01.25 at speed 32: the offset 901250 rounded down to 901248.
  const int32_t t = TickTimeToReal("09000125", 32) * 32;
  UpdateBuckets(day, 8002, 3, t, "09000125");
  UpdateBuckets(day, 7999, 2, t, "09000125");
  UpdateBuckets(day, 8000, 1, t + 5000, "09000630");
  EXPECT_EQ(day.minuteIndex, 15);
  EXPECT_EQ(day.bucketIndex, 45);
  const _PriceBucket& m = day.minuteBuckets[15];
  EXPECT_EQ(m.high, 8002u);
  EXPECT_EQ(m.low, 7999u);
  EXPECT_EQ(m.close, 8000);
  EXPECT_EQ(m.volume, 6);
  EXPECT_EQ(m.lastSecond, 0);
  const _PriceBucket& s = day.twentySecondBuckets[45];
  EXPECT_EQ(s.volume, 6);
  EXPECT_EQ(s.lastSecond, 6);
}

TEST(DayFigures, TickLandsInTheBucketOfItsRoundedTime) {
  TradingDay day;
  day.ResetForOpen();
  const int32_t t = TickTimeToReal("08460001", 32) * 32;  // offset 60010 -> 60000
  EXPECT_EQ(t, 60000);
  UpdateBuckets(day, 8000, 1, t, "08460001");
  EXPECT_EQ(day.minuteIndex, 1);
  EXPECT_EQ(day.minuteBuckets[1].volume, 1);
}

TEST(DayFigures, TicksWithoutASlotLeaveTheBucketsAlone) {
  struct Case {
    const char* time;
    bool minute;
    bool twentySecond;
  };
  const Case cases[] = {
      {"08445990", false, false},  // before 08:45
      {"13481900", true, true},    // last 20-second slot (909)
      {"13482000", true, false},   // past the 20-second slots
      {"13545999", true, false},   // last minute slot (309)
      {"13550000", false, false},  // past both
  };
  for (const auto& c : cases) {
    TradingDay day;
    day.ResetForOpen();
    day.minuteIndex = -7;
    day.bucketIndex = -7;
    UpdateBuckets(day, 8000, 1, TickTimeToOffset(c.time), c.time);
    int32_t minuteVolume = 0, twentyVolume = 0;
    for (const auto& b : day.minuteBuckets) minuteVolume += b.volume;
    for (const auto& b : day.twentySecondBuckets) twentyVolume += b.volume;
    EXPECT_EQ(minuteVolume, c.minute ? 1 : 0) << c.time;
    EXPECT_EQ(twentyVolume, c.twentySecond ? 1 : 0) << c.time;
    EXPECT_EQ(day.minuteIndex != -7, c.minute) << c.time;
    EXPECT_EQ(day.bucketIndex != -7, c.twentySecond) << c.time;
  }
}

TradingDay DayWithIndex(int32_t count) {
  TradingDay day;
  day.indexReference = 8000;
  day.indexLimit = TradingDay::kIndexCapacity;
  day.indexCount = count;
  for (int32_t i = 0; i < count; ++i) {
    auto& r = day.indexRecords[static_cast<size_t>(i)];
    r.time = "0901" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "00";
    r.value = 8010.0f + static_cast<float>(i);
    r.tradeValue = 100.0f * static_cast<float>(i + 1);
  }
  day.indexTop = 8060;
  day.indexBottom = 7940;
  return day;
}

TEST(DayFigures, SpreadBeforeTheFirstIndexRecordUsesTheReference) {
  TradingDay day = DayWithIndex(3);
  UpdateSpread(day, 8030);
  EXPECT_EQ(day.spreadNow, 30);
  EXPECT_EQ(day.indexRecords[0].spread, 30);
  EXPECT_EQ(day.spreadMax, 0);  // untouched until two records are out
}

TEST(DayFigures, SpreadMaxMovesOnlyOnceTwoRecordsAreReleased) {
  TradingDay day = DayWithIndex(3);
  ASSERT_TRUE(ReleaseIndexRecord(day));
  UpdateSpread(day, 7990);  // against 8010: -20
  EXPECT_EQ(day.spreadNow, -20);
  EXPECT_EQ(day.indexRecords[1].spread, -20);
  EXPECT_EQ(day.spreadMax, 0);
  ASSERT_TRUE(ReleaseIndexRecord(day));
  UpdateSpread(day, 8035);  // against 8011: 24
  EXPECT_EQ(day.spreadMax, 24);
  EXPECT_TRUE(day.spreadMaxChanged);
}

TEST(DayFigures, SpreadAfterTheLastRecordIsNotStored) {
  TradingDay day = DayWithIndex(1);
  ASSERT_TRUE(ReleaseIndexRecord(day));
  day.indexRecords[1].spread = 99;
  UpdateSpread(day, 8020);
  EXPECT_EQ(day.spreadNow, 10);
  EXPECT_EQ(day.indexRecords[1].spread, 99);
}

TEST(DayFigures, IndexReleaseFillsTheFiguresOfTheRecord) {
  TradingDay day = DayWithIndex(2);
  auto& r = day.indexRecords[1];
  r.buyOrderCount = 4;
  r.buyOrderQuantity = 10;
  r.sellOrderCount = 0;  // no division by zero
  r.sellOrderQuantity = 7;
  r.tradeCount = 5;
  r.tradeQuantity = 20;
  r.value = 8070;
  day.electronicCount = 2;
  day.electronicRecords[0].value = 300;
  day.electronicRecords[1].value = 301.5f;
  day.electronicTop = 301;
  day.electronicBottom = 299;

  ASSERT_TRUE(ReleaseIndexRecord(day));
  EXPECT_EQ(day.indexFirst, 8010);
  EXPECT_EQ(day.indexRecords[0].tradeValueStep, 100);
  EXPECT_EQ(day.electronicFirst, 300);
  ASSERT_TRUE(ReleaseIndexRecord(day));
  EXPECT_EQ(day.indexNow, 8070);
  EXPECT_EQ(day.indexTradeValue, 200);
  EXPECT_EQ(day.indexRecords[1].tradeValueStep, 100);
  EXPECT_EQ(day.indexTop, 8073);
  EXPECT_TRUE(day.indexTopChanged);
  EXPECT_EQ(day.buyOrderAverage, 2.5f);
  EXPECT_EQ(day.sellOrderAverage, 0);
  EXPECT_EQ(day.tradeAverage, 4);
  EXPECT_EQ(day.sellOrderQuantityNow, 7);
  EXPECT_EQ(day.electronicNow, 301.5f);
  EXPECT_FLOAT_EQ(day.electronicTop, 301.7f);
  EXPECT_TRUE(day.indexAdvanced);
  EXPECT_EQ(day.indexCursor, 2);
  EXPECT_FALSE(ReleaseIndexRecord(day));
  EXPECT_EQ(day.indexCursor, 2);
}

TEST(DayFigures, AbsentSectorSeriesKeepsItsRange) {
  TradingDay day = DayWithIndex(1);
  day.financialTop = 904;
  day.financialBottom = 896;
  ASSERT_TRUE(ReleaseIndexRecord(day));
  EXPECT_EQ(day.financialBottom, 896);
  EXPECT_FALSE(day.financialBottomChanged);
}

TEST(DayFigures, FiveMinuteSlotsFollowTheRecordMinutes) {
  TradingDay day;
  day.ResetForOpen();
  const char* times[] = {"09000000", "09040000", "09050000", "09070000", "09100000"};
  day.indexCount = 5;
  day.indexLimit = TradingDay::kIndexCapacity;
  for (size_t i = 0; i < 5; ++i) {
    day.indexRecords[i].time = times[i];
    day.indexRecords[i].tradeValue = 1000.0f * static_cast<float>(i + 1);
  }
  day.indexRecords[4].tradeValue = 6500;
  // Slot 0 holds the first two steps (1000 + 1000), slot 1 the next two, slot 2 the last.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(ReleaseIndexRecord(day));
  EXPECT_EQ(day.indexFiveMinuteValue[0], 2000);
  EXPECT_EQ(day.indexFiveMinuteValue[1], 2000);
  EXPECT_EQ(day.indexFiveMinuteValue[2], 2500);
  EXPECT_EQ(day.fiveMinuteSlot, 2);
  EXPECT_EQ(day.nextBoundaryMinute, 15);
  // A sum of exactly 2000 left the scale; 2500 raised it.
  EXPECT_EQ(day.indexVolumeScale, 3500);
  EXPECT_TRUE(day.indexVolumeScaleChanged);
}

TEST(DayFigures, FiveMinuteSlotStaysWithinTheArray) {
  TradingDay day;
  day.ResetForOpen();
  day.indexLimit = TradingDay::kIndexCapacity;
  // Every record crosses a boundary: 70 records walk past the 55 slots.
  const int n = 70;
  day.indexCount = n;
  int minute = 0;
  for (int i = 0; i < n; ++i) {
    char time[9];
    std::snprintf(time, sizeof time, "09%02d0000", minute);
    day.indexRecords[static_cast<size_t>(i)].time = time;
    day.indexRecords[static_cast<size_t>(i)].tradeValue = static_cast<float>(i + 1);
    minute = (minute + 5) % 60;
  }
  for (int i = 0; i < n; ++i) ASSERT_TRUE(ReleaseIndexRecord(day));
  EXPECT_EQ(day.fiveMinuteSlot, TradingDay::kFiveMinuteSlots - 1);
  EXPECT_GT(day.indexFiveMinuteValue[TradingDay::kFiveMinuteSlots - 1], 1.0f);
}

TEST(DayFigures, OlderDaysReleaseAtMost271Records) {
  TradingDay day = DayWithIndex(300);
  day.indexLimit = 271;
  EXPECT_EQ(IndexReleaseLimit(day), 271);
  int released = 0;
  while (ReleaseIndexRecord(day)) ++released;
  EXPECT_EQ(released, 271);
  day.indexCount = 100;
  EXPECT_EQ(IndexReleaseLimit(day), 100);
}

}  // namespace
}  // namespace kestrel
