#include "tradingday/TradingDay.h"

#include "common/Decimal.h"

namespace kestrel {

namespace {

constexpr int32_t kOriginSeconds = 31500;  // 08:45:00

// Characters [pos, pos + 2) of the text read as a decimal number; what is not
// there reads as 0.
int32_t PairAt(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  return ParseDecimal(text.substr(pos, 2));
}

}  // namespace

int32_t TickTimeToOffset(std::string_view time) {
  const int64_t hours = PairAt(time, 0);
  const int64_t minutes = PairAt(time, 2);
  const int64_t seconds = PairAt(time, 4);
  const std::string_view last = time.size() >= 2 ? time.substr(time.size() - 2) : time;
  const int64_t hundredths = ParseDecimal(last);
  const int64_t ms =
      (hours * 3600 + minutes * 60 + seconds - kOriginSeconds) * 1000 + hundredths * 10;
  return static_cast<int32_t>(ms);
}

int32_t OffsetToReal(int32_t offset, int32_t speed) {
  // The settings keep the speed within 1..32; a bad value must not divide by 0.
  if (speed < 1) speed = 1;
  return offset / speed;
}

int32_t TickTimeToReal(std::string_view time, int32_t speed) {
  return OffsetToReal(TickTimeToOffset(time), speed);
}

KLineSeries& TradingDay::Series(KPeriod p) {
  switch (p) {
    case KPeriod::Day: return dayBars;
    case KPeriod::Min1: return min1Bars;
    case KPeriod::Min5: return min5Bars;
    case KPeriod::Min30: return min30Bars;
  }
  return dayBars;
}

const KLineSeries& TradingDay::Series(KPeriod p) const {
  return const_cast<TradingDay*>(this)->Series(p);
}

void TradingDay::ResetForLoad() {
  tickLines.clear();
  bookLines.clear();
  for (KPeriod p : kAllPeriods) Series(p) = KLineSeries{};
  for (auto& stock : stocks) stock = _StockInfo{};
  stockCount = 0;
}

void TradingDay::ResetForOpen() {
  minuteBuckets.fill(_PriceBucket{});
  twentySecondBuckets.fill(_PriceBucket{});
  minuteVolumeScale = 1000;
  futuresTop = 0;
  futuresBottom = 0;
  openPrice = 0;
  totalVolume = 0;
  tickCursor = 0;
  bookCursor = 0;
  indexCursor = 0;
  fiveMinuteSlot = 0;
  nextBoundaryMinute = 5;
  indexFiveMinuteValue.fill(0.0f);
}

void TradingDay::ResetForEnd() {
  futuresTop = static_cast<uint32_t>(futuresReference + 60);
  futuresBottom = static_cast<uint32_t>(futuresReference - 60);
  openPrice = 0;
  lastPrice = 0;
  lastVolume = 0;
  totalVolume = 0;
  spreadNow = 0;
  indexCursor = 0;
  indexTop = static_cast<float>(indexReference) + 60;
  indexBottom = static_cast<float>(indexReference) - 60;
  indexVolumeScale = 2000;
  indexNow = 0;
  indexFirst = 0;
  indexTradeValue = 0;
  spreadMax = 0;
  buyOrderAverage = sellOrderAverage = tradeAverage = 0;
  buyOrderQuantityNow = sellOrderQuantityNow = tradeQuantityNow = 0;
  for (auto& stock : stocks) {
    stock.cursor = 0;
    stock.volumeScale = 100;
  }
  minuteBuckets.fill(_PriceBucket{});
  twentySecondBuckets.fill(_PriceBucket{});
  minuteVolumeScale = 1000;
}

}  // namespace kestrel
