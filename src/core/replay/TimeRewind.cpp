#include "replay/TimeRewind.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "common/Clock.h"
#include "common/Decimal.h"
#include "panels/StockListModel.h"
#include "panels/TickListModel.h"
#include "replay/RewindBars.h"
#include "replay/SessionControl.h"
#include "replay/TickRelease.h"
#include "tradingday/DayFigures.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

constexpr int32_t kOpenMinute = 8 * 60 + 45;    // 08:45
constexpr int32_t kCloseMinute = 13 * 60 + 45;  // 13:45
constexpr int32_t kCashOpenMinute = 9 * 60;     // 09:00
constexpr int32_t kProgressSteps = 5;
constexpr uint32_t kProgressWaitMs = 200;
constexpr int32_t kRemovalSlices = 10;
// A target after this (as HHMMSS) shows each stock's record; before it the
// cash market has not traded.
constexpr int32_t kStocksShownAfter = 90099;

std::string TwoDigits(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

int32_t SecondKeyNumber(std::string_view line) {
  return ParseDecimal(line.substr(0, 6));
}

// Index of the first of lines[0, end) whose second key is at least `target`,
// by binary search; `end` when there is none.
int32_t FirstAtOrAfter(const std::vector<std::string>& lines, int32_t end, int32_t target) {
  int32_t low = 0;
  int32_t high = std::clamp(end, 0, static_cast<int32_t>(lines.size()));
  const int32_t none = high;
  while (low < high) {
    const int32_t mid = low + (high - low) / 2;
    if (SecondKeyNumber(lines[static_cast<size_t>(mid)]) < target)
      low = mid + 1;
    else
      high = mid;
  }
  return low < none ? low : none;
}

// Clears buckets [from, to), clamped to the array.
template <size_t N>
void ClearBuckets(std::array<_PriceBucket, N>& buckets, int32_t from, int32_t to) {
  const auto first = static_cast<size_t>(std::clamp<int32_t>(from, 0, static_cast<int32_t>(N)));
  const auto last = static_cast<size_t>(std::clamp<int32_t>(to, 0, static_cast<int32_t>(N)));
  for (size_t i = first; i < last; ++i) buckets[i] = _PriceBucket{};
}

int32_t ClampSlot(int32_t slot) {
  return std::clamp(slot, 0, TradingDay::kFiveMinuteSlots - 1);
}

// Totals and ranges of the ticks still released; the day bar follows them.
void RewindTotals(ReplayContext& ctx) {
  TradingDay& day = ctx.day;
  int64_t total = 0;
  int32_t top = day.openPrice;
  int32_t bottom = day.openPrice;
  const int32_t end = std::min(day.tickCursor, static_cast<int32_t>(day.tickLines.size()));
  for (int32_t i = 0; i < end; ++i) {
    const TickFields tick = ParseTickLine(day.tickLines[static_cast<size_t>(i)]);
    const int32_t price = ParseDecimal(tick.price);
    total += ParseDecimal(tick.volume);
    top = std::max(top, price);
    bottom = std::min(bottom, price);
  }
  day.totalVolume =
      static_cast<int32_t>(std::clamp<int64_t>(total, 0, std::numeric_limits<int32_t>::max()));
  day.futuresTop = static_cast<uint32_t>(top);
  day.futuresBottom = static_cast<uint32_t>(bottom);
  ctx.tickList.SetRunningTotal(day.totalVolume);

  KLineSeries& days = day.dayBars;
  if (static_cast<int64_t>(days.bars.size()) > std::max(days.historyCount, 0)) {
    _KLINEDATA& bar = days.bars.back();
    bar.high = day.futuresTop;
    bar.low = day.futuresBottom;
    bar.volume = static_cast<uint32_t>(day.totalVolume);
  }
}

// The index cursor on the target's minute and the five-minute sums up to it.
void RewindIndex(TradingDay& day, std::string_view target) {
  const int32_t limit = IndexReleaseLimit(day);
  int32_t cursor = 0;
  for (int32_t i = 0; i < limit; ++i) {
    if (std::string_view(day.indexRecords[static_cast<size_t>(i)].time).substr(0, 4) ==
        target.substr(0, 4)) {
      cursor = i;
      break;
    }
  }
  day.indexCursor = cursor;

  const int32_t per = day.fineIndexData ? 20 : 5;
  int32_t slot = cursor / per;
  const int32_t rest = cursor % per;
  float sum = 0;
  for (int32_t i = slot * per; i < slot * per + rest && i < TradingDay::kIndexCapacity; ++i)
    sum += day.indexRecords[static_cast<size_t>(i)].tradeValueStep;
  const int32_t written = ClampSlot(slot);
  day.indexFiveMinuteValue[static_cast<size_t>(written)] = sum;
  for (int32_t k = written + 1; k < TradingDay::kFiveMinuteSlots; ++k)
    day.indexFiveMinuteValue[static_cast<size_t>(k)] = 0;
  if (rest == 0) --slot;
  day.fiveMinuteSlot = ClampSlot(slot);
  // The next slot begins at the records' next five-minute mark (slots count
  // from 09:00), so the slots after the target are not merged.
  day.nextBoundaryMinute = (day.fiveMinuteSlot + 1) * 5 % 60;
}

void RewindStocks(ReplayContext& ctx, int32_t target) {
  TradingDay& day = ctx.day;
  const int32_t stocks = std::clamp(day.stockCount, 0, TradingDay::kStockCapacity);
  for (int32_t s = 0; s < stocks; ++s) {
    _StockInfo& stock = day.stocks[static_cast<size_t>(s)];
    const auto& records = stock.records;
    if (records.empty()) continue;
    const auto after = std::upper_bound(
        records.begin(), records.end(), target,
        [](int32_t t, const _StockRecord& r) { return t < SecondKeyNumber(r.time); });
    if (after != records.end()) stock.cursor = static_cast<int32_t>(after - records.begin());
  }
  if (target <= kStocksShownAfter) {
    ctx.stockList.ClearQuoteTexts();
    return;
  }
  for (int32_t s = 0; s < stocks; ++s) {
    const _StockInfo& stock = day.stocks[static_cast<size_t>(s)];
    if (stock.records.empty()) continue;
    const auto count = static_cast<int32_t>(stock.records.size());
    const int32_t shown = std::clamp(stock.cursor - 1, 0, count - 1);
    ctx.stockList.ApplyRecord(stock, stock.records[static_cast<size_t>(shown)]);
  }
}

// Before the cash open the index figures go back to their values at load.
void ResetIndexFigures(TradingDay& day) {
  day.indexCursor = 0;
  day.indexTop = static_cast<float>(day.indexReference) + 60;
  day.indexBottom = static_cast<float>(day.indexReference) - 60;
  day.indexVolumeScale = 2000;
  day.indexNow = 0;
  day.indexFirst = 0;
  day.indexTradeValue = 0;
  day.spreadMax = 0;
  day.buyOrderAverage = day.sellOrderAverage = day.tradeAverage = 0;
  day.buyOrderQuantityNow = day.sellOrderQuantityNow = day.tradeQuantityNow = 0;
}

}  // namespace

