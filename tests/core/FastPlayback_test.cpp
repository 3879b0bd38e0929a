#include "replay/FastPlayback.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ReplayFixture.h"
#include "trading/OrderEntry.h"

namespace kestrel {
namespace {

using test::ReplayFixture;

class FastPlayback : public ReplayFixture {
 protected:
  // Counts the steps through the progress callback.
  FastPlaybackCallbacks Counting() {
    FastPlaybackCallbacks cb;
    cb.begin = [this](const std::string& text, int32_t maximum) {
      log.push_back("begin " + text + " " + std::to_string(maximum));
    };
    cb.progress = [this](int32_t position) {
      ++steps;
      lastPosition = position;
    };
    cb.processEvents = [this] { ++events; };
    cb.end = [this] { log.push_back("end"); };
    return cb;
  }

  std::vector<std::string> log;
  int steps = 0;
  int events = 0;
  int32_t lastPosition = 0;
};

TEST_F(FastPlayback, EndsPausedWithEveryTickListedAndNothingFilled) {
  AddTicksEverySecond(84500, 1200);
  AddTick("09050000", 7999, 8001, 8000, 7);  // a busy second
  AddTick("09050000", 7999, 8001, 8000, 7);
  AddTick("09050000", 7999, 8001, 8000, 7);
  AddTick("09050000", 7999, 8001, 8000, 7);
  AddStock("2330", 100.0f,
           {{"090000", "99.50", "100.00", "100.00", "5", "5"},
            {"090001", "99.50", "100.00", "100.50", "900", "905"},
            {"090002", "100.00", "100.50", "101.00", "2", "907"}});
  sink.shownStocks = {0};
  EntryInput in;
  in.lotsText = "1";
  in.simpleProductText = "大台指";
  in.clockText = "08:45:00";
  ASSERT_TRUE(PlaceLimit(trade, in, kSideBuy, "8100").placed);

  ASSERT_TRUE(RunFastPlayback(ctx, Counting()));

  EXPECT_TRUE(clock.sessionRunning);
  EXPECT_TRUE(clock.sessionPaused);
  EXPECT_FALSE(clock.fastPlaybackRunning);
  EXPECT_EQ(day.tickCursor, static_cast<int32_t>(day.tickLines.size()));
  EXPECT_EQ(tickList.RowCount(), 1204 + TickListModel::kBlankRows);
  int64_t volumes = 0;
  for (const std::string& line : day.tickLines)
    volumes += std::stoi(line.substr(line.rfind(',') + 1));
  EXPECT_EQ(day.totalVolume, volumes);
  EXPECT_EQ(tickList.RunningTotal(), volumes);
  // The pending order from before was not touched.
  EXPECT_EQ(tradeState.PendingOrders.size(), 1u);
  EXPECT_TRUE(tradeState.LongPositions.empty());
  EXPECT_TRUE(tradeSink.With("fill").empty());
  // Every stock shows its last record.
  EXPECT_EQ(day.stocks[0].cursor, 3);
  EXPECT_EQ(stockList.CellText(0, kStockPrice), "101.0");
  EXPECT_EQ(day.stocks[0].volumeScale, 900);
  // One step per second with ticks, two for the busy second (three ticks a
  // step at normal speed); every step but the last reports.
  EXPECT_EQ(steps, 1201);
  EXPECT_EQ(steps, events);
  EXPECT_EQ(lastPosition, 1204);
  EXPECT_EQ(log, (std::vector<std::string>{"begin 處理進度 1204", "end"}));
  EXPECT_TRUE(sink.With("start").empty());
  const auto tail = std::vector<std::string>(sink.events.end() - 4, sink.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"stop", "stockList", "chartsFully", "summary"}));
  // 08:45 to 09:05: 21 one-minute bars after the history bar.
  EXPECT_EQ(day.min1Bars.bars.size(), 22u);
}

TEST_F(FastPlayback, TopSpeedNeedsFewerSteps) {
  for (int i = 0; i < 100; ++i) AddTick("09000000", 7999, 8001, 8000, 1);
  for (int32_t speed : {1, 32}) {
    SCOPED_TRACE(speed);
    clock = ReplayClock{};
    clock.speed = speed;
    steps = 0;
    ASSERT_TRUE(RunFastPlayback(ctx, Counting()));
    EXPECT_EQ(steps, speed == 1 ? 33 : 1);  // 100 ticks in steps of 3 or of 96
    EXPECT_EQ(day.tickCursor, 100);
    clock.sessionRunning = false;
  }
}

TEST_F(FastPlayback, LateTicksAndEmptyDaysEnd) {
  AddTick("09000000", 7999, 8001, 8000, 1);
  AddTick("13500000", 7999, 8001, 8000, 1);  // later than 13:45:01 at normal speed
  ASSERT_TRUE(RunFastPlayback(ctx));
  EXPECT_EQ(day.tickCursor, 2);
  EXPECT_TRUE(clock.sessionPaused);

  clock = ReplayClock{};
  LoadDay(8000);
  ASSERT_TRUE(RunFastPlayback(ctx));
  EXPECT_TRUE(clock.sessionRunning);
  EXPECT_TRUE(clock.sessionPaused);
}

TEST_F(FastPlayback, RefusedWhileASessionRunsOrWithoutADay) {
  AddTick("09000000", 7999, 8001, 8000, 1);
  engine.OpenSession();
  EXPECT_FALSE(RunFastPlayback(ctx));
  EXPECT_EQ(day.tickCursor, 0);

  clock = ReplayClock{};
  day.dayLoaded = false;
  EXPECT_FALSE(RunFastPlayback(ctx));
  EXPECT_FALSE(clock.sessionRunning);
}

TEST_F(FastPlayback, ReentryIsDisabledAndAnEndStopsTheLoop) {
  AddTicksEverySecond(90000, 50);
  FastPlaybackCallbacks cb;
  std::vector<bool> enabled;
  cb.processEvents = [&] {
    for (int32_t id : {kCmdPauseSession, kCmdResumeSession, kCmdToggleSession, kCmdEndSession,
                       kCmdFastPlayback, kCmdTimeRewind})
      enabled.push_back(engine.CommandStateOf(id, false, true)->enabled);
    // The classroom ends the session from outside.
    if (day.tickCursor >= 10) clock.sessionRunning = false;
  };
  ASSERT_TRUE(RunFastPlayback(ctx, cb));
  EXPECT_EQ(day.tickCursor, 10);
  EXPECT_EQ(std::count(enabled.begin(), enabled.end(), true), 0);
  EXPECT_FALSE(clock.fastPlaybackRunning);
  EXPECT_TRUE(engine.CommandStateOf(kCmdFastPlayback, false, true)->enabled);
}

}  // namespace
}  // namespace kestrel
