#include "trading/OrderCancel.h"

#include <algorithm>
#include <optional>

#include "trading/OrderMatcher.h"
#include "trading/PaneEffects.h"

namespace kestrel {

namespace {

// Removes the first pending order with that number; returns it when found.
std::optional<_Orders> TakePending(TradeState& s, const std::string& no) {
  auto it = std::find_if(s.PendingOrders.begin(), s.PendingOrders.end(),
                         [&](const _Orders& o) { return o.no == no; });
  if (it == s.PendingOrders.end()) return std::nullopt;
  _Orders o = *it;
  s.PendingOrders.erase(it);
  return o;
}

// Cancels the order behind one pending row and deletes the row.
void CancelRow(TradeContext& ctx, const std::string& no, bool updateLadder) {
  const std::optional<_Orders> o = TakePending(ctx.state, no);
  if (o && updateLadder && !IsMarketPrice(o->price))
    ctx.sink.AddLadderPending(o->side, o->price, -o->qty);
  AccountSetOrderStatus(ctx, no, kStatusCancelled);
  AccountRemovePending(ctx, no);
}

// Numbers of the pending rows whose cells satisfy `match`, top to bottom.
template <typename Match>
std::vector<std::string> PendingNumbers(const AccountWindowRows& rows, Match match) {
  std::vector<std::string> numbers;
  for (const AccountRow& row : rows.pending)
    if (match(row.cells)) numbers.push_back(row.cells[kOrderNo]);
  return numbers;
}

}  // namespace

void CancelByNumber(TradeContext& ctx, const std::vector<std::string>& numbers) {
  for (const std::string& no : numbers) CancelRow(ctx, no, true);
  RefreshTradeStatus(ctx);
}

void CancelAllPending(TradeContext& ctx) {
  const auto all = PendingNumbers(ctx.rows, [](const auto&) { return true; });
  for (const std::string& no : all) CancelRow(ctx, no, false);
  CancelSide(ctx, kSideBuy);
  CancelSide(ctx, kSideSell);
}

void CancelSide(TradeContext& ctx, int32_t side) {
  const std::string sideText = SideText(side);
  const auto numbers = PendingNumbers(
      ctx.rows, [&](const std::vector<std::string>& c) { return c[kOrderSide] == sideText; });
  for (const std::string& no : numbers) CancelRow(ctx, no, false);
  ctx.sink.ClearLadderPendingColumn(side);
  const int32_t triggerSide = side == kSideBuy ? kSideBuyTrigger : kSideSellTrigger;
  std::erase_if(ctx.state.TriggerOrders, [&](const _Orders& t) { return t.side == triggerSide; });
  ctx.sink.ClearLadderTriggerColumn(side);
  ShowPendingCounts(ctx);
  RefreshTradeStatus(ctx);
}

void CancelAtPrice(TradeContext& ctx, int32_t side, int32_t price) {
  std::erase_if(ctx.state.PendingOrders,
                [&](const _Orders& o) { return o.side == side && o.price == price; });
  const std::string sideText = SideText(side);
  const std::string priceText = IntText(price);
  const auto sameCell = [&](const std::vector<std::string>& c) {
    return c[kOrderSide] == sideText && c[kOrderPrice] == priceText;
  };
  for (size_t i = 0; i < ctx.rows.orders.size(); ++i) {
    auto& cells = ctx.rows.orders[i].cells;
    if (sameCell(cells) && cells[kOrderStatus] == OrderStatusText(kStatusWaiting)) {
      cells[kOrderStatus] = OrderStatusText(kStatusCancelled);
      ctx.sink.AccountRowsChanged(AccountList::Orders, RowChange::Changed, static_cast<int>(i));
    }
  }
  for (const std::string& no : PendingNumbers(ctx.rows, sameCell)) AccountRemovePending(ctx, no);
  ctx.sink.ClearLadderPendingCell(side, price);
  ShowPendingCounts(ctx);
  RefreshTradeStatus(ctx);
}

void CancelTriggersAtPrice(TradeContext& ctx, int32_t side, int32_t price) {
  const int32_t triggerSide = side == kSideBuy ? kSideBuyTrigger : kSideSellTrigger;
  std::erase_if(ctx.state.TriggerOrders,
                [&](const _Orders& t) { return t.side == triggerSide && t.price == price; });
  ctx.sink.ClearLadderTriggerCell(side, price);
  RefreshTradeStatus(ctx);
}

}  // namespace kestrel
