#include "tradingday/KLineUpkeep.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <limits>
#include <optional>

#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "tradingday/Scramble.h"

namespace kestrel {

namespace {

constexpr int32_t kSessionStartMinute = 8 * 60 + 45;
constexpr int32_t kDaysBack = 29;
// Below this scroll maximum a view shows every bar of its series.
constexpr int32_t kShowAllBelow = 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Without(std::string_view text, char drop) {
  std::string out;
  for (char c : text)
    if (c != drop) out += c;
  return out;
}

// Prices and volumes are unsigned whole numbers; a negative text reads 0.
uint32_t ToUnsigned(int64_t value) {
  return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<uint32_t>::max()));
}

// One bar from a line: the time is the first `timeLength` characters, the five
// comma-separated numbers (open, high, low, close, volume) start at `numbersAt`.
_KLINEDATA ParseBarLine(std::string_view line, size_t timeLength, size_t numbersAt) {
  _KLINEDATA bar;
  bar.time = std::string(line.substr(0, timeLength));
  uint32_t* fields[] = {&bar.open, &bar.high, &bar.low, &bar.close, &bar.volume};
  std::string_view rest = numbersAt < line.size() ? line.substr(numbersAt) : std::string_view();
  for (uint32_t* field : fields) {
    if (rest.empty()) break;
    const size_t comma = rest.find(',');
    *field = ToUnsigned(ParseDecimal64(rest.substr(0, comma)));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return bar;
}

_KLINEDATA NewBar(std::string time, int32_t price, int32_t volume) {
  _KLINEDATA bar;
  bar.time = std::move(time);
  bar.open = bar.high = bar.low = bar.close = ToUnsigned(price);
  bar.volume = ToUnsigned(volume);
  return bar;
}

void ShowAllBars(KLineSeries& series, int32_t count) {
  for (int v = 0; v < 2; ++v) {
    series.visibleBars[v] = count;
    series.firstBar[v] = 0;
  }
}

void AdvanceFirstBars(KLineSeries& series) {
  for (int v = 0; v < 2; ++v) ++series.firstBar[v];
}

std::optional<std::chrono::year_month_day> ParseDate(std::string_view text) {
  int32_t parts[3] = {0, 0, 0};
  size_t pos = 0;
  for (int32_t& part : parts) {
    while (pos < text.size() && (text[pos] < '0' || text[pos] > '9')) ++pos;
    if (pos >= text.size()) return std::nullopt;
    part = ParseDecimal(text.substr(pos));
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  }
  const std::chrono::year_month_day date{std::chrono::year{parts[0]},
                                         std::chrono::month{static_cast<unsigned>(parts[1])},
                                         std::chrono::day{static_cast<unsigned>(parts[2])}};
  if (!date.ok()) return std::nullopt;
  return date;
}

int32_t FilesWanted(KPeriod period) {
  switch (period) {
    case KPeriod::Min1: return 2;
    case KPeriod::Min5: return 10;
    case KPeriod::Min30: return 28;
    case KPeriod::Day: break;
  }
  return 0;
}

const char* PlaceholderTime(KPeriod period) {
  switch (period) {
    case KPeriod::Min1: return "134400";
    case KPeriod::Min5: return "134000";
    case KPeriod::Min30: return "131500";
    case KPeriod::Day: break;
  }
  return "";
}

// Appends the bars of one scrambled history file; returns how many.
int32_t ReadHistoryFile(const std::filesystem::path& path, KLineSeries& series) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return 0;  // unreadable: skipped like a missing file
  Descramble(*bytes);
  int32_t read = 0;
  std::string_view rest = *bytes;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    const std::string_view line = Trim(rest.substr(0, end));
    if (line.empty()) break;
    series.bars.push_back(ParseBarLine(line, 6, 7));
    ++read;
    if (end == std::string_view::npos) break;
    rest = rest.substr(end + 1);
  }
  return read;
}

