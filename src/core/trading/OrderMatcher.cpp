#include "trading/OrderMatcher.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "trading/PaneEffects.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

enum class Pass { Quote, Trade };

uint32_t U(int32_t v) {
  return static_cast<uint32_t>(v);
}

// The fire condition of one pass; prices compare unsigned.
bool Fires(const _Orders& o, const TradingDay& day, Pass pass) {
  const bool buy = o.side == kSideBuy;
  if (buy ? day.askPrice <= 0 : day.bidPrice <= 0) return false;  // no quote on that side
  if (pass == Pass::Quote)
    return buy ? U(o.price) >= U(day.askPrice) : U(day.bidPrice) >= U(o.price);
  return buy ? U(o.price) > U(day.lastPrice) : U(day.lastPrice) > U(o.price);
}

int32_t FillPrice(const _Orders& o, const TradingDay& day) {
  if (o.side == kSideBuy) {
    if (o.price == kMarketBuyPrice) return day.askPrice;
    return static_cast<int32_t>(std::min(U(o.price), U(day.askPrice)));
  }
  if (o.price == kMarketSellPrice) return day.bidPrice;
  return static_cast<int32_t>(std::max(U(o.price), U(day.bidPrice)));
}

std::string DealReportText(const AccountFigures& account, bool closing, int32_t side, int32_t price,
                           int32_t qty) {
  char text[256];
  std::snprintf(text, sizeof text, "  成交回報　%s %s %s 價位 %d 口數 %d　",
                account.productName.c_str(), closing ? "平倉" : "新倉", SideText(side), price, qty);
  return text;
}

// The tick list, account window and order report hear of one deal.
void ShowDeal(TradeContext& ctx, const _Orders& deal, int32_t referencePrice,
              const std::string& clockText) {
  ctx.sink.InsertFillRow(clockText, ctx.day.bidPrice, ctx.day.askPrice, deal.fillPrice, deal.qty);
  AccountAddDeal(ctx, deal, deal.qty, referencePrice);
  AccountRefreshOpenLots(ctx);
  AccountSetOrderStatus(ctx, deal.no, kStatusFilled);
  AccountRemovePending(ctx, deal.no);
  ReportOrderLine(ctx, clockText, deal.side, IntText(deal.fillPrice), IntText(deal.qty), "成交");
}

// The status bar's deal report, coloured by the kind of deal.
void ReportDeal(TradeContext& ctx, const _Orders& deal) {
  const bool closing = deal.openClose == kClosing;
  ctx.state.lastDealKind =
      closing ? kDealKindClose : (deal.side == kSideBuy ? kDealKindBuy : kDealKindSell);
  ctx.sink.SetDealReport(DealReportText(ctx.account, closing, deal.side, deal.fillPrice, deal.qty),
                         ctx.state.lastDealKind);
}

void Fill(TradeContext& ctx, _Orders order, const std::string& clockText) {
  const bool buy = order.side == kSideBuy;
  int32_t q = order.qty;
  if (!IsMarketPrice(order.price)) ctx.sink.AddLadderPending(order.side, order.price, -q);
  const int32_t f = FillPrice(order, ctx.day);
  auto& opposite = buy ? ctx.state.ShortPositions : ctx.state.LongPositions;

  while (q > 0 && !opposite.empty()) {
    _Orders& lot = opposite.front();
    const int32_t entry = lot.fillPrice;
    const int32_t dealQty = std::min(q, lot.qty);
    lot.qty -= dealQty;
    if (lot.qty <= 0) opposite.erase(opposite.begin());
    q -= dealQty;

    _Orders deal = order;
    deal.openClose = kClosing;
    deal.fillTime = clockText;
    deal.fillPrice = f;
    deal.qty = dealQty;
    const int64_t diff = buy ? static_cast<int64_t>(entry) - f : static_cast<int64_t>(f) - entry;
    const int64_t gross = diff * dealQty * ctx.account.pointValue;

    ctx.state.DealRecords.push_back(deal);
    ShowDeal(ctx, deal, entry, clockText);
    ReportDeal(ctx, deal);
    ctx.account.realisedPnl += gross;
    if (gross > 0) ++ctx.account.winCount;
    if (gross < 0) ++ctx.account.lossCount;
    BookFillCost(ctx.account, deal);
  }

  if (q > 0) {
    order.openClose = kOpening;
    order.fillTime = clockText;
    order.fillPrice = f;
    order.qty = q;
    (buy ? ctx.state.LongPositions : ctx.state.ShortPositions).push_back(order);
    ctx.state.DealRecords.push_back(order);
    ShowDeal(ctx, order, f, clockText);
    BookFillCost(ctx.account, order);
    ReportDeal(ctx, order);
  }
}

void RunPass(TradeContext& ctx, const std::string& clockText, Pass pass) {
  auto& pending = ctx.state.PendingOrders;
  for (size_t i = 0; i < pending.size();) {
    const _Orders& o = pending[i];
    const bool tradable = o.mode == 1 && (o.side == kSideBuy || o.side == kSideSell);
    if (!tradable || !Fires(o, ctx.day, pass)) {
      ++i;
      continue;
    }
    const _Orders order = o;
    pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
    Fill(ctx, order, clockText);
    i = 0;  // the walk restarts; unfired orders stay unfired under the same quote
  }
  RefreshTradeStatus(ctx);
}

