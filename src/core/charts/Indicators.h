#pragma once

#include <array>
#include <cstdint>

#include "tradingday/KLineData.h"

namespace kestrel {

struct AppSettings;

// One period's indicator parameters, from the [TECH] settings.
struct IndicatorParams {
  uint32_t avg[3] = {6, 6, 6};  // moving-average periods
  int32_t kd = 9;               // KD window
  int32_t dif1 = 12;            // MACD short period
  int32_t dif2 = 24;            // MACD long period
  int32_t signal = 9;           // MACD signal period
};

// The parameters of the four periods, indexed by KPeriod.
using PeriodParams = std::array<IndicatorParams, 4>;

IndicatorParams IndicatorParamsFor(const AppSettings& settings, KPeriod period);
PeriodParams IndicatorParamsForAll(const AppSettings& settings);

// Window helpers. A window of `count` bars ends at `index` and never reaches
// before bar 0 or past the last bar.
// Largest high of the window (0 for an empty window).
uint32_t HighestHigh(const KLineSeries& series, int64_t index, int64_t count);
// Smallest low of the window (200000 for an empty window).
uint32_t LowestLow(const KLineSeries& series, int64_t index, int64_t count);
// (high + low + close + close) / 4, rounded to single precision.
float MacdPrice(const _KLINEDATA& bar);
// Average MACD price of the window, summed in single precision and divided by
// the number of bars the window really holds (0 for an empty series).
float MacdSeed(const KLineSeries& series, int64_t index, int64_t count);

// Each indicator in two forms with identical results: the full form writes
// every bar from the indicator's start index on, the last-bar form only the
// last bar. Bars before the start index are never reset.

// ma1..ma3: unsigned sum of the closes over the period, divided without
// fraction; 0 before the period is filled and everywhere for a period of 0.
void RecomputeMovingAverages(KLineSeries& series, const IndicatorParams& params);
void UpdateLastMovingAverages(KLineSeries& series, const IndicatorParams& params);

// k, d from bar (window - 1) on; a window below 1 is taken as 1. A window whose
// highest high equals its lowest low takes the previous K (50 when none) as
// its RSV, so K holds its level in a flat market.
void RecomputeKD(KLineSeries& series, const IndicatorParams& params);
void UpdateLastKD(KLineSeries& series, const IndicatorParams& params);

// emaShort, emaLong, dif, macd from bar (long period - 1) on; periods below 1
// are taken as 1. Zero previous values are seeded from the window averages.
void RecomputeMACD(KLineSeries& series, const IndicatorParams& params);
void UpdateLastMACD(KLineSeries& series, const IndicatorParams& params);

// Floor pivots of every bar from the bar before it; bar 0 keeps zeros.
void RecomputePivots(KLineSeries& series);
void UpdateLastPivots(KLineSeries& series);

// Full recomputes of every indicator of a series, as after a load.
void RecomputeAllIndicators(KLineSeries& series, const IndicatorParams& params);

}  // namespace kestrel
