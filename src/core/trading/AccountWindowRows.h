#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct _Orders;
struct AccountFigures;

// One row of an account-window list: its cell texts, and the check box of the
// pending list. Plain value; not thread-safe.
struct AccountRow {
  std::vector<std::string> cells;
  bool checked = false;
};

// Column indexes of the order lists (all orders, pending).
enum OrderColumn {
  kOrderNo,
  kOrderTime,
  kOrderProduct,
  kOrderSide,
  kOrderPrice,
  kOrderQty,
  kOrderStatus,
  kOrderColumns
};

// Column indexes of the deals list.
enum DealColumn {
  kDealNo,
  kDealOrderTime,
  kDealFillTime,
  kDealProduct,
  kDealSide,
  kDealOrderPrice,
  kDealFillPrice,
  kDealQty,
  kDealFee,
  kDealTax,
  kDealGross,
  kDealNet,
  kDealKind,
  kDealColumns
};

// Status codes of the all-orders list.
inline constexpr int kStatusWaiting = 1;    // 等待中
inline constexpr int kStatusFilled = 2;     // 成交
inline constexpr int kStatusCancelled = 3;  // 刪單

const char* OrderStatusText(int code);

// "市價" for a market price, else "%d".
std::string OrderPriceText(int32_t price);

// The texts of the account window's lists: every order placed through the
// panels, the pending ones, the open lots and the deals. These are display
// copies: the cancel buttons and the exports read them back, and they outlive
// the day's lists until the next replay opens. Plain data owned by the
// application context; not thread-safe (user-interface thread only).
struct AccountWindowRows {
  std::vector<AccountRow> orders;
  std::vector<AccountRow> pending;
  std::vector<AccountRow> openLots;
  std::vector<AccountRow> deals;

  // Each returns the index of the row it touched, or -1 when none matched.
  int AddOrder(const _Orders& order);
  int AddPending(const _Orders& order);
  int SetOrderStatus(const std::string& no, int code);
  int RemovePending(const std::string& no);
  void RefreshOpenLots(const std::vector<_Orders>& longs, const std::vector<_Orders>& shorts);
  // A deal row of `qty` lots; `referencePrice` is the offset lot's entry price
  // for a closing deal and the fill price for an opening one.
  int AddDeal(const _Orders& deal, int32_t qty, int32_t referencePrice,
              const AccountFigures& account);

  // Emptied when a replay is opened or a fast playback begins.
  void Clear();

  // Order numbers of the ticked pending rows, top to bottom.
  std::vector<std::string> CheckedPendingNumbers() const;
};

// Header texts of the lists.
const std::vector<std::string>& OrderListHeaders();
const std::vector<std::string>& OpenLotListHeaders();
const std::vector<std::string>& DealListHeaders();

}  // namespace kestrel
