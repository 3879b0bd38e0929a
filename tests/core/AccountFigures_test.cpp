#include "trading/AccountFigures.h"

#include <gtest/gtest.h>

#include "TradeFixture.h"
#include "app/AppSettings.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "trading/AccountStatistics.h"
#include "trading/DayEndClose.h"

namespace kestrel {
namespace {

using test::TradeFixture;

TEST(AccountCosts, TaxIsTwoInAHundredThousandRoundedDownPerLot) {
  struct Case {
    bool large;
    int32_t fillPrice;
    uint32_t tax;
    int64_t costOfTwoLots;  // fee 200
  };
  const Case cases[] = {
      {true, 8000, 32, 2 * 232}, {false, 8000, 8, 2 * 208}, {true, 7999, 31, 2 * 231},
      {false, 7999, 7, 2 * 207}, {true, 8010, 32, 2 * 232},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.fillPrice) + (c.large ? " large" : " mini"));
    AccountFigures a;
    a.bigFee = a.smallFee = 200;
    SelectContract(a, c.large);
    EXPECT_EQ(TaxPerLot(c.fillPrice, a.pointValue), c.tax);
    _Orders deal;
    deal.fillPrice = c.fillPrice;
    deal.qty = 2;
    a.realisedPnl = 1000;
    BookFillCost(a, deal);
    EXPECT_EQ(a.totalCost, c.costOfTwoLots);
    EXPECT_EQ(a.realisedPnl, 1000 - c.costOfTwoLots);
  }
}

TEST(AccountCosts, StartUpFiguresFollowTheSettings) {
  const AppSettings absent = ReadAppSettings(ProfileFile::Load("/nonexistent/setup.ini"));
  const AccountFigures mini = AccountFiguresFromSettings(absent);
  EXPECT_EQ(mini.isLarge, 0);
  EXPECT_EQ(mini.productName, "小台指");
  EXPECT_EQ(mini.pointValue, 50);
  EXPECT_EQ(mini.feePerLot, 200);
  EXPECT_EQ(mini.marginBalance, 100000);

  AppSettings large = absent;
  large.TRADE = "abc";
  large.BIGFEE = 150;
  const AccountFigures big = AccountFiguresFromSettings(large);
  EXPECT_EQ(big.productName, "大台指");
  EXPECT_EQ(big.pointValue, 200);
  EXPECT_EQ(big.feePerLot, 150);
}

class AccountDay : public TradeFixture {
 protected:
  // Opens one long lot at 8000 and closes it at 8010.
  void RoundTrip() {
    SetQuote(8000, 7999, 8000);
    Market(kSideBuy);
    MatchAtQuote(ctx, "09:00:00");
    SetQuote(8010, 8010, 8011);
    Market(kSideSell);
    MatchAtQuote(ctx, "09:10:00");
  }
};

TEST_F(AccountDay, RoundTripFrom8000To8010) {
  day().dateText = "2024-03-15";
  RoundTrip();
  EXPECT_EQ(account.realisedPnl, 1536);
  EXPECT_EQ(account.totalCost, 464);
  const AccountStatistics s = ComputeAccountStatistics(account, state);
  EXPECT_EQ(s.gross, 2000);
  EXPECT_EQ(s.net, 1536);
  EXPECT_EQ(s.balanceShown, 101536);
  EXPECT_EQ(s.lotsTraded, 2);
  EXPECT_EQ(s.WinRateText(), "100.0%");
  EXPECT_EQ(s.AverageGrossText(), "1000");
  EXPECT_EQ(s.AverageNetText(), "768");
  EXPECT_EQ(s.CostShareText(), "30.21");

  EXPECT_EQ(MarginAccountText(s, day().dateText),
            " 日期：2024-03-15\n\n"
            "　　　保證金餘額：101536 元\n"
            "　　　　交易口數：2\n"
            "　　　　　　勝率：100.0%\n\n"
            "　　　　　總損益：  1536　(浮動+已實現)\n"
            "　　　　　毛損益：  2000\n"
            "　　　　交易成本：   464　(佔整體損益：30.21%)\n\n"
            "　平均每口毛損益：1000 元\n"
            "　平均每口淨損益：768 元\n\n"
            " 註解：\n"
            "　１. 總   損   益＝毛損益－手續費－期交稅\n"
            "　２. 交易成本＝手續費＋期交稅\n");
}

