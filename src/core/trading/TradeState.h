#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// Order sides as stored in `_Orders::side`.
inline constexpr int32_t kSideBuy = 1;
inline constexpr int32_t kSideSell = 2;
inline constexpr int32_t kSideBuyTrigger = 3;
inline constexpr int32_t kSideSellTrigger = 4;

// Prices that stand for "at any price".
inline constexpr int32_t kMarketBuyPrice = 65535;
inline constexpr int32_t kMarketSellPrice = 0;

// `openClose` values.
inline constexpr int32_t kNotFilled = 0;
inline constexpr int32_t kOpening = 1;  // 新倉
inline constexpr int32_t kClosing = 2;  // 平倉

// `lastDealKind` values (colour of the deal-report pane).
inline constexpr int32_t kDealKindBuy = 1;
inline constexpr int32_t kDealKindSell = 2;
inline constexpr int32_t kDealKindClose = 3;

// One record type for every order, trigger order, open lot and deal. Copied by
// value into and out of the lists. Plain value; not thread-safe.
struct _Orders {
  std::string no;         // "%04d" of the order-number counter
  std::string orderTime;  // clock text at placement (or when a trigger fired)
  std::string product;    // "大台指" or "小台指" as shown with the order
  std::string fillTime;   // clock text of the fill; empty until filled
  int32_t price = 0;      // 65535 market buy, 0 market sell; trigger price for 3 and 4
  int32_t fillPrice = 0;  // fill price; a lot's entry price
  int32_t qty = 0;        // lots; in a deal, the lots of that deal
  int32_t side = 0;       // 1 buy, 2 sell, 3 buy trigger, 4 sell trigger
  int32_t mode = 0;       // 1 for pending orders; a trigger's direction
  int32_t openClose = kNotFilled;

  bool operator==(const _Orders&) const = default;
};

// What a quote pass depends on: the quote, the last price, the list sizes and
// the money figures of the status line.
struct QuoteFigures {
  int32_t bid = 0, ask = 0, last = 0, pointValue = 0;
  int64_t realisedPnl = 0;
  std::array<size_t, 5> listSizes{};

  bool operator==(const QuoteFigures&) const = default;
};

// The order store: five ordered lists (index 0 is the oldest), the order-number
// counter and the quantities derived from the lists. Plain data owned by the
// application context; not thread-safe (user-interface thread only).
struct TradeState {
  std::vector<_Orders> PendingOrders;
  std::vector<_Orders> TriggerOrders;
  std::vector<_Orders> LongPositions;
  std::vector<_Orders> ShortPositions;
  std::vector<_Orders> DealRecords;

  // Runs on across replayed days; set to 1 when the trading panels are created.
  int32_t nextOrderNo = 1;

  // Refreshed by RefreshTradeStatus.
  int32_t pendingBuyQty = 0;
  int32_t pendingSellQty = 0;
  int32_t longQty = 0;
  int32_t shortQty = 0;
  int32_t dealQty = 0;

  int32_t lastDealKind = 0;

  // The figures the last quote pass ended under. A pass walks until nothing
  // fires, so under the same figures another pass fires nothing and shows the
  // same status. Cleared by anything else that changes the lists.
  std::optional<QuoteFigures> quietQuote;

  // Takes the current counter value as "%04d" and advances the counter.
  std::string TakeOrderNo();

  // Empties the five lists (and forgets the quiet quote); the counter keeps its value.
  void ClearLists();
};

// Sum of `qty` over a list, saturated to 32 bits; optionally only one side.
int32_t SumQty(const std::vector<_Orders>& list);
int32_t SumQty(const std::vector<_Orders>& list, int32_t side);

bool IsBuySide(int32_t side);  // 1 or 3
bool IsMarketPrice(int32_t price);

// "買進" for a buy (1 or 3), "賣出" otherwise.
const char* SideText(int32_t side);

// "%d" of a number, saturated to 32 bits.
std::string IntText(int64_t value);

// Saturates to the 32-bit range.
int32_t Saturate32(int64_t value);

}  // namespace kestrel
