#include "trading/TradeState.h"

#include <cstdio>
#include <limits>

namespace kestrel {

std::string TradeState::TakeOrderNo() {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", nextOrderNo);
  if (nextOrderNo < std::numeric_limits<int32_t>::max()) ++nextOrderNo;
  return text;
}

void TradeState::ClearLists() {
  PendingOrders.clear();
  TriggerOrders.clear();
  LongPositions.clear();
  ShortPositions.clear();
  DealRecords.clear();
  quietQuote.reset();
}

int32_t SumQty(const std::vector<_Orders>& list) {
  int64_t sum = 0;
  for (const _Orders& o : list) sum += o.qty;
  return Saturate32(sum);
}

int32_t SumQty(const std::vector<_Orders>& list, int32_t side) {
  int64_t sum = 0;
  for (const _Orders& o : list)
    if (o.side == side) sum += o.qty;
  return Saturate32(sum);
}

bool IsBuySide(int32_t side) {
  return side == kSideBuy || side == kSideBuyTrigger;
}

bool IsMarketPrice(int32_t price) {
  return price == kMarketBuyPrice || price == kMarketSellPrice;
}

const char* SideText(int32_t side) {
  return IsBuySide(side) ? "買進" : "賣出";
}

std::string IntText(int64_t value) {
  return std::to_string(Saturate32(value));
}

int32_t Saturate32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace kestrel