TEST_F(AccountDay, StatisticsWithoutDealsOrWithOnlyAnOpenLot) {
  day().dateText = "2024-03-15";
  const AccountStatistics none = ComputeAccountStatistics(account, state);
  EXPECT_EQ(MarginAccountText(none, "2024-03-15"),
            " 日期：2024-03-15\n\n　　　保證金餘額：100000 元\n");
  EXPECT_EQ(none.AverageGrossText(), "0");  // no NaN over zero lots
  EXPECT_EQ(none.AverageNetText(), "0");
  EXPECT_EQ(none.CostShareText(), "");

  SetQuote(8000, 7999, 8000);
  Market(kSideBuy);
  MatchAtQuote(ctx, "09:00:00");
  SetQuote(7990, 7989, 7991);
  RefreshTradeStatus(ctx);
  const AccountStatistics open = ComputeAccountStatistics(account, state);
  EXPECT_EQ(open.WinRateText(), "N/A");
  EXPECT_EQ(account.floatingPnl, -2000);
  EXPECT_EQ(open.net, -2000 - 232);
  EXPECT_EQ(open.CostShareText(), "10.39");  // 232 / 2232
  EXPECT_NE(MarginAccountText(open, "2024-03-15").find("勝率：N/A\n\n"), std::string::npos);
}

TEST_F(AccountDay, AutoCloseAllClosesLongLotsAtTheBid) {
  ScriptedPrompter prompter;
  prompter.answers = {PromptAnswer::Ok};
  state.LongPositions = {Lot("0001", kSideBuy, 8000, 2), Lot("0002", kSideBuy, 8002, 1)};
  state.nextOrderNo = 3;
  Limit(kSideBuy, 7950);  // a resting order is dropped, its row stays
  SetQuote(8005, 8004, 8006);
  ASSERT_TRUE(AutoCloseAll(ctx, prompter, "13:45:00", "大台指"));

  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text,
            "目前您尚有3口多單未平倉，按「確定」鍵則會自動平倉，按「取消」返回");
  EXPECT_EQ(prompter.shown[0].caption, "");
  EXPECT_TRUE(state.LongPositions.empty());
  EXPECT_TRUE(state.PendingOrders.empty());
  EXPECT_EQ(rows.pending.size(), 1u);
  ASSERT_EQ(state.DealRecords.size(), 2u);
  EXPECT_EQ(state.DealRecords[0].no, "0004");
  EXPECT_EQ(state.DealRecords[0].fillPrice, 8004);
  EXPECT_EQ(state.DealRecords[0].orderTime, "13:45:00");
  EXPECT_EQ(state.DealRecords[1].qty, 1);
  EXPECT_EQ(state.nextOrderNo, 5);
}

