#include "replay/TimeRewind.h"

#include <gtest/gtest.h>

#include "ReplayFixture.h"
#include "replay/RewindBars.h"
#include "trading/OrderEntry.h"

namespace kestrel {
namespace {

using test::ReplayFixture;

TEST(TimeRewindCheck, MessagesInOrder) {
  struct Case {
    const char* hour;
    const char* minute;
    int32_t current;  // minute of the day now
    const char* message;
    const char* hourText;
    const char* minuteText;
  };
  const int32_t at1032 = 10 * 60 + 32;
  const Case cases[] = {
      {"7", "30", at1032, "小時必須介於8-13時", "07", "30"},
      {"14", "0", at1032, "小時必須介於8-13時", "14", "00"},
      {"", "10", at1032, "小時必須介於8-13時", "00", "10"},
      {"10", "60", at1032, "分鐘必須介於0-59分", "10", "60"},
      {"10", "-5", at1032, "分鐘必須介於0-59分", "10", "-5"},
      {"8", "45", at1032, "時間必須>開盤時間", "08", "45"},
      {"10", "32", at1032, "時間必須<目前時間", "10", "32"},
      {"10", "40", at1032, "時間必須<目前時間", "10", "40"},
      {"13", "46", 13 * 60 + 50, "時間必須<收盤時間", "13", "46"},
      {"13", "45", 13 * 60 + 50, "", "13", "45"},
      {"8", "46", at1032, "", "08", "46"},
      {"10", "7", at1032, "", "10", "07"},
      {"10abc", "07", at1032, "", "10", "07"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.hour) + ":" + c.minute);
    const RewindCheck check = CheckRewindTime(c.hour, c.minute, c.current);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.ok, std::string(c.message).empty());
    EXPECT_EQ(check.hourText, c.hourText);
    EXPECT_EQ(check.minuteText, c.minuteText);
  }
}

class TimeRewind : public ReplayFixture {
 protected:
  TimeRewind() {
    views.view[0].mode = 9;   // chart I shows the 5-minute bars
    views.view[1].mode = 10;  // chart II the 30-minute bars
  }

  // Ticks every `step` seconds over [from, to) (seconds of the day), skipping
  // [gapFrom, gapTo); index records every 15 s from 09:00; a stock quote a minute.
  void BuildDay(int32_t from, int32_t to, int32_t step, int32_t gapFrom = 0, int32_t gapTo = 0) {
    int32_t i = 0;
    for (int32_t s = from; s < to; s += step, ++i) {
      if (s >= gapFrom && s < gapTo) continue;
      char t[16];
      std::snprintf(t, sizeof t, "%02d%02d%02d00", s / 3600, s / 60 % 60, s % 60);
      const int32_t price = 8000 + (i * 7) % 23 - 11;
      AddTick(t, price - 1, price + 1, price, 1 + i % 5);
    }
    float value = 0;
    for (int32_t s = 9 * 3600, k = 0; s < 11 * 3600; s += 15, ++k) {
      _IndexRecord& r = day.indexRecords[static_cast<size_t>(k)];
      char t[16];
      std::snprintf(t, sizeof t, "%02d%02d%02d00", s / 3600, s / 60 % 60, s % 60);
      r.time = t;
      r.value = 7980.0f + static_cast<float>(k % 17);
      value += 1.5f + static_cast<float>(k % 7);
      r.tradeValue = value;
      day.indexCount = k + 1;
    }
    std::vector<_StockRecord> quotes;
    for (int32_t s = 9 * 3600; s < 11 * 3600; s += 60) {
      char t[16];
      std::snprintf(t, sizeof t, "%02d%02d%02d", s / 3600, s / 60 % 60, s % 60);
      quotes.push_back({t, "99.50", "100.00", s % 120 == 0 ? "100.00" : "99.50", "3", "9"});
    }
    AddStock("2330", 100.0f, quotes);
  }

  // Releases everything up to the clock time `hhmmsscc`.
  void RunTo(const char* hhmmsscc) {
    SetRealElapsed(RealOf(hhmmsscc) + 1);
    for (;;) {
      const int32_t ticks = day.tickCursor;
      const int32_t index = day.indexCursor;
      engine.Heartbeat();
      if (ticks == day.tickCursor && index == day.indexCursor) break;
    }
  }

