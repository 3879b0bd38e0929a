#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "trading/OrderEntry.h"
#include "trading/OrderMatcher.h"
#include "trading/TradeContext.h"
#include "tradingday/TradingDay.h"

namespace kestrel::test {

// Records every pane effect as one line of text, in call order.
class RecordingTradeSink final : public TradeSink {
 public:
  void AddLadderPending(int32_t side, int32_t price, int32_t lots) override {
    Log("ladder.pending " + S(side) + " " + S(price) + " " + S(lots));
  }
  void AddLadderTrigger(int32_t side, int32_t price, int32_t lots) override {
    Log("ladder.trigger " + S(side) + " " + S(price) + " " + S(lots));
  }
  void ClearLadderPendingCell(int32_t side, int32_t price) override {
    Log("ladder.clearPending " + S(side) + " " + S(price));
  }
  void ClearLadderTriggerCell(int32_t side, int32_t price) override {
    Log("ladder.clearTrigger " + S(side) + " " + S(price));
  }
  void ClearLadderPendingColumn(int32_t side) override {
    Log("ladder.clearPendingColumn " + S(side));
  }
  void ClearLadderTriggerColumn(int32_t side) override {
    Log("ladder.clearTriggerColumn " + S(side));
  }
  void ShowPendingCounts(int32_t buy, int32_t sell) override {
    Log("counts " + S(buy) + " " + S(sell));
  }
  void InsertFillRow(const std::string& time, int32_t bid, int32_t ask, int32_t price,
                     int32_t qty) override {
    Log("fill " + time + " " + S(bid) + " " + S(ask) + " " + S(price) + " " + S(qty));
  }
  void AccountRowsChanged(AccountList list, RowChange change, int row) override {
    static const char* lists[] = {"orders", "pending", "lots", "deals"};
    static const char* changes[] = {"appended", "changed", "removed", "reset"};
    Log(std::string("account.") + lists[static_cast<int>(list)] + " " +
        changes[static_cast<int>(change)] + " " + S(row));
  }
  void ShowFirstDeal() override { Log("account.firstDeal"); }
  void AddReportLine(const ReportLine& l) override {
    reportLines.push_back(l);
    Log("report " + l.time + " " + l.product + " " + l.side + " " + l.price + " " + l.lots + " " +
        l.status + " " + S(l.colourCode));
  }
  void SetTradeStatus(const std::string& text) override {
    statusText = text;
    Log("status");
  }
  void SetDealReport(const std::string& text, int32_t kind) override {
    dealReport = text;
    Log("dealReport " + S(kind) + " " + text);
  }
  void DealRecordsReplaced() override { Log("dealsReplaced"); }

  // The recorded lines that start with `prefix`.
  std::vector<std::string> With(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }

  std::vector<std::string> events;
  std::vector<ReportLine> reportLines;
  std::string statusText;
  std::string dealReport;

 private:
  static std::string S(int64_t v) { return std::to_string(v); }
  void Log(std::string e) { events.push_back(std::move(e)); }
};

// A fresh order store, account and day with a quote, large contract, fee 200.
class TradeFixture : public ::testing::Test {
 protected:
  TradeFixture() : day_(std::make_unique<TradingDay>()), ctx{state, account, rows, *day_, sink} {
    account.bigFee = 200;
    account.smallFee = 100;
    SelectContract(account, true);
    account.marginBalance = 100000;
    SetQuote(8000, 7999, 8001);
  }

  TradingDay& day() { return *day_; }

  void SetQuote(int32_t last, int32_t bid, int32_t ask) {
    day_->lastPrice = last;
    day_->bidPrice = bid;
    day_->askPrice = ask;
  }

  // An open lot as if filled earlier.
  static _Orders Lot(const std::string& no, int32_t side, int32_t entry, int32_t qty) {
    _Orders lot;
    lot.no = no;
    lot.product = "大台指";
    lot.side = side;
    lot.price = entry;
    lot.fillPrice = entry;
    lot.fillTime = "09:00:00";
    lot.qty = qty;
    lot.mode = 1;
    lot.openClose = kOpening;
    return lot;
  }

  EntryInput Simple(const std::string& lots, bool student = false) const {
    EntryInput in;
    in.panel = EntryPanel::Simple;
    in.lotsText = lots;
    in.simpleProductText = "大台指";
    in.clockText = "09:30:00";
    in.studentMode = student;
    return in;
  }

  EntryInput Fast(const std::string& lots, bool student = false) const {
    EntryInput in = Simple(lots, student);
    in.panel = EntryPanel::Fast;
    return in;
  }

  // Places a limit order from the simple panel and expects it accepted.
  std::string Limit(int32_t side, int32_t price, const std::string& lots = "1") {
    const EntryResult r = PlaceLimit(ctx, Simple(lots), side, std::to_string(price));
    EXPECT_TRUE(r.placed) << (r.refusal ? r.refusal->text : "");
    return r.orderNo;
  }

  std::string Market(int32_t side, const std::string& lots = "1") {
    const EntryResult r = PlaceMarket(ctx, Simple(lots), side);
    EXPECT_TRUE(r.placed) << (r.refusal ? r.refusal->text : "");
    return r.orderNo;
  }

  std::unique_ptr<TradingDay> day_;
  TradeState state;
  AccountFigures account;
  AccountWindowRows rows;
  RecordingTradeSink sink;
  TradeContext ctx;
};

}  // namespace kestrel::test
