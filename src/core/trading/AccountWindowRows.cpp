#include "trading/AccountWindowRows.h"

#include "trading/AccountFigures.h"
#include "trading/TradeState.h"

namespace kestrel {

namespace {

std::vector<std::string> OrderCells(const _Orders& o) {
  return {o.no,
          o.orderTime,
          o.product,
          SideText(o.side),
          OrderPriceText(o.price),
          IntText(o.qty),
          o.mode == 1 ? "等待中" : ""};
}

std::vector<std::string> LotCells(const _Orders& o) {
  return {o.no,           o.fillTime, o.product, SideText(o.side), IntText(o.fillPrice),
          IntText(o.qty), "未平倉"};
}

}  // namespace

const char* OrderStatusText(int code) {
  switch (code) {
    case kStatusWaiting: return "等待中";
    case kStatusFilled: return "成交";
    case kStatusCancelled: return "刪單";
  }
  return "";
}

std::string OrderPriceText(int32_t price) {
  return IsMarketPrice(price) ? "市價" : IntText(price);
}

int AccountWindowRows::AddOrder(const _Orders& order) {
  orders.push_back({OrderCells(order), false});
  return static_cast<int>(orders.size()) - 1;
}

int AccountWindowRows::AddPending(const _Orders& order) {
  pending.push_back({OrderCells(order), false});
  return static_cast<int>(pending.size()) - 1;
}

int AccountWindowRows::SetOrderStatus(const std::string& no, int code) {
  for (size_t i = 0; i < orders.size(); ++i) {
    if (orders[i].cells[kOrderNo] == no) {
      orders[i].cells[kOrderStatus] = OrderStatusText(code);
      return static_cast<int>(i);
    }
  }
  return -1;
}

int AccountWindowRows::RemovePending(const std::string& no) {
  for (size_t i = 0; i < pending.size(); ++i) {
    if (pending[i].cells[kOrderNo] == no) {
      pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
      return static_cast<int>(i);
    }
  }
  return -1;
}

void AccountWindowRows::RefreshOpenLots(const std::vector<_Orders>& longs,
                                        const std::vector<_Orders>& shorts) {
  openLots.clear();
  for (const auto* list : {&longs, &shorts})
    for (const _Orders& lot : *list)
      if (lot.qty > 0) openLots.push_back({LotCells(lot), false});
}

int AccountWindowRows::AddDeal(const _Orders& deal, int32_t qty, int32_t referencePrice,
                               const AccountFigures& account) {
  const int64_t fee = static_cast<int64_t>(account.feePerLot) * qty;
  const int64_t tax = static_cast<int64_t>(TaxPerLot(deal.fillPrice, account.pointValue)) * qty;
  std::string gross, net;
  const bool closing = deal.openClose == kClosing;
  if (closing) {
    const int64_t diff = IsBuySide(deal.side)
                             ? static_cast<int64_t>(referencePrice) - deal.fillPrice
                             : static_cast<int64_t>(deal.fillPrice) - referencePrice;
    const int64_t g = diff * qty * account.pointValue;
    gross = IntText(g);
    net = IntText(g - FillCost(account, referencePrice, qty) -
                  FillCost(account, deal.fillPrice, qty));
  }
  deals.push_back({{deal.no, deal.orderTime, deal.fillTime, deal.product, SideText(deal.side),
                    OrderPriceText(deal.price), IntText(deal.fillPrice), IntText(qty), IntText(fee),
                    IntText(tax), gross, net, closing ? "平倉" : "新倉"},
                   false});
  return static_cast<int>(deals.size()) - 1;
}

void AccountWindowRows::Clear() {
  orders.clear();
  pending.clear();
  openLots.clear();
  deals.clear();
}

std::vector<std::string> AccountWindowRows::CheckedPendingNumbers() const {
  std::vector<std::string> numbers;
  for (const AccountRow& row : pending)
    if (row.checked) numbers.push_back(row.cells[kOrderNo]);
  return numbers;
}

const std::vector<std::string>& OrderListHeaders() {
  static const std::vector<std::string> h = {"序號",   "委託時間", "商品", "交易別",
                                             "委託價", "口數",     "狀態"};
  return h;
}

const std::vector<std::string>& OpenLotListHeaders() {
  static const std::vector<std::string> h = {"序號",   "成交時間", "商品", "交易別",
                                             "成交價", "口數",     "狀態"};
  return h;
}

const std::vector<std::string>& DealListHeaders() {
  static const std::vector<std::string> h = {"序號",   "委託時間", "成交時間", "商品",   "交易別",
                                             "委託價", "成交價",   "口數",     "手續費", "交易稅",
                                             "毛損益", "淨損益",   "狀態"};
  return h;
}

}  // namespace kestrel