  RewindCheck Rewind(const char* hour, const char* minute) {
    const RewindDialogStart start = engine.BeginTimeRewind();
    RewindProgress report;
    report.status = [this](const std::string& text) { statuses.push_back(text); };
    report.progress = [this](int32_t position, int32_t maximum) {
      progress.push_back(std::to_string(position) + "/" + std::to_string(maximum));
    };
    report.processEvents = [this] { ++events; };
    return engine.ConfirmTimeRewind(hour, minute, start.currentMinute, sleeper, report);
  }

  std::vector<std::string> SessionTimes(const KLineSeries& s) const {
    std::vector<std::string> times;
    for (size_t i = static_cast<size_t>(s.historyCount); i < s.bars.size(); ++i)
      times.push_back(s.bars[i].time);
    return times;
  }

  RecordingSleeper sleeper;
  std::vector<std::string> statuses;
  std::vector<std::string> progress;
  int events = 0;
};

constexpr int32_t kAt0845 = 8 * 3600 + 45 * 60;
constexpr int32_t kAt1100 = 11 * 3600;

::testing::AssertionResult SameBars(const KLineSeries& a, const KLineSeries& b) {
  if (a.bars.size() != b.bars.size())
    return ::testing::AssertionFailure() << a.bars.size() << " bars against " << b.bars.size();
  for (size_t i = 0; i < a.bars.size(); ++i) {
    const _KLINEDATA& x = a.bars[i];
    const _KLINEDATA& y = b.bars[i];
    if (x.time != y.time || x.open != y.open || x.high != y.high || x.low != y.low ||
        x.close != y.close || x.volume != y.volume || x.ma1 != y.ma1 || x.k != y.k ||
        x.macd != y.macd || x.pivot != y.pivot)
      return ::testing::AssertionFailure() << "bar " << i << " (" << x.time << ") differs";
  }
  return ::testing::AssertionSuccess();
}

