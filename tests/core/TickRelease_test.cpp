#include "replay/TickRelease.h"

#include <gtest/gtest.h>

#include "ReplayFixture.h"
#include "trading/OrderEntry.h"

namespace kestrel {
namespace {

using test::ReplayFixture;

class TickRelease : public ReplayFixture {
 protected:
  // Opens the session and runs one heartbeat at `real` ms after the origin.
  void OpenAndBeatAt(uint32_t real) {
    engine.OpenSession();
    BeatAt(real);
  }
  void BeatAt(uint32_t real) {
    SetRealElapsed(real);
    engine.Heartbeat();
  }
  EntryInput Order() const {
    EntryInput in;
    in.lotsText = "1";
    in.simpleProductText = "大台指";
    in.clockText = "09:00:00";
    return in;
  }
};

TEST(TickLine, FieldsByPositionAndCommas) {
  struct Case {
    const char* line;
    const char* time;
    const char* bid;
    const char* ask;
    const char* price;
    const char* volume;
  };
  const Case cases[] = {
      {"09000125,8001,8002,8002,3", "09000125", "8001", "8002", "8002", "3"},
      {"08450000,--,--,8512,10", "08450000", "--", "--", "8512", "10"},
      {"09000125,8001,8002,8002,3,extra", "09000125", "8001", "8002", "8002", "3,extra"},
      {"09000125,8001", "09000125", "8001", "", "", ""},
      {"0900", "0900", "", "", "", ""},
      {"", "", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const TickFields f = ParseTickLine(c.line);
    EXPECT_EQ(f.time, c.time);
    EXPECT_EQ(f.bid, c.bid);
    EXPECT_EQ(f.ask, c.ask);
    EXPECT_EQ(f.price, c.price);
    EXPECT_EQ(f.volume, c.volume);
  }
  EXPECT_EQ(ParseTickLine("09000125,1,2,3,4").SecondKey(), "090001");
  EXPECT_EQ(ParseTickLine("09000125,1,2,3,4").MinuteKey(), "0900");
}

TEST_F(TickRelease, TheRoadOfOneTick) {
  AddTick("09000125", 8001, 8002, 8002, 3);
  AddTick("09300000", 8001, 8002, 8002, 3);
  engine.OpenSession();
  ASSERT_TRUE(PlaceLimit(trade, Order(), kSideBuy, "8003").placed);

  BeatAt(901'250);  // exactly its release time: not yet due
  EXPECT_EQ(day.tickCursor, 0);
  BeatAt(901'260);
  ASSERT_EQ(day.tickCursor, 1);

  // Top-down: the newest row is the first; the tick is below its fill.
  EXPECT_EQ(tickList.CellText(1, kTickTime), "09:00:01");
  EXPECT_EQ(tickList.CellText(1, kTickBid), "8001");
  EXPECT_EQ(tickList.CellText(1, kTickPrice), "8002");
  EXPECT_EQ(tickList.ColourCode(1) & 3, 1);  // outer
  EXPECT_EQ(day.lastPrice, 8002);
  EXPECT_EQ(day.bidPrice, 8001);
  EXPECT_EQ(day.askPrice, 8002);
  EXPECT_EQ(day.lastVolume, 3);
  EXPECT_EQ(day.openPrice, 8002);
  EXPECT_EQ(day.dayBars.bars.back().close, 8002u);
  EXPECT_EQ(day.min1Bars.bars.back().time, "0845");
  EXPECT_EQ(day.currentSecond, "090001");
  EXPECT_EQ(clock.lastBatchOffset, 901'250);
  EXPECT_EQ(day.futuresTop, 8002u);
  EXPECT_EQ(day.futuresBottom, 8002u);
  EXPECT_EQ(day.minuteBuckets[15].volume, 3);
  EXPECT_EQ(day.twentySecondBuckets[45].lastSecond, 1);

  // The buy limit at 8003 fired through the tick and filled at the ask; the
  // fill follows the tick into the list, stamped with the clock.
  ASSERT_EQ(tradeState.LongPositions.size(), 1u);
  EXPECT_EQ(tradeState.LongPositions[0].fillPrice, 8002);
  EXPECT_EQ(tradeSink.With("fill"), (std::vector<std::string>{"fill 09:00:01 8001 8002 8002 1"}));
  EXPECT_EQ(tickList.CellText(0, kTickTime), "09:00:01");
  EXPECT_EQ(tickList.CellText(0, kTickVolume), "1");
  EXPECT_EQ(tickList.CellText(1, kTickVolume), "3");
  EXPECT_EQ(tickList.RunningTotal(), 4);
  EXPECT_EQ(day.totalVolume, 4);
}

TEST_F(TickRelease, OneSecondPerHeartbeatUpToTheCap) {
  struct Case {
    const char* name;
    int32_t speed;
    bool smooth;
    std::vector<const char*> times;
    std::vector<int32_t> cursorAfterEachBeat;
  };
  const Case cases[] = {
      {"same second together, next second later",
       1,
       false,
       {"09000110", "09000150", "09000200"},
       {2, 3}},
      {"five in one second at normal speed",
       1,
       false,
       {"09000100", "09000110", "09000120", "09000130", "09000140"},
       {3, 5}},
      {"smooth mode one per heartbeat", 1, true, {"09000100", "09000110", "09000120"}, {1, 2, 3}},
      {"8x releases up to 24",
       8,
       false,
       {"09000100", "09000110", "09000120", "09000130", "09000140"},
       {5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadDay(8000);
    for (const char* t : c.times) AddTick(t, 7999, 8001, 8000, 1);
    AddTick("10000000", 7999, 8001, 8000, 1);
    clock = ReplayClock{};
    clock.speed = c.speed;
    clock.smoothMode = c.smooth;
    engine.OpenSession();
    BeatAt(RealOf("09000300"));
    for (size_t i = 0; i < c.cursorAfterEachBeat.size(); ++i) {
      EXPECT_EQ(day.tickCursor, c.cursorAfterEachBeat[i]) << "after heartbeat " << i + 1;
      Beat();
    }
  }
}

TEST_F(TickRelease, DueTestsStrictForTicksAndIndexNotForStocks) {
  AddTick("09000000", 7999, 8001, 8000, 1);
  AddTick("10000000", 7999, 8001, 8000, 1);
  day.indexRecords[0] = {"09000000", 7980};
  day.indexCount = 1;
  AddStock("2330", 100.0f, {{"090000", "99.5", "100", "100", "5", "5"}});
  engine.OpenSession();

  BeatAt(RealOf("09000000"));
  EXPECT_EQ(day.tickCursor, 0);
  EXPECT_EQ(day.indexCursor, 0);
  EXPECT_EQ(day.stocks[0].cursor, 1);
  EXPECT_EQ(stockList.CellText(0, kStockPrice), "100");

  BeatAt(RealOf("09000000") + 1);
  EXPECT_EQ(day.tickCursor, 1);
  EXPECT_EQ(day.indexCursor, 1);
  EXPECT_TRUE(day.indexAdvanced);
}

TEST_F(TickRelease, IndexReleasesOneRecordPerHeartbeatAndNeverAnEmptyTime) {
  AddTick("13000000", 7999, 8001, 8000, 1);
  day.indexRecords[0] = {"09000000", 7980};
  day.indexRecords[1] = {"09001500", 7981};
  day.indexRecords[2] = {"", 7990};
  day.indexRecords[3] = {"09003000", 7982};
  day.indexCount = 4;
  engine.OpenSession();
  BeatAt(RealOf("10000000"));
  EXPECT_EQ(day.indexCursor, 1);
  Beat();
  EXPECT_EQ(day.indexCursor, 2);
  Beat(5);
  EXPECT_EQ(day.indexCursor, 2);
  EXPECT_EQ(day.indexNow, 7981.0f);
}

TEST_F(TickRelease, StockBurstsArePassedOverAndEveryRecordIsReached) {
  AddTick("13000000", 7999, 8001, 8000, 1);
  AddStock("2330", 100.0f,
           {{"090000", "99.50", "100.00", "100.00", "5", "5"},
            {"090002", "99.50", "100.00", "100.50", "1", "6"},
            {"090003", "100.00", "100.50", "100.50", "2", "8"},
            {"090005", "100.00", "100.50", "101.00", "300", "308"},
            {"090009", "100.50", "101.00", "100.50", "4", "312"},
            {"090010", "0", "101.00", "101.00", "6", "318"}});
  sink.shownStocks = {0};
  engine.OpenSession();

  struct Step {
    const char* at;
    int32_t cursor;
    const char* price;
    int32_t volumeScale;
  };
  // A six-digit time's last pair counts as its hundredths too: 090005 is due
  // at 09:00:05.05.
  const Step steps[] = {
      {"09000000", 3, "100.0", 100},  // the burst to 09:00:03 is passed over
      {"09000504", 3, "100.0", 300},  // not yet due, but its volume raises the scale
      {"09000505", 4, "101.0", 300},  // shown; 09:00:09 is 4 s later
      {"09000909", 5, "100.5", 300},  // the next record is the last
      {"09001010", 6, "101.0", 300},  // the last one is shown too
      {"09001500", 6, "101.0", 300},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.at);
    day.stockAdvanced = false;
    BeatAt(RealOf(s.at));
    EXPECT_EQ(day.stocks[0].cursor, s.cursor);
    EXPECT_EQ(stockList.CellText(0, kStockPrice), s.price);
    EXPECT_EQ(day.stocks[0].volumeScale, s.volumeScale);
  }
  EXPECT_EQ(stockList.CellText(0, kStockBid), "--");
  EXPECT_EQ(stockList.CellText(0, kStockTotal), "318");
}

TEST_F(TickRelease, VolumeScaleFollowsTheRecordAtTheCursorDueOrNot) {
  AddTick("13000000", 7999, 8001, 8000, 1);
  AddStock("2330", 100.0f, {{"100000", "99.5", "100", "100", "450", "450"}});
  engine.OpenSession();
  BeatAt(RealOf("09000000"));
  EXPECT_EQ(day.stocks[0].volumeScale, 450);
  EXPECT_EQ(day.stocks[0].cursor, 0);
  EXPECT_FALSE(day.stockAdvanced);
}

TEST_F(TickRelease, LagAtTopSpeedLowersItAndReanchors) {
  AddTicksEverySecond(90000, 120);
  clock.speed = 32;
  engine.OpenSession();
  // 1.5 s of real time behind the first due tick.
  BeatAt(RealOf("09000000") + 1500);
  EXPECT_EQ(clock.speed, 30);
  EXPECT_EQ(settings.RUN_SPEED, 30);
  EXPECT_EQ(clock.heartbeatStart, time.NowMs() - 900'000 / 30);

  // Within 100 ms the rule does not look again; later it walks on down by
  // two, until 16 where it no longer applies.
  time.Advance(50);
  clock.heartbeatStart -= 5000;
  engine.Heartbeat();
  EXPECT_EQ(clock.speed, 30);
  std::vector<int32_t> walk;
  for (int i = 0; i < 12; ++i) {
    time.Advance(100);
    clock.heartbeatStart -= 5000;
    engine.Heartbeat();
    walk.push_back(clock.speed);
  }
  EXPECT_EQ(walk, (std::vector<int32_t>{28, 26, 24, 22, 20, 18, 16, 16, 16, 16, 16, 16}));
}

TEST_F(TickRelease, NoLagRuleAtSixteen) {
  AddTicksEverySecond(90000, 60);
  clock.speed = 16;
  engine.OpenSession();
  BeatAt(RealOf("09000000") + 5000);
  EXPECT_EQ(clock.speed, 16);
}

TEST_F(TickRelease, FirstTickOpensTheBarsOnce) {
  AddTick("08450000", 7999, 8001, 8000, 5);
  AddTick("08450100", 8000, 8002, 8002, 2);
  AddTick("08460000", 8000, 8002, 8001, 1);
  AddTick("08590000", 8000, 8002, 8003, 4);  // a gap: one new 1-minute bar
  AddTick("10000000", 8000, 8002, 8003, 4);
  engine.OpenSession();
  BeatAt(RealOf("08450000") + 1);
  const _KLINEDATA& dayBar = day.dayBars.bars.back();
  EXPECT_EQ(dayBar.time, "20130506");
  EXPECT_EQ(dayBar.volume, 5u);  // not applied a second time
  BeatAt(RealOf("08450100") + 1);
  BeatAt(RealOf("08460000") + 1);
  BeatAt(RealOf("08590000") + 1);
  std::vector<std::string> times;
  for (size_t i = 1; i < day.min1Bars.bars.size(); ++i) times.push_back(day.min1Bars.bars[i].time);
  EXPECT_EQ(times, (std::vector<std::string>{"0845", "084600", "085900"}));
  EXPECT_EQ(day.dayBars.bars.back().volume, 12u);
  EXPECT_EQ(day.dayBars.bars.back().high, 8003u);
  EXPECT_EQ(day.min5Bars.bars.back().time, "085500");
}

TEST_F(TickRelease, QuoteMatchingOnHeartbeatsWithoutATick) {
  AddTick("09000000", 7999, 8001, 8000, 1);
  AddTick("09100000", 7999, 8001, 8000, 1);
  engine.OpenSession();
  BeatAt(RealOf("09000000") + 1);
  // Placed after the tick's pass, a buy at the ask waits for the next
  // heartbeat, which has no tick due and matches it against the quote.
  ASSERT_TRUE(PlaceLimit(trade, Order(), kSideBuy, "8001").placed);
  EXPECT_TRUE(tradeState.LongPositions.empty());
  Beat();
  ASSERT_EQ(tradeState.LongPositions.size(), 1u);
  EXPECT_EQ(tradeState.LongPositions[0].fillTime, "09:00:00");
}

TEST_F(TickRelease, HeartbeatRedrawsAndEndOfData) {
  AddTick("09000000", 7999, 8001, 8000, 1);
  day.hasRealBook = true;
  tickList.SetBottomUp(true);
  engine.OpenSession();
  sink.Clear();
  BeatAt(RealOf("09000000") + 1);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"clock 09:00:00", "summary", "charts",
                                                   "ladderBook", "bestFive", "scroll 50"}));
  sink.Clear();
  Beat();  // the data is exhausted: pause, no redraws
  EXPECT_TRUE(clock.sessionPaused);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"stop"}));

  // Resuming with nothing left pauses again at once.
  engine.ResumeSession();
  Beat();
  EXPECT_TRUE(clock.sessionPaused);

  // At 16x a recorded book is no longer followed; the ladder follows ticks.
  LoadDay(8000);
  AddTick("09000000", 7999, 8001, 8000, 1);
  AddTick("10000000", 7999, 8001, 8000, 1);
  clock.speed = 16;
  engine.OpenSession();
  sink.Clear();
  BeatAt(RealOf("09000000") + 1);
  EXPECT_EQ(sink.With("ladder"), (std::vector<std::string>{"ladderQuote"}));
  sink.Clear();
  Beat();
  EXPECT_TRUE(sink.With("ladder").empty());
}

TEST_F(TickRelease, ADayWithoutTicksPausesAtOnce) {
  engine.OpenSession();
  Beat();
  EXPECT_TRUE(clock.sessionPaused);
}

}  // namespace
}  // namespace kestrel
