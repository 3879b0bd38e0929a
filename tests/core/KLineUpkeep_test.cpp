#include "tradingday/KLineUpkeep.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <map>
#include <memory>

#include "TestDir.h"
#include "tradingday/Scramble.h"

namespace kestrel {
namespace {

using test::FreshDir;

class RecordingSink : public KLineSink {
 public:
  void ExtendShapes(int32_t mode) override { shapes.push_back(mode); }
  void ScrollBarChanged(int32_t view) override { scrolls.push_back(view); }
  std::vector<int32_t> shapes;
  std::vector<int32_t> scrolls;
};

void WriteScrambled(const std::filesystem::path& path, const std::string& plain) {
  std::string bytes = plain;
  Scramble(bytes);
  test::WriteFile(path, bytes);
}

std::vector<std::string> Times(const KLineSeries& s, size_t from = 0) {
  std::vector<std::string> times;
  for (size_t i = from; i < s.bars.size(); ++i) times.push_back(s.bars[i].time);
  return times;
}

std::vector<std::string> SessionTimes(const KLineSeries& s) {
  return Times(s, static_cast<size_t>(s.historyCount));
}

uint32_t Bits(float f) {
  return std::bit_cast<uint32_t>(f);
}

::testing::AssertionResult SameBar(const _KLINEDATA& a, const _KLINEDATA& b) {
  const bool prices = a.time == b.time && a.open == b.open && a.high == b.high && a.low == b.low &&
                      a.close == b.close && a.volume == b.volume;
  const bool indicators = a.ma1 == b.ma1 && a.ma2 == b.ma2 && a.ma3 == b.ma3 &&
                          Bits(a.k) == Bits(b.k) && Bits(a.d) == Bits(b.d) &&
                          Bits(a.emaShort) == Bits(b.emaShort) &&
                          Bits(a.emaLong) == Bits(b.emaLong) && Bits(a.dif) == Bits(b.dif) &&
                          Bits(a.macd) == Bits(b.macd) && a.pivot == b.pivot && a.r1 == b.r1 &&
                          a.r2 == b.r2 && a.s1 == b.s1 && a.s2 == b.s2;
  if (prices && indicators) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "bar " << a.time << " differs from " << b.time
                                       << (prices ? " in its indicators" : " in its prices");
}

::testing::AssertionResult SameSeries(const KLineSeries& a, const KLineSeries& b) {
  if (a.bars.size() != b.bars.size())
    return ::testing::AssertionFailure() << a.bars.size() << " bars against " << b.bars.size();
  for (size_t i = 0; i < a.bars.size(); ++i) {
    auto same = SameBar(a.bars[i], b.bars[i]);
    if (!same) return same << " at " << i;
  }
  if (a.historyCount != b.historyCount || a.visibleBars[0] != b.visibleBars[0] ||
      a.visibleBars[1] != b.visibleBars[1] || a.firstBar[0] != b.firstBar[0] ||
      a.firstBar[1] != b.firstBar[1])
    return ::testing::AssertionFailure() << "counts or windows differ";
  return ::testing::AssertionSuccess();
}

// "HHMM" of the minutes of the day from..to.
std::vector<std::string> MinuteRange(int32_t from, int32_t to) {
  std::vector<std::string> keys;
  for (int32_t m = from; m <= to; ++m) {
    char key[8];
    std::snprintf(key, sizeof key, "%02d%02d", m / 60, m % 60);
    keys.push_back(key);
  }
  return keys;
}

constexpr int32_t kAt0845 = 8 * 60 + 45;

std::filesystem::path NoHistory() {
  return std::filesystem::path(KESTREL_TEST_TMP) / "no-history";
}

class KLineUpkeepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    day->dateText = "2024-03-15";
    day->dateKey = "2024_03_15";
    day->futuresReference = 8000;
    views.view[0].mode = 1;  // trend charts: no K-line window to move
    views.view[1].mode = 2;
  }

  KLineContext Ctx() { return {*day, views, params, sink}; }