TEST_F(TimeRewind, From1032To1010) {
  BuildDay(kAt0845, kAt1100, 10);
  engine.OpenSession();
  RunTo("10320000");
  ASSERT_EQ(clock.clockText, "10:32:00");
  const size_t min1Before = day.min1Bars.bars.size();
  const size_t min5Before = day.min5Bars.bars.size();
  const size_t min30Before = day.min30Bars.bars.size();
  const int32_t rowsBefore = tickList.RowCount();

  RunTo("11000000");  // what the rest of the day looks like without a rewind
  const KLineSeries min1Full = day.min1Bars, min5Full = day.min5Bars, min30Full = day.min30Bars;
  const KLineSeries dayFull = day.dayBars;
  const auto fiveMinuteFull = day.indexFiveMinuteValue;
  const auto minuteBucketsFull = day.minuteBuckets;
  const auto twentyFull = day.twentySecondBuckets;
  const int32_t totalFull = day.totalVolume;

  // Back to 10:32 the same way, then rewind.
  ScriptedPrompter prompter;
  ASSERT_TRUE(engine.EndSession(prompter, {}));
  engine.OpenSession();
  RunTo("10320000");
  ASSERT_EQ(day.min1Bars.bars.size(), min1Before);
  const int32_t scrollBefore = views.view[0].scrollMax;
  const RewindCheck check = Rewind("10", "10");
  ASSERT_TRUE(check.ok) << check.message;

  EXPECT_TRUE(clock.sessionPaused);
  EXPECT_EQ(statuses,
            (std::vector<std::string>{"正在回溯期貨價格", "正在回溯期貨總量", "正在回溯5分鐘K線",
                                      "正在回溯30分鐘K線", "正在回溯1分鐘K線", "正在回溯權值股資料",
                                      "正在回溯交易明細"}));
  EXPECT_EQ(std::vector<std::string>(progress.begin(), progress.begin() + 6),
            (std::vector<std::string>{"0/5", "1/5", "2/5", "3/5", "4/5", "5/5"}));
  EXPECT_EQ(progress.back(), "10/10");
  EXPECT_EQ(events, 10);
  EXPECT_EQ(sleeper.Calls(), 5);
  EXPECT_EQ(sleeper.TotalMs(), 1000u);

  // Four 5-minute bars gone, the 10:10 bar back to its open.
  EXPECT_EQ(min5Before - day.min5Bars.bars.size(), 4u);
  const _KLINEDATA& bar1010 = day.min5Bars.bars.back();
  EXPECT_EQ(bar1010.time, "101000");
  EXPECT_EQ(bar1010.high, bar1010.open);
  EXPECT_EQ(bar1010.low, bar1010.open);
  EXPECT_EQ(bar1010.volume, 0u);
  EXPECT_EQ(day.fiveMinuteCounter, -1);
  EXPECT_EQ(views.view[0].scrollMax, scrollBefore - 4);
  // 23 one-minute bars gone; one 30-minute bar (10:15).
  EXPECT_EQ(min1Before - day.min1Bars.bars.size(), 23u);
  EXPECT_EQ(day.min1Bars.bars.back().time.substr(0, 4), "1009");
  EXPECT_EQ(min30Before - day.min30Bars.bars.size(), 1u);
  EXPECT_EQ(day.min30Bars.bars.back().time, "094500");
  EXPECT_EQ(day.thirtyMinuteCounter, 24);

  // Cursors, totals, clock.
  const int32_t firstAfter = 6 * (10 * 60 + 10 - (8 * 60 + 45));
  EXPECT_EQ(day.tickCursor, firstAfter);
  int32_t volume = 0;
  for (int32_t i = 0; i < firstAfter; ++i) volume += 1 + i % 5;
  EXPECT_EQ(day.totalVolume, volume);
  EXPECT_EQ(tickList.RunningTotal(), volume);
  EXPECT_EQ(day.dayBars.bars.back().volume, static_cast<uint32_t>(volume));
  EXPECT_EQ(day.indexCursor, 70 * 4);
  EXPECT_EQ(day.currentMinute, "1009");
  EXPECT_EQ(day.currentSecond, "101000");
  EXPECT_EQ(clock.clockText, "10:10:00");
  EXPECT_EQ(clock.lastBatchOffset, 85 * 60 * 1000);
  EXPECT_EQ(clock.realElapsed, 85u * 60 * 1000);
  EXPECT_EQ(rowsBefore - tickList.RowCount(), 6 * 22 + 1);  // 10:10:00 .. 10:32:00
  EXPECT_EQ(day.minuteBuckets[85].volume, 0);
  EXPECT_EQ(day.twentySecondBuckets[3 * 85].volume, 0);
  EXPECT_NE(day.minuteBuckets[84].volume, 0);
  EXPECT_EQ(stockList.CellText(0, kStockPrice), "100.0");  // the 10:10 quote

  // Replayed to the end, the day is the same as if it never went back.
  engine.ResumeSession();
  RunTo("11000000");
  EXPECT_TRUE(SameBars(day.min1Bars, min1Full));
  EXPECT_TRUE(SameBars(day.min5Bars, min5Full));
  EXPECT_TRUE(SameBars(day.min30Bars, min30Full));
  EXPECT_TRUE(SameBars(day.dayBars, dayFull));
  EXPECT_EQ(day.indexFiveMinuteValue, fiveMinuteFull);
  EXPECT_EQ(day.totalVolume, totalFull);
  for (size_t i = 0; i < day.minuteBuckets.size(); ++i) {
    EXPECT_EQ(day.minuteBuckets[i].volume, minuteBucketsFull[i].volume) << i;
    EXPECT_EQ(day.minuteBuckets[i].high, minuteBucketsFull[i].high) << i;
  }
  for (size_t i = 0; i < day.twentySecondBuckets.size(); ++i)
    EXPECT_EQ(day.twentySecondBuckets[i].low, twentyFull[i].low) << i;
}

