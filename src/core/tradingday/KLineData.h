#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

// One K-line bar. Prices are whole index points; indicator fields are 0 until
// the indicator code fills them (0 in k, d, emaShort, emaLong, macd means "no
// value yet" to the next bar's computation).
struct _KLINEDATA {
  std::string time;  // YYYYMMDD, HHMMSS, HHMM00 or "0845" (see the K-line upkeep)
  uint32_t open = 0;
  uint32_t high = 0;
  uint32_t low = 0;
  uint32_t close = 0;
  uint32_t volume = 0;
  int32_t ma1 = 0, ma2 = 0, ma3 = 0;
  float k = 0, d = 0;
  float emaShort = 0, emaLong = 0, dif = 0, macd = 0;
  int32_t pivot = 0, r1 = 0, r2 = 0, s1 = 0, s2 = 0;
};

// The four K-line periods, in the order the program walks them.
enum class KPeriod { Day = 0, Min1 = 1, Min5 = 2, Min30 = 3 };
inline constexpr KPeriod kAllPeriods[] = {KPeriod::Day, KPeriod::Min1, KPeriod::Min5,
                                          KPeriod::Min30};

// Chart display mode of a period's K-line (7 day, 8 1-minute, 9 5-minute, 10 30-minute).
inline constexpr int DisplayModeOf(KPeriod p) { return 7 + static_cast<int>(p); }

// One series with its history count and, for chart views I (0) and II (1), the
// window of bars shown.
struct KLineSeries {
  std::vector<_KLINEDATA> bars;  // index 0 oldest
  int32_t historyCount = 0;      // bars from files (or the placeholder)
  int32_t visibleBars[2] = {0, 0};
  int32_t firstBar[2] = {0, 0};
};

}  // namespace kestrel
