#pragma once

#include "replay/ReplayClock.h"
#include "replay/ReplaySink.h"

namespace kestrel {

struct AppSettings;
struct ChartViews;
class KLineSink;
class MonotonicClock;
class StockListModel;
class TickListModel;
struct TradeContext;
struct TradingDay;
struct TrainingSchedule;

// What the replay works on: the day, the clock and its time source, the
// trading engine, the settings (RUN_SPEED, SCROLLTYPE, indicator periods), the
// chart views, the two list models, the training notes and the view sinks.
// Binding references only, all owned by the application context; not
// thread-safe (user-interface thread only).
struct ReplayContext {
  TradingDay& day;
  ReplayClock& clock;
  MonotonicClock& time;
  TradeContext& trade;
  AppSettings& settings;
  ChartViews& views;
  TickListModel& tickList;
  StockListModel& stockList;
  TrainingSchedule& notes;
  ReplaySink& sink;
  KLineSink& klineSink;
};

}  // namespace kestrel