TEST_F(TimeRewind, From1032To1007RebuildsTheFiveMinuteBar) {
  BuildDay(kAt0845, kAt1100, 10);
  engine.OpenSession();
  RunTo("10320000");
  const KLineSeries minutes = day.min1Bars;
  ASSERT_TRUE(Rewind("10", "07").ok);

  // From the 10:05 and 10:06 one-minute bars.
  const _KLINEDATA* m1005 = nullptr;
  const _KLINEDATA* m1006 = nullptr;
  for (const _KLINEDATA& bar : minutes.bars) {
    if (bar.time.rfind("1005", 0) == 0) m1005 = &bar;
    if (bar.time.rfind("1006", 0) == 0) m1006 = &bar;
  }
  ASSERT_TRUE(m1005 && m1006);
  const _KLINEDATA& bar = day.min5Bars.bars.back();
  EXPECT_EQ(bar.time, "100500");
  EXPECT_EQ(bar.open, m1005->open);
  EXPECT_EQ(bar.high, std::max(m1005->high, m1006->high));
  EXPECT_EQ(bar.low, std::min(m1005->low, m1006->low));
  EXPECT_EQ(bar.volume, m1005->volume + m1006->volume);
  EXPECT_EQ(day.fiveMinuteCounter, 1);
  EXPECT_EQ(day.min1Bars.bars.back().time.substr(0, 4), "1006");
  EXPECT_EQ(day.currentMinute, "1006");
  EXPECT_EQ(day.indexCursor, 67 * 4);
}

TEST_F(TimeRewind, MinutesWithoutTicksRewindByTime) {
  // No ticks from 10:04 to 10:11.
  BuildDay(kAt0845, kAt1100, 10, 10 * 3600 + 4 * 60, 10 * 3600 + 12 * 60);
  engine.OpenSession();
  RunTo("11000000");
  const KLineSeries min1Full = day.min1Bars, min5Full = day.min5Bars, min30Full = day.min30Bars;
  ScriptedPrompter prompter;
  ASSERT_TRUE(engine.EndSession(prompter, {}));
  engine.OpenSession();
  RunTo("10200000");
  // 10:10 starts after the gap; 10:15 once five minutes with ticks are counted.
  ASSERT_EQ(SessionTimes(day.min5Bars).back(), "101500");

  ASSERT_TRUE(Rewind("10", "08").ok);
  EXPECT_EQ(SessionTimes(day.min5Bars).back(), "100000");
  EXPECT_EQ(day.min1Bars.bars.back().time.substr(0, 4), "1003");
  uint32_t volume = 0;
  for (const _KLINEDATA& bar : min1Full.bars)
    if (bar.time.rfind("100", 0) == 0 && bar.time < "1004") volume += bar.volume;
  EXPECT_EQ(day.min5Bars.bars.back().volume, volume);
  EXPECT_EQ(day.fiveMinuteCounter, 4);

  engine.ResumeSession();
  RunTo("11000000");
  EXPECT_TRUE(SameBars(day.min1Bars, min1Full));
  EXPECT_TRUE(SameBars(day.min5Bars, min5Full));
  EXPECT_TRUE(SameBars(day.min30Bars, min30Full));
}

TEST_F(TimeRewind, BeforeTheCashOpenTheIndexStartsAgain) {
  BuildDay(kAt0845, kAt1100, 10);
  engine.OpenSession();
  RunTo("09200000");
  ASSERT_GT(day.indexCursor, 0);
  ASSERT_NE(stockList.CellText(0, kStockPrice), "");
  ASSERT_TRUE(Rewind("8", "50").ok);
  EXPECT_EQ(day.indexCursor, 0);
  EXPECT_EQ(day.indexNow, 0.0f);
  EXPECT_EQ(day.indexTop, static_cast<float>(day.indexReference + 60));
  EXPECT_EQ(day.indexVolumeScale, 2000.0f);
  EXPECT_EQ(day.fiveMinuteSlot, 0);
  EXPECT_EQ(day.nextBoundaryMinute, 5);
  EXPECT_EQ(stockList.CellText(0, kStockPrice), "");
  EXPECT_EQ(day.stocks[0].cursor, 0);
  EXPECT_EQ(day.min5Bars.bars.back().time, "085000");

  engine.ResumeSession();
  RunTo("08595900");
  EXPECT_EQ(day.indexCursor, 0);
  RunTo("09000000");
  EXPECT_EQ(day.indexCursor, 1);
  EXPECT_EQ(day.indexFirst, day.indexRecords[0].value);
}

