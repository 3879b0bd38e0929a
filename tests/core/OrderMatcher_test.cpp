#include "trading/OrderMatcher.h"

#include <gtest/gtest.h>

#include "TradeFixture.h"
#include "trading/DealImport.h"
#include "trading/OrderEntry.h"

namespace kestrel {
namespace {

using test::TradeFixture;

class OrderMatcher : public TradeFixture {};

enum class PassKind { Quote, Trade };

void RunPass(TradeContext& ctx, PassKind pass) {
  if (pass == PassKind::Quote) {
    MatchAtQuote(ctx, "09:31:00");
  } else {
    MatchAtTrade(ctx, "09:31:00");
  }
}

struct FillCase {
  const char* name;
  PassKind pass;
  int32_t side;
  int32_t price;  // 65535 / 0 for market orders
  int32_t last, bid, ask;
  int32_t expectedFill;  // 0: the order waits
};

TEST_F(OrderMatcher, FireConditionAndFillPriceFromTheQuote) {
  const FillCase cases[] = {
      // Heartbeat without a tick: against the best bid and ask.
      {"buy above the ask fills at the ask", PassKind::Quote, 1, 8005, 8000, 8001, 8003, 8003},
      {"buy at the ask fills at its price", PassKind::Quote, 1, 8003, 8000, 8001, 8003, 8003},
      {"buy below the ask waits", PassKind::Quote, 1, 8002, 8000, 8001, 8003, 0},
      {"market buy fills at the ask", PassKind::Quote, 1, 65535, 8000, 8001, 8003, 8003},
      {"sell below the bid fills at the bid", PassKind::Quote, 2, 7998, 8000, 8001, 8003, 8001},
      {"sell at the bid fills at its price", PassKind::Quote, 2, 8001, 8000, 8001, 8003, 8001},
      {"sell above the bid waits", PassKind::Quote, 2, 8002, 8000, 8001, 8003, 0},
      {"market sell fills at the bid", PassKind::Quote, 2, 0, 8000, 8001, 8003, 8001},
      // After a tick: strictly through the last price, filled at the quote.
      {"buy at the last price waits", PassKind::Trade, 1, 8000, 8000, 7999, 8001, 0},
      {"buy one above the last fills at its price", PassKind::Trade, 1, 8001, 8000, 7999, 8002,
       8001},
      {"buy one above the last fills at a lower ask", PassKind::Trade, 1, 8001, 8000, 7999, 8000,
       8000},
      {"buy far above fills at the ask", PassKind::Trade, 1, 8050, 8000, 7999, 8001, 8001},
      {"sell at the last price waits", PassKind::Trade, 2, 8000, 8000, 7999, 8001, 0},
      {"sell one below the last fills at a higher bid", PassKind::Trade, 2, 7999, 8000, 8000, 8001,
       8000},
      {"market buy after a tick", PassKind::Trade, 1, 65535, 8000, 7999, 8001, 8001},
      {"market sell after a tick", PassKind::Trade, 2, 0, 8000, 7999, 8001, 7999},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.name);
    state = {};
    account.realisedPnl = account.totalCost = 0;
    SetQuote(c.last, c.bid, c.ask);
    const std::string no =
        c.price == 65535 || c.price == 0 ? Market(c.side) : Limit(c.side, c.price);
    RunPass(ctx, c.pass);
    if (c.expectedFill == 0) {
      EXPECT_EQ(state.PendingOrders.size(), 1u);
      EXPECT_TRUE(state.DealRecords.empty());
      continue;
    }
    ASSERT_EQ(state.DealRecords.size(), 1u);
    EXPECT_EQ(state.DealRecords[0].no, no);
    EXPECT_EQ(state.DealRecords[0].fillPrice, c.expectedFill);
    EXPECT_EQ(state.DealRecords[0].fillTime, "09:31:00");
    EXPECT_EQ(state.DealRecords[0].openClose, kOpening);
    EXPECT_TRUE(state.PendingOrders.empty());
  }
}

TEST_F(OrderMatcher, ASideWithoutAQuoteNeverFills) {
  struct Case {
    const char* name;
    int32_t side;
    int32_t price;
    int32_t bid, ask;
  };
  const Case cases[] = {
      {"market buy before the first tick", 1, 65535, 0, 0},
      {"limit buy before the first tick", 1, 8005, 0, 0},
      {"market buy with ask -9999", 1, 65535, -9999, -9999},
      {"limit buy with ask -9999", 1, 8005, 7999, -9999},
      {"market sell with bid -9999", 2, 0, -9999, 8001},
      {"limit sell with bid 0", 2, 7990, 0, 8001},
  };
  for (const Case& c : cases) {
    for (PassKind pass : {PassKind::Quote, PassKind::Trade}) {
      SCOPED_TRACE(std::string(c.name) + (pass == PassKind::Quote ? " (quote)" : " (trade)"));
      state = {};
      SetQuote(8000, c.bid, c.ask);
      if (c.price == 65535 || c.price == 0) {
        Market(c.side);
      } else {
        Limit(c.side, c.price);
      }
      RunPass(ctx, pass);
      EXPECT_TRUE(state.DealRecords.empty());
      EXPECT_EQ(state.PendingOrders.size(), 1u);

      // Once the side is quoted the waiting order fills there.
      SetQuote(8000, 7999, 8001);
      RunPass(ctx, PassKind::Quote);
      ASSERT_EQ(state.DealRecords.size(), 1u);
      EXPECT_EQ(state.DealRecords[0].fillPrice, c.side == 1 ? 8001 : 7999);
    }
  }
}

TEST_F(OrderMatcher, BuyOfFiveOffsetsTwoShortLotsFirstInFirstOut) {
  state.ShortPositions = {Lot("0001", kSideSell, 8000, 2), Lot("0002", kSideSell, 8010, 4)};
  SetQuote(8004, 8004, 8005);
  const std::string no = Market(kSideBuy, "5");
  MatchAtQuote(ctx, "10:00:00");

  ASSERT_EQ(state.DealRecords.size(), 2u);
  const _Orders& first = state.DealRecords[0];
  const _Orders& second = state.DealRecords[1];
  EXPECT_EQ(first.no, no);
  EXPECT_EQ(first.qty, 2);
  EXPECT_EQ(first.openClose, kClosing);
  EXPECT_EQ(first.fillPrice, 8005);
  EXPECT_EQ(second.qty, 3);
  EXPECT_EQ(second.openClose, kClosing);

  ASSERT_EQ(state.ShortPositions.size(), 1u);
  EXPECT_EQ(state.ShortPositions[0].no, "0002");
  EXPECT_EQ(state.ShortPositions[0].qty, 1);
  EXPECT_TRUE(state.LongPositions.empty());

  // -2000 (a loss) then +3000 (a win); tax at 8005 is 32 per lot.
  EXPECT_EQ(account.lossCount, 1);
  EXPECT_EQ(account.winCount, 1);
  EXPECT_EQ(account.totalCost, 5 * 232);
  EXPECT_EQ(account.realisedPnl, -2000 + 3000 - 5 * 232);

  // The deals tab shows gross and net per deal against each lot's entry.
  ASSERT_EQ(rows.deals.size(), 2u);
  EXPECT_EQ(rows.deals[0].cells[kDealGross], "-2000");
  EXPECT_EQ(rows.deals[0].cells[kDealNet], "-2928");  // -2000 - 2*232 - 2*232
  EXPECT_EQ(rows.deals[1].cells[kDealGross], "3000");
  EXPECT_EQ(rows.deals[1].cells[kDealNet], "1608");  // 3000 - 3*232 - 3*232
  EXPECT_EQ(rows.deals[1].cells[kDealKind], "平倉");
  EXPECT_EQ(rows.deals[1].cells[kDealFee], "600");
  EXPECT_EQ(rows.deals[1].cells[kDealTax], "96");
}

TEST_F(OrderMatcher, SellOfThreeAgainstOneLongLotClosesOneAndOpensTwoWithEffectsInOrder) {
  state.LongPositions = {Lot("0001", kSideBuy, 7990, 1)};
  state.nextOrderNo = 2;
  SetQuote(8000, 7999, 8001);
  const std::string no = Limit(kSideSell, 7995, "3");
  sink.events.clear();
  MatchAtQuote(ctx, "10:00:00");

  const std::vector<std::string> expected = {
      "ladder.pending 2 7995 -3",
      // the closing deal of 1 lot
      "fill 10:00:00 7999 8001 7999 1",
      "account.deals appended 0",
      "account.lots reset -1",
      "account.orders changed 0",
      "account.pending removed 0",
      "report 10:00:00 大台指 賣出 7999 1 成交 2",
      "dealReport 3   成交回報　大台指 平倉 賣出 價位 7999 口數 1　",
      // the opening deal of 2 lots
      "fill 10:00:00 7999 8001 7999 2",
      "account.deals appended 1",
      "account.lots reset -1",
      "account.orders changed 0",
      "report 10:00:00 大台指 賣出 7999 2 成交 2",
      "dealReport 2   成交回報　大台指 新倉 賣出 價位 7999 口數 2　",
      "status",
  };
  EXPECT_EQ(sink.events, expected);

  ASSERT_EQ(state.DealRecords.size(), 2u);
  EXPECT_EQ(state.DealRecords[0].openClose, kClosing);
  EXPECT_EQ(state.DealRecords[0].qty, 1);
  EXPECT_EQ(state.DealRecords[1].openClose, kOpening);
  EXPECT_EQ(state.DealRecords[1].qty, 2);
  EXPECT_TRUE(state.LongPositions.empty());
  ASSERT_EQ(state.ShortPositions.size(), 1u);
  EXPECT_EQ(state.ShortPositions[0].no, no);
  EXPECT_EQ(state.ShortPositions[0].qty, 2);
  EXPECT_EQ(state.ShortPositions[0].fillPrice, 7999);
  EXPECT_EQ(state.lastDealKind, kDealKindSell);

  // Rows: the closing deal has results, the opening one has none.
  EXPECT_EQ(rows.deals[0].cells[kDealGross], "1800");  // (7999 - 7990) * 200
  EXPECT_EQ(rows.deals[1].cells[kDealGross], "");
  EXPECT_EQ(rows.deals[1].cells[kDealNet], "");
  EXPECT_EQ(rows.deals[1].cells[kDealKind], "新倉");
  EXPECT_EQ(rows.orders[0].cells[kOrderStatus], "成交");
  EXPECT_TRUE(rows.pending.empty());
  ASSERT_EQ(rows.openLots.size(), 1u);
  EXPECT_EQ(rows.openLots[0].cells,
            (std::vector<std::string>{no, "10:00:00", "大台指", "賣出", "7999", "2", "未平倉"}));
}

TEST_F(OrderMatcher, ClosingAtTheEntryPriceIsNeitherWinNorLossButPaysCosts) {
  state.LongPositions = {Lot("0001", kSideBuy, 8000, 1)};
  SetQuote(8000, 8000, 8001);
  Market(kSideSell);
  MatchAtQuote(ctx, "10:00:00");
  EXPECT_EQ(account.winCount, 0);
  EXPECT_EQ(account.lossCount, 0);
  EXPECT_EQ(account.totalCost, 232);
  EXPECT_EQ(account.realisedPnl, -232);
  EXPECT_EQ(state.lastDealKind, kDealKindClose);
}

TEST_F(OrderMatcher, OrdersThatFireTogetherFillOldestFirstAndOthersWait) {
  SetQuote(8000, 7999, 8001);
  const std::string a = Limit(kSideBuy, 8003);
  const std::string waiting = Limit(kSideBuy, 7990);
  const std::string b = Market(kSideBuy);
  const std::string c = Limit(kSideBuy, 8001);
  MatchAtQuote(ctx, "10:00:00");
  ASSERT_EQ(state.DealRecords.size(), 3u);
  EXPECT_EQ(state.DealRecords[0].no, a);
  EXPECT_EQ(state.DealRecords[1].no, b);
  EXPECT_EQ(state.DealRecords[2].no, c);
  ASSERT_EQ(state.PendingOrders.size(), 1u);
  EXPECT_EQ(state.PendingOrders[0].no, waiting);
  EXPECT_EQ(state.LongPositions.size(), 3u);
}

TEST_F(OrderMatcher, AnOrderWhoseModeIsNotOneIsNeverMatched) {
  Market(kSideBuy);
  state.PendingOrders[0].mode = 0;
  MatchAtQuote(ctx, "10:00:00");
  MatchAtTrade(ctx, "10:00:00");
  EXPECT_TRUE(state.DealRecords.empty());
  EXPECT_EQ(state.PendingOrders.size(), 1u);
}

TEST_F(OrderMatcher, TriggersFireFromTheSideRecordedAtPlacement) {
  struct Case {
    const char* name;
    int32_t side;     // 1 buy trigger, 2 sell trigger
    int32_t trigger;  // placed while the last price is 8000
    int32_t mode;     // expected direction
    int32_t notYet;   // a last price that does not fire it
    int32_t fires;    // a last price that fires it
  };
  const Case cases[] = {
      {"buy trigger above the last", 1, 8010, 0, 8009, 8010},
      {"buy trigger below the last", 1, 7990, 1, 7991, 7990},
      {"buy trigger at the last", 1, 8000, 0, 7999, 8000},
      {"sell trigger below the last", 2, 7990, 0, 7991, 7990},
      {"sell trigger above the last", 2, 8010, 1, 8009, 8010},
      {"sell trigger at the last", 2, 8000, 0, 8001, 8000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state = {};
    SetQuote(8000, 7999, 8001);
    ASSERT_TRUE(PlaceTrigger(ctx, Fast("2"), c.side, c.trigger).placed);
    ASSERT_EQ(state.TriggerOrders.size(), 1u);
    EXPECT_EQ(state.TriggerOrders[0].side, c.side == 1 ? kSideBuyTrigger : kSideSellTrigger);
    EXPECT_EQ(state.TriggerOrders[0].mode, c.mode);

    SetQuote(c.notYet, c.notYet - 1, c.notYet + 1);
    FireTriggers(ctx, "10:00:00");
    EXPECT_EQ(state.TriggerOrders.size(), 1u);

    sink.events.clear();
    SetQuote(c.fires, c.fires - 1, c.fires + 1);
    FireTriggers(ctx, "10:00:05");
    ASSERT_TRUE(state.TriggerOrders.empty());
    ASSERT_EQ(state.PendingOrders.size(), 1u);
    const _Orders& market = state.PendingOrders[0];
    EXPECT_EQ(market.side, c.side);
    EXPECT_EQ(market.price, c.side == 1 ? kMarketBuyPrice : kMarketSellPrice);
    EXPECT_EQ(market.mode, 1);
    EXPECT_EQ(market.orderTime, "10:00:05");
    // Only the ladder hears of the firing: no report line, no status text.
    EXPECT_EQ(sink.events, (std::vector<std::string>{"ladder.trigger " + std::to_string(c.side) +
                                                     " " + std::to_string(c.trigger) + " -2"}));
    EXPECT_TRUE(state.DealRecords.empty());

    // The next pass fills it at the quote.
    MatchAtTrade(ctx, "10:00:06");
    ASSERT_EQ(state.DealRecords.size(), 1u);
    EXPECT_EQ(state.DealRecords[0].fillPrice, c.side == 1 ? c.fires + 1 : c.fires - 1);
    EXPECT_EQ(state.DealRecords[0].qty, 2);
  }
}

TEST_F(OrderMatcher, StatusLineShowsCountsAndResults) {
  state.LongPositions = {Lot("0001", kSideBuy, 8000, 2)};
  state.DealRecords = {Lot("0001", kSideBuy, 8000, 2)};
  account.realisedPnl = -464;
  Limit(kSideBuy, 7990);
  Limit(kSideSell, 8020, "3");
  SetQuote(8001, 8000, 8002);
  RefreshTradeStatus(ctx);
  EXPECT_EQ(state.pendingBuyQty, 1);
  EXPECT_EQ(state.pendingSellQty, 3);
  EXPECT_EQ(state.longQty, 2);
  EXPECT_EQ(state.dealQty, 2);
  EXPECT_EQ(account.floatingPnl, 400);
  EXPECT_EQ(sink.statusText,
            "  委買[ 1] 委賣[ 3] 多[ 2] 空[ 0] 成[  2]   浮動損益[   400] 實現損益[  -464] ");

  // Short lots gain when the price falls; money beyond 32 bits shows saturated.
  state.LongPositions.clear();
  state.ShortPositions = {Lot("0003", kSideSell, 8100, 1)};
  account.realisedPnl = 5'000'000'000;
  RefreshTradeStatus(ctx);
  EXPECT_EQ(account.floatingPnl, 19800);
  EXPECT_EQ(sink.statusText,
            "  委買[ 1] 委賣[ 3] 多[ 0] 空[ 1] 成[  2]   浮動損益[ 19800] 實現損益[2147483647] ");

  // Counts and money wider than their fields widen the text; losses saturate too.
  state.ShortPositions = {Lot("0003", kSideSell, 8100, 123)};
  account.realisedPnl = -5'000'000'000;
  RefreshTradeStatus(ctx);
  EXPECT_EQ(sink.statusText,
            "  委買[ 1] 委賣[ 3] 多[ 0] 空[123] 成[  2]   浮動損益[2435400] "
            "實現損益[-2147483648] ");
}

TEST_F(OrderMatcher, QuotePassUnderUnchangedFiguresIsSkipped) {
  SetQuote(8000, 7999, 8001);
  Limit(kSideBuy, 7990);
  MatchAtQuote(ctx, "09:31:00");
  sink.events.clear();

  // Nothing changed since the last pass: nothing can fire, the status is as shown.
  MatchAtQuote(ctx, "09:31:01");
  EXPECT_TRUE(sink.events.empty());

  // An order entered between passes is matched by the next one.
  const std::string no = Market(kSideBuy);
  MatchAtQuote(ctx, "09:31:02");
  ASSERT_EQ(state.DealRecords.size(), 1u);
  EXPECT_EQ(state.DealRecords[0].no, no);

  // A new quote wakes the waiting limit order.
  SetQuote(7990, 7989, 7990);
  MatchAtQuote(ctx, "09:31:03");
  EXPECT_EQ(state.DealRecords.size(), 2u);
  EXPECT_TRUE(state.PendingOrders.empty());

  // Deals replaced from a file show in the next pass's status.
  const size_t shown = sink.events.size();
  MatchAtQuote(ctx, "09:31:04");
  EXPECT_EQ(sink.events.size(), shown);
  // (as many deals as before, so only their lots differ)
  ApplyImportedDeals(ctx, {{"0001", "大台指", "買進", "8000", "7", "09:00:00"},
                           {"0002", "大台指", "賣出", "8001", "2", "09:01:00"}});
  MatchAtQuote(ctx, "09:31:05");
  EXPECT_NE(sink.statusText.find("成[  9]"), std::string::npos) << sink.statusText;
}

TEST_F(OrderMatcher, BuyDealKindsForTheStatusPaneColour) {
  SetQuote(8000, 7999, 8001);
  Market(kSideBuy);
  MatchAtQuote(ctx, "10:00:00");
  EXPECT_EQ(state.lastDealKind, kDealKindBuy);
  EXPECT_EQ(sink.dealReport, "  成交回報　大台指 新倉 買進 價位 8001 口數 1　");
  EXPECT_EQ(sink.reportLines.back().colourCode, 1);
}

}  // namespace
}  // namespace kestrel
