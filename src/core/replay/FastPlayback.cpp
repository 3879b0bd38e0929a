#include "replay/FastPlayback.h"

#include <algorithm>
#include <array>

#include "common/Decimal.h"
#include "panels/TickListModel.h"
#include "replay/SessionControl.h"
#include "replay/TickRelease.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

// The elapsed time of a step: the fixed due time, or just past the next tick
// when a tick is stamped later than that (it must not stall the loop).
int64_t StepElapsed(ReplayContext& ctx) {
  TradingDay& day = ctx.day;
  int64_t elapsed = kFastPlaybackElapsed;
  if (day.tickCursor >= 0 && day.tickCursor < static_cast<int32_t>(day.tickLines.size())) {
    const std::string& line = day.tickLines[static_cast<size_t>(day.tickCursor)];
    const int64_t next =
        OffsetToReal(day.tickTimeMemo(std::string_view(line).substr(0, 8)), SpeedOf(ctx.clock));
    elapsed = std::max(elapsed, next + 1);
  }
  return elapsed;
}

// One record per stock and step; only a stock's last record is shown.
void FastAdvanceStocks(ReplayContext& ctx, int64_t elapsed) {
  TradingDay& day = ctx.day;
  const int32_t speed = SpeedOf(ctx.clock);
  for (int32_t s = 0; s < StockCount(day); ++s) {
    _StockInfo& stock = day.stocks[static_cast<size_t>(s)];
    const _StockRecord* record = RecordAtCursor(stock);
    if (record == nullptr) continue;
    if (elapsed < OffsetToReal(stock.timeMemo(record->time), speed)) continue;
    stock.volumeScale = std::max(stock.volumeScale, stock.volumeMemo(record->volume));
    if (record == &stock.records.back()) ShowStockRecord(ctx, s, *record);
    stock.cursor = std::max(stock.cursor, 0) + 1;
  }
}

// At the end every stock shows its last record, however many steps it had.
void FinishStocks(ReplayContext& ctx) {
  TradingDay& day = ctx.day;
  for (int32_t s = 0; s < StockCount(day); ++s) {
    _StockInfo& stock = day.stocks[static_cast<size_t>(s)];
    const auto count = static_cast<int32_t>(stock.records.size());
    if (stock.cursor >= count) continue;
    for (int32_t c = std::max(stock.cursor, 0); c < count; ++c)
      stock.volumeScale =
          std::max(stock.volumeScale, ParseDecimal(stock.records[static_cast<size_t>(c)].volume));
    ShowStockRecord(ctx, s, stock.records.back());
    stock.cursor = count;
  }
}

bool TicksExhausted(const TradingDay& day) {
  return day.tickCursor >= static_cast<int32_t>(day.tickLines.size());
}

void Step(ReplayContext& ctx) {
  TradingDay& day = ctx.day;
  day.tickAdvanced = false;
  day.indexAdvanced = false;
  day.stockAdvanced = false;

  const int64_t elapsed = StepElapsed(ctx);
  ReleaseIndex(ctx, elapsed);
  FastAdvanceStocks(ctx, elapsed);
  if (TicksExhausted(day)) {
    FinishStocks(ctx);
    PauseSession(ctx);
    return;
  }

  ReleaseTickBatch(ctx, elapsed, ReleaseMode::Fast);

  if (TicksExhausted(day)) {
    FinishStocks(ctx);
    PauseSession(ctx);
    ctx.tickList.EnableRedraw();
    ctx.sink.RedrawStockList();
    ctx.sink.RedrawChartsFully();
    ctx.sink.RedrawMarketSummary();
  }
}

}  // namespace

void FastPlaybackStep(ReplayContext& ctx) {
  Step(ctx);
}

bool RunFastPlayback(ReplayContext& ctx, const FastPlaybackCallbacks& callbacks) {
  ReplayClock& clock = ctx.clock;
  if (clock.sessionRunning || clock.fastPlaybackRunning || !ctx.day.dayLoaded) return false;

  ResetForSession(ctx);
  clock.sessionPaused = false;
  clock.fastPlaybackRunning = true;

  const auto count = static_cast<int32_t>(ctx.day.tickLines.size());
  if (callbacks.begin) callbacks.begin(kFastPlaybackText, count);
  for (;;) {
    Step(ctx);
    if (TicksExhausted(ctx.day)) break;
    if (callbacks.progress) callbacks.progress(ctx.day.tickCursor + 1);
    if (callbacks.processEvents) callbacks.processEvents();
    // The session may have been ended from outside (the classroom) meanwhile.
    if (!clock.sessionRunning) break;
  }
  clock.fastPlaybackRunning = false;
  if (callbacks.end) callbacks.end();
  return true;
}

}  // namespace kestrel