const IndicatorParams& ParamsOf(const KLineContext& ctx, KPeriod period) {
  return ctx.params[static_cast<size_t>(period)];
}

void UpdateLastAll(const KLineContext& ctx, KPeriod period) {
  KLineSeries& series = ctx.day.Series(period);
  const IndicatorParams& params = ParamsOf(ctx, period);
  UpdateLastMovingAverages(series, params);
  UpdateLastKD(series, params);
  UpdateLastMACD(series, params);
  UpdateLastPivots(series);
}

// A view showing the series of `period` follows a new bar: it shows every bar
// while the series is short, and slides at its width once it is long.
void ApplyWindowRule(const KLineContext& ctx, KPeriod period) {
  KLineSeries& series = ctx.day.Series(period);
  for (int32_t v = 0; v < 2; ++v) {
    ChartView& view = ctx.views.view[v];
    if (view.mode != DisplayModeOf(period)) continue;
    ++view.scrollMax;
    ++view.scrollPos;
    if (view.scrollMax < kShowAllBelow) {
      series.visibleBars[v] = view.scrollMax + 1;
      series.firstBar[v] = 0;
      view.scrollPage = series.visibleBars[v];
      view.scrollPos = 0;
    }
    ctx.sink.ScrollBarChanged(v);
    ctx.day.barsChanged = true;
  }
}

// One tick on the last bar of a series that already has a session bar.
void UpdateLastBar(const KLineContext& ctx, KPeriod period, int32_t price, int32_t volume) {
  TradingDay& day = ctx.day;
  KLineSeries& series = day.Series(period);
  // History bars are never changed by the session.
  if (static_cast<int64_t>(series.bars.size()) <= std::max(series.historyCount, 0)) return;

  _KLINEDATA bar = series.bars.back();
  const uint32_t p = ToUnsigned(price);
  if (p > bar.high) bar.high = p;
  if (p < bar.low) bar.low = p;
  bar.close = p;
  bar.volume += ToUnsigned(volume);
  _KLINEDATA& last = series.bars.back();
  last.high = bar.high;
  last.low = bar.low;
  last.close = bar.close;
  last.volume = bar.volume;

  const IndicatorParams& params = ParamsOf(ctx, period);
  UpdateLastMovingAverages(series, params);
  UpdateLastKD(series, params);
  UpdateLastMACD(series, params);

  const int32_t mode = DisplayModeOf(period);
  const ChartView& one = ctx.views.view[0];
  if (one.mode == mode && (bar.high > one.priceTop || bar.low < one.priceBottom))
    day.chart1RangeExceeded = true;
  const ChartView& two = ctx.views.view[1];
  if (two.mode == mode) {
    if (bar.high > two.priceTop || bar.low < two.priceBottom) day.chart2RangeExceeded = true;
    // The copy still holds the MACD values from before this tick.
    if (std::fabs(bar.dif) > two.macdRange || std::fabs(bar.macd) > two.macdRange ||
        std::fabs(bar.dif - bar.macd) > two.macdRange)
      day.chart2MacdRangeExceeded = true;
  }
}

// The 5- or 30-minute series at the first tick of a new minute `gap` minutes
// after the previous one.
void AdvanceLongBars(const KLineContext& ctx, KPeriod period, int32_t length, int32_t& counter,
                     int32_t gap, std::string_view minuteKey, int32_t price, int32_t volume) {
  counter = gap > length ? length : counter + gap;
  if (counter < length) {
    UpdateLastBar(ctx, period, price, volume);
    return;
  }
  const int32_t start = BarStartMinute(MinutesOfDay(minuteKey), length);
  char time[32];
  std::snprintf(time, sizeof time, "%02d%02d00", start / 60, start % 60);
  KLineSeries& series = ctx.day.Series(period);
  series.bars.push_back(NewBar(time, price, volume));
  UpdateLastAll(ctx, period);
  AdvanceFirstBars(series);
  ApplyWindowRule(ctx, period);
  counter = 0;
  ctx.sink.ExtendShapes(DisplayModeOf(period));
}