  // The replay's dispatch of one tick stamped "HH:MM:SS".
  void Tick(const std::string& time, int32_t price, int32_t volume = 1) {
    const std::string minute = time.substr(0, 2) + time.substr(3, 2);
    if (day->openPrice == 0) {
      AppendFirstBars(Ctx(), price, volume, minute);
      return;
    }
    if (minute != day->currentMinute)
      StartNewMinute(Ctx(), minute, time, price, volume);
    else
      UpdateMinuteBars(Ctx(), price, volume);
    UpdateDayBar(Ctx(), price, volume);
  }

  void TickAtMinute(const std::string& key, int32_t price, int32_t volume = 1) {
    Tick(key.substr(0, 2) + ":" + key.substr(2, 2) + ":05", price, volume);
  }

  // A loaded day: three day bars, the history in `data` (placeholders when
  // empty), all indicators computed; the session is open.
  void Load(const std::filesystem::path& data = NoHistory()) {
    BuildDayBars(*day, {"20240312,7900,7990,7880,7950,90000", "20240313,7950,8010,7940,8000,80000",
                        "20240314,8000,8020,7970,7990,70000", "20240315,0,0,0,0,0"});
    for (KPeriod p : {KPeriod::Min1, KPeriod::Min5, KPeriod::Min30})
      LoadMinuteHistory(*day, p, data);
    for (KPeriod p : kAllPeriods)
      RecomputeAllIndicators(day->Series(p), params[static_cast<size_t>(p)]);
    day->openPrice = 0;
  }

  std::unique_ptr<TradingDay> day = std::make_unique<TradingDay>();
  ChartViews views;
  PeriodParams params{};
  RecordingSink sink;
};

TEST(BuildDayBars, EveryLineButTheLastBecomesABar) {
  auto day = std::make_unique<TradingDay>();
  BuildDayBars(*day, {"20240313,8000,8050,7990,8020,12345\r", "20240314,8020,x,8001,8010,",
                      "20240315", "20240318,1,2,3,4,5"});
  ASSERT_EQ(day->dayBars.bars.size(), 3u);
  const _KLINEDATA& a = day->dayBars.bars[0];
  EXPECT_EQ(a.time, "20240313");
  EXPECT_EQ(a.open, 8000u);
  EXPECT_EQ(a.high, 8050u);
  EXPECT_EQ(a.low, 7990u);
  EXPECT_EQ(a.close, 8020u);
  EXPECT_EQ(a.volume, 12345u);
  const _KLINEDATA& b = day->dayBars.bars[1];  // texts that are not numbers read 0
  EXPECT_EQ(b.high, 0u);
  EXPECT_EQ(b.low, 8001u);
  EXPECT_EQ(b.volume, 0u);
  EXPECT_EQ(day->dayBars.bars[2].time, "20240315");
  EXPECT_EQ(day->dayBars.bars[2].close, 0u);
  EXPECT_EQ(day->dayBars.historyCount, 3);
  for (int v = 0; v < 2; ++v) {
    EXPECT_EQ(day->dayBars.visibleBars[v], 3);
    EXPECT_EQ(day->dayBars.firstBar[v], 0);
  }

  BuildDayBars(*day, {});
  EXPECT_TRUE(day->dayBars.bars.empty());
  EXPECT_EQ(day->dayBars.historyCount, 0);
}

