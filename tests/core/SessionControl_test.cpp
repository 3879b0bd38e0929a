#include "replay/SessionControl.h"

#include <gtest/gtest.h>

#include "ReplayFixture.h"
#include "TestDir.h"
#include "common/Prompter.h"
#include "trading/OrderEntry.h"
#include "trading/TradeHistory.h"

namespace kestrel {
namespace {

using test::ReplayFixture;

class SessionControl : public ReplayFixture {
 protected:
  EntryInput Order() const {
    EntryInput in;
    in.lotsText = "1";
    in.simpleProductText = "大台指";
    in.clockText = clock.clockText;
    return in;
  }

  SessionEndOptions EndOptions() const {
    SessionEndOptions o;
    o.diaryFolder = diary;
    o.endedAt = LocalDateTime{2013, 5, 6, 15, 30};
    return o;
  }

  std::filesystem::path diary = test::FreshDir() / "Diary";
};

TEST_F(SessionControl, OpenStartsFromTheOrigin) {
  AddTick("08450000", 7999, 8001, 8000, 5);
  // A long list from an earlier session is cut back; the account window empties.
  for (int i = 0; i < 60; ++i) tickList.InsertFillRow(day, "09:00:00", 1, 2, 3, 1);
  rows.orders.push_back({{"0001"}, false});
  clock.lastBatchOffset = 17'000'000;

  engine.OpenSession();

  EXPECT_TRUE(clock.sessionRunning);
  EXPECT_FALSE(clock.sessionPaused);
  EXPECT_EQ(clock.heartbeatStart, time.NowMs());
  EXPECT_EQ(clock.clockText, "");
  EXPECT_EQ(tickList.RowCount(), TickListModel::kBlankRows);
  EXPECT_EQ(tickList.RunningTotal(), 0);
  EXPECT_TRUE(rows.orders.empty());
  EXPECT_EQ(day.openPrice, 0);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"ladderReset", "chartCounters", "start"}));
  EXPECT_EQ(tradeSink.With("account.").size(), 4u);

  // A pause and resume before the first tick stays at 08:45, not at the
  // previous session's last batch.
  engine.PauseSession();
  time.Advance(5000);
  engine.ResumeSession();
  Beat();
  EXPECT_EQ(clock.clockText, "08:45:00");
}

TEST_F(SessionControl, OpenKeepsAShortTickList) {
  for (int i = 0; i < 40; ++i) tickList.InsertFillRow(day, "09:00:00", 1, 2, 3, 1);
  engine.OpenSession();
  EXPECT_EQ(tickList.RowCount(), TickListModel::kBlankRows + 40);
}

TEST_F(SessionControl, ResumeReplaysFromTheLatestBatch) {
  AddTick("10000300", 7999, 8001, 8000, 2);
  AddTick("10001000", 7999, 8001, 8000, 2);
  engine.OpenSession();
  SetRealElapsed(RealOf("10000300") + 10);
  engine.Heartbeat();
  EXPECT_EQ(day.tickCursor, 1);
  SetRealElapsed(RealOf("10000550"));
  engine.Heartbeat();
  EXPECT_EQ(clock.clockText, "10:00:05");

  engine.PauseSession();
  time.Advance(60'000);
  Beat();  // no heartbeat runs while paused
  EXPECT_EQ(clock.clockText, "10:00:05");
  engine.ResumeSession();
  Beat();
  EXPECT_EQ(clock.clockText, "10:00:03");
  EXPECT_EQ(day.tickCursor, 1);
  EXPECT_EQ(sink.With("start").size(), 2u);
  EXPECT_EQ(sink.With("stop").size(), 1u);
}

TEST_F(SessionControl, ToggleFlipsBetweenPauseAndResume) {
  engine.OpenSession();
  sink.Clear();
  engine.ToggleSession();
  EXPECT_TRUE(clock.sessionPaused);
  engine.ToggleSession();
  EXPECT_FALSE(clock.sessionPaused);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"stop", "start"}));
}

