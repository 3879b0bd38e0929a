#include "replay/TickRelease.h"

#include <algorithm>
#include <limits>
#include <string>

#include "app/AppSettings.h"
#include "charts/Indicators.h"
#include "common/Clock.h"
#include "common/Decimal.h"
#include "panels/StockListModel.h"
#include "panels/TickListModel.h"
#include "replay/SessionControl.h"
#include "trading/OrderMatcher.h"
#include "trading/TradeContext.h"
#include "tradingday/DayFigures.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

// An index record without a time is never due during the day.
constexpr std::string_view kNeverDue = "23000000";
// The lag rule looks at most once per this many real ms.
constexpr uint32_t kLagCheckPeriod = 100;
// Behind by more than this many real ms counts as lagging.
constexpr int64_t kLagLimit = 1000;
// Stock records within this many seconds after a shown one are passed over.
constexpr uint32_t kStockBurstSeconds = 3;

std::string_view Between(std::string_view line, size_t from, size_t to) {
  if (from == std::string_view::npos) return {};
  if (to == std::string_view::npos) return line.substr(from + 1);
  return line.substr(from + 1, to - from - 1);
}

size_t NextComma(std::string_view line, size_t after) {
  return after == std::string_view::npos ? after : line.find(',', after + 1);
}

int32_t ClampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// One released tick, in the order the panes and the matcher rely on.
// `batchOffset` is the offset of the batch's first tick.
void ReleaseOneTick(ReplayContext& ctx, const KLineContext& kline, const TickFields& tick,
                    std::string_view batchTime, int32_t batchOffset, int32_t bucketTime,
                    int64_t elapsed, ReleaseMode mode) {
  TradingDay& day = ctx.day;
  const int32_t speed = SpeedOf(ctx.clock);
  const bool heartbeat = mode == ReleaseMode::Heartbeat;

  day.currentSecond.assign(batchTime.substr(0, 6));
  ctx.clock.lastBatchOffset = batchOffset;

  TickListModel::TickTexts texts{tick.SecondKey(), tick.bid, tick.ask, tick.price, tick.volume};
  texts.bidValue = ParseDecimal(tick.bid);
  texts.askValue = ParseDecimal(tick.ask);
  texts.priceValue = ParseDecimal(tick.price);
  texts.volumeValue = ParseDecimal(tick.volume);
  ctx.tickList.InsertTickRow(day, texts, heartbeat && speed <= 4);

  const int32_t price = texts.priceValue;
  const int32_t volume = texts.volumeValue;
  day.lastPrice = price;
  day.bidPrice = texts.bidValue;
  day.askPrice = texts.askValue;
  day.lastVolume = volume;

  const std::string_view minuteKey = tick.MinuteKey();
  if (day.openPrice == 0) {
    AppendFirstBars(kline, price, volume, minuteKey);
  } else if (minuteKey != day.currentMinute) {
    StartNewMinute(kline, minuteKey, SecondKeyText(tick.SecondKey()), price, volume);
    UpdateDayBar(kline, price, volume);
  } else {
    UpdateMinuteBars(kline, price, volume);
    UpdateDayBar(kline, price, volume);
  }

  WidenFuturesRange(day, price);
  UpdateSpread(day, price);
  UpdateBuckets(day, price, volume, bucketTime, tick.time);

  if (heartbeat) {
    const std::string clockText = FormatClock(ctx.clock, elapsed * speed);
    MatchAtTrade(ctx.trade, clockText);
    FireTriggers(ctx.trade, clockText);
  }
  day.tickAdvanced = true;
}

}  // namespace

TickFields ParseTickLine(std::string_view line) {
  TickFields f;
  f.time = line.substr(0, 8);
  const size_t c1 = line.find(',');
  const size_t c2 = NextComma(line, c1);
  const size_t c3 = NextComma(line, c2);
  const size_t c4 = NextComma(line, c3);
  f.bid = Between(line, c1, c2);
  f.ask = c2 == std::string_view::npos ? std::string_view() : Between(line, c2, c3);
  f.price = c3 == std::string_view::npos ? std::string_view() : Between(line, c3, c4);
  f.volume = c4 == std::string_view::npos ? std::string_view() : line.substr(c4 + 1);
  return f;
}

int32_t SecondsOfDay(std::string_view time) {
  auto pair = [&time](size_t at) {
    return at < time.size() ? ParseDecimal(time.substr(at, 2)) : 0;
  };
  return pair(0) * 3600 + pair(2) * 60 + pair(4);
}

void ReleaseIndex(ReplayContext& ctx, int64_t elapsed) {
  TradingDay& day = ctx.day;
  const int32_t cursor = day.indexCursor;
  if (cursor < 0 || cursor >= IndexReleaseLimit(day)) return;
  const std::string& time = day.indexRecords[static_cast<size_t>(cursor)].time;
  const std::string_view t = time.empty() ? kNeverDue : std::string_view(time);
  if (OffsetToReal(day.indexTimeMemo(t), SpeedOf(ctx.clock)) < elapsed) ReleaseIndexRecord(day);
}

