#include "trading/OrderCancel.h"

#include <gtest/gtest.h>

#include "TradeFixture.h"

namespace kestrel {
namespace {

using test::TradeFixture;

class OrderCancel : public TradeFixture {
 protected:
  // Two buys at 7990, a buy at 7980, a sell at 8010, a market buy and one
  // trigger on each side.
  void PlaceBook() {
    buy1 = Limit(kSideBuy, 7990, "2");
    buy2 = Limit(kSideBuy, 7990, "1");
    buy3 = Limit(kSideBuy, 7980, "1");
    sell = Limit(kSideSell, 8010, "3");
    market = Market(kSideBuy);
    PlaceTrigger(ctx, Fast("1"), kSideBuy, 8050);
    PlaceTrigger(ctx, Fast("1"), kSideSell, 7950);
    sink.events.clear();
    sink.reportLines.clear();
  }

  std::vector<std::string> PendingNumbers() const {
    std::vector<std::string> numbers;
    for (const _Orders& o : state.PendingOrders) numbers.push_back(o.no);
    return numbers;
  }

  std::vector<std::string> RowNumbers() const {
    std::vector<std::string> numbers;
    for (const AccountRow& r : rows.pending) numbers.push_back(r.cells[kOrderNo]);
    return numbers;
  }

  std::string StatusOf(const std::string& no) const {
    for (const AccountRow& r : rows.orders)
      if (r.cells[kOrderNo] == no) return r.cells[kOrderStatus];
    return "<none>";
  }

  std::string buy1, buy2, buy3, sell, market;
};

TEST_F(OrderCancel, TickedRowsAreCancelledByNumber) {
  PlaceBook();
  rows.pending[0].checked = true;
  rows.pending[3].checked = true;
  CancelByNumber(ctx, rows.CheckedPendingNumbers());
  EXPECT_EQ(PendingNumbers(), (std::vector<std::string>{buy2, buy3, market}));
  EXPECT_EQ(RowNumbers(), PendingNumbers());
  EXPECT_EQ(StatusOf(buy1), "刪單");
  EXPECT_EQ(StatusOf(sell), "刪單");
  EXPECT_EQ(StatusOf(buy2), "等待中");
  EXPECT_EQ(sink.With("ladder"),
            (std::vector<std::string>{"ladder.pending 1 7990 -2", "ladder.pending 2 8010 -3"}));
  EXPECT_TRUE(sink.reportLines.empty());
  EXPECT_EQ(sink.events.back(), "status");
  EXPECT_EQ(state.pendingBuyQty, 3);
  EXPECT_EQ(state.pendingSellQty, 0);
}

TEST_F(OrderCancel, CancelAllEmptiesThePendingTabAndBothTriggerSides) {
  PlaceBook();
  // A fired trigger's market order has no row and survives.
  SetQuote(8050, 8049, 8051);
  FireTriggers(ctx, "09:40:00");
  const std::string fired = state.PendingOrders.back().no;
  sink.events.clear();

  CancelAllPending(ctx);
  EXPECT_EQ(PendingNumbers(), (std::vector<std::string>{fired}));
  EXPECT_TRUE(rows.pending.empty());
  for (const std::string& no : {buy1, buy2, buy3, sell, market}) EXPECT_EQ(StatusOf(no), "刪單");
  EXPECT_TRUE(state.TriggerOrders.empty());
  EXPECT_EQ(
      sink.With("ladder"),
      (std::vector<std::string>{"ladder.clearPendingColumn 1", "ladder.clearTriggerColumn 1",
                                "ladder.clearPendingColumn 2", "ladder.clearTriggerColumn 2"}));
  EXPECT_EQ(sink.With("counts").back(), "counts 1 0");
  EXPECT_TRUE(sink.reportLines.empty());
}

TEST_F(OrderCancel, CancelSideTouchesOnlyThatSide) {
  PlaceBook();
  CancelSide(ctx, kSideBuy);
  EXPECT_EQ(PendingNumbers(), (std::vector<std::string>{sell}));
  EXPECT_EQ(RowNumbers(), (std::vector<std::string>{sell}));
  ASSERT_EQ(state.TriggerOrders.size(), 1u);
  EXPECT_EQ(state.TriggerOrders[0].side, kSideSellTrigger);
  EXPECT_EQ(StatusOf(market), "刪單");
  EXPECT_EQ(StatusOf(sell), "等待中");
  EXPECT_EQ(sink.With("ladder"), (std::vector<std::string>{"ladder.clearPendingColumn 1",
                                                           "ladder.clearTriggerColumn 1"}));
  EXPECT_EQ(sink.With("counts"), (std::vector<std::string>{"counts 0 3"}));
  EXPECT_EQ(sink.events.back(), "status");
}

TEST_F(OrderCancel, CancelAtPriceRemovesThatCellOnly) {
  PlaceBook();
  // An order already filled at the same price keeps its status.
  rows.orders[0].cells[kOrderStatus] = "成交";
  CancelAtPrice(ctx, kSideBuy, 7990);
  EXPECT_EQ(PendingNumbers(), (std::vector<std::string>{buy3, sell, market}));
  EXPECT_EQ(RowNumbers(), PendingNumbers());
  EXPECT_EQ(StatusOf(buy1), "成交");
  EXPECT_EQ(StatusOf(buy2), "刪單");
  EXPECT_EQ(StatusOf(buy3), "等待中");
  EXPECT_EQ(sink.With("ladder"), (std::vector<std::string>{"ladder.clearPending 1 7990"}));
  EXPECT_EQ(sink.With("counts"), (std::vector<std::string>{"counts 2 3"}));

  // A sell click at the buy price changes nothing.
  CancelAtPrice(ctx, kSideSell, 7980);
  EXPECT_EQ(PendingNumbers(), (std::vector<std::string>{buy3, sell, market}));
}

TEST_F(OrderCancel, CancelTriggersAtPriceLeavesNoStatusOrReport) {
  PlaceBook();
  PlaceTrigger(ctx, Fast("1"), kSideBuy, 8060);
  sink.events.clear();
  CancelTriggersAtPrice(ctx, kSideBuy, 8050);
  ASSERT_EQ(state.TriggerOrders.size(), 2u);
  EXPECT_EQ(state.TriggerOrders[0].price, 7950);
  EXPECT_EQ(state.TriggerOrders[1].price, 8060);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"ladder.clearTrigger 1 8050", "status"}));
}

}  // namespace
}  // namespace kestrel