TEST_F(KLineUpkeepTest, NoHistoryWithin29DaysGivesThePlaceholderBar) {
  const struct {
    KPeriod period;
    const char* suffix;
    const char* time;
  } cases[] = {{KPeriod::Min1, "_MIN1K.DAT", "134400"},
               {KPeriod::Min5, "_MIN5K.DAT", "134000"},
               {KPeriod::Min30, "_MIN30K.DAT", "131500"}};
  const auto data = FreshDir();
  for (const auto& c : cases) {
    // 30 days back and the day itself are outside the search.
    WriteScrambled(data / (std::string("2024_02_14") + c.suffix), "090000,1,1,1,1,1\r\n");
    WriteScrambled(data / (std::string("2024_03_15") + c.suffix), "090000,1,1,1,1,1\r\n");
  }
  Load(data);
  for (const auto& c : cases) {
    const KLineSeries& s = day->Series(c.period);
    ASSERT_EQ(s.bars.size(), 1u) << c.time;
    EXPECT_EQ(s.bars[0].time, c.time);
    EXPECT_EQ(s.bars[0].open, 8000u);
    EXPECT_EQ(s.bars[0].high, 8000u);
    EXPECT_EQ(s.bars[0].low, 7999u);
    EXPECT_EQ(s.bars[0].close, 7999u);
    EXPECT_EQ(s.bars[0].volume, 100u);
    EXPECT_EQ(s.historyCount, 1);
    EXPECT_EQ(s.visibleBars[0], 1);
    EXPECT_EQ(s.visibleBars[1], 1);
    EXPECT_EQ(s.firstBar[0], 0);
  }
  Tick("08:45:00", 8005);
  for (const auto& c : cases)
    EXPECT_EQ(Times(day->Series(c.period)), (std::vector<std::string>{c.time, "0845"}));
}

TEST_F(KLineUpkeepTest, HistoryDatesFollowTheCalendarBack) {
  const struct {
    const char* date;
    const char* older;  // 25 days back
    const char* newer;  // 20 days back
  } cases[] = {
      {"2024-03-15", "2024_02_19", "2024_02_24"},  // across the 29th of February
      {"2023-03-15", "2023_02_18", "2023_02_23"},
      {"2000-03-05", "2000_02_09", "2000_02_14"},  // a century that is a leap year
      {"1900-03-05", "1900_02_08", "1900_02_13"},  // a century that is not
      {"2024-01-10", "2023_12_16", "2023_12_21"},  // across the year's end
  };
  for (const auto& c : cases) {
    const auto data = FreshDir();
    WriteScrambled(data / (std::string(c.older) + "_MIN1K.DAT"),
                   "090000,8000,8010,7990,8005,10\r\n091000,8005,8020,8000,8015,20\r\n");
    WriteScrambled(data / (std::string(c.newer) + "_MIN1K.DAT"),
                   "100000,8100,8110,8090,8105,30\r\n");
    day->dateText = c.date;
    LoadMinuteHistory(*day, KPeriod::Min1, data);
    const KLineSeries& s = day->min1Bars;
    EXPECT_EQ(Times(s), (std::vector<std::string>{"090000", "091000", "100000"})) << c.date;
    EXPECT_EQ(s.historyCount, 3) << c.date;
    EXPECT_EQ(s.visibleBars[0], 3) << c.date;
    EXPECT_EQ(s.firstBar[1], 0) << c.date;
  }
}

TEST_F(KLineUpkeepTest, EachPeriodTakesItsNumberOfNearestFiles) {
  const struct {
    KPeriod period;
    const char* suffix;
    int32_t firstDay;  // day of March of the oldest file used
  } cases[] = {{KPeriod::Min1, "_MIN1K.DAT", 13},
               {KPeriod::Min5, "_MIN5K.DAT", 5},
               {KPeriod::Min30, "_MIN30K.DAT", 3}};  // wants 28, finds all 12
  const auto data = FreshDir();
  for (const auto& c : cases)
    for (int32_t d = 3; d <= 14; ++d) {
      char name[32], line[32];
      std::snprintf(name, sizeof name, "2024_03_%02d%s", d, c.suffix);
      std::snprintf(line, sizeof line, "0900%02d,1,2,3,4,5\n", d);
      WriteScrambled(data / name, line);
    }
  for (const auto& c : cases) {
    LoadMinuteHistory(*day, c.period, data);
    std::vector<std::string> expected;
    for (int32_t d = c.firstDay; d <= 14; ++d) {
      char time[16];
      std::snprintf(time, sizeof time, "0900%02d", d);
      expected.push_back(time);
    }
    EXPECT_EQ(Times(day->Series(c.period)), expected) << c.suffix;
  }
}

