#pragma once

#include <cstdint>
#include <memory>

#include "app/AppConfig.h"
#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "tradingday/TradingDay.h"

namespace kestrel::daygen {

// One headless trainer around a copy of a loaded day, on a manual clock that
// starts at startMs, with the charts in their intraday modes. For benchmarks
// and tests that replay generated days.
struct HeadlessTrainer {
  explicit HeadlessTrainer(const TradingDay& loaded, uint32_t startMs = 0)
      : time(startMs),
        ctx(DefaultAppConfig(), time),
        day(ctx.day),
        clock(ctx.clock),
        engine(ctx.engine),
        tickList(ctx.tickList),
        views(ctx.views) {
    *day = loaded;
    views.view[0].mode = 8;
    views.view[1].mode = 9;
    ctx.stockList.Refill(*day);
  }

  // Heartbeats 10 ms apart until the session pauses or `until` returns true;
  // returns how many ran.
  template <typename Until>
  int64_t Run(Until until) {
    int64_t heartbeats = 0;
    while (clock.sessionRunning && !clock.sessionPaused && !until()) {
      time.Advance(10);
      engine.Heartbeat();
      ++heartbeats;
    }
    return heartbeats;
  }
  int64_t Run() {
    return Run([] { return false; });
  }

  ManualClock time;
  TrainerContext ctx;
  std::unique_ptr<TradingDay>& day;
  ReplayClock& clock;
  ReplayEngine& engine;
  TickListModel& tickList;
  ChartViews& views;
};

}  // namespace kestrel::daygen
