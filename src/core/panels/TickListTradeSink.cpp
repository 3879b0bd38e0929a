#include "panels/TickListTradeSink.h"

#include "panels/TickListModel.h"

namespace kestrel {

void TickListTradeSink::InsertFillRow(const std::string& time, int32_t bid, int32_t ask,
                                      int32_t price, int32_t qty) {
  list_.InsertFillRow(day_, time, bid, ask, price, qty);
  next_.InsertFillRow(time, bid, ask, price, qty);
}

void TickListTradeSink::AddLadderPending(int32_t side, int32_t price, int32_t lots) {
  next_.AddLadderPending(side, price, lots);
}

void TickListTradeSink::AddLadderTrigger(int32_t side, int32_t price, int32_t lots) {
  next_.AddLadderTrigger(side, price, lots);
}

void TickListTradeSink::ClearLadderPendingCell(int32_t side, int32_t price) {
  next_.ClearLadderPendingCell(side, price);
}

void TickListTradeSink::ClearLadderTriggerCell(int32_t side, int32_t price) {
  next_.ClearLadderTriggerCell(side, price);
}

void TickListTradeSink::ClearLadderPendingColumn(int32_t side) {
  next_.ClearLadderPendingColumn(side);
}

void TickListTradeSink::ClearLadderTriggerColumn(int32_t side) {
  next_.ClearLadderTriggerColumn(side);
}

void TickListTradeSink::ShowPendingCounts(int32_t buyQty, int32_t sellQty) {
  next_.ShowPendingCounts(buyQty, sellQty);
}

void TickListTradeSink::AccountRowsChanged(AccountList list, RowChange change, int row) {
  next_.AccountRowsChanged(list, change, row);
}

void TickListTradeSink::ShowFirstDeal() {
  next_.ShowFirstDeal();
}

void TickListTradeSink::AddReportLine(const ReportLine& line) {
  next_.AddReportLine(line);
}

void TickListTradeSink::SetTradeStatus(const std::string& text) {
  next_.SetTradeStatus(text);
}

void TickListTradeSink::SetDealReport(const std::string& text, int32_t dealKind) {
  next_.SetDealReport(text, dealKind);
}

void TickListTradeSink::DealRecordsReplaced() {
  next_.DealRecordsReplaced();
}

}  // namespace kestrel
