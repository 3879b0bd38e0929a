#include "app/TrainerContext.h"

namespace kestrel {

TrainerContext::TrainerContext(AppConfig configIn, MonotonicClock& time, TrainerSinks sinks)
    : config(std::move(configIn)),
      settings(config.settings),
      day(std::make_unique<TradingDay>()),
      account(AccountFiguresFromSettings(config.settings)),
      fillsToTickList_(tickList, *day, sinks.trade != nullptr ? *sinks.trade : defaultTradeSink_),
      trade{trades, account, accountRows, *day, fillsToTickList_},
      engine(ReplayContext{*day, clock, time, trade, settings, views, tickList, stockList, notes,
                           sinks.replay != nullptr ? *sinks.replay : defaultReplaySink_,
                           sinks.kline != nullptr ? *sinks.kline : defaultKLineSink_}) {
  clock = InitialReplayClock(settings);
  tickList.SetBottomUp(settings.SCROLLTYPE == 1);
  views.view[0].mode = settings.DRAW1_VIEWMODE;
  views.view[1].mode = settings.DRAW2_VIEWMODE;
}

}  // namespace kestrel