QuoteFigures FiguresNow(const TradeContext& ctx) {
  const TradeState& s = ctx.state;
  QuoteFigures f;
  f.bid = ctx.day.bidPrice;
  f.ask = ctx.day.askPrice;
  f.last = ctx.day.lastPrice;
  f.pointValue = ctx.account.pointValue;
  f.realisedPnl = ctx.account.realisedPnl;
  f.listSizes = {s.PendingOrders.size(), s.TriggerOrders.size(), s.LongPositions.size(),
                 s.ShortPositions.size(), s.DealRecords.size()};
  return f;
}

// printf's "%*d": right-aligned in at least `width` characters.
void AppendPadded(std::string& out, int32_t value, size_t width) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const std::string_view text(digits, static_cast<size_t>(end - digits));
  if (text.size() < width) out.append(width - text.size(), ' ');
  out.append(text);
}

bool TriggerReached(const _Orders& t, int32_t last) {
  const bool above = U(last) >= U(t.price);
  const bool below = U(last) <= U(t.price);
  if (t.side == kSideBuyTrigger) return t.mode == 0 ? above : below;
  if (t.side == kSideSellTrigger) return t.mode == 0 ? below : above;
  return false;
}

}  // namespace

void MatchAtQuote(TradeContext& ctx, const std::string& clockText) {
  // Most heartbeats release no tick: the pass would repeat the previous one.
  if (ctx.state.quietQuote == FiguresNow(ctx)) return;
  RunPass(ctx, clockText, Pass::Quote);
  ctx.state.quietQuote = FiguresNow(ctx);
}

void MatchAtTrade(TradeContext& ctx, const std::string& clockText) {
  RunPass(ctx, clockText, Pass::Trade);
}

void FireTriggers(TradeContext& ctx, const std::string& clockText) {
  auto& triggers = ctx.state.TriggerOrders;
  for (size_t i = 0; i < triggers.size();) {
    if (!TriggerReached(triggers[i], ctx.day.lastPrice)) {
      ++i;
      continue;
    }
    _Orders order = triggers[i];
    triggers.erase(triggers.begin() + static_cast<std::ptrdiff_t>(i));
    const bool buy = order.side == kSideBuyTrigger;
    ctx.sink.AddLadderTrigger(buy ? kSideBuy : kSideSell, order.price, -order.qty);
    order.side = buy ? kSideBuy : kSideSell;
    order.price = buy ? kMarketBuyPrice : kMarketSellPrice;
    order.mode = 1;
    order.orderTime = clockText;
    ctx.state.PendingOrders.push_back(order);
    ctx.state.quietQuote.reset();
    i = 0;
  }
}

void RefreshTradeStatus(TradeContext& ctx) {
  TradeState& s = ctx.state;
  s.quietQuote.reset();
  int64_t buy = 0, sell = 0;
  for (const _Orders& o : s.PendingOrders) {
    if (o.side == kSideBuy) buy += o.qty;
    if (o.side == kSideSell) sell += o.qty;
  }
  s.pendingBuyQty = Saturate32(buy);
  s.pendingSellQty = Saturate32(sell);
  s.longQty = SumQty(s.LongPositions);
  s.shortQty = SumQty(s.ShortPositions);
  s.dealQty = SumQty(s.DealRecords);

  const int64_t last = ctx.day.lastPrice;
  int64_t floating = 0;
  for (const _Orders& lot : s.LongPositions)
    floating += (last - lot.fillPrice) * lot.qty * ctx.account.pointValue;
  for (const _Orders& lot : s.ShortPositions)
    floating += (lot.fillPrice - last) * lot.qty * ctx.account.pointValue;
  ctx.account.floatingPnl = floating;

  ctx.sink.SetTradeStatus(TradeStatusText(s, ctx.account));
}

std::string TradeStatusText(const TradeState& s, const AccountFigures& account) {
  // "  委買[%2d] 委賣[%2d] 多[%2d] 空[%2d] 成[%3d]   浮動損益[%6d] 實現損益[%6d] ",
  // assembled by hand: it is rebuilt after every matching pass.
  std::string text;
  text.reserve(128);
  text += "  委買[";
  AppendPadded(text, s.pendingBuyQty, 2);
  text += "] 委賣[";
  AppendPadded(text, s.pendingSellQty, 2);
  text += "] 多[";
  AppendPadded(text, s.longQty, 2);
  text += "] 空[";
  AppendPadded(text, s.shortQty, 2);
  text += "] 成[";
  AppendPadded(text, s.dealQty, 3);
  text += "]   浮動損益[";
  AppendPadded(text, Saturate32(account.floatingPnl), 6);
  text += "] 實現損益[";
  AppendPadded(text, Saturate32(account.realisedPnl), 6);
  text += "] ";
  return text;
}

}  // namespace kestrel
