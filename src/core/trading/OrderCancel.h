#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trading/TradeContext.h"

namespace kestrel {

// Cancels from the account window, the ladder panel's buttons and its cells.
// A cancel writes no order-report line; each ends with RefreshTradeStatus.
// Sides are 1 (buy) and 2 (sell). Not thread-safe (user-interface thread only).

// The pending tab's "刪單": the orders of the given numbers (its ticked rows).
void CancelByNumber(TradeContext& ctx, const std::vector<std::string>& numbers);

// The pending tab's "全刪": every pending row, then both sides as CancelSide.
void CancelAllPending(TradeContext& ctx);

// "買單全刪" / "賣單全刪": the side's pending rows and every trigger of that side.
void CancelSide(TradeContext& ctx, int32_t side);

// A ladder delete column: the side's pending orders at that price.
void CancelAtPrice(TradeContext& ctx, int32_t side, int32_t price);

// A right click on a ladder trigger column: the side's triggers at that price.
void CancelTriggersAtPrice(TradeContext& ctx, int32_t side, int32_t price);

}  // namespace kestrel