void ShowStockRecord(ReplayContext& ctx, int32_t stockIndex, const _StockRecord& record) {
  if (ctx.sink.ShowsStock(stockIndex)) ctx.day.stockAdvanced = true;
  ctx.stockList.ApplyRecord(ctx.day.stocks[static_cast<size_t>(stockIndex)], record);
}

int32_t StockCount(const TradingDay& day) {
  return std::clamp(day.stockCount, 0, TradingDay::kStockCapacity);
}

const _StockRecord* RecordAtCursor(const _StockInfo& stock) {
  const size_t c = static_cast<size_t>(std::max(stock.cursor, 0));
  return c < stock.records.size() ? &stock.records[c] : nullptr;
}

void AdvanceStocks(ReplayContext& ctx, int64_t elapsed) {
  TradingDay& day = ctx.day;
  const int32_t speed = SpeedOf(ctx.clock);
  for (int32_t s = 0; s < StockCount(day); ++s) {
    _StockInfo& stock = day.stocks[static_cast<size_t>(s)];
    const _StockRecord* at = RecordAtCursor(stock);
    if (at == nullptr) continue;
    const _StockRecord& record = *at;
    const auto count = static_cast<int32_t>(stock.records.size());
    const int32_t c = std::max(stock.cursor, 0);

    stock.volumeScale = std::max(stock.volumeScale, stock.volumeMemo(record.volume));
    if (elapsed < OffsetToReal(stock.timeMemo(record.time), speed)) continue;

    // Pass over the burst that follows the shown record, but never past the
    // last record: that one is shown too, then the stock is done.
    const auto base = static_cast<uint32_t>(SecondsOfDay(record.time));
    int32_t n = 0;
    for (int32_t j = c; j + 1 < count;) {
      ++n;
      ++j;
      const auto at =
          static_cast<uint32_t>(SecondsOfDay(stock.records[static_cast<size_t>(j)].time));
      if (at - base > kStockBurstSeconds) break;
    }
    if (n == 0) n = 1;

    ShowStockRecord(ctx, s, record);
    stock.cursor = c + n;
  }
}

bool ReleaseTickBatch(ReplayContext& ctx, int64_t elapsed, ReleaseMode mode) {
  TradingDay& day = ctx.day;
  ReplayClock& clock = ctx.clock;
  const auto count = static_cast<int32_t>(day.tickLines.size());
  if (day.tickCursor < 0) day.tickCursor = 0;
  if (day.tickCursor >= count) return false;

  const int32_t speed = SpeedOf(clock);
  const bool heartbeat = mode == ReleaseMode::Heartbeat;
  const std::string_view first =
      std::string_view(day.tickLines[static_cast<size_t>(day.tickCursor)]).substr(0, 8);
  const int32_t firstOffset = day.tickTimeMemo(first);
  const int32_t firstReal = OffsetToReal(firstOffset, speed);
  day.stepInnerVolume = 0;
  day.stepOuterVolume = 0;
  if (!(firstReal < elapsed)) return false;

  bool lagging = false;
  if (heartbeat) {
    const uint32_t now = ctx.time.NowMs();
    if (now - clock.lagCheckTime >= kLagCheckPeriod) {
      lagging = elapsed - firstReal > kLagLimit && speed > 1;
      clock.lagCheckTime = now;
    }
  }
  day.barsChanged = false;
  day.chart1RangeExceeded = false;
  day.chart2RangeExceeded = false;
  day.chart2MacdRangeExceeded = false;

  const PeriodParams params = IndicatorParamsForAll(ctx.settings);
  const KLineContext kline{day, ctx.views, params, ctx.klineSink};
  // The batch's bucket time: its first tick's real time at this speed, back in ms.
  const int32_t bucketTime = ClampToInt32(int64_t{firstReal} * speed);
  const std::string_view firstSecond = first.substr(0, 6);
  const int64_t cap = int64_t{speed} * 3;

  int64_t n = 0;
  while (day.tickCursor < count) {
    const TickFields tick = ParseTickLine(day.tickLines[static_cast<size_t>(day.tickCursor)]);
    // One heartbeat releases the ticks of one and the same second.
    if (tick.SecondKey() != firstSecond) break;
    ++day.tickCursor;
    ReleaseOneTick(ctx, kline, tick, first, firstOffset, bucketTime, elapsed, mode);
    if (clock.smoothMode) break;
    if (++n == cap) break;
  }

  if (heartbeat) {
    if (speed > 4) ctx.tickList.EnableRedraw();
    if (speed > 16 && lagging) {
      clock.speed = speed - 2;
      ctx.settings.RUN_SPEED = clock.speed;
      ReAnchor(clock, ctx.time.NowMs());
    }
  }
  return true;
}

bool ReleaseTicks(ReplayContext& ctx, int64_t elapsed) {
  TradingDay& day = ctx.day;
  if (day.tickCursor >= static_cast<int32_t>(day.tickLines.size())) {
    PauseSession(ctx);
    return false;
  }
  if (!ReleaseTickBatch(ctx, elapsed, ReleaseMode::Heartbeat)) {
    MatchAtQuote(ctx.trade, FormatClock(ctx.clock, elapsed * SpeedOf(ctx.clock)));
  }
  return true;
}

}  // namespace kestrel
