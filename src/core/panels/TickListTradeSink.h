#pragma once

#include "trading/TradeSink.h"

namespace kestrel {

class TickListModel;
struct TradingDay;

// A trade sink that puts every fill of a user order into the tick list and
// passes every effect, fills included, on to another sink. Lets a headless run
// (or a GUI sink that has no list of its own) keep the list and its running
// total. Not thread-safe (user-interface thread only).
class TickListTradeSink final : public TradeSink {
 public:
  TickListTradeSink(TickListModel& list, TradingDay& day, TradeSink& next)
      : list_(list), day_(day), next_(next) {}

  void InsertFillRow(const std::string& time, int32_t bid, int32_t ask, int32_t price,
                     int32_t qty) override;

  void AddLadderPending(int32_t side, int32_t price, int32_t lots) override;
  void AddLadderTrigger(int32_t side, int32_t price, int32_t lots) override;
  void ClearLadderPendingCell(int32_t side, int32_t price) override;
  void ClearLadderTriggerCell(int32_t side, int32_t price) override;
  void ClearLadderPendingColumn(int32_t side) override;
  void ClearLadderTriggerColumn(int32_t side) override;
  void ShowPendingCounts(int32_t buyQty, int32_t sellQty) override;
  void AccountRowsChanged(AccountList list, RowChange change, int row) override;
  void ShowFirstDeal() override;
  void AddReportLine(const ReportLine& line) override;
  void SetTradeStatus(const std::string& text) override;
  void SetDealReport(const std::string& text, int32_t dealKind) override;
  void DealRecordsReplaced() override;

 private:
  TickListModel& list_;
  TradingDay& day_;
  TradeSink& next_;
};

}  // namespace kestrel
