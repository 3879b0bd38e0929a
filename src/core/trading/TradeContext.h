#pragma once

#include "trading/AccountFigures.h"
#include "trading/AccountWindowRows.h"
#include "trading/TradeSink.h"
#include "trading/TradeState.h"

namespace kestrel {

struct TradingDay;

// What the trading operations work on: the order store, the account figures and
// the account window's rows (all owned by the application context), the loaded
// day whose running quote they read, and the sink for pane effects. Binding
// references only; not thread-safe (user-interface thread only).
struct TradeContext {
  TradeState& state;
  AccountFigures& account;
  AccountWindowRows& rows;
  const TradingDay& day;
  TradeSink& sink;
};

}  // namespace kestrel
