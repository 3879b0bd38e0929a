#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Decimal.h"
#include "common/ParseMemo.h"
#include "tradingday/KLineData.h"

namespace kestrel {

// Milliseconds after 08:45:00 of a tick time HHMMSScc: hours, minutes and
// seconds are the first three character pairs, hundredths the last two
// characters whatever the length; a pair without digits reads 0.
int32_t TickTimeToOffset(std::string_view time);

// The offset divided by the speed factor, truncated toward zero: the real
// milliseconds after the clock's origin at which the record is released.
int32_t TickTimeToReal(std::string_view time, int32_t speed);

// One line of the weighted index file ("TX.DAT").
struct _IndexRecord {
  std::string time;  // normalised HHMMSScc
  float value = 0;
  float buyOrderCount = 0;
  float buyOrderQuantity = 0;
  float sellOrderCount = 0;
  float sellOrderQuantity = 0;
  float tradeCount = 0;
  float tradeQuantity = 0;
  float tradeValue = 0;
  float tradeValueStep = 0;  // filled by the replay
  float spread = 0;          // filled by the replay
};

// One line of a sector index file ("TXE.DAT", "TXF.DAT").
struct _SectorRecord {
  std::string time;  // normalised like the index time
  float value = 0;
};

// One quote line of a weighted stock, six texts as read. A bid or ask "0" means
// no quote on that side.
struct _StockRecord {
  std::string time;  // HHMMSS, possibly followed by more digits
  std::string bid;
  std::string ask;
  std::string price;
  std::string volume;
  std::string totalVolume;
};

struct _StockInfo {
  std::string code;  // letters and digits only; names the member code + ".DAT"
  std::string name;  // UTF-8 (stored as CP950 in the archive)
  float reference = 0;
  float limitUp = 0;
  float limitDown = 0;
  int32_t volumeScale = 100;
  std::vector<_StockRecord> records;
  int32_t cursor = 0;
  // The record at the cursor, read once rather than on every heartbeat.
  ParseMemo<TickTimeToOffset> timeMemo;
  ParseMemo<ParseDecimal> volumeMemo;
};

// Futures summary over a fixed slice of the session; all 0 when empty.
struct _PriceBucket {
  uint32_t high = 0;
  uint32_t low = 0;  // 0 while the slice has no tick
  int32_t close = 0;
  int32_t volume = 0;
  int32_t lastSecond = 0;  // SS of the latest tick (20-second buckets only)
};

// The one loaded trading day: the recorded series, the day's reference values,
// and the running figures the replay builds. Plain data, owned by the
// application context; not thread-safe (user-interface thread only).
struct TradingDay {
  static constexpr int kIndexCapacity = 4000;
  static constexpr int kStockCapacity = 20;
  static constexpr int kMinuteBuckets = 310;
  static constexpr int kTwentySecondBuckets = 910;
  static constexpr int kFiveMinuteSlots = 55;

  // Day identity.
  std::string dateText;  // YYYY-MM-DD
  std::string dateKey;   // YYYY_MM_DD
  bool fineIndexData = false;
  int32_t indexLimit = 271;
  bool dayLoaded = false;
  bool hasRealBook = false;

  // Source series.
  std::vector<std::string> tickLines;  // "HHMMSScc,bid,ask,price,volume"
  std::vector<std::string> bookLines;  // time + 10 bid fields + 10 ask fields
  std::array<_IndexRecord, kIndexCapacity> indexRecords;
  std::array<_SectorRecord, kIndexCapacity> electronicRecords;
  std::array<_SectorRecord, kIndexCapacity> financialRecords;
  int32_t indexCount = 0;       // records actually read into indexRecords
  int32_t electronicCount = 0;  // ... electronicRecords
  int32_t financialCount = 0;   // ... financialRecords
  std::array<_StockInfo, kStockCapacity> stocks;
  int32_t stockCount = 0;

  // Reference values.
  int32_t futuresReference = 0;
  int32_t indexReference = 0;
  double electronicReference = 0;
  double financialReference = 0;
  int32_t limitUp = 0;
  int32_t limitDown = 0;

  // Running quote.
  int32_t lastPrice = 0;
  int32_t bidPrice = 0;
  int32_t askPrice = 0;
  int32_t lastVolume = 0;
  int32_t totalVolume = 0;
  int32_t openPrice = 0;
  int32_t stepInnerVolume = 0;
  int32_t stepOuterVolume = 0;
  std::string currentMinute;  // HHMM
  std::string currentSecond;  // HHMMSS
  int32_t minuteIndex = 0;
  int32_t bucketIndex = 0;

  // Buckets.
  std::array<_PriceBucket, kMinuteBuckets> minuteBuckets{};
  std::array<_PriceBucket, kTwentySecondBuckets> twentySecondBuckets{};
  uint32_t minuteVolumeScale = 1000;

  // Chart ranges and their change flags.
  uint32_t futuresTop = 0;
  uint32_t futuresBottom = 0;
  float indexTop = 0, indexBottom = 0, indexVolumeScale = 2000;
  float electronicTop = 0, electronicBottom = 0;
  float financialTop = 0, financialBottom = 0;
  float spreadMax = 0;
  bool futuresTopChanged = false, futuresBottomChanged = false;
  bool minuteVolumeScaleChanged = false;
  bool indexTopChanged = false, indexBottomChanged = false, indexVolumeScaleChanged = false;
  bool electronicTopChanged = false, electronicBottomChanged = false;
  bool financialTopChanged = false, financialBottomChanged = false;
  bool spreadMaxChanged = false;

  // Further index figures.
  float indexFirst = 0, indexNow = 0, indexTradeValue = 0;
  float buyOrderAverage = 0, sellOrderAverage = 0, tradeAverage = 0;
  float buyOrderQuantityNow = 0, sellOrderQuantityNow = 0, tradeQuantityNow = 0;
  std::array<float, kFiveMinuteSlots> indexFiveMinuteValue{};
  int32_t fiveMinuteSlot = 0;
  int32_t nextBoundaryMinute = 5;
  float electronicFirst = 0, electronicNow = 0, financialFirst = 0, financialNow = 0;
  float spreadNow = 0;

  // Heartbeat flags.
  bool tickAdvanced = false, indexAdvanced = false, stockAdvanced = false;

  // Cursors.
  int32_t tickCursor = 0;
  int32_t bookCursor = 0;
  int32_t indexCursor = 0;
  // The times at the tick and index cursors, read once rather than on every heartbeat.
  ParseMemo<TickTimeToOffset> tickTimeMemo;
  ParseMemo<TickTimeToOffset> indexTimeMemo;

  // K-line series and their upkeep state.
  KLineSeries dayBars, min1Bars, min5Bars, min30Bars;
  int32_t fiveMinuteCounter = 0;
  int32_t thirtyMinuteCounter = 0;
  bool barsChanged = false;
  bool chart1RangeExceeded = false;
  bool chart2RangeExceeded = false;
  bool chart2MacdRangeExceeded = false;

  KLineSeries& Series(KPeriod p);
  const KLineSeries& Series(KPeriod p) const;

  // Emptying before a load, at session open and at session end.
  void ResetForLoad();
  void ResetForOpen();
  void ResetForEnd();
};

// An offset divided by the speed factor, truncated toward zero.
int32_t OffsetToReal(int32_t offset, int32_t speed);

}  // namespace kestrel
