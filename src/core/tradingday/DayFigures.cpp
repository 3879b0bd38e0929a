#include "tradingday/DayFigures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/Decimal.h"

namespace kestrel {

namespace {

int32_t SaturatingAdd(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void AddToBucket(_PriceBucket& bucket, int32_t price, int32_t volume) {
  const auto p = static_cast<uint32_t>(price);
  if (p > bucket.high) bucket.high = p;
  if (bucket.low == 0 || p < bucket.low) bucket.low = p;
  bucket.volume = SaturatingAdd(bucket.volume, volume);
}

int32_t ClampSlot(int32_t slot) {
  return std::clamp(slot, 0, TradingDay::kFiveMinuteSlots - 1);
}

float Average(float quantity, float count) {
  return count == 0 ? 0.0f : quantity / count;
}

void WidenRange(float value, float margin, float& top, bool& topChanged, float& bottom,
                bool& bottomChanged) {
  if (value > top) {
    top = value + margin;
    topChanged = true;
  }
  if (value < bottom) {
    bottom = value - margin;
    bottomChanged = true;
  }
}

}  // namespace

void WidenFuturesRange(TradingDay& day, int32_t price) {
  const auto p = static_cast<uint32_t>(price);
  if (p > day.futuresTop) {
    day.futuresTop = p;
    day.futuresTopChanged = true;
  }
  if (day.futuresBottom == 0 || p < day.futuresBottom) {
    day.futuresBottom = p;
    day.futuresBottomChanged = true;
  }
}

void UpdateBuckets(TradingDay& day, int32_t price, int32_t volume, int32_t bucketTimeMs,
                   std::string_view tickTime) {
  // Truncating division would put a tick just before 08:45 into slot 0.
  if (bucketTimeMs < 0) return;
  const int32_t seconds = bucketTimeMs / 1000;
  const int32_t m = seconds / 60;
  const int32_t s = seconds / 20;

  if (m < TradingDay::kMinuteBuckets) {
    day.minuteIndex = m;
    _PriceBucket& bucket = day.minuteBuckets[static_cast<size_t>(m)];
    AddToBucket(bucket, price, volume);
    if (static_cast<int64_t>(bucket.volume) > day.minuteVolumeScale) {
      day.minuteVolumeScale =
          static_cast<uint32_t>((static_cast<int64_t>(bucket.volume) / 500 + 1) * 500);
      day.minuteVolumeScaleChanged = true;
    }
    bucket.close = price;
  }
  if (s < TradingDay::kTwentySecondBuckets) {
    day.bucketIndex = s;
    _PriceBucket& bucket = day.twentySecondBuckets[static_cast<size_t>(s)];
    AddToBucket(bucket, price, volume);
    bucket.lastSecond = tickTime.size() > 4 ? ParseDecimal(tickTime.substr(4, 2)) : 0;
    bucket.close = price;
  }
}

void UpdateSpread(TradingDay& day, int32_t price) {
  const int32_t cursor = std::clamp(day.indexCursor, 0, TradingDay::kIndexCapacity);
  const float spread =
      cursor == 0
          ? static_cast<float>(static_cast<int64_t>(price) - day.indexReference)
          : static_cast<float>(price) - day.indexRecords[static_cast<size_t>(cursor - 1)].value;
  day.spreadNow = spread;
  if (cursor < day.indexCount) day.indexRecords[static_cast<size_t>(cursor)].spread = spread;
  if (cursor > 1) {
    const float size = std::trunc(std::fabs(spread));
    if (size > day.spreadMax) {
      day.spreadMax = size;
      day.spreadMaxChanged = true;
    }
  }
}

int32_t IndexReleaseLimit(const TradingDay& day) {
  return std::clamp(std::min(day.indexCount, day.indexLimit), 0, TradingDay::kIndexCapacity);
}

bool ReleaseIndexRecord(TradingDay& day) {
  const int32_t i = day.indexCursor;
  if (i < 0 || i >= IndexReleaseLimit(day)) return false;
  auto& records = day.indexRecords;
  _IndexRecord& record = records[static_cast<size_t>(i)];

  if (i == 0) day.indexFirst = records[0].value;
  day.indexNow = record.value;
  day.indexTradeValue = record.tradeValue;
  record.tradeValueStep = i == 0
                              ? record.tradeValue
                              : record.tradeValue - records[static_cast<size_t>(i - 1)].tradeValue;

  if (i > 0) {
    // Slots follow the wall-clock minutes of the records themselves.
    const int32_t minute = record.time.size() > 2 ? ParseDecimal(record.time.substr(2, 2)) : 0;
    if (minute == day.nextBoundaryMinute) {
      day.fiveMinuteSlot = ClampSlot(day.fiveMinuteSlot + 1);
      day.nextBoundaryMinute += 5;
      if (day.nextBoundaryMinute >= 60) day.nextBoundaryMinute = 0;
    }
  }
  day.fiveMinuteSlot = ClampSlot(day.fiveMinuteSlot);
  float& slotSum = day.indexFiveMinuteValue[static_cast<size_t>(day.fiveMinuteSlot)];
  slotSum += record.tradeValueStep;
  if (slotSum > day.indexVolumeScale) {
    day.indexVolumeScale = slotSum + 1000;
    day.indexVolumeScaleChanged = true;
  }

  WidenRange(day.indexNow, 3.0f, day.indexTop, day.indexTopChanged, day.indexBottom,
             day.indexBottomChanged);

  day.buyOrderAverage = Average(record.buyOrderQuantity, record.buyOrderCount);
  day.sellOrderAverage = Average(record.sellOrderQuantity, record.sellOrderCount);
  day.tradeAverage = Average(record.tradeQuantity, record.tradeCount);
  day.buyOrderQuantityNow = record.buyOrderQuantity;
  day.sellOrderQuantityNow = record.sellOrderQuantity;
  day.tradeQuantityNow = record.tradeQuantity;

  // A sector series that is absent or shorter has no value to show; its 0 must
  // not stretch the chart's range.
  if (i < day.electronicCount) {
    if (i == 0) day.electronicFirst = day.electronicRecords[0].value;
    day.electronicNow = day.electronicRecords[static_cast<size_t>(i)].value;
    WidenRange(day.electronicNow, 0.2f, day.electronicTop, day.electronicTopChanged,
               day.electronicBottom, day.electronicBottomChanged);
  }
  if (i < day.financialCount) {
    if (i == 0) day.financialFirst = day.financialRecords[0].value;
    day.financialNow = day.financialRecords[static_cast<size_t>(i)].value;
    WidenRange(day.financialNow, 0.5f, day.financialTop, day.financialTopChanged,
               day.financialBottom, day.financialBottomChanged);
  }

  day.indexAdvanced = true;
  day.indexCursor = i + 1;
  return true;
}

}  // namespace kestrel
