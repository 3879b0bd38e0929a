#include "charts/Indicators.h"

#include <algorithm>

#include "app/AppSettings.h"

namespace kestrel {

namespace {

using Bars = std::vector<_KLINEDATA>;

constexpr uint32_t kLowestLowStart = 200000;

// Settings are not checked against the dialog limits; a period below 1 has no
// meaning for a window or an EMA.
int64_t AtLeastOne(int32_t period) {
  return period < 1 ? 1 : period;
}

// The bars [first, last] of a window of `count` ending at `index`, clipped to
// the series; empty when first > last.
struct Window {
  int64_t first;
  int64_t last;
};

Window ClipWindow(const Bars& bars, int64_t index, int64_t count) {
  const int64_t size = static_cast<int64_t>(bars.size());
  const int64_t last = std::min(index, size - 1);
  const int64_t first = std::max<int64_t>(0, index - count + 1);
  if (count < 1 || last < 0) return {1, 0};
  return {first, last};
}

// The fields of one moving average.
constexpr int32_t _KLINEDATA::*kAverageFields[3] = {&_KLINEDATA::ma1, &_KLINEDATA::ma2,
                                                    &_KLINEDATA::ma3};

bool AverageDefined(int64_t index, uint32_t period) {
  return period != 0 && index + 1 >= static_cast<int64_t>(period);
}

int32_t AverageAt(const Bars& bars, int64_t index, uint32_t period) {
  uint32_t sum = 0;  // wraps like the unsigned sum it stands for
  for (int64_t j = index - period + 1; j <= index; ++j) sum += bars[j].close;
  return static_cast<int32_t>(sum / period);
}

void KDAt(KLineSeries& series, int64_t i, int64_t window) {
  Bars& bars = series.bars;
  const uint32_t hh = HighestHigh(series, i, window);
  const uint32_t ll = LowestLow(series, i, window);
  // Bar 0 has no previous bar: it starts from the neutral 50 like a fresh one.
  float prevK = i > 0 ? bars[i - 1].k : 0.0f;
  float prevD = i > 0 ? bars[i - 1].d : 0.0f;
  if (prevK == 0.0f) prevK = 50.0f;
  if (prevD == 0.0f) prevD = 50.0f;

  float rsv = prevK;
  if (hh != ll) {
    const double above = static_cast<double>(static_cast<int64_t>(bars[i].close) - ll);
    const double span = static_cast<double>(static_cast<int64_t>(hh) - ll);
    const float ratio = static_cast<float>(above / span);
    rsv = ratio * 100.0f;
  }
  // Every step rounded to single precision, so both forms agree bit for bit.
  const float kOld = prevK * 2.0f / 3.0f;
  const float kNew = rsv / 3.0f;
  const float k = kOld + kNew;
  const float dOld = prevD * 2.0f / 3.0f;
  const float dNew = k / 3.0f;
  const float d = dOld + dNew;
  bars[i].k = k;
  bars[i].d = d;
}

float Ema(float previous, float value, int64_t period) {
  const float kept = previous * static_cast<float>(period - 1);
  const float added = value * 2.0f;
  const float sum = kept + added;
  return sum / static_cast<float>(period + 1);
}

void MacdAt(KLineSeries& series, int64_t i, int64_t shortPeriod, int64_t longPeriod,
            int64_t signalPeriod) {
  Bars& bars = series.bars;
  float prevS = i > 0 ? bars[i - 1].emaShort : 0.0f;
  float prevL = i > 0 ? bars[i - 1].emaLong : 0.0f;
  float prevSig = i > 0 ? bars[i - 1].macd : 0.0f;
  // The seed windows end at the current bar.
  if (prevS == 0.0f) prevS = MacdSeed(series, i, shortPeriod);
  if (prevL == 0.0f) prevL = MacdSeed(series, i, longPeriod);
  if (prevSig == 0.0f) prevSig = prevS - prevL;

  const float price = MacdPrice(bars[i]);
  const float emaShort = Ema(prevS, price, shortPeriod);
  const float emaLong = Ema(prevL, price, longPeriod);
  const float dif = emaShort - emaLong;
  const float signal = Ema(prevSig, dif, signalPeriod);
  bars[i].emaShort = emaShort;
  bars[i].emaLong = emaLong;
  bars[i].dif = dif;
  bars[i].macd = signal;
}

void PivotsAt(Bars& bars, int64_t i) {
  const _KLINEDATA& prev = bars[i - 1];
  const uint32_t h = prev.high, l = prev.low, c = prev.close;
  // Unsigned arithmetic as the price fields are; the results are whole numbers.
  const uint32_t pivot = (h + l + c) / 3;
  const uint32_t span = h - l;
  _KLINEDATA& bar = bars[i];
  bar.pivot = static_cast<int32_t>(pivot);
  bar.r1 = static_cast<int32_t>(2 * pivot - l);
  bar.s1 = static_cast<int32_t>(2 * pivot - h);
  bar.r2 = static_cast<int32_t>(pivot + span);
  bar.s2 = static_cast<int32_t>(pivot - span);
}

int64_t LastIndex(const KLineSeries& series) {
  return static_cast<int64_t>(series.bars.size()) - 1;
}

}  // namespace

IndicatorParams IndicatorParamsFor(const AppSettings& s, KPeriod period) {
  IndicatorParams p;
  auto fill = [&p](int32_t a1, int32_t a2, int32_t a3, int32_t kd, int32_t dif1, int32_t dif2,
                   int32_t signal) {
    p.avg[0] = static_cast<uint32_t>(a1);
    p.avg[1] = static_cast<uint32_t>(a2);
    p.avg[2] = static_cast<uint32_t>(a3);
    p.kd = kd;
    p.dif1 = dif1;
    p.dif2 = dif2;
    p.signal = signal;
  };
  switch (period) {
    case KPeriod::Day:
      fill(s.DAYK_AVG1_PARA, s.DAYK_AVG2_PARA, s.DAYK_AVG3_PARA, s.DAYK_KD_PARA, s.DAYK_MACD_DIF1,
           s.DAYK_MACD_DIF2, s.DAYK_MACD_PARA);
      break;
    case KPeriod::Min1:
      fill(s.MIN1K_AVG1_PARA, s.MIN1K_AVG2_PARA, s.MIN1K_AVG3_PARA, s.MIN1K_KD_PARA,
           s.MIN1K_MACD_DIF1, s.MIN1K_MACD_DIF2, s.MIN1K_MACD_PARA);
      break;
    case KPeriod::Min5:
      fill(s.MIN5K_AVG1_PARA, s.MIN5K_AVG2_PARA, s.MIN5K_AVG3_PARA, s.MIN5K_KD_PARA,
           s.MIN5K_MACD_DIF1, s.MIN5K_MACD_DIF2, s.MIN5K_MACD_PARA);
      break;
    case KPeriod::Min30:
      fill(s.MIN30K_AVG1_PARA, s.MIN30K_AVG2_PARA, s.MIN30K_AVG3_PARA, s.MIN30K_KD_PARA,
           s.MIN30K_MACD_DIF1, s.MIN30K_MACD_DIF2, s.MIN30K_MACD_PARA);
      break;
  }
  return p;
}

PeriodParams IndicatorParamsForAll(const AppSettings& settings) {
  PeriodParams all;
  for (KPeriod p : kAllPeriods) all[static_cast<size_t>(p)] = IndicatorParamsFor(settings, p);
  return all;
}

uint32_t HighestHigh(const KLineSeries& series, int64_t index, int64_t count) {
  const Window w = ClipWindow(series.bars, index, count);
  uint32_t highest = 0;
  for (int64_t j = w.first; j <= w.last; ++j) highest = std::max(highest, series.bars[j].high);
  return highest;
}

uint32_t LowestLow(const KLineSeries& series, int64_t index, int64_t count) {
  const Window w = ClipWindow(series.bars, index, count);
  uint32_t lowest = kLowestLowStart;
  for (int64_t j = w.first; j <= w.last; ++j) lowest = std::min(lowest, series.bars[j].low);
  return lowest;
}

float MacdPrice(const _KLINEDATA& bar) {
  const uint32_t sum = bar.high + bar.low + bar.close + bar.close;
  return static_cast<float>(static_cast<double>(sum) / 4.0);
}

float MacdSeed(const KLineSeries& series, int64_t index, int64_t count) {
  // A window longer than the bars before it averages the bars it really has.
  const Window w = ClipWindow(series.bars, index, std::max<int64_t>(count, 1));
  if (w.first > w.last) return 0.0f;
  float sum = 0.0f;
  for (int64_t j = w.first; j <= w.last; ++j) sum += MacdPrice(series.bars[j]);
  return sum / static_cast<float>(w.last - w.first + 1);
}

void RecomputeMovingAverages(KLineSeries& series, const IndicatorParams& params) {
  for (int a = 0; a < 3; ++a) {
    const uint32_t n = params.avg[a];
    const auto field = kAverageFields[a];
    for (int64_t i = 0; i <= LastIndex(series); ++i)
      series.bars[i].*field = AverageDefined(i, n) ? AverageAt(series.bars, i, n) : 0;
  }
}

void UpdateLastMovingAverages(KLineSeries& series, const IndicatorParams& params) {
  const int64_t last = LastIndex(series);
  for (int a = 0; a < 3; ++a) {
    const uint32_t n = params.avg[a];
    if (AverageDefined(last, n))
      series.bars[last].*kAverageFields[a] = AverageAt(series.bars, last, n);
  }
}

void RecomputeKD(KLineSeries& series, const IndicatorParams& params) {
  const int64_t window = AtLeastOne(params.kd);
  for (int64_t i = window - 1; i <= LastIndex(series); ++i) KDAt(series, i, window);
}

void UpdateLastKD(KLineSeries& series, const IndicatorParams& params) {
  const int64_t window = AtLeastOne(params.kd);
  const int64_t last = LastIndex(series);
  if (last >= window - 1) KDAt(series, last, window);
}

void RecomputeMACD(KLineSeries& series, const IndicatorParams& params) {
  const int64_t s = AtLeastOne(params.dif1), l = AtLeastOne(params.dif2);
  const int64_t m = AtLeastOne(params.signal);
  for (int64_t i = l - 1; i <= LastIndex(series); ++i) MacdAt(series, i, s, l, m);
}

void UpdateLastMACD(KLineSeries& series, const IndicatorParams& params) {
  const int64_t s = AtLeastOne(params.dif1), l = AtLeastOne(params.dif2);
  const int64_t m = AtLeastOne(params.signal);
  const int64_t last = LastIndex(series);
  if (last >= l - 1) MacdAt(series, last, s, l, m);
}

void RecomputePivots(KLineSeries& series) {
  for (int64_t i = 1; i <= LastIndex(series); ++i) PivotsAt(series.bars, i);
}

void UpdateLastPivots(KLineSeries& series) {
  const int64_t last = LastIndex(series);
  if (last >= 1) PivotsAt(series.bars, last);
}

void RecomputeAllIndicators(KLineSeries& series, const IndicatorParams& params) {
  RecomputeMovingAverages(series, params);
  RecomputeKD(series, params);
  RecomputeMACD(series, params);
  RecomputePivots(series);
}

}  // namespace kestrel
