#include "trading/OrderEntry.h"

#include <gtest/gtest.h>

#include "TradeFixture.h"

namespace kestrel {
namespace {

using test::TradeFixture;

class OrderEntry : public TradeFixture {};

TEST_F(OrderEntry, AcceptedLimitOrderIsStoredAndShownInOrder) {
  const EntryResult r = PlaceLimit(ctx, Simple("2"), kSideBuy, "7990");
  ASSERT_TRUE(r.placed);
  EXPECT_EQ(r.orderNo, "0001");
  ASSERT_EQ(state.PendingOrders.size(), 1u);
  const _Orders& o = state.PendingOrders[0];
  EXPECT_EQ(o, (_Orders{"0001", "09:30:00", "大台指", "", 7990, 0, 2, kSideBuy, 1, 0}));
  EXPECT_EQ(sink.events, (std::vector<std::string>{
                             "status",
                             "account.orders appended 0",
                             "account.pending appended 0",
                             "report 09:30:00 大台指 買進 7990 2 委託 0",
                             "ladder.pending 1 7990 2",
                             "counts 2 0",
                         }));
  EXPECT_EQ(rows.orders[0].cells, (std::vector<std::string>{"0001", "09:30:00", "大台指", "買進",
                                                            "7990", "2", "等待中"}));
  EXPECT_EQ(rows.pending[0].cells, rows.orders[0].cells);
}

TEST_F(OrderEntry, MarketOrdersShowLimitTextsAndHaveNoLadderRow) {
  ASSERT_TRUE(PlaceMarket(ctx, Simple("1"), kSideBuy).placed);
  ASSERT_TRUE(PlaceMarket(ctx, Fast("3"), kSideSell).placed);
  EXPECT_EQ(sink.With("report"),
            (std::vector<std::string>{"report 09:30:00 大台指 買進 漲停 1 委託 0",
                                      "report 09:30:00 大台指 賣出 跌停 3 委託 0"}));
  EXPECT_TRUE(sink.With("ladder").empty());
  EXPECT_EQ(rows.orders[0].cells[kOrderPrice], "市價");
  EXPECT_EQ(rows.pending[1].cells[kOrderPrice], "市價");
  EXPECT_EQ(state.PendingOrders[0].price, kMarketBuyPrice);
  EXPECT_EQ(state.PendingOrders[1].price, kMarketSellPrice);
}

TEST_F(OrderEntry, ProductTextComesFromThePanelThatAsked) {
  account.productName = "小台指";
  EntryInput simple = Simple("1");
  simple.simpleProductText = "大台指";
  PlaceMarket(ctx, simple, kSideBuy);
  PlaceMarket(ctx, Fast("1"), kSideBuy);
  PlaceLadderLimit(ctx, simple, kSideBuy, 7990);  // the ladder always uses productName
  EXPECT_EQ(state.PendingOrders[0].product, "大台指");
  EXPECT_EQ(state.PendingOrders[1].product, "小台指");
  EXPECT_EQ(state.PendingOrders[2].product, "小台指");
  // The report pane always shows productName.
  EXPECT_EQ(sink.reportLines[0].product, "小台指");
}

TEST_F(OrderEntry, ChecksRefuseWithTheirMessagesAndSomePathsUseUpANumber) {
  struct Case {
    const char* name;
    const char* path;  // "limit", "market", "ladder", "trigger"
    const char* lots;
    const char* price;  // limit only
    const char* message;
    const char* caption;
    const char* nextNumber;  // number of the following accepted order
  };
  const char* kTooMany = "為了方便練習，不採實質保證金制度，下單口數請勿過大。";
  const Case cases[] = {
      {"limit without price", "limit", "1", "", "請輸入價位", "錯誤", "0002"},
      {"limit with text price", "limit", "1", "abc", "請輸入價位", "錯誤", "0002"},
      {"limit without lots", "limit", "", "8000", "請輸入口數", "錯誤", "0002"},
      {"limit of 100 lots", "limit", "100", "8000", kTooMany, "警告", "0002"},
      {"market without lots", "market", "x", "", "請輸入口數", "錯誤", "0001"},
      {"market of 100 lots", "market", "100", "", kTooMany, "警告", "0001"},
      {"market of negative lots", "market", "-1", "", kTooMany, "警告", "0001"},
      {"ladder of 100 lots", "ladder", "100", "", kTooMany, "警告", "0002"},
      {"trigger without lots", "trigger", "", "", "請輸入口數", "錯誤", "0002"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state = {};
    rows = {};
    EntryResult r;
    const std::string path = c.path;
    if (path == "limit") r = PlaceLimit(ctx, Simple(c.lots), kSideBuy, c.price);
    if (path == "market") r = PlaceMarket(ctx, Simple(c.lots), kSideBuy);
    if (path == "ladder") r = PlaceLadderLimit(ctx, Fast(c.lots), kSideBuy, 7990);
    if (path == "trigger") r = PlaceTrigger(ctx, Fast(c.lots), kSideBuy, 7990);
    EXPECT_FALSE(r.placed);
    ASSERT_TRUE(r.refusal.has_value());
    EXPECT_EQ(r.refusal->text, c.message);
    EXPECT_EQ(r.refusal->caption, c.caption);
    EXPECT_TRUE(state.PendingOrders.empty() && state.TriggerOrders.empty() && rows.orders.empty());
    EXPECT_EQ(PlaceMarket(ctx, Simple("1"), kSideBuy).orderNo, c.nextNumber);
  }
}

TEST_F(OrderEntry, LotsAreReadAsALeadingNumber) {
  struct Case {
    const char* lots;
    int32_t qty;  // 0: refused
  };
  const Case cases[] = {{"99", 99}, {"1", 1}, {"3 lots", 3}, {" 4", 4},
                        {"100", 0}, {"0", 0}, {"lots 3", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lots);
    state = {};
    const EntryResult r = PlaceMarket(ctx, Simple(c.lots), kSideSell);
    EXPECT_EQ(r.placed, c.qty != 0);
    if (r.placed) {
      EXPECT_EQ(state.PendingOrders.at(0).qty, c.qty);
    }
  }
}

TEST_F(OrderEntry, StudentModeAllowsOneLotAtATimeUpToThreePerSide) {
  struct Case {
    const char* name;
    const char* path;  // "panel" (simple limit), "market", "ladder" or "trigger"
    int32_t side;
    int32_t longs, shorts, pendingBuys, pendingSells, buyTriggers, sellTriggers;
    const char* refusal;  // nullptr: accepted
  };
  const char* kBuyLots = "學員模式中，最多只能有三口買進未平倉口數，現在您只能反向賣出平倉。";
  const char* kBuyOrders = "學員模式中，最多只能有三口買進委託單。";
  const char* kBuyTotal = "學員模式中，買進委託及已成交多單不得超過三口";
  const char* kSellLots = "學員模式中，最多只能有三口賣出未平倉口數，現在您只能反向買進平倉。";
  const char* kSellOrders = "學員模式中，最多只能有三口賣出委託單。";
  const char* kSellTotal = "學員模式中，賣出委託及已成交空單不得超過三口。";
  const Case cases[] = {
      {"first buy", "panel", 1, 0, 0, 0, 0, 0, 0, nullptr},
      {"three long lots", "panel", 1, 3, 0, 0, 0, 0, 0, kBuyLots},
      {"three pending buys", "market", 1, 0, 0, 3, 0, 0, 0, kBuyOrders},
      {"two long and one pending buy", "panel", 1, 2, 0, 1, 0, 0, 0, kBuyTotal},
      {"a sell closes one of them", "panel", 2, 2, 0, 1, 0, 0, 0, nullptr},
      {"ladder: three buy triggers", "ladder", 1, 0, 0, 0, 0, 3, 0, kBuyOrders},
      {"panel ignores buy triggers", "panel", 1, 0, 0, 0, 0, 3, 0, nullptr},
      {"ladder counts triggers in the total", "trigger", 1, 1, 0, 1, 0, 1, 0, kBuyTotal},
      {"panel total without triggers", "panel", 1, 1, 0, 1, 0, 1, 0, nullptr},
      {"three short lots", "panel", 2, 0, 3, 0, 0, 0, 0, kSellLots},
      {"three pending sells", "ladder", 2, 0, 0, 0, 3, 0, 0, kSellOrders},
      {"ladder: three sell triggers", "trigger", 2, 0, 0, 0, 0, 0, 3, kSellOrders},
      {"two short and one sell trigger", "ladder", 2, 0, 2, 0, 0, 0, 1, kSellTotal},
      {"one short and two pending sells", "market", 2, 0, 1, 0, 2, 0, 0, kSellTotal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state = {};
    state.nextOrderNo = 100;
    for (int i = 0; i < c.longs; ++i) state.LongPositions.push_back(Lot("0001", 1, 8000, 1));
    for (int i = 0; i < c.shorts; ++i) state.ShortPositions.push_back(Lot("0002", 2, 8000, 1));
    for (int i = 0; i < c.pendingBuys; ++i) state.PendingOrders.push_back(Lot("0003", 1, 7900, 1));
    for (int i = 0; i < c.pendingSells; ++i) state.PendingOrders.push_back(Lot("0004", 2, 8100, 1));
    for (int i = 0; i < c.buyTriggers; ++i) state.TriggerOrders.push_back(Lot("0005", 3, 8100, 1));
    for (int i = 0; i < c.sellTriggers; ++i) state.TriggerOrders.push_back(Lot("0006", 4, 7900, 1));
    RefreshTradeStatus(ctx);

    EntryResult r;
    const std::string path = c.path;
    if (path == "panel") r = PlaceLimit(ctx, Simple("1", true), c.side, "8000");
    if (path == "market") r = PlaceMarket(ctx, Simple("1", true), c.side);
    if (path == "ladder") r = PlaceLadderLimit(ctx, Fast("1", true), c.side, 8000);
    if (path == "trigger") r = PlaceTrigger(ctx, Fast("1", true), c.side, 8050);
    EXPECT_EQ(r.placed, c.refusal == nullptr);
    EXPECT_FALSE(r.resetLotsBox);
    if (c.refusal != nullptr) {
      ASSERT_TRUE(r.refusal.has_value());
      EXPECT_EQ(r.refusal->text, c.refusal);
      EXPECT_EQ(r.refusal->caption, "警告");
    }
  }
}

TEST_F(OrderEntry, StudentModeResetsTheLotsBoxToOne) {
  const EntryResult r = PlaceLimit(ctx, Simple("2", true), kSideBuy, "8000");
  EXPECT_FALSE(r.placed);
  EXPECT_TRUE(r.resetLotsBox);
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_EQ(r.refusal->text,
            "學員模式中，一次只能下單一口，最多三口。\n 程式自動將下單口數設定成1口。");
  EXPECT_EQ(r.refusal->caption, "警告");
  EXPECT_TRUE(state.PendingOrders.empty());
  EXPECT_TRUE(sink.events.empty());
  // Without student mode two lots are fine.
  EXPECT_TRUE(PlaceLimit(ctx, Simple("2"), kSideBuy, "8000").placed);
}

TEST_F(OrderEntry, LadderClicksAddLotsToTheirRow) {
  ASSERT_TRUE(PlaceLadderLimit(ctx, Fast("2"), kSideBuy, 7990).placed);
  ASSERT_TRUE(PlaceLadderLimit(ctx, Fast("2"), kSideBuy, 7990).placed);
  EXPECT_EQ(sink.With("ladder"),
            (std::vector<std::string>{"ladder.pending 1 7990 2", "ladder.pending 1 7990 2"}));
  EXPECT_EQ(sink.With("counts").back(), "counts 4 0");
  EXPECT_EQ(sink.reportLines[0].price, "7990");

  // A fill takes the lots off the row again.
  SetQuote(7991, 7989, 7990);
  MatchAtQuote(ctx, "09:31:00");
  EXPECT_EQ(sink.With("ladder").back(), "ladder.pending 1 7990 -2");
}

TEST_F(OrderEntry, TriggerOrdersGoToTheLadderAndTheReportOnly) {
  SetQuote(8000, 7999, 8001);
  const EntryResult r = PlaceTrigger(ctx, Fast("2"), kSideSell, 7980);
  ASSERT_TRUE(r.placed);
  EXPECT_EQ(state.TriggerOrders.at(0),
            (_Orders{r.orderNo, "09:30:00", "大台指", "", 7980, 0, 2, kSideSellTrigger, 0, 0}));
  EXPECT_EQ(sink.events,
            (std::vector<std::string>{"status", "report 09:30:00 大台指 賣出 7980 2 停損 3",
                                      "ladder.trigger 2 7980 2"}));
  EXPECT_TRUE(rows.orders.empty());
  EXPECT_TRUE(state.PendingOrders.empty());
}

}  // namespace
}  // namespace kestrel