TEST_F(SessionControl, SpeedChangeContinuesFromTheLatestBatch) {
  AddTick("09000000", 7999, 8001, 8000, 2);
  AddTick("09300000", 7999, 8001, 8000, 2);
  engine.OpenSession();
  SetRealElapsed(RealOf("09000050"));
  engine.Heartbeat();
  ASSERT_EQ(clock.clockText, "09:00:00");

  engine.SetSpeed(8);
  EXPECT_EQ(settings.RUN_SPEED, 8);
  Beat();
  EXPECT_EQ(clock.clockText, "09:00:00");
  time.Advance(1000);
  engine.Heartbeat();
  EXPECT_EQ(clock.clockText, "09:00:08");
}

TEST_F(SessionControl, SpeedRingAndSmoothMode) {
  engine.SetSpeed(1);
  EXPECT_TRUE(engine.SetSmoothMode(true));
  engine.SlowDown();  // 1 -> 32 ends smooth mode
  EXPECT_EQ(clock.speed, 32);
  EXPECT_FALSE(clock.smoothMode);
  EXPECT_FALSE(engine.SetSmoothMode(true));
  engine.SpeedUp();
  EXPECT_EQ(clock.speed, 1);

  clock.speed = 30;  // lowered by the lag rule
  engine.SpeedUp();
  engine.SlowDown();
  EXPECT_EQ(clock.speed, 30);
  EXPECT_TRUE(engine.RunCommand(kCmdSpeed16, false, true));
  EXPECT_EQ(clock.speed, 16);
  EXPECT_FALSE(engine.RunCommand(kCmdSpeed32, true, true));  // greyed for a student
  EXPECT_EQ(clock.speed, 16);
}

TEST_F(SessionControl, RunCommandHonoursTheRules) {
  EXPECT_FALSE(engine.RunCommand(kCmdPauseSession, false, true));
  EXPECT_TRUE(engine.RunCommand(kCmdOpenSession, false, true));
  EXPECT_FALSE(engine.RunCommand(kCmdOpenSession, false, true));
  EXPECT_FALSE(engine.RunCommand(kCmdScrollBottomUp, false, true));
  EXPECT_TRUE(engine.RunCommand(kCmdToggleSession, false, true));
  EXPECT_TRUE(clock.sessionPaused);
  EXPECT_TRUE(engine.RunCommand(kCmdResumeSession, false, true));
  EXPECT_FALSE(clock.sessionPaused);
}

TEST_F(SessionControl, ScrollModeChangesOnlyWithoutASession) {
  EXPECT_TRUE(engine.SetScrollType(1));
  EXPECT_EQ(settings.SCROLLTYPE, 1);
  EXPECT_TRUE(tickList.BottomUp());
  engine.OpenSession();
  EXPECT_FALSE(engine.SetScrollType(0));
  EXPECT_EQ(settings.SCROLLTYPE, 1);
  EXPECT_TRUE(tickList.BottomUp());
}

TEST_F(SessionControl, CancelledEndChangesNothing) {
  AddTick("09000000", 7999, 8001, 8000, 2);
  AddTick("09300000", 7999, 8001, 8000, 2);
  engine.OpenSession();
  SetRealElapsed(RealOf("09000050"));
  engine.Heartbeat();
  sink.Clear();

  ScriptedPrompter prompter;
  prompter.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(engine.EndSession(prompter, EndOptions()));
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "確定結束盤勢？");
  EXPECT_EQ(prompter.shown[0].caption, "");
  EXPECT_TRUE(clock.sessionRunning);
  EXPECT_EQ(day.tickCursor, 1);
  EXPECT_EQ(day.min1Bars.bars.size(), 2u);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(SessionControl, EndReturnsToLoadedInOrder) {
  AddTick("09000000", 7999, 8001, 8000, 2);
  AddTick("09000100", 7999, 8001, 8001, 3);
  AddTick("09300000", 7999, 8001, 8000, 2);
  AddStock("2330", 100.0f, {{"090000", "99.5", "100", "100", "5", "5"}});
  tickList.SetBottomUp(true);
  notes.entries = {{"093055", "A\r\n"}};
  engine.OpenSession();
  SetRealElapsed(RealOf("09000200"));
  engine.Heartbeat();
  engine.Heartbeat();
  ASSERT_EQ(day.tickCursor, 2);
  notes.nextIndex = 1;
  sink.Clear();

  ScriptedPrompter prompter;
  prompter.answers = {PromptAnswer::Ok};
  ASSERT_TRUE(engine.EndSession(prompter, EndOptions()));

  EXPECT_FALSE(clock.sessionRunning);
  EXPECT_FALSE(clock.sessionPaused);
  EXPECT_EQ(clock.clockText, "");
  EXPECT_EQ(sink.events, (std::vector<std::string>{"stop", "summary", "bestFive", "orderReport",
                                                   "chartWindows", "chartsFully", "clock "}));
  EXPECT_EQ(tickList.RowCount(), TickListModel::kBlankRows);
  EXPECT_EQ(tickList.CellText(0, kTickTime), "  ");
  for (KPeriod p : kAllPeriods) EXPECT_EQ(day.Series(p).bars.size(), 1u);
  EXPECT_EQ(day.totalVolume, 0);
  EXPECT_EQ(day.openPrice, 0);
  EXPECT_EQ(day.futuresTop, 8060u);
  EXPECT_EQ(day.stocks[0].cursor, 0);
  EXPECT_EQ(stockList.ItemData(0), kNeutralStockCode);
  EXPECT_EQ(stockList.CellText(0, kStockPrice), "");
  EXPECT_EQ(notes.nextIndex, 0);
  EXPECT_FALSE(std::filesystem::exists(TradeHistoryPath(diary)));  // no deals, no record

  // The same day opens again from the start.
  engine.OpenSession();
  SetRealElapsed(RealOf("09000050"));
  engine.Heartbeat();
  EXPECT_EQ(day.tickCursor, 1);
  EXPECT_EQ(day.min1Bars.bars.size(), 2u);
}

