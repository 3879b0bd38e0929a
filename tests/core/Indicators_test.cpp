#include "charts/Indicators.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "app/AppSettings.h"

namespace kestrel {
namespace {

_KLINEDATA Bar(uint32_t high, uint32_t low, uint32_t close) {
  _KLINEDATA bar;
  bar.open = close;
  bar.high = high;
  bar.low = low;
  bar.close = close;
  return bar;
}

// Bars whose high, low and close all equal the given price.
KLineSeries Flat(const std::vector<uint32_t>& prices) {
  KLineSeries s;
  for (uint32_t p : prices) s.bars.push_back(Bar(p, p, p));
  return s;
}

IndicatorParams Params(uint32_t a1, uint32_t a2, uint32_t a3, int32_t kd, int32_t dif1,
                       int32_t dif2, int32_t signal) {
  IndicatorParams p;
  p.avg[0] = a1;
  p.avg[1] = a2;
  p.avg[2] = a3;
  p.kd = kd;
  p.dif1 = dif1;
  p.dif2 = dif2;
  p.signal = signal;
  return p;
}

// The series as the replay builds it: each bar appended with empty indicator
// fields and brought up to date by the last-bar forms.
KLineSeries GrowBarByBar(const KLineSeries& source, const IndicatorParams& params) {
  KLineSeries grown;
  for (const _KLINEDATA& b : source.bars) {
    grown.bars.push_back(Bar(b.high, b.low, b.close));
    UpdateLastMovingAverages(grown, params);
    UpdateLastKD(grown, params);
    UpdateLastMACD(grown, params);
    UpdateLastPivots(grown);
  }
  return grown;
}

uint32_t Bits(float f) {
  return std::bit_cast<uint32_t>(f);
}

// Every indicator field equal, floats bit for bit.
::testing::AssertionResult SameIndicators(const _KLINEDATA& a, const _KLINEDATA& b) {
  const bool same = a.ma1 == b.ma1 && a.ma2 == b.ma2 && a.ma3 == b.ma3 && Bits(a.k) == Bits(b.k) &&
                    Bits(a.d) == Bits(b.d) && Bits(a.emaShort) == Bits(b.emaShort) &&
                    Bits(a.emaLong) == Bits(b.emaLong) && Bits(a.dif) == Bits(b.dif) &&
                    Bits(a.macd) == Bits(b.macd) && a.pivot == b.pivot && a.r1 == b.r1 &&
                    a.r2 == b.r2 && a.s1 == b.s1 && a.s2 == b.s2;
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "ma " << a.ma1 << "/" << b.ma1 << " " << a.ma2 << "/" << b.ma2 << " " << a.ma3 << "/"
         << b.ma3 << " k " << a.k << "/" << b.k << " d " << a.d << "/" << b.d << " emaS "
         << a.emaShort << "/" << b.emaShort << " emaL " << a.emaLong << "/" << b.emaLong << " dif "
         << a.dif << "/" << b.dif << " macd " << a.macd << "/" << b.macd << " pivot " << a.pivot
         << "/" << b.pivot;
}

TEST(IndicatorWindows, NeverReachBeforeTheFirstOrPastTheLastBar) {
  const KLineSeries s = [] {
    KLineSeries r;
    r.bars = {Bar(110, 90, 100), Bar(130, 95, 120), Bar(105, 80, 90), Bar(100, 99, 100)};
    return r;
  }();
  const struct {
    int64_t index, count;
    uint32_t highest, lowest;
  } cases[] = {
      {3, 2, 105, 80},   {3, 4, 130, 80},   {2, 10, 130, 80},   {0, 1, 110, 90},
      {9, 2, 0, 200000}, {1, 0, 0, 200000}, {-1, 3, 0, 200000}, {3, 1, 100, 99},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HighestHigh(s, c.index, c.count), c.highest) << c.index << "," << c.count;
    EXPECT_EQ(LowestLow(s, c.index, c.count), c.lowest) << c.index << "," << c.count;
  }
  EXPECT_EQ(HighestHigh(KLineSeries{}, 0, 5), 0u);
  EXPECT_EQ(LowestLow(KLineSeries{}, 0, 5), 200000u);
}

TEST(IndicatorWindows, MacdPriceCountsTheCloseTwice) {
  const struct {
    uint32_t high, low, close;
    float price;
  } cases[] = {
      {101, 99, 100, 100.0f}, {1, 0, 0, 0.25f}, {3, 2, 2, 2.25f}, {8005, 7990, 8001, 7999.25f}};
  for (const auto& c : cases) EXPECT_EQ(MacdPrice(Bar(c.high, c.low, c.close)), c.price);
}

TEST(IndicatorWindows, MacdSeedAveragesTheBarsTheWindowReallyHolds) {
  const KLineSeries s = Flat({100, 102, 104, 106});
  EXPECT_FLOAT_EQ(MacdSeed(s, 3, 2), 105.0f);
  EXPECT_FLOAT_EQ(MacdSeed(s, 3, 4), 103.0f);
  EXPECT_FLOAT_EQ(MacdSeed(s, 2, 12), 102.0f);  // only bars 0..2 exist
  EXPECT_FLOAT_EQ(MacdSeed(s, 0, 0), 100.0f);
  EXPECT_EQ(MacdSeed(KLineSeries{}, 0, 3), 0.0f);
}

TEST(MovingAverages, ZeroUntilThePeriodIsFilledThenTheTruncatedMean) {
  const std::vector<uint32_t> closes = {10, 11, 13, 20, 7};
  const struct {
    uint32_t period;
    std::vector<int32_t> expected;
  } cases[] = {
      {3, {0, 0, 11, 14, 13}},         // 34 / 3 and 44 / 3 drop their fractions
      {1, {10, 11, 13, 20, 7}},        // the close itself
      {5, {0, 0, 0, 0, 12}},           // first value at index n - 1
      {6, {0, 0, 0, 0, 0}},            // longer than the series
      {0, {0, 0, 0, 0, 0}},            // a period of 0 from the settings
      {4294967295u, {0, 0, 0, 0, 0}},  // a negative setting read as unsigned
  };
  for (const auto& c : cases) {
    const IndicatorParams params = Params(c.period, 2, c.period, 9, 12, 24, 9);
    KLineSeries full = Flat(closes);
    RecomputeMovingAverages(full, params);
    const KLineSeries grown = GrowBarByBar(Flat(closes), params);
    for (size_t i = 0; i < closes.size(); ++i) {
      EXPECT_EQ(full.bars[i].ma1, c.expected[i]) << "period " << c.period << " bar " << i;
      EXPECT_EQ(full.bars[i].ma3, c.expected[i]) << "period " << c.period << " bar " << i;
      EXPECT_EQ(grown.bars[i].ma1, c.expected[i]) << "period " << c.period << " bar " << i;
    }
    EXPECT_EQ(full.bars[4].ma2, 13);  // the averages are independent
  }
}

TEST(KD, FirstBarOfAFreshSeriesStartsFromFifty) {
  KLineSeries s;
  for (int i = 0; i < 8; ++i) s.bars.push_back(Bar(110, 90, 100));
  s.bars.push_back(Bar(120, 95, 120));  // close at the window's high: RSV 100
  s.bars[3].k = 7.0f;                   // before the start: kept, not reset
  RecomputeKD(s, Params(6, 6, 6, 9, 12, 24, 9));
  EXPECT_NEAR(s.bars[8].k, 66.67f, 0.005f);
  EXPECT_NEAR(s.bars[8].d, 55.56f, 0.005f);
  EXPECT_EQ(s.bars[7].k, 0.0f);
  EXPECT_EQ(s.bars[3].k, 7.0f);
}

TEST(KD, RsvIsTheCloseWithinTheWindowRange) {
  KLineSeries s;
  s.bars = {Bar(110, 100, 105), Bar(108, 90, 95)};  // HH 110, LL 90, RSV 25
  UpdateLastKD(s, Params(6, 6, 6, 2, 12, 24, 9));
  EXPECT_NEAR(s.bars[1].k, 50.0f * 2 / 3 + 25.0f / 3, 1e-4);
  EXPECT_NEAR(s.bars[1].d, 50.0f * 2 / 3 + s.bars[1].k / 3, 1e-4);
}

TEST(KD, FlatWindowKeepsThePreviousK) {
  KLineSeries fresh = Flat({100, 100, 100});
  RecomputeKD(fresh, Params(6, 6, 6, 3, 12, 24, 9));
  EXPECT_NEAR(fresh.bars[2].k, 50.0f, 1e-4);
  EXPECT_NEAR(fresh.bars[2].d, 50.0f, 1e-4);

  KLineSeries running = Flat({100, 100, 100});
  running.bars[1].k = 80.0f;
  running.bars[1].d = 20.0f;
  UpdateLastKD(running, Params(6, 6, 6, 2, 12, 24, 9));
  EXPECT_NEAR(running.bars[2].k, 80.0f, 1e-4);
  EXPECT_NEAR(running.bars[2].d, 40.0f, 1e-4);
}

TEST(KD, WindowsBelowTwoStartAtBarZeroWithoutAPreviousBar) {
  for (int32_t window : {1, 0, -3}) {
    KLineSeries full;
    full.bars = {Bar(110, 90, 100), Bar(120, 100, 120)};
    RecomputeKD(full, Params(6, 6, 6, window, 12, 24, 9));
    EXPECT_NEAR(full.bars[0].k, 50.0f, 1e-4) << window;  // RSV 50 from prevK 50
    EXPECT_NEAR(full.bars[1].k, 50.0f * 2 / 3 + 100.0f / 3, 1e-3) << window;

    KLineSeries last;
    last.bars = {Bar(110, 90, 100)};
    UpdateLastKD(last, Params(6, 6, 6, window, 12, 24, 9));
    EXPECT_EQ(Bits(last.bars[0].k), Bits(full.bars[0].k)) << window;
  }
}

TEST(MACD, StartsAtTheLongPeriodWithSeedsEndingAtThatBar) {
  std::vector<uint32_t> prices;
  for (uint32_t i = 0; i < 30; ++i) prices.push_back(100 + i);
  KLineSeries s = Flat(prices);
  RecomputeMACD(s, Params(6, 6, 6, 9, 12, 24, 9));

  for (int i = 0; i < 23; ++i) {
    EXPECT_EQ(s.bars[i].emaShort, 0.0f) << i;
    EXPECT_EQ(s.bars[i].macd, 0.0f) << i;
  }
  const double seedShort = 117.5;  // bars 12..23
  const double seedLong = 111.5;   // bars 0..23
  const double emaShort = (seedShort * 11 + 123 * 2) / 13;
  const double emaLong = (seedLong * 23 + 123 * 2) / 25;
  const double dif = emaShort - emaLong;
  const double macd = ((seedShort - seedLong) * 8 + dif * 2) / 10;
  EXPECT_NEAR(s.bars[23].emaShort, emaShort, 1e-3);
  EXPECT_NEAR(s.bars[23].emaLong, emaLong, 1e-3);
  EXPECT_NEAR(s.bars[23].dif, dif, 1e-3);
  EXPECT_NEAR(s.bars[23].macd, macd, 1e-3);
  // The next bar continues from the stored values, without seeding again.
  EXPECT_NEAR(s.bars[24].emaShort, (s.bars[23].emaShort * 11 + 124 * 2) / 13, 1e-3);
  EXPECT_NEAR(s.bars[24].macd, (s.bars[23].macd * 8 + s.bars[24].dif * 2) / 10, 1e-3);
}

TEST(MACD, SeedWindowsLongerThanTheSeriesUseTheBarsThere) {
  // Short period above the long one: the short seed cannot reach before bar 0.
  KLineSeries s = Flat({100, 101, 102, 103, 104, 105});
  RecomputeMACD(s, Params(6, 6, 6, 9, 30, 5, 9));
  EXPECT_EQ(s.bars[3].emaShort, 0.0f);
  EXPECT_NEAR(s.bars[4].emaShort, (102.0 * 29 + 104 * 2) / 31, 1e-3);
  EXPECT_NEAR(s.bars[4].emaLong, (102.0 * 4 + 104 * 2) / 6, 1e-3);

  // Periods of 1 (and below) start at bar 0, seeded from that bar alone.
  for (int32_t period : {1, 0, -2}) {
    KLineSeries one = Flat({100, 104});
    RecomputeMACD(one, Params(6, 6, 6, 9, period, period, period));
    EXPECT_EQ(one.bars[0].emaShort, 100.0f) << period;
    EXPECT_EQ(one.bars[0].emaLong, 100.0f) << period;
    EXPECT_EQ(one.bars[1].emaShort, 104.0f) << period;
    EXPECT_EQ(one.bars[1].dif, 0.0f) << period;
  }
}

TEST(Pivots, FloorLevelsFromThePreviousBar) {
  const struct {
    uint32_t high, low, close;
    int32_t pivot, r1, r2, s1, s2;
  } cases[] = {
      {105, 95, 100, 100, 105, 110, 95, 90},
      {106, 95, 100, 100, 105, 111, 94, 89},  // 301 / 3 truncates to 100
      {106, 96, 100, 100, 104, 110, 94, 90},  // 302 / 3 too
      {100, 100, 100, 100, 100, 100, 100, 100},
  };
  for (const auto& c : cases) {
    KLineSeries full;
    full.bars = {Bar(c.high, c.low, c.close), Bar(1, 1, 1)};
    RecomputePivots(full);
    KLineSeries last = full;
    last.bars[1] = Bar(1, 1, 1);
    UpdateLastPivots(last);
    for (const KLineSeries* s : {&full, &last}) {
      const _KLINEDATA& b = s->bars[1];
      EXPECT_EQ(b.pivot, c.pivot);
      EXPECT_EQ(b.r1, c.r1);
      EXPECT_EQ(b.r2, c.r2);
      EXPECT_EQ(b.s1, c.s1);
      EXPECT_EQ(b.s2, c.s2);
      EXPECT_EQ(s->bars[0].pivot, 0);
    }
  }
  KLineSeries single;
  single.bars = {Bar(105, 95, 100)};
  UpdateLastPivots(single);
  EXPECT_EQ(single.bars[0].pivot, 0);
}

TEST(IndicatorParamsFor, ReadsThePeriodsOwnTechKeys) {
  AppSettings s;
  s.DAYK_AVG1_PARA = 1, s.DAYK_AVG2_PARA = 2, s.DAYK_AVG3_PARA = 3, s.DAYK_KD_PARA = 4;
  s.DAYK_MACD_DIF1 = 5, s.DAYK_MACD_DIF2 = 6, s.DAYK_MACD_PARA = 7;
  s.MIN1K_AVG1_PARA = 11, s.MIN1K_AVG2_PARA = 12, s.MIN1K_AVG3_PARA = 13, s.MIN1K_KD_PARA = 14;
  s.MIN1K_MACD_DIF1 = 15, s.MIN1K_MACD_DIF2 = 16, s.MIN1K_MACD_PARA = 17;
  s.MIN5K_AVG1_PARA = 21, s.MIN5K_AVG2_PARA = 22, s.MIN5K_AVG3_PARA = 23, s.MIN5K_KD_PARA = 24;
  s.MIN5K_MACD_DIF1 = 25, s.MIN5K_MACD_DIF2 = 26, s.MIN5K_MACD_PARA = 27;
  s.MIN30K_AVG1_PARA = 31, s.MIN30K_AVG2_PARA = 32, s.MIN30K_AVG3_PARA = 33;
  s.MIN30K_KD_PARA = 34, s.MIN30K_MACD_DIF1 = 35, s.MIN30K_MACD_DIF2 = 36;
  s.MIN30K_MACD_PARA = 37;
  const PeriodParams all = IndicatorParamsForAll(s);
  for (KPeriod period : kAllPeriods) {
    const uint32_t base = 10 * static_cast<uint32_t>(period);
    const IndicatorParams& p = all[static_cast<size_t>(period)];
    EXPECT_EQ(p.avg[0], base + 1);
    EXPECT_EQ(p.avg[1], base + 2);
    EXPECT_EQ(p.avg[2], base + 3);
    EXPECT_EQ(p.kd, static_cast<int32_t>(base + 4));
    EXPECT_EQ(p.dif1, static_cast<int32_t>(base + 5));
    EXPECT_EQ(p.dif2, static_cast<int32_t>(base + 6));
    EXPECT_EQ(p.signal, static_cast<int32_t>(base + 7));
  }
}

// A random walk with flat stretches (highest high = lowest low) and ticks that
// move the last bar, built bar by bar and tick by tick with the last-bar forms,
// must match a full recompute of the same prices in every bit.
TEST(IndicatorForms, LastBarAndFullFormsAgreeBitForBit) {
  const struct {
    const char* name;
    IndicatorParams params;
  } cases[] = {
      {"defaults", IndicatorParams{}},
      {"periods of 1", Params(1, 1, 1, 1, 1, 1, 1)},
      {"longer than the series", Params(5000, 2, 7, 5000, 12, 5000, 9)},
      {"short at or above long", Params(3, 4, 5, 2, 30, 10, 2)},
      {"equal short and long", Params(3, 4, 5, 3, 8, 8, 3)},
      {"zeros", Params(0, 3, 0, 0, 0, 0, 0)},
      {"negative settings", Params(4294967295u, 10, 60, -3, -1, -2, -5)},
  };
  constexpr int kBars = 3000;
  for (const auto& c : cases) {
    std::minstd_rand rng(20240315);
    KLineSeries grown;
    uint32_t price = 8000;
    bool sawNonZeroK = false;
    for (int i = 0; i < kBars; ++i) {
      const bool flat = (i / 40) % 12 == 5;  // 40 bars without a price change
      grown.bars.push_back(Bar(price, price, price));
      UpdateLastMovingAverages(grown, c.params);
      UpdateLastKD(grown, c.params);
      UpdateLastMACD(grown, c.params);
      UpdateLastPivots(grown);
      const int ticks = static_cast<int>(rng() % 6);
      for (int t = 0; t < ticks; ++t) {
        if (!flat) price = static_cast<uint32_t>(price + rng() % 11) - 5;
        _KLINEDATA& last = grown.bars.back();
        last.high = std::max(last.high, price);
        last.low = std::min(last.low, price);
        last.close = price;
        UpdateLastMovingAverages(grown, c.params);
        UpdateLastKD(grown, c.params);
        UpdateLastMACD(grown, c.params);
      }
      sawNonZeroK = sawNonZeroK || grown.bars.back().k != 0.0f;
    }
    KLineSeries full;
    for (const _KLINEDATA& b : grown.bars) full.bars.push_back(Bar(b.high, b.low, b.close));
    RecomputeAllIndicators(full, c.params);

    int mismatches = 0;
    for (int i = 0; i < kBars && mismatches < 3; ++i) {
      const auto same = SameIndicators(grown.bars[i], full.bars[i]);
      if (!same) ++mismatches;
      EXPECT_TRUE(same) << c.name << " bar " << i;
    }
    if (c.params.kd < kBars) {
      EXPECT_TRUE(sawNonZeroK) << c.name;
    }
  }
}

}  // namespace
}  // namespace kestrel