TEST_F(KLineUpkeepTest, HistoryLinesEndAtABlankLineAndFilesStayScrambled) {
  const auto data = FreshDir();
  const auto older = data / "2024_03_13_MIN1K.DAT";
  const auto newer = data / "2024_03_14_MIN1K.DAT";
  WriteScrambled(older,
                 "090000,8000,8010,7990,8005,10\r\n0901xx,abc,8011,,8006,7\r\n   \r\n"
                 "091000,1,1,1,1,1\r\n");
  WriteScrambled(newer, "100000 8100,8110,8090,8105,30");  // no line end at the end
  const std::string olderBytes = test::ReadFile(older);
  const std::string newerBytes = test::ReadFile(newer);

  LoadMinuteHistory(*day, KPeriod::Min1, data);
  const KLineSeries& s = day->min1Bars;
  ASSERT_EQ(Times(s), (std::vector<std::string>{"090000", "0901xx", "100000"}));
  EXPECT_EQ(s.bars[1].open, 0u);
  EXPECT_EQ(s.bars[1].high, 8011u);
  EXPECT_EQ(s.bars[1].low, 0u);
  EXPECT_EQ(s.bars[1].close, 8006u);
  EXPECT_EQ(s.bars[1].volume, 7u);
  EXPECT_EQ(s.bars[2].open, 8100u);
  EXPECT_EQ(s.bars[2].volume, 30u);
  EXPECT_EQ(s.historyCount, 3);
  EXPECT_EQ(test::ReadFile(older), olderBytes);
  EXPECT_EQ(test::ReadFile(newer), newerBytes);
}

TEST_F(KLineUpkeepTest, LongerBarsStartAtTheBoundaryAfterCountedMinutes) {
  auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const struct {
    const char* name;
    std::vector<std::string> minutes;
    std::vector<std::string> min5;
    std::vector<std::string> min30;
  } cases[] = {
      {"five minutes counted", MinuteRange(kAt0845, kAt0845 + 5), {"0845", "085000"}, {"0845"}},
      {"a gap caps the counter",
       join(MinuteRange(kAt0845, 9 * 60 + 1), {"0913"}),
       {"0845", "085000", "085500", "090000", "091000"},
       {"0845"}},
      {"thirty minutes counted",
       MinuteRange(kAt0845, 9 * 60 + 15),
       {"0845", "085000", "085500", "090000", "090500", "091000", "091500"},
       {"0845", "091500"}},
      {"a gap of more than thirty minutes",
       {"0845", "0846", "0920"},
       {"0845", "092000"},
       {"0845", "091500"}},
      {"before 08:45 the boundary moves forward", {"0838", "0844"}, {"0845", "084500"}, {"0845"}},
  };
  for (const auto& c : cases) {
    day = std::make_unique<TradingDay>();
    SetUp();
    Load();
    int32_t price = 8000;
    for (const auto& m : c.minutes) TickAtMinute(m, ++price);
    EXPECT_EQ(SessionTimes(day->min1Bars).size(), c.minutes.size()) << c.name;
    EXPECT_EQ(SessionTimes(day->min5Bars), c.min5) << c.name;
    EXPECT_EQ(SessionTimes(day->min30Bars), c.min30) << c.name;
    // A new bar opens at the price of the tick that starts it.
    EXPECT_EQ(day->min5Bars.bars.back().open, day->min1Bars.bars.back().open) << c.name;
  }
}

TEST_F(KLineUpkeepTest, FirstTickOfAMinuteJoinsTheRunningLongerBars) {
  Load();
  Tick("08:45:00", 100, 1);
  Tick("08:46:00", 110, 2);
  Tick("08:46:30", 95, 3);
  Tick("08:47:00", 105, 4);
  EXPECT_EQ(SessionTimes(day->min1Bars), (std::vector<std::string>{"0845", "084600", "084700"}));
  for (KPeriod p : kAllPeriods) {
    const _KLINEDATA& bar = day->Series(p).bars.back();
    if (p == KPeriod::Min1) continue;
    EXPECT_EQ(bar.open, 100u);
    EXPECT_EQ(bar.high, 110u);
    EXPECT_EQ(bar.low, 95u);
    EXPECT_EQ(bar.close, 105u);
    EXPECT_EQ(bar.volume, 10u);
  }
}