TEST_F(SessionControl, EndClosesOpenLotsAndRecordsTheDay) {
  AddTick("09000000", 7999, 8001, 8000, 2);
  AddTick("09000100", 8004, 8006, 8005, 3);
  AddTick("09300000", 8004, 8006, 8005, 2);
  engine.OpenSession();
  Beat();
  ASSERT_TRUE(PlaceMarket(trade, Order(), kSideBuy).placed);
  SetRealElapsed(RealOf("09000050"));
  engine.Heartbeat();  // fills at the ask 8001
  SetRealElapsed(RealOf("09000150"));
  engine.Heartbeat();
  ASSERT_EQ(tradeState.LongPositions.size(), 1u);
  const int64_t balanceBefore = account.marginBalance;

  // Cancelling the close leaves the session as it was.
  ScriptedPrompter cancel;
  cancel.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
  EXPECT_FALSE(engine.EndSession(cancel, EndOptions()));
  EXPECT_TRUE(clock.sessionRunning);
  EXPECT_EQ(tradeState.LongPositions.size(), 1u);

  ScriptedPrompter prompter;
  prompter.answers = {PromptAnswer::Ok, PromptAnswer::Ok};
  ASSERT_TRUE(engine.EndSession(prompter, EndOptions()));
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[1].text,
            "目前您尚有1口多單未平倉，按「確定」鍵則會自動平倉，按「取消」返回");

  // Bought at 8001, sold at the bid 8004: the record and the fold see the deal.
  const std::string history = test::ReadFile(TradeHistoryPath(diary));
  EXPECT_NE(history.find("2013-05-06"), std::string::npos) << history;
  EXPECT_GT(account.marginBalance, balanceBefore);
  EXPECT_EQ(account.realisedPnl, 0);
  EXPECT_TRUE(tradeState.LongPositions.empty());
  EXPECT_TRUE(tradeState.DealRecords.empty());
  EXPECT_TRUE(tradeState.PendingOrders.empty());
  EXPECT_FALSE(tradeSink.statusText.empty());
}

TEST_F(SessionControl, InstructorsCloseIsToldNotAsked) {
  engine.OpenSession();
  ScriptedPrompter prompter;
  SessionEndOptions options = EndOptions();
  options.instructorClosed = true;
  ASSERT_TRUE(engine.EndSession(prompter, options));
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_FALSE(prompter.shown[0].question);
  EXPECT_EQ(prompter.shown[0].text, "講師已下達收盤指令！\n\n請按「確定」關閉盤勢。");
  EXPECT_EQ(prompter.shown[0].caption, "提示");
  EXPECT_FALSE(clock.sessionRunning);
}

}  // namespace
}  // namespace kestrel
