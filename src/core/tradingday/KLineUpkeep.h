#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "charts/ChartViewState.h"
#include "charts/Indicators.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

// Building the series at load. The caller runs the full indicator recomputes
// on each series afterwards.

// Day bars from the lines of "DAYK.DAT": every line but the last becomes a bar.
void BuildDayBars(TradingDay& day, const std::vector<std::string>& lines);

// Minute history of the previous days from the data folder (2 files for the
// 1-minute series, 10 for the 5-minute, 28 for the 30-minute, looked for up to
// 29 calendar days back), or the placeholder bar when none was read. The files
// are descrambled in memory and never written.
void LoadMinuteHistory(TradingDay& day, KPeriod period, const std::filesystem::path& dataFolder);

// "%d_%02d_%02d" of the date + "_MIN1K.DAT", "_MIN5K.DAT" or "_MIN30K.DAT";
// empty for the day period, which has no history files.
std::string MinuteHistoryFileName(int32_t year, int32_t month, int32_t dayOfMonth, KPeriod period);

// What the per-tick upkeep tells the GUI beyond the plain state of ChartViews.
// Every hook does nothing by default.
class KLineSink {
 public:
  virtual ~KLineSink() = default;
  // A bar was appended to the series of display mode `mode` (8, 9, 10): the
  // drawn shapes anchored to that series follow it.
  virtual void ExtendShapes(int32_t mode) { (void)mode; }
  // Chart view `view` (0 = I, 1 = II) has new scroll bar values in ChartViews.
  virtual void ScrollBarChanged(int32_t view) { (void)view; }
};

// What one tick's K-line upkeep works on.
struct KLineContext {
  TradingDay& day;
  ChartViews& views;
  const PeriodParams& params;  // indexed by KPeriod
  KLineSink& sink;
};

// The session's first tick: opens the day bar and the "0845" bar of each
// minute series.
void AppendFirstBars(const KLineContext& ctx, int32_t price, int32_t volume,
                     std::string_view minuteKey);

// The first tick of a new minute (`timeText` is HH:MM:SS): a new 1-minute bar,
// and a new 5- or 30-minute bar when its counter is full. A tick that starts
// no longer bar is added to the current one, so the 5- and 30-minute bars
// always agree with the 1-minute bars they span.
void StartNewMinute(const KLineContext& ctx, std::string_view minuteKey, std::string_view timeText,
                    int32_t price, int32_t volume);

// A tick in the current minute, on the 1-, 5- and 30-minute bars.
void UpdateMinuteBars(const KLineContext& ctx, int32_t price, int32_t volume);

// Every tick but the session's first, on the day bar.
void UpdateDayBar(const KLineContext& ctx, int32_t price, int32_t volume);

// Cuts every series back to its history bars and shows all of them.
void RemoveSessionBars(TradingDay& day);

// HH * 60 + MM of a minute key HHMM (a pair without digits reads 0).
int32_t MinutesOfDay(std::string_view minuteKey);

// Start, in minutes of the day, of the bar of `length` minutes (counted from
// 08:45) holding the minute `minutesOfDay`.
int32_t BarStartMinute(int32_t minutesOfDay, int32_t length);

}  // namespace kestrel
