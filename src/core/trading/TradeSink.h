#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

// The account window's four lists.
enum class AccountList { Orders, Pending, OpenLots, Deals };

// What happened to a list (the rows are already changed when the sink hears it).
enum class RowChange { Appended, Changed, Removed, Reset };

// One line of the order report pane. Plain value; not thread-safe.
struct ReportLine {
  std::string time;
  std::string product;
  std::string side;   // "買進" or "賣出"
  std::string price;  // as shown
  std::string lots;
  std::string status;  // "委託", "成交", "停損"
  int colourCode = 0;  // 0 order, 1 buy fill, 2 sell fill, 3 trigger

  bool operator==(const ReportLine&) const = default;
};

// Colour code of a report line from its status and side texts.
int ReportColourCode(const std::string& status, const std::string& side);

// Where the order store, the matcher and the entry rules send their effects on
// the panes: price ladder, tick list, account window, order report, status bar
// and chart deal marks. Every hook does nothing by default. Called on the
// user-interface thread only.
class TradeSink {
 public:
  virtual ~TradeSink() = default;

  // Price ladder. `side` is 1 (buy columns) or 2 (sell columns); a price with no
  // row is ignored by the ladder; a cell that reaches 0 shows empty.
  virtual void AddLadderPending(int32_t /*side*/, int32_t /*price*/, int32_t /*lots*/) {}
  virtual void AddLadderTrigger(int32_t /*side*/, int32_t /*price*/, int32_t /*lots*/) {}
  virtual void ClearLadderPendingCell(int32_t /*side*/, int32_t /*price*/) {}
  virtual void ClearLadderTriggerCell(int32_t /*side*/, int32_t /*price*/) {}
  virtual void ClearLadderPendingColumn(int32_t /*side*/) {}
  virtual void ClearLadderTriggerColumn(int32_t /*side*/) {}
  // The fast panel's two count boxes.
  virtual void ShowPendingCounts(int32_t /*buyQty*/, int32_t /*sellQty*/) {}

  // Tick detail list: one row for a fill of the user's order.
  virtual void InsertFillRow(const std::string& /*time*/, int32_t /*bid*/, int32_t /*ask*/,
                             int32_t /*price*/, int32_t /*qty*/) {}

  // Account window: a list of AccountWindowRows changed at `row` (-1 for Reset).
  virtual void AccountRowsChanged(AccountList /*list*/, RowChange /*change*/, int /*row*/) {}
  // Scroll the deals tab to its first row.
  virtual void ShowFirstDeal() {}

  // Order report pane.
  virtual void AddReportLine(const ReportLine& /*line*/) {}

  // Status bar: pane 0 (order counts and results), pane 1 (deal report coloured
  // by `lastDealKind`).
  virtual void SetTradeStatus(const std::string& /*text*/) {}
  virtual void SetDealReport(const std::string& /*text*/, int32_t /*dealKind*/) {}

  // DealRecords was replaced wholesale (import); the K-line deal marks follow it.
  virtual void DealRecordsReplaced() {}
};

}  // namespace kestrel