TEST_F(AccountDay, AutoCloseAllPromptsAndCancels) {
  struct Case {
    const char* name;
    int32_t longs, shorts;
    std::vector<PromptAnswer> answers;
    bool result;
    size_t prompts;
    bool longsClosed, shortsClosed;
  };
  const Case cases[] = {
      {"nothing open asks nothing", 0, 0, {}, true, 0, true, true},
      {"cancel on the long prompt changes nothing",
       2,
       0,
       {PromptAnswer::Cancel},
       false,
       1,
       false,
       true},
      {"short lots are bought back", 0, 2, {PromptAnswer::Ok}, true, 1, true, true},
      {"a long close stays done when the short prompt is cancelled",
       1,
       1,
       {PromptAnswer::Ok, PromptAnswer::Cancel},
       false,
       2,
       true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state = {};
    account.realisedPnl = account.totalCost = 0;
    if (c.longs > 0) state.LongPositions = {Lot("0001", kSideBuy, 8000, c.longs)};
    if (c.shorts > 0) state.ShortPositions = {Lot("0002", kSideSell, 8000, c.shorts)};
    SetQuote(8005, 8004, 8006);
    ScriptedPrompter prompter;
    prompter.answers = c.answers;
    EXPECT_EQ(AutoCloseAll(ctx, prompter, "13:45:00", "大台指"), c.result);
    EXPECT_EQ(prompter.shown.size(), c.prompts);
    EXPECT_EQ(state.LongPositions.empty(), c.longsClosed);
    EXPECT_EQ(state.ShortPositions.empty(), c.shortsClosed);
  }
}

TEST_F(AccountDay, DayEndCloseWaitsWhileTheBidIsMissing) {
  ScriptedPrompter prompter;
  prompter.answers = {PromptAnswer::Ok};
  state.LongPositions = {Lot("0001", kSideBuy, 8000, 1)};
  SetQuote(8005, -9999, 8006);
  ASSERT_TRUE(AutoCloseAll(ctx, prompter, "13:45:00", "大台指"));
  EXPECT_TRUE(state.DealRecords.empty());
  EXPECT_EQ(state.LongPositions.size(), 1u);
  EXPECT_EQ(state.PendingOrders.size(), 1u);
}

TEST_F(AccountDay, EndOfDayResetFoldsTheDayAndKeepsTheCounter) {
  RoundTrip();
  SetQuote(8010, 8010, 8011);
  Market(kSideBuy);
  MatchAtQuote(ctx, "09:20:00");  // an open lot at 8011
  SetQuote(8021, 8020, 8022);
  RefreshTradeStatus(ctx);
  PlaceTrigger(ctx, Fast("1"), kSideSell, 7900);
  const int64_t expected = 100000 + account.realisedPnl + account.floatingPnl;
  const int32_t counter = state.nextOrderNo;

  EndOfDayReset(ctx);
  EXPECT_EQ(account.marginBalance, expected);
  EXPECT_EQ(account.realisedPnl, 0);
  EXPECT_EQ(account.floatingPnl, 0);
  EXPECT_EQ(account.totalCost, 0);
  EXPECT_EQ(account.winCount, 0);
  EXPECT_EQ(account.lossCount, 0);
  EXPECT_TRUE(state.PendingOrders.empty() && state.TriggerOrders.empty() &&
              state.LongPositions.empty() && state.ShortPositions.empty() &&
              state.DealRecords.empty());
  EXPECT_EQ(state.nextOrderNo, counter);
  EXPECT_EQ(sink.statusText,
            "  委買[ 0] 委賣[ 0] 多[ 0] 空[ 0] 成[  0]   浮動損益[     0] 實現損益[     0] ");
  // The account window still shows the finished day.
  EXPECT_FALSE(rows.deals.empty());

  // The exit fold after an ended day adds nothing more.
  FoldDayIntoBalance(account);
  EXPECT_EQ(account.marginBalance, expected);
}

TEST(AccountStatisticsText, CostShareAndMoneyFormats) {
  struct Case {
    int64_t realised, floating, cost;
    const char* share;
    const char* net6;
  };
  const Case cases[] = {
      {800, 200, 250, "25.00", "  1000"},
      {-800, -200, 250, "25.00", " -1000"},
      {-250, 250, 250, "", "     0"},
      {3'000'000'000, 0, 0, "0.00", "2147483647"},
  };
  for (const Case& c : cases) {
    AccountFigures a;
    a.realisedPnl = c.realised;
    a.floatingPnl = c.floating;
    a.totalCost = c.cost;
    TradeState s;
    s.dealQty = 4;
    const AccountStatistics st = ComputeAccountStatistics(a, s);
    EXPECT_EQ(st.CostShareText(), c.share);
    EXPECT_EQ(MoneyText6(st.net), c.net6);
  }
}

TEST_F(AccountDay, ANegativeBalanceIsShownAsItIs) {
  account.marginBalance = 1000;
  account.realisedPnl = -5000;
  const AccountStatistics s = ComputeAccountStatistics(account, state);
  EXPECT_EQ(s.balanceShown, -4000);
  EndOfDayReset(ctx);
  EXPECT_EQ(account.marginBalance, -4000);
}

}  // namespace
}  // namespace kestrel