bool IsKLineMode(int32_t mode) {
  return mode >= DisplayModeOf(KPeriod::Day) && mode <= DisplayModeOf(KPeriod::Min30);
}

constexpr KPeriod kMinutePeriods[] = {KPeriod::Min1, KPeriod::Min5, KPeriod::Min30};

}  // namespace

void BuildDayBars(TradingDay& day, const std::vector<std::string>& lines) {
  KLineSeries& series = day.dayBars;
  series.bars.clear();
  // The last line is the loaded day itself, which the session builds anew.
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    series.bars.push_back(ParseBarLine(Trim(lines[i]), 8, 9));
  series.historyCount = static_cast<int32_t>(series.bars.size());
  ShowAllBars(series, series.historyCount);
}

std::string MinuteHistoryFileName(int32_t year, int32_t month, int32_t dayOfMonth, KPeriod period) {
  const char* suffix = nullptr;
  switch (period) {
    case KPeriod::Min1: suffix = "_MIN1K.DAT"; break;
    case KPeriod::Min5: suffix = "_MIN5K.DAT"; break;
    case KPeriod::Min30: suffix = "_MIN30K.DAT"; break;
    case KPeriod::Day: return {};
  }
  char name[64];
  std::snprintf(name, sizeof name, "%d_%02d_%02d%s", year, month, dayOfMonth, suffix);
  return name;
}

void LoadMinuteHistory(TradingDay& day, KPeriod period, const std::filesystem::path& dataFolder) {
  if (period == KPeriod::Day) return;
  KLineSeries& series = day.Series(period);
  series.bars.clear();

  std::optional<std::chrono::year_month_day> date = ParseDate(day.dateText);
  if (!date) date = ParseDate(day.dateKey);
  std::deque<std::filesystem::path> files;  // oldest first
  const int32_t wanted = FilesWanted(period);
  if (date) {
    const std::chrono::sys_days origin{*date};
    for (int32_t i = 1; i <= kDaysBack && static_cast<int32_t>(files.size()) < wanted; ++i) {
      const std::chrono::year_month_day back{origin - std::chrono::days{i}};
      const std::string name =
          MinuteHistoryFileName(static_cast<int32_t>(back.year()),
                                static_cast<int32_t>(static_cast<unsigned>(back.month())),
                                static_cast<int32_t>(static_cast<unsigned>(back.day())), period);
      const std::filesystem::path path = FindCaseInsensitive(dataFolder, name);
      std::error_code ec;
      if (std::filesystem::is_regular_file(path, ec)) files.push_front(path);
    }
  }

  int32_t read = 0;
  for (const auto& path : files) read += ReadHistoryFile(path, series);

  if (read == 0) {
    _KLINEDATA bar;
    bar.time = PlaceholderTime(period);
    bar.open = bar.high = ToUnsigned(day.futuresReference);
    bar.low = bar.close = ToUnsigned(static_cast<int64_t>(day.futuresReference) - 1);
    bar.volume = 100;
    series.bars.push_back(bar);
    read = 1;
  }
  series.historyCount = read;
  ShowAllBars(series, read);
}

