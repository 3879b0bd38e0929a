#pragma once

#include <string>

#include "trading/TradeContext.h"

namespace kestrel {

// Matching of the pending orders against the replayed market. Each pass fires
// every eligible order once, oldest first; an order fills completely at a price
// taken from the quote, offsetting opposite lots first-in first-out and opening
// a lot with the rest. A side whose quote is 0 or less has no quote: orders that
// need it wait. Not thread-safe (user-interface thread only).

// One pass against the best bid and ask (heartbeats without a due tick).
void MatchAtQuote(TradeContext& ctx, const std::string& clockText);

// One pass against the last trade price (after every processed tick, and by the
// day-end close).
void MatchAtTrade(TradeContext& ctx, const std::string& clockText);

// Turns trigger orders whose price the last trade reached into pending market
// orders stamped `clockText`; they fill in the next pass.
void FireTriggers(TradeContext& ctx, const std::string& clockText);

// Recomputes the derived quantities and floatingPnl and writes status pane 0.
void RefreshTradeStatus(TradeContext& ctx);

// The status pane 0 text for the current figures.
std::string TradeStatusText(const TradeState& state, const AccountFigures& account);

}  // namespace kestrel