RewindDialogStart BeginTimeRewind(ReplayContext& ctx) {
  PauseSession(ctx);
  RewindDialogStart start;
  start.currentTimeText = "交易時間　" + SecondKeyText(ctx.day.currentSecond);
  start.currentMinute = MinutesOfDay(ctx.day.currentSecond);
  return start;
}

RewindCheck CheckRewindTime(std::string_view hourText, std::string_view minuteText,
                            int32_t currentMinute) {
  RewindCheck check;
  check.hour = ParseDecimal(hourText);
  check.minute = ParseDecimal(minuteText);
  check.hourText = TwoDigits(check.hour);
  check.minuteText = TwoDigits(check.minute);
  const int64_t g = int64_t{check.hour} * 60 + check.minute;
  if (check.hour < 8 || check.hour > 13)
    check.message = "小時必須介於8-13時";
  else if (check.minute < 0 || check.minute >= 60)
    check.message = "分鐘必須介於0-59分";
  else if (g <= kOpenMinute)
    check.message = "時間必須>開盤時間";
  else if (g >= currentMinute)
    check.message = "時間必須<目前時間";
  else if (g > kCloseMinute)
    check.message = "時間必須<收盤時間";
  check.ok = check.message.empty();
  return check;
}

void RunTimeRewind(ReplayContext& ctx, Sleeper& sleeper, int32_t hour, int32_t minute,
                   int32_t currentMinute, const RewindProgress& report) {
  TradingDay& day = ctx.day;
  ReplayClock& clock = ctx.clock;
  auto status = [&report](const char* text) {
    if (report.status) report.status(text);
  };
  auto progress = [&report, &sleeper](int32_t position) {
    if (report.progress) report.progress(position, kProgressSteps);
    sleeper.SleepMs(kProgressWaitMs);
  };
  const int32_t g = hour * 60 + minute;
  const int32_t c = currentMinute;
  if (report.progress) report.progress(0, kProgressSteps);

  // Every bucket of the minutes g to c.
  ClearBuckets(day.twentySecondBuckets, 3 * g - 1575, 3 * c - 1572);
  ClearBuckets(day.minuteBuckets, g - kOpenMinute, c - kOpenMinute + 1);
  day.bucketIndex = 3 * g - 1575;
  day.minuteIndex = g - kOpenMinute;

  char target[32];
  std::snprintf(target, sizeof target, "%02d%02d00", hour, minute);
  const int32_t targetNumber = ParseDecimal(target);
  clock.lastBatchOffset = TickTimeToOffset(target);
  clock.realElapsed = static_cast<uint32_t>(std::max(clock.lastBatchOffset, 0) / SpeedOf(clock));

  status("正在回溯期貨價格");
  day.tickCursor = FirstAtOrAfter(day.tickLines, day.tickCursor, targetNumber);
  if (day.hasRealBook) {
    status("正在回溯最佳五檔");
    day.bookCursor = FirstAtOrAfter(day.bookLines, day.bookCursor, targetNumber);
  }

  progress(1);
  status("正在回溯期貨總量");
  RewindTotals(ctx);
  RewindIndex(day, target);

  progress(2);
  status("正在回溯5分鐘K線");
  RewindLongBars(day, ctx.views, 5, g);

  progress(3);
  status("正在回溯30分鐘K線");
  RewindLongBars(day, ctx.views, 30, g);

  progress(4);
  status("正在回溯1分鐘K線");
  RewindMinuteBars(day, ctx.views, g);

  progress(5);
  // The minute before the target, so that the next tick starts a new bar.
  day.currentMinute = TwoDigits((g - 1) / 60) + TwoDigits((g - 1) % 60);

  status("正在回溯權值股資料");
  RewindStocks(ctx, targetNumber);

  status("正在回溯交易明細");
  ctx.tickList.RemoveRowsFrom(targetNumber, [&report](int32_t tenth) {
    if (report.progress) report.progress(tenth, kRemovalSlices);
    if (report.processEvents) report.processEvents();
  });

  ctx.sink.InvalidateCharts();
  if (g < kCashOpenMinute) ResetIndexFigures(day);
  ctx.sink.RedrawMarketSummary();
  ctx.sink.RedrawBestFive();

  day.currentSecond = target;
  clock.clockText = TwoDigits(hour) + ":" + TwoDigits(minute) + ":00";
  ctx.sink.ClockTextChanged(clock.clockText);
}

}  // namespace kestrel
