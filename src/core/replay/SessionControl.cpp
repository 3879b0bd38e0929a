#include "replay/SessionControl.h"

#include "app/AppSettings.h"
#include "common/Clock.h"
#include "common/Prompter.h"
#include "panels/StockListModel.h"
#include "panels/TickListModel.h"
#include "replay/TrainingNotes.h"
#include "trading/AccountStatistics.h"
#include "trading/DayEndClose.h"
#include "trading/OrderMatcher.h"
#include "trading/PaneEffects.h"
#include "trading/TradeContext.h"
#include "trading/TradeHistory.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

// The tick list is cut back at an open only when it has grown past this.
constexpr int32_t kTickListKeepRows = 100;

void Reanchor(ReplayContext& ctx) {
  ReAnchor(ctx.clock, ctx.time.NowMs());
}

}  // namespace

void ResetForSession(ReplayContext& ctx) {
  ReplayClock& clock = ctx.clock;
  ctx.day.ResetForOpen();
  // A pause before the first tick must not resume at the previous session's time.
  clock.lastBatchOffset = 0;
  clock.realElapsed = 0;
  ctx.tickList.SetRunningTotal(0);
  clock.heartbeatStart = ctx.time.NowMs();
  clock.clockText.clear();

  ClearAccountWindow(ctx.trade);
  ctx.sink.ResetPriceLadder();

  ctx.sink.ResetChartRedrawCounters();
  clock.sessionRunning = true;

  if (ctx.tickList.RowCount() > kTickListKeepRows) ctx.tickList.ResetTickList();
  // Room for the user's fill rows too: growing a whole day's list in one
  // heartbeat would stall it for milliseconds.
  ctx.tickList.Reserve(ctx.day.tickLines.size() + ctx.day.tickLines.size() / 8 + 1024);
}

void OpenSession(ReplayContext& ctx) {
  ResetForSession(ctx);
  ctx.clock.sessionPaused = false;
  ctx.sink.StartHeartbeat();
}

void PauseSession(ReplayContext& ctx) {
  ctx.sink.StopHeartbeat();
  ctx.clock.sessionPaused = true;
}

void ResumeSession(ReplayContext& ctx) {
  Reanchor(ctx);
  ctx.sink.StartHeartbeat();
  ctx.clock.sessionPaused = false;
}

void ToggleSession(ReplayContext& ctx) {
  ctx.clock.sessionPaused = !ctx.clock.sessionPaused;
  if (ctx.clock.sessionPaused)
    PauseSession(ctx);
  else
    ResumeSession(ctx);
}

void SetSpeed(ReplayContext& ctx, int32_t speed) {
  ReplayClock& clock = ctx.clock;
  clock.speed = speed < 1 ? 1 : speed;
  ctx.settings.RUN_SPEED = clock.speed;
  if (clock.sessionRunning) Reanchor(ctx);
  if (clock.speed > 1) clock.smoothMode = false;
}

void SpeedUp(ReplayContext& ctx) {
  if (IsRingSpeed(ctx.clock.speed)) SetSpeed(ctx, FasterSpeed(ctx.clock.speed));
}

void SlowDown(ReplayContext& ctx) {
  if (IsRingSpeed(ctx.clock.speed)) SetSpeed(ctx, SlowerSpeed(ctx.clock.speed));
}

bool SetSmoothMode(ReplayContext& ctx, bool on) {
  if (on && ctx.clock.speed != 1) return false;
  ctx.clock.smoothMode = on;
  return true;
}

bool SetScrollType(ReplayContext& ctx, int32_t scrollType) {
  if (ctx.clock.sessionRunning) return false;
  ctx.settings.SCROLLTYPE = scrollType;
  ctx.tickList.SetBottomUp(scrollType == 1);
  return true;
}

bool EndSession(ReplayContext& ctx, Prompter& prompter, const SessionEndOptions& options) {
  ReplayClock& clock = ctx.clock;
  TradeContext& trade = ctx.trade;

  if (options.instructorClosed) {
    prompter.Message(kInstructorClosedText, kCaptionNotice);
  } else if (prompter.Ask(kConfirmEndText, "", PromptButtons::OkCancel) == PromptAnswer::Cancel) {
    return false;
  }

  const std::string product =
      options.productText.empty() ? trade.account.productName : options.productText;
  if (!AutoCloseAll(trade, prompter, clock.clockText, product)) return false;

  ctx.sink.StopHeartbeat();

  ctx.day.ResetForEnd();
  ctx.stockList.ClearQuotes();

  clock.sessionRunning = false;
  clock.sessionPaused = false;

  ctx.sink.RedrawMarketSummary();
  ctx.sink.RedrawBestFive();
  ctx.tickList.ResetTickList();
  ctx.sink.EmptyOrderReport();

  RemoveSessionBars(ctx.day);
  ctx.sink.ResetChartWindows();
  ctx.sink.RedrawChartsFully();

  // Without a diary folder (a headless run) there is nowhere to keep a record.
  if (!options.diaryFolder.empty())
    WriteHistoryRecord(options.diaryFolder, ComputeAccountStatistics(trade.account, trade.state),
                       ctx.day.dateText, options.endedAt ? *options.endedAt : LocalNow());
  EndOfDayReset(trade);

  clock.clockText.clear();
  ctx.sink.ClockTextChanged(clock.clockText);

  ctx.notes.nextIndex = 0;

  trade.state.ClearLists();
  RefreshTradeStatus(trade);
  return true;
}

}  // namespace kestrel