// A session with gaps and several ticks per minute: the longer bars are the
// sums of their 1-minute bars, and every indicator matches a full recompute.
TEST_F(KLineUpkeepTest, ReplayedSessionKeepsTheSeriesConsistent) {
  const auto data = FreshDir();
  std::string history;
  for (int32_t i = 0; i < 40; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%02d%02d00,%d,%d,%d,%d,%d\n", 9 + i / 60, i % 60, 7950 + i,
                  7960 + i, 7940 + i, 7955 + i, 100 + i);
    history += line;
  }
  WriteScrambled(data / "2024_03_14_MIN1K.DAT", history);
  WriteScrambled(data / "2024_03_14_MIN5K.DAT", history);
  Load(data);

  std::map<size_t, size_t> longBarOf[2];  // 1-minute bar index -> 5-/30-minute bar index
  uint32_t price = 8000, total = 0;
  uint32_t seed = 7;
  for (int32_t m = kAt0845; m <= 11 * 60; ++m) {
    if (m % 7 == 3 || (m > 9 * 60 + 30 && m < 9 * 60 + 43)) continue;
    const int ticks = 1 + m % 4;
    for (int t = 0; t < ticks; ++t) {
      seed = seed * 1103515245u + 12345u;
      price = price + (seed >> 16) % 9 - 4;
      char time[16];
      std::snprintf(time, sizeof time, "%02d:%02d:%02d", m / 60, m % 60, t * 10);
      Tick(time, static_cast<int32_t>(price), 1 + t);
      total += 1 + t;
    }
    const size_t minuteBar = day->min1Bars.bars.size() - 1;
    longBarOf[0][minuteBar] = day->min5Bars.bars.size() - 1;
    longBarOf[1][minuteBar] = day->min30Bars.bars.size() - 1;
  }

  const KLineSeries* longSeries[2] = {&day->min5Bars, &day->min30Bars};
  for (int l = 0; l < 2; ++l) {
    std::map<size_t, _KLINEDATA> sums;
    for (const auto& [minuteBar, longBar] : longBarOf[l]) {
      const _KLINEDATA& one = day->min1Bars.bars[minuteBar];
      auto [it, fresh] = sums.try_emplace(longBar, one);
      if (fresh) continue;
      it->second.high = std::max(it->second.high, one.high);
      it->second.low = std::min(it->second.low, one.low);
      it->second.close = one.close;
      it->second.volume += one.volume;
    }
    uint32_t volume = 0;
    for (const auto& [longBar, sum] : sums) {
      const _KLINEDATA& bar = longSeries[l]->bars[longBar];
      EXPECT_EQ(bar.open, sum.open) << bar.time;
      EXPECT_EQ(bar.high, sum.high) << bar.time;
      EXPECT_EQ(bar.low, sum.low) << bar.time;
      EXPECT_EQ(bar.close, sum.close) << bar.time;
      volume += bar.volume;
    }
    EXPECT_EQ(volume, total);
  }
  EXPECT_EQ(day->dayBars.bars.back().volume, total);
  EXPECT_EQ(day->dayBars.bars.back().close, price);

  for (KPeriod p : kAllPeriods) {
    KLineSeries full;
    for (const _KLINEDATA& b : day->Series(p).bars) {
      _KLINEDATA bare;
      bare.time = b.time;
      bare.open = b.open, bare.high = b.high, bare.low = b.low, bare.close = b.close;
      bare.volume = b.volume;
      full.bars.push_back(bare);
    }
    RecomputeAllIndicators(full, params[static_cast<size_t>(p)]);
    for (size_t i = 0; i < full.bars.size(); ++i)
      ASSERT_TRUE(SameBar(day->Series(p).bars[i], full.bars[i])) << DisplayModeOf(p) << " " << i;
  }
}