TEST_F(TimeRewind, OrdersFilledAfterTheTargetStayFilled) {
  BuildDay(kAt0845, kAt1100, 10);
  engine.OpenSession();
  RunTo("10000000");
  EntryInput in;
  in.lotsText = "1";
  in.simpleProductText = "大台指";
  in.clockText = clock.clockText;
  ASSERT_TRUE(PlaceMarket(trade, in, kSideBuy).placed);
  RunTo("10050000");
  ASSERT_EQ(tradeState.LongPositions.size(), 1u);
  ASSERT_TRUE(Rewind("9", "30").ok);
  EXPECT_EQ(tradeState.LongPositions.size(), 1u);
  EXPECT_EQ(tradeState.DealRecords.size(), 1u);
  // The fill's row went with the ticks after the target.
  for (int32_t row = 0; row < tickList.RowCount(); ++row)
    EXPECT_LT(tickList.RowTime(row), 93000) << row;
}

TEST_F(TimeRewind, TickListRowsGoInBothScrollModes) {
  for (bool bottomUp : {true, false}) {
    SCOPED_TRACE(bottomUp);
    clock = ReplayClock{};
    LoadDay(8000);
    tickList.ResetTickList();
    tickList.SetBottomUp(bottomUp);
    BuildDay(kAt0845, kAt1100, 10);
    engine.OpenSession();
    RunTo("09300000");
    ASSERT_TRUE(Rewind("9", "10").ok);
    const int32_t rows = tickList.RowCount();
    EXPECT_EQ(rows, TickListModel::kBlankRows + 6 * 25);
    // The blank rows stay at the far end from the trades.
    const int32_t newest = bottomUp ? rows - 1 : 0;
    const int32_t blank = bottomUp ? 0 : rows - 1;
    EXPECT_EQ(tickList.CellText(newest, kTickTime), "09:09:50");
    EXPECT_EQ(tickList.CellText(blank, kTickTime), "  ");
  }
}

TEST(RewindBars, NeverIntoHistoryNorBelowZero) {
  auto day = std::make_unique<TradingDay>();
  ChartViews views;
  views.view[1].mode = 9;
  views.view[1].scrollMax = 2;
  views.view[1].scrollPos = 1;
  KLineSeries& five = day->min5Bars;
  // History placeholders late in the day, then the session's bars.
  for (const char* t : {"134000", "134500", "0845", "085000", "085500", "090000"}) {
    _KLINEDATA bar;
    bar.time = t;
    bar.open = bar.high = bar.low = 8000;
    bar.volume = 7;
    five.bars.push_back(bar);
  }
  five.historyCount = 2;
  five.firstBar[0] = 1;
  five.firstBar[1] = 5;
  day->min1Bars.historyCount = 0;

  RewindLongBars(*day, views, 5, 8 * 60 + 47);
  ASSERT_EQ(five.bars.size(), 3u);
  EXPECT_EQ(five.bars[0].time, "134000");
  EXPECT_EQ(five.bars[1].volume, 7u);  // history keeps its values
  EXPECT_EQ(five.bars[2].time, "0845");
  EXPECT_EQ(five.bars[2].volume, 0u);  // no 1-minute bars to rebuild from
  EXPECT_EQ(five.firstBar[0], 0);
  EXPECT_EQ(five.firstBar[1], 2);
  EXPECT_EQ(views.view[1].scrollMax, 0);
  EXPECT_EQ(views.view[1].scrollPos, 0);
  EXPECT_EQ(day->fiveMinuteCounter, 1);
}

TEST_F(TimeRewind, BeginPausesAndShowsTheTime) {
  BuildDay(kAt0845, kAt1100, 10);
  engine.OpenSession();
  RunTo("09154500");
  const RewindDialogStart start = engine.BeginTimeRewind();
  EXPECT_TRUE(clock.sessionPaused);
  EXPECT_EQ(start.currentTimeText, "交易時間　09:15:40");
  EXPECT_EQ(start.currentMinute, 9 * 60 + 15);
  const RewindCheck refused = engine.ConfirmTimeRewind("9", "20", start.currentMinute, sleeper);
  EXPECT_EQ(refused.message, "時間必須<目前時間");
  EXPECT_EQ(sleeper.Calls(), 0);
  EXPECT_EQ(clock.clockText, "09:15:45");
}

}  // namespace
}  // namespace kestrel
