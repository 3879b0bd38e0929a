#pragma once

#include <cstdint>
#include <string>

#include "trading/TradeContext.h"

namespace kestrel {

// The account-window and order-report effects shared by matching, entry and
// cancels: each edits the rows and tells the sink what changed. Not thread-safe
// (user-interface thread only).
void AccountAddOrder(TradeContext& ctx, const _Orders& order);
void AccountAddPending(TradeContext& ctx, const _Orders& order);
void AccountSetOrderStatus(TradeContext& ctx, const std::string& no, int code);
void AccountRemovePending(TradeContext& ctx, const std::string& no);
void AccountRefreshOpenLots(TradeContext& ctx);
void AccountAddDeal(TradeContext& ctx, const _Orders& deal, int32_t qty, int32_t referencePrice);

// One order-report line with `productName`; the colour code follows the texts.
void ReportOrderLine(TradeContext& ctx, const std::string& time, int32_t side,
                     const std::string& price, const std::string& lots, const std::string& status);

// The fast panel's count boxes from the pending list as it is now.
void ShowPendingCounts(TradeContext& ctx);

// Empties the four account-window lists, as when a replay is opened or a fast
// playback begins.
void ClearAccountWindow(TradeContext& ctx);

}  // namespace kestrel