void AppendFirstBars(const KLineContext& ctx, int32_t price, int32_t volume,
                     std::string_view minuteKey) {
  TradingDay& day = ctx.day;
  day.openPrice = price;
  day.currentMinute = std::string(minuteKey);
  day.fiveMinuteCounter = 0;
  day.thirtyMinuteCounter = 0;

  day.dayBars.bars.push_back(NewBar(Without(day.dateText, '-'), price, volume));
  for (KPeriod p : kMinutePeriods) day.Series(p).bars.push_back(NewBar("0845", price, volume));
  for (KPeriod p : kAllPeriods) AdvanceFirstBars(day.Series(p));

  for (KPeriod p : kAllPeriods) UpdateLastMovingAverages(day.Series(p), ParamsOf(ctx, p));
  for (KPeriod p : kAllPeriods) UpdateLastKD(day.Series(p), ParamsOf(ctx, p));
  for (KPeriod p : kAllPeriods) UpdateLastMACD(day.Series(p), ParamsOf(ctx, p));
  for (KPeriod p : kAllPeriods) UpdateLastPivots(day.Series(p));

  for (int32_t v = 0; v < 2; ++v) {
    ChartView& view = ctx.views.view[v];
    if (!IsKLineMode(view.mode)) continue;
    ++view.scrollMax;
    ++view.scrollPos;
    if (view.scrollMax < kShowAllBelow) {
      for (KPeriod p : kMinutePeriods) {
        KLineSeries& series = day.Series(p);
        series.visibleBars[v] = view.scrollMax + 1;
        series.firstBar[v] = 0;
        if (view.mode == DisplayModeOf(p)) {
          view.scrollPage = series.visibleBars[v];
          view.scrollPos = 0;
        }
      }
    }
    ctx.sink.ScrollBarChanged(v);
  }

  day.barsChanged = true;
  for (KPeriod p : kMinutePeriods) ctx.sink.ExtendShapes(DisplayModeOf(p));
}

void StartNewMinute(const KLineContext& ctx, std::string_view minuteKey, std::string_view timeText,
                    int32_t price, int32_t volume) {
  TradingDay& day = ctx.day;
  day.barsChanged = true;

  KLineSeries& minute = day.min1Bars;
  minute.bars.push_back(NewBar(Without(timeText, ':'), price, volume));
  AdvanceFirstBars(minute);
  UpdateLastAll(ctx, KPeriod::Min1);
  ctx.sink.ExtendShapes(DisplayModeOf(KPeriod::Min1));
  ApplyWindowRule(ctx, KPeriod::Min1);

  const int32_t gap = MinutesOfDay(minuteKey) - MinutesOfDay(day.currentMinute);
  AdvanceLongBars(ctx, KPeriod::Min5, 5, day.fiveMinuteCounter, gap, minuteKey, price, volume);
  AdvanceLongBars(ctx, KPeriod::Min30, 30, day.thirtyMinuteCounter, gap, minuteKey, price, volume);

  day.currentMinute = std::string(minuteKey);
}

void UpdateMinuteBars(const KLineContext& ctx, int32_t price, int32_t volume) {
  for (KPeriod p : kMinutePeriods) UpdateLastBar(ctx, p, price, volume);
}

void UpdateDayBar(const KLineContext& ctx, int32_t price, int32_t volume) {
  UpdateLastBar(ctx, KPeriod::Day, price, volume);
}

void RemoveSessionBars(TradingDay& day) {
  for (KPeriod p : kAllPeriods) {
    KLineSeries& series = day.Series(p);
    const size_t keep = static_cast<size_t>(
        std::clamp<int64_t>(series.historyCount, 0, static_cast<int64_t>(series.bars.size())));
    series.bars.erase(series.bars.begin() + static_cast<std::ptrdiff_t>(keep), series.bars.end());
    ShowAllBars(series, static_cast<int32_t>(keep));
  }
}

int32_t MinutesOfDay(std::string_view minuteKey) {
  auto pair = [&minuteKey](size_t at) {
    return at < minuteKey.size() ? ParseDecimal(minuteKey.substr(at, 2)) : 0;
  };
  return pair(0) * 60 + pair(2);
}

int32_t BarStartMinute(int32_t minutesOfDay, int32_t length) {
  if (length < 1) return minutesOfDay;
  // C's remainder: before 08:45 it is negative or 0, moving the start forward.
  return minutesOfDay - (minutesOfDay - kSessionStartMinute) % length;
}

}  // namespace kestrel
