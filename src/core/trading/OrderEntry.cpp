#include "trading/OrderEntry.h"

#include "common/Decimal.h"
#include "trading/OrderMatcher.h"
#include "trading/PaneEffects.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

enum class StudentVariant { Panel, Ladder };

// Which rows the checks run and when the number is taken.
struct PathRules {
  bool checkPrice = false;
  bool numberBeforeChecks = false;
  StudentVariant variant = StudentVariant::Panel;
};

UserMessage Error(const char* text) {
  return {text, kCaptionError};
}
UserMessage Warning(const char* text) {
  return {text, kCaptionWarning};
}

// The classroom limits: one lot per order and at most three lots per side
// counting open lots, pending orders and (on the ladder) trigger orders.
std::optional<UserMessage> StudentCheck(const TradeState& s, int32_t lots, int32_t side,
                                        StudentVariant variant, bool* resetLots) {
  if (lots != 1) {
    *resetLots = true;
    return Warning("學員模式中，一次只能下單一口，最多三口。\n 程式自動將下單口數設定成1口。");
  }
  const bool ladder = variant == StudentVariant::Ladder;
  if (side == kSideBuy) {
    const int64_t triggers = SumQty(s.TriggerOrders, kSideBuyTrigger);
    if (s.longQty >= 3)
      return Warning("學員模式中，最多只能有三口買進未平倉口數，現在您只能反向賣出平倉。");
    if (s.pendingBuyQty >= 3) return Warning("學員模式中，最多只能有三口買進委託單。");
    if (ladder && triggers >= 3) return Warning("學員模式中，最多只能有三口買進委託單。");
    if ((ladder ? triggers : 0) + s.longQty + s.pendingBuyQty >= 3)
      return Warning("學員模式中，買進委託及已成交多單不得超過三口");
    return std::nullopt;
  }
  const int64_t triggers = SumQty(s.TriggerOrders, kSideSellTrigger);
  if (s.shortQty >= 3)
    return Warning("學員模式中，最多只能有三口賣出未平倉口數，現在您只能反向買進平倉。");
  if (s.pendingSellQty >= 3) return Warning("學員模式中，最多只能有三口賣出委託單。");
  if (ladder && triggers >= 3) return Warning("學員模式中，最多只能有三口賣出委託單。");
  if ((ladder ? triggers : 0) + s.shortQty + s.pendingSellQty >= 3)
    return Warning("學員模式中，賣出委託及已成交空單不得超過三口。");
  return std::nullopt;
}

// Runs the checks in order; on success the result carries the order number.
EntryResult Check(TradeContext& ctx, const EntryInput& input, const PathRules& rules, int32_t side,
                  int32_t price, int32_t* lots) {
  EntryResult r;
  if (rules.numberBeforeChecks) r.orderNo = ctx.state.TakeOrderNo();
  *lots = ParseDecimal(input.lotsText);
  if (rules.checkPrice && price == 0) {
    r.refusal = Error("請輸入價位");
  } else if (*lots == 0) {
    r.refusal = Error("請輸入口數");
  } else if (static_cast<uint32_t>(*lots) >= 100u) {
    r.refusal = Warning("為了方便練習，不採實質保證金制度，下單口數請勿過大。");
  } else if (input.studentMode) {
    r.refusal = StudentCheck(ctx.state, *lots, side, rules.variant, &r.resetLotsBox);
  }
  if (r.refusal) return r;
  if (!rules.numberBeforeChecks) r.orderNo = ctx.state.TakeOrderNo();
  return r;
}

_Orders NewOrder(TradeContext& ctx, const EntryInput& input, const std::string& no, int32_t side,
                 int32_t price, int32_t lots) {
  _Orders o;
  o.no = no;
  o.orderTime = input.clockText;
  o.product = input.panel == EntryPanel::Simple ? input.simpleProductText : ctx.account.productName;
  o.price = price;
  o.qty = lots;
  o.side = side;
  o.mode = 1;
  o.openClose = kNotFilled;
  return o;
}

// Stores an accepted limit or market order and shows it.
void Place(TradeContext& ctx, const _Orders& o, const std::string& priceText) {
  ctx.state.PendingOrders.push_back(o);
  RefreshTradeStatus(ctx);
  AccountAddOrder(ctx, o);
  AccountAddPending(ctx, o);
  ReportOrderLine(ctx, o.orderTime, o.side, priceText, IntText(o.qty), "委託");
  if (!IsMarketPrice(o.price)) ctx.sink.AddLadderPending(o.side, o.price, o.qty);
  ShowPendingCounts(ctx);
}

EntryResult PlacePending(TradeContext& ctx, const EntryInput& input, const PathRules& rules,
                         int32_t side, int32_t price, const std::string& priceText) {
  int32_t lots = 0;
  EntryResult r = Check(ctx, input, rules, side, price, &lots);
  if (r.refusal) return r;
  Place(ctx, NewOrder(ctx, input, r.orderNo, side, price, lots), priceText);
  r.placed = true;
  return r;
}

}  // namespace

EntryResult PlaceLimit(TradeContext& ctx, const EntryInput& input, int32_t side,
                       const std::string& priceText) {
  const PathRules rules{true, true, StudentVariant::Panel};
  return PlacePending(ctx, input, rules, side, ParseDecimal(priceText), priceText);
}

EntryResult PlaceMarket(TradeContext& ctx, const EntryInput& input, int32_t side) {
  const PathRules rules{false, false, StudentVariant::Panel};
  const bool buy = side == kSideBuy;
  return PlacePending(ctx, input, rules, side, buy ? kMarketBuyPrice : kMarketSellPrice,
                      buy ? "漲停" : "跌停");
}

EntryResult PlaceLadderLimit(TradeContext& ctx, const EntryInput& input, int32_t side,
                             int32_t price) {
  const PathRules rules{false, true, StudentVariant::Ladder};
  EntryInput fast = input;
  fast.panel = EntryPanel::Fast;
  return PlacePending(ctx, fast, rules, side, price, IntText(price));
}

EntryResult PlaceTrigger(TradeContext& ctx, const EntryInput& input, int32_t side, int32_t price) {
  const PathRules rules{false, true, StudentVariant::Ladder};
  int32_t lots = 0;
  EntryResult r = Check(ctx, input, rules, side, price, &lots);
  if (r.refusal) return r;

  EntryInput fast = input;
  fast.panel = EntryPanel::Fast;
  const bool buy = side == kSideBuy;
  _Orders o = NewOrder(ctx, fast, r.orderNo, buy ? kSideBuyTrigger : kSideSellTrigger, price, lots);
  // The direction from which the last price must reach the trigger.
  const uint32_t t = static_cast<uint32_t>(price);
  const uint32_t last = static_cast<uint32_t>(ctx.day.lastPrice);
  o.mode = (buy ? t < last : t > last) ? 1 : 0;
  ctx.state.TriggerOrders.push_back(o);
  RefreshTradeStatus(ctx);
  ReportOrderLine(ctx, o.orderTime, o.side, IntText(price), IntText(lots), "停損");
  ctx.sink.AddLadderTrigger(buy ? kSideBuy : kSideSell, price, lots);
  r.placed = true;
  return r;
}

}  // namespace kestrel