TEST_F(KLineUpkeepTest, PivotsAreSetOncePerNewBar) {
  Load();
  Tick("08:45:00", 8000);
  Tick("08:46:00", 8010);
  _KLINEDATA& last = day->min1Bars.bars.back();
  EXPECT_EQ(last.pivot, 8000);  // from the 08:45 bar
  last.pivot = 12345;
  Tick("08:46:10", 8020);
  EXPECT_EQ(day->min1Bars.bars.back().pivot, 12345);
  EXPECT_EQ(day->min1Bars.bars.back().close, 8020u);
}

TEST_F(KLineUpkeepTest, FirstBarsOpenTheSessionInEverySeries) {
  Load();
  views.view[0] = ChartView{8, 0, 0, 1, 0, 0, 0};
  views.view[1] = ChartView{7, 30, 30, 3, 0, 0, 0};
  day->fiveMinuteCounter = day->thirtyMinuteCounter = 3;
  AppendFirstBars(Ctx(), 8010, 3, "0845");

  EXPECT_EQ(day->openPrice, 8010);
  EXPECT_EQ(day->currentMinute, "0845");
  EXPECT_EQ(day->fiveMinuteCounter, 0);
  EXPECT_EQ(day->thirtyMinuteCounter, 0);
  EXPECT_TRUE(day->barsChanged);
  EXPECT_EQ(Times(day->dayBars, 3), std::vector<std::string>{"20240315"});
  for (KPeriod p : kAllPeriods) {
    const _KLINEDATA& bar = day->Series(p).bars.back();
    EXPECT_EQ(bar.open, 8010u);
    EXPECT_EQ(bar.low, 8010u);
    EXPECT_EQ(bar.volume, 3u);
    if (p != KPeriod::Day) {
      EXPECT_EQ(bar.time, "0845");
    }
  }
  // View I shows a short 1-minute series: all three minute series show all bars.
  for (KPeriod p : {KPeriod::Min1, KPeriod::Min5, KPeriod::Min30}) {
    EXPECT_EQ(day->Series(p).visibleBars[0], 2);
    EXPECT_EQ(day->Series(p).firstBar[0], 0);
    EXPECT_EQ(day->Series(p).visibleBars[1], 1);  // view II only advances
    EXPECT_EQ(day->Series(p).firstBar[1], 1);
  }
  EXPECT_EQ(day->dayBars.firstBar[0], 1);
  EXPECT_EQ(day->dayBars.visibleBars[1], 3);
  EXPECT_EQ(day->dayBars.firstBar[1], 1);
  EXPECT_EQ(views.view[0].scrollMax, 1);
  EXPECT_EQ(views.view[0].scrollPage, 2);
  EXPECT_EQ(views.view[0].scrollPos, 0);
  EXPECT_EQ(views.view[1].scrollMax, 31);
  EXPECT_EQ(views.view[1].scrollPos, 31);
  EXPECT_EQ(views.view[1].scrollPage, 3);
  EXPECT_EQ(sink.shapes, (std::vector<int32_t>{8, 9, 10}));
  EXPECT_EQ(sink.scrolls, (std::vector<int32_t>{0, 1}));
}

