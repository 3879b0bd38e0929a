#include "trading/PaneEffects.h"

namespace kestrel {

void AccountAddOrder(TradeContext& ctx, const _Orders& order) {
  ctx.sink.AccountRowsChanged(AccountList::Orders, RowChange::Appended, ctx.rows.AddOrder(order));
}

void AccountAddPending(TradeContext& ctx, const _Orders& order) {
  ctx.sink.AccountRowsChanged(AccountList::Pending, RowChange::Appended,
                              ctx.rows.AddPending(order));
}

void AccountSetOrderStatus(TradeContext& ctx, const std::string& no, int code) {
  const int row = ctx.rows.SetOrderStatus(no, code);
  if (row >= 0) ctx.sink.AccountRowsChanged(AccountList::Orders, RowChange::Changed, row);
}

void AccountRemovePending(TradeContext& ctx, const std::string& no) {
  const int row = ctx.rows.RemovePending(no);
  if (row >= 0) ctx.sink.AccountRowsChanged(AccountList::Pending, RowChange::Removed, row);
}

void AccountRefreshOpenLots(TradeContext& ctx) {
  ctx.rows.RefreshOpenLots(ctx.state.LongPositions, ctx.state.ShortPositions);
  ctx.sink.AccountRowsChanged(AccountList::OpenLots, RowChange::Reset, -1);
}

void AccountAddDeal(TradeContext& ctx, const _Orders& deal, int32_t qty, int32_t referencePrice) {
  ctx.sink.AccountRowsChanged(AccountList::Deals, RowChange::Appended,
                              ctx.rows.AddDeal(deal, qty, referencePrice, ctx.account));
}

void ReportOrderLine(TradeContext& ctx, const std::string& time, int32_t side,
                     const std::string& price, const std::string& lots, const std::string& status) {
  ReportLine line{time, ctx.account.productName, SideText(side), price, lots, status, 0};
  line.colourCode = ReportColourCode(line.status, line.side);
  ctx.sink.AddReportLine(line);
}

void ShowPendingCounts(TradeContext& ctx) {
  ctx.sink.ShowPendingCounts(SumQty(ctx.state.PendingOrders, kSideBuy),
                             SumQty(ctx.state.PendingOrders, kSideSell));
}

void ClearAccountWindow(TradeContext& ctx) {
  ctx.rows.Clear();
  for (AccountList list :
       {AccountList::Orders, AccountList::Pending, AccountList::OpenLots, AccountList::Deals})
    ctx.sink.AccountRowsChanged(list, RowChange::Reset, -1);
}

}  // namespace kestrel
