#pragma once

#include <memory>

#include "app/AppConfig.h"
#include "charts/ChartViewState.h"
#include "panels/StockListModel.h"
#include "panels/TickListModel.h"
#include "panels/TickListTradeSink.h"
#include "replay/ReplayClock.h"
#include "replay/ReplayEngine.h"
#include "replay/TrainingNotes.h"
#include "trading/AccountFigures.h"
#include "trading/AccountWindowRows.h"
#include "trading/TradeContext.h"
#include "trading/TradeState.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

class MonotonicClock;

// The sinks through which the core reaches the windows. A headless run leaves
// them at their no-op defaults.
struct TrainerSinks {
  ReplaySink* replay = nullptr;
  TradeSink* trade = nullptr;
  KLineSink* kline = nullptr;
};

// Everything the trainer has exactly one of: the configuration, the loaded day,
// the replay clock, the order store and account, the chart views, the list
// models, the training notes, and the replay engine bound to all of them. The
// application (or the headless simulator) creates one and passes it by
// reference; a test builds a fresh one. Not copyable; not thread-safe (user-
// interface thread only).
class TrainerContext {
 public:
  TrainerContext(AppConfig config, MonotonicClock& time, TrainerSinks sinks = {});
  TrainerContext(const TrainerContext&) = delete;
  TrainerContext& operator=(const TrainerContext&) = delete;

  AppConfig config;
  AppSettings& settings;  // config.settings
  std::unique_ptr<TradingDay> day;
  ReplayClock clock;
  TradeState trades;
  AccountFigures account;
  AccountWindowRows accountRows;
  ChartViews views;
  TickListModel tickList;
  StockListModel stockList;
  TrainingSchedule notes;

 private:
  ReplaySink defaultReplaySink_;
  TradeSink defaultTradeSink_;
  KLineSink defaultKLineSink_;
  TickListTradeSink fillsToTickList_;  // user fills also land in the tick list

 public:
  TradeContext trade;
  ReplayEngine engine;
};

}  // namespace kestrel