TEST_F(KLineUpkeepTest, ViewShowsAllBarsOfAShortSeriesAndSlidesOverALongOne) {
  const struct {
    int32_t bars, scrollMax, scrollPos, page, visible, first;
    int32_t wantMax, wantPos, wantPage, wantVisible, wantFirst;
  } cases[] = {
      {5, 4, 0, 5, 5, 0, 5, 0, 6, 6, 0},
      {19, 18, 0, 19, 19, 0, 19, 0, 20, 20, 0},
      {20, 19, 0, 20, 20, 0, 20, 1, 20, 20, 1},
      {30, 29, 10, 20, 20, 10, 30, 11, 20, 20, 11},
  };
  for (const auto& c : cases) {
    day = std::make_unique<TradingDay>();
    SetUp();
    sink = RecordingSink{};
    for (KPeriod p : {KPeriod::Min1, KPeriod::Min5, KPeriod::Min30}) {
      KLineSeries& s = day->Series(p);
      s.bars.assign(static_cast<size_t>(c.bars), _KLINEDATA{});
      s.historyCount = c.bars - 1;
      s.visibleBars[0] = s.visibleBars[1] = c.visible;
      s.firstBar[0] = s.firstBar[1] = c.first;
    }
    day->openPrice = 8000;
    day->currentMinute = "0900";
    views.view[0] = ChartView{8, c.scrollMax, c.scrollPos, c.page, 0, 0, 0};
    views.view[1] = ChartView{9, 7, 0, 8, 0, 0, 0};  // shows the 5-minute series

    StartNewMinute(Ctx(), "0901", "09:01:00", 8001, 1);

    const KLineSeries& s = day->min1Bars;
    EXPECT_EQ(views.view[0].scrollMax, c.wantMax) << c.bars;
    EXPECT_EQ(views.view[0].scrollPos, c.wantPos) << c.bars;
    EXPECT_EQ(views.view[0].scrollPage, c.wantPage) << c.bars;
    EXPECT_EQ(s.visibleBars[0], c.wantVisible) << c.bars;
    EXPECT_EQ(s.firstBar[0], c.wantFirst) << c.bars;
    // The other view keeps its width and moves on by one bar.
    EXPECT_EQ(s.visibleBars[1], c.visible) << c.bars;
    EXPECT_EQ(s.firstBar[1], c.first + 1) << c.bars;
    EXPECT_EQ(views.view[1].scrollMax, 7) << c.bars;
    EXPECT_EQ(sink.shapes, std::vector<int32_t>{8}) << c.bars;
    EXPECT_EQ(sink.scrolls, std::vector<int32_t>{0}) << c.bars;
    EXPECT_EQ(Times(s, static_cast<size_t>(c.bars)), std::vector<std::string>{"090100"}) << c.bars;
  }
}

TEST_F(KLineUpkeepTest, BarsLeavingTheDrawnRangesRaiseTheFlags) {
  const struct {
    const char* name;
    int view;
    int32_t mode;
    bool dayTick;
    int32_t price;
    float dif, macd;  // of the last bar before the tick
    bool one, two, twoMacd;
  } cases[] = {
      {"above chart I", 0, 8, false, 8051, 0, 0, true, false, false},
      {"below chart I", 0, 8, false, 7949, 0, 0, true, false, false},
      {"on chart I's edge", 0, 8, false, 8050, 0, 0, false, false, false},
      {"5-minute series in chart I", 0, 9, false, 8051, 0, 0, true, false, false},
      {"day series untouched by minute ticks", 0, 7, false, 8051, 0, 0, false, false, false},
      {"day bar in chart I", 0, 7, true, 7949, 0, 0, true, false, false},
      {"above chart II", 1, 8, false, 8051, 0, 0, false, true, false},
      {"chart II dif", 1, 8, false, 8000, 5, 1, false, false, true},
      {"chart II signal", 1, 8, false, 8000, 1, -4.5f, false, false, true},
      {"chart II dif - signal", 1, 8, false, 8000, 3, -2, false, false, true},
      {"chart II MACD within", 1, 8, false, 8000, 3, 2, false, false, false},
      {"chart II day bar MACD", 1, 7, true, 8000, -4.5f, 0, false, false, true},
  };
  for (const auto& c : cases) {
    day = std::make_unique<TradingDay>();
    SetUp();
    Load();
    Tick("08:45:00", 8000);
    for (KPeriod p : kAllPeriods) {
      day->Series(p).bars.back().dif = c.dif;
      day->Series(p).bars.back().macd = c.macd;
    }
    views.view[c.view] = ChartView{c.mode, 0, 0, 0, 8050, 7950, 4.0f};
    if (c.dayTick)
      UpdateDayBar(Ctx(), c.price, 1);
    else
      UpdateMinuteBars(Ctx(), c.price, 1);
    EXPECT_EQ(day->chart1RangeExceeded, c.one) << c.name;
    EXPECT_EQ(day->chart2RangeExceeded, c.two) << c.name;
    EXPECT_EQ(day->chart2MacdRangeExceeded, c.twoMacd) << c.name;
  }
}

