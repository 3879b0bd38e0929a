#include "replay/RewindBars.h"

#include <algorithm>

#include "charts/ChartViewState.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

// Lows are folded from this, as the rebuilt bars always were.
constexpr uint32_t kLowStart = 65535;

size_t SessionStart(const KLineSeries& series) {
  return static_cast<size_t>(
      std::clamp<int64_t>(series.historyCount, 0, static_cast<int64_t>(series.bars.size())));
}

// Removes the session bars from the end while `after` holds for their start
// minute; the views follow. Returns how many went.
template <typename Pred>
int32_t RemoveTail(KLineSeries& series, ChartViews& views, int32_t mode, Pred after) {
  const size_t first = SessionStart(series);
  size_t keep = series.bars.size();
  while (keep > first && after(MinutesOfDay(series.bars[keep - 1].time))) --keep;
  const auto removed = static_cast<int32_t>(series.bars.size() - keep);
  series.bars.resize(keep);
  for (int32_t v = 0; v < 2; ++v) {
    series.firstBar[v] = std::max(series.firstBar[v] - removed, 0);
    ChartView& view = views.view[v];
    if (view.mode != mode) continue;
    view.scrollMax = std::max(view.scrollMax - removed, 0);
    view.scrollPos = std::max(view.scrollPos - removed, 0);
  }
  return removed;
}

}  // namespace

void RewindLongBars(TradingDay& day, ChartViews& views, int32_t length, int32_t target) {
  const KPeriod period = length == 30 ? KPeriod::Min30 : KPeriod::Min5;
  KLineSeries& series = day.Series(period);
  int32_t& counter = length == 30 ? day.thirtyMinuteCounter : day.fiveMinuteCounter;
  const int32_t barStart = BarStartMinute(target, length);

  RemoveTail(series, views, DisplayModeOf(period),
             [barStart](int32_t start) { return start > barStart; });

  if (series.bars.size() <= SessionStart(series)) {
    counter = (target - BarStartMinute(target, length)) - 1;
    return;
  }
  _KLINEDATA& last = series.bars.back();
  const int32_t start = MinutesOfDay(last.time);
  uint32_t high = 0;
  uint32_t low = kLowStart;
  uint32_t volume = 0;
  bool any = false;
  const KLineSeries& minutes = day.min1Bars;
  for (size_t i = SessionStart(minutes); i < minutes.bars.size(); ++i) {
    const _KLINEDATA& bar = minutes.bars[i];
    const int32_t minute = MinutesOfDay(bar.time);
    if (minute < start || minute >= target) continue;
    high = std::max(high, bar.high);
    low = std::min(low, bar.low);
    volume += bar.volume;
    any = true;
  }
  if (any) {
    last.high = high;
    last.low = low;
    last.volume = volume;
  } else {
    last.high = last.open;
    last.low = last.open;
    last.volume = 0;
  }
  // The minutes counted since the bar began, as of the minute before the target.
  counter = std::min(target - 1 - start, length - 1);
}

void RewindMinuteBars(TradingDay& day, ChartViews& views, int32_t target) {
  RemoveTail(day.min1Bars, views, DisplayModeOf(KPeriod::Min1),
             [target](int32_t minute) { return minute >= target; });
}

}  // namespace kestrel
