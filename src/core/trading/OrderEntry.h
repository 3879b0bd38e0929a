#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "trading/TradeContext.h"
#include "trading/UserMessage.h"

namespace kestrel {

// The panel whose lots box and product text an entry uses: the simple panel
// (its product box text; the easy panel acts on it) or the price-ladder panel
// (`productName`).
enum class EntryPanel { Simple, Fast };

// What the panel asking for an order supplies. Plain value; not thread-safe.
struct EntryInput {
  EntryPanel panel = EntryPanel::Simple;
  std::string lotsText;           // the panel's lots box, read as a decimal integer
  std::string simpleProductText;  // the simple panel's product box (Simple only)
  std::string clockText;          // the simulated clock text now
  bool studentMode = false;       // the classroom's order-size limits apply
};

// The outcome of an entry: placed, or refused with the message to show. Plain
// value; not thread-safe.
struct EntryResult {
  bool placed = false;
  std::string orderNo;                 // number of the placed order
  std::optional<UserMessage> refusal;  // shown by the caller in a box
  bool resetLotsBox = false;           // the caller sets the lots box to "1"
};

// Order entry: every panel button and ladder click ends here. Each checks its
// input, applies the student limits, stores the order and tells the account
// window, the order report and the ladder. Some paths use up an order number
// even when refused. Not thread-safe (user-interface thread only).

// Simple panel "送單": a limit order at the price box (side 1 buy, 2 sell).
EntryResult PlaceLimit(TradeContext& ctx, const EntryInput& input, int32_t side,
                       const std::string& priceText);

// "市價買" / "市價賣" of the simple and easy panels, "市價買進" / "市價賣出" and the
// arrow keys of the ladder panel (side 1 buy, 2 sell).
EntryResult PlaceMarket(TradeContext& ctx, const EntryInput& input, int32_t side);

// A click in a ladder's order or book column: a limit order at the row price.
EntryResult PlaceLadderLimit(TradeContext& ctx, const EntryInput& input, int32_t side,
                             int32_t price);

// A click in a ladder trigger column (side 1 buy trigger, 2 sell trigger).
EntryResult PlaceTrigger(TradeContext& ctx, const EntryInput& input, int32_t side, int32_t price);

}  // namespace kestrel
