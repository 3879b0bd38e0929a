#include "trading/DayEndClose.h"

#include <cstdio>

#include "common/Prompter.h"
#include "trading/OrderMatcher.h"

namespace kestrel {

namespace {

bool CloseSide(TradeContext& ctx, Prompter& prompter, const std::string& clockText,
               const std::string& productText, int32_t lots, bool closeLongs) {
  char text[512];
  std::snprintf(text, sizeof text,
                closeLongs ? "目前您尚有%d口多單未平倉，按「確定」鍵則會自動平倉，按「取消」返回"
                           : "目前您尚有%d口空單未平倉，按「確定」鍵則會自動平倉，按「取消」返回",
                lots);
  if (prompter.Ask(text, "", PromptButtons::OkCancel) == PromptAnswer::Cancel) return false;

  // The account window keeps its pending rows: only the store is emptied.
  ctx.state.PendingOrders.clear();
  _Orders order;
  order.no = ctx.state.TakeOrderNo();
  order.orderTime = clockText;
  order.product = productText;
  order.price = closeLongs ? kMarketSellPrice : kMarketBuyPrice;
  order.side = closeLongs ? kSideSell : kSideBuy;
  order.qty = lots;
  order.mode = 1;
  order.openClose = kNotFilled;
  ctx.state.PendingOrders.push_back(order);
  RefreshTradeStatus(ctx);
  MatchAtTrade(ctx, clockText);
  return true;
}

}  // namespace

bool AutoCloseAll(TradeContext& ctx, Prompter& prompter, const std::string& clockText,
                  const std::string& productText) {
  const int32_t longLots = SumQty(ctx.state.LongPositions);
  const int32_t shortLots = SumQty(ctx.state.ShortPositions);
  if (longLots > 0 && !CloseSide(ctx, prompter, clockText, productText, longLots, true))
    return false;
  if (shortLots > 0 && !CloseSide(ctx, prompter, clockText, productText, shortLots, false))
    return false;
  return true;
}

void EndOfDayReset(TradeContext& ctx) {
  FoldDayIntoBalance(ctx.account);
  TradeState& s = ctx.state;
  AccountFigures& a = ctx.account;
  s.longQty = 0;
  s.dealQty = 0;
  a.floatingPnl = 0;
  a.realisedPnl = 0;
  s.shortQty = 0;
  a.totalCost = 0;
  s.pendingBuyQty = 0;
  s.pendingSellQty = 0;
  a.winCount = 0;
  a.lossCount = 0;
  s.ClearLists();
  RefreshTradeStatus(ctx);
}

}  // namespace kestrel
