#pragma once

#include <cstdint>

namespace kestrel {

struct ChartViews;
struct TradingDay;

// Rewinding the session's K-line bars to the minute of the day `target`
// (HH * 60 + MM), by the bars' own times so that minutes without ticks (and
// so without a 1-minute bar) are handled too. History bars are never touched
// and no window position goes below 0. Not thread-safe.

// The 5- or 30-minute series (`length` 5 or 30): the bars starting after the
// target's bar are removed; the target's bar, when it is the last, keeps its
// open and takes high, low and volume from the 1-minute bars from its start up
// to the target (high = low = open and volume 0 when there are none); the
// series' counter is set so that the next bar starts at its boundary. Views
// lose as many bars from their first bar, and a view showing the series from
// its scroll bar.
void RewindLongBars(TradingDay& day, ChartViews& views, int32_t length, int32_t target);

// The 1-minute series: every session bar at or after the target is removed.
void RewindMinuteBars(TradingDay& day, ChartViews& views, int32_t target);

}  // namespace kestrel
