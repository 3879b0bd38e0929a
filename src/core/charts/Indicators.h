#pragma once

#include <cstdint>

#include "tradingday/KLineData.h"

namespace kestrel {

struct AppSettings;

// One period's indicator parameters, from the [TECH] settings.
struct IndicatorParams {
  uint32_t avg[3] = {6, 6, 6};  // moving-average periods
  int32_t kd = 9;                // KD window
  int32_t dif1 = 12;             // MACD short period
  int32_t dif2 = 24;             // MACD long period
  int32_t signal = 9;            // MACD signal period
};

IndicatorParams IndicatorParamsFor(const AppSettings& settings, KPeriod period);

// Full recomputes of every indicator of a series, as after a load.
void RecomputeAllIndicators(KLineSeries& series, const IndicatorParams& params);

}  // namespace kestrel