TEST_F(KLineUpkeepTest, SessionEndRestoresTheSeriesAsLoaded) {
  const auto data = FreshDir();
  WriteScrambled(data / "2024_03_13_MIN1K.DAT", "090000,8000,8010,7990,8005,10\n");
  WriteScrambled(data / "2024_03_14_MIN1K.DAT",
                 "090000,8005,8020,8000,8015,20\n090100,8015,8016,8001,8002,5\n");
  for (bool ticks : {false, true}) {
    day = std::make_unique<TradingDay>();
    SetUp();
    Load(data);
    const std::unique_ptr<TradingDay> loaded = std::make_unique<TradingDay>(*day);
    // Ticks before the session's first bar must not touch the history.
    UpdateMinuteBars(Ctx(), 9000, 5);
    UpdateDayBar(Ctx(), 9000, 5);
    if (ticks) {
      views.view[0].mode = 8;
      for (const auto& m : MinuteRange(kAt0845, 9 * 60 + 20)) TickAtMinute(m, 8100, 2);
      for (KPeriod p : kAllPeriods) {
        const KLineSeries& now = day->Series(p);
        const KLineSeries& then = loaded->Series(p);
        ASSERT_GT(now.bars.size(), then.bars.size());
        for (size_t i = 0; i < then.bars.size(); ++i)
          EXPECT_TRUE(SameBar(now.bars[i], then.bars[i])) << DisplayModeOf(p) << " " << i;
      }
    }
    RemoveSessionBars(*day);
    for (KPeriod p : kAllPeriods)
      EXPECT_TRUE(SameSeries(day->Series(p), loaded->Series(p))) << DisplayModeOf(p) << ticks;
  }
}

TEST(RemoveSessionBars, KeepsWhatTheHistoryCountAllows) {
  const struct {
    int32_t historyCount;
    size_t kept;
  } cases[] = {{2, 2}, {-1, 0}, {7, 3}, {0, 0}};
  for (const auto& c : cases) {
    auto day = std::make_unique<TradingDay>();
    day->min1Bars.bars.resize(3);
    day->min1Bars.historyCount = c.historyCount;
    day->min1Bars.firstBar[0] = 5;
    RemoveSessionBars(*day);
    EXPECT_EQ(day->min1Bars.bars.size(), c.kept) << c.historyCount;
    EXPECT_EQ(day->min1Bars.visibleBars[0], static_cast<int32_t>(c.kept)) << c.historyCount;
    EXPECT_EQ(day->min1Bars.firstBar[0], 0) << c.historyCount;
  }
}

TEST(MinuteKeys, MinutesOfDayAndBarStarts) {
  const struct {
    const char* key;
    int32_t minutes;
  } keys[] = {{"0913", 553}, {"0845", 525}, {"1345", 825}, {"", 0}, {"09", 540}, {"xx30", 30}};
  for (const auto& k : keys) EXPECT_EQ(MinutesOfDay(k.key), k.minutes) << k.key;

  const struct {
    int32_t minute, length, start;
  } starts[] = {{553, 5, 550}, {555, 30, 555}, {554, 30, 525}, {600, 30, 585},
                {524, 5, 525}, {520, 5, 520},  {524, 30, 525}, {530, 5, 530}};
  for (const auto& s : starts)
    EXPECT_EQ(BarStartMinute(s.minute, s.length), s.start) << s.minute << "/" << s.length;
}

}  // namespace
}  // namespace kestrel
