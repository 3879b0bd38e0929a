#include "replay/Heartbeat.h"

#include "common/Clock.h"
#include "panels/TickListModel.h"
#include "replay/TickRelease.h"
#include "replay/TrainingNotes.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

// Below this speed a recorded book is followed on every heartbeat.
constexpr int32_t kBookFollowBelowSpeed = 16;

}  // namespace

void Heartbeat(ReplayContext& ctx) {
  ReplayClock& clock = ctx.clock;
  TradingDay& day = ctx.day;
  if (!clock.sessionRunning || clock.sessionPaused) return;

  day.tickAdvanced = false;
  day.indexAdvanced = false;
  day.stockAdvanced = false;

  clock.realElapsed = ctx.time.NowMs() - clock.heartbeatStart;
  const int64_t elapsed = clock.realElapsed;

  std::string text = FormatClock(clock, elapsed * SpeedOf(clock));
  if (text != clock.clockText) {
    clock.clockText = std::move(text);
    ctx.sink.ClockTextChanged(clock.clockText);
  }

  if (CheckTrainingNote(ctx)) return;

  ReleaseIndex(ctx, elapsed);
  AdvanceStocks(ctx, elapsed);
  if (!ReleaseTicks(ctx, elapsed)) return;

  if (day.indexAdvanced || day.tickAdvanced) ctx.sink.RedrawMarketSummary();
  ctx.sink.RedrawCharts();
  if (day.hasRealBook && SpeedOf(clock) < kBookFollowBelowSpeed) {
    ctx.sink.RefreshLadderFromBook();
    ctx.sink.RedrawBestFive();
  } else if (day.tickAdvanced) {
    ctx.sink.RefreshLadderFromQuote();
  }
  ctx.sink.ScrollTickList(ctx.tickList.ScrollRow());
}

}  // namespace kestrel
