#include "trading/DealExport.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "TradeFixture.h"
#include "common/TextCodec.h"
#include "trading/DealImport.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::ReadFile;
using test::TradeFixture;

class DealExport : public TradeFixture {
 protected:
  DealExportInput Input(DealExportKind kind) {
    RefreshTradeStatus(ctx);
    DealExportInput in;
    in.kind = kind;
    in.deals = &rows.deals;
    in.dateText = "2024-03-15";
    in.now = {2024, 5, 2, 21, 7};
    in.dealQty = state.dealQty;
    in.stats = ComputeAccountStatistics(account, state);
    return in;
  }

  // A market buy at 8000 closed by a limit sell at 8010.
  void TwoDeals() {
    SetQuote(8000, 7999, 8000);
    Market(kSideBuy);
    MatchAtQuote(ctx, "09:00:00");
    SetQuote(8010, 8010, 8011);
    Limit(kSideSell, 8005);
    MatchAtQuote(ctx, "09:10:00");
  }
};

constexpr const char* kHead =
    "演練時間,2024-05-02\r\n"
    "復盤日期,2024-03-15\r\n\r\n"
    "成交記錄\r\n"
    "序號,委託時間,成交時間,商品,交易別,委託價,成交價,口數,手續費,交易稅,成交別\r\n";

TEST_F(DealExport, WithoutDealsOnlyTheFrameIsWritten) {
  EXPECT_EQ(DealExportText(Input(DealExportKind::Deals)),
            std::string(kHead) + "\r\n\r\n交易口數, 0");
  EXPECT_EQ(DealExportText(Input(DealExportKind::WithAccount)),
            std::string(kHead) +
                "\r\n保證金餘額,100000\r\n交易口數,0\r\n勝率,N/A\r\n毛損益,0\r\n交易成本,0\r\n"
                "總損益,0\r\n平均每口毛損,0\r\n平均每口淨損,0\r\n");
}

TEST_F(DealExport, DealRowsAsShownThenTheClosingLines) {
  TwoDeals();
  const std::string rowsText =
      "0001,09:30:00,09:00:00,大台指,買進,市價,8000,1,200,32,新倉\r\n"
      "0002,09:30:00,09:10:00,大台指,賣出,8005,8010,1,200,32,平倉\r\n";
  EXPECT_EQ(DealExportText(Input(DealExportKind::Deals)), kHead + rowsText + "\r\n\r\n交易口數, 2");
  EXPECT_EQ(DealExportText(Input(DealExportKind::WithAccount)),
            kHead + rowsText +
                "\r\n保證金餘額,101536\r\n交易口數,2\r\n勝率,100.0%\r\n毛損益,2000\r\n"
                "交易成本,464\r\n總損益,1536\r\n平均每口毛損,1000\r\n平均每口淨損,768\r\n");
}

TEST_F(DealExport, FileIsCp950AndFailuresAreReported) {
  TwoDeals();
  const auto dir = FreshDir();
  const DealExportInput in = Input(DealExportKind::Deals);
  EXPECT_FALSE(WriteDealExport(dir / kDealExportName, in).has_value());
  const std::string bytes = ReadFile(dir / kDealExportName);
  EXPECT_EQ(bytes, Utf8ToCp950(DealExportText(in)));
  EXPECT_EQ(Cp950ToUtf8(bytes), DealExportText(in));

  const auto failed = WriteDealExport(dir / "missing" / "folder" / kDealExportName, in);
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(failed->caption, "錯誤");
  EXPECT_FALSE(failed->text.empty());
}

TEST(DealExportRules, RefusedOnceTheReplayHasEnded) {
  EXPECT_FALSE(CheckDealExportAllowed(true).has_value());
  const auto refusal = CheckDealExportAllowed(false);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(
      *refusal,
      (UserMessage{"必須在盤勢結束之前進行匯出，盤勢結束後交易資料已清除，無法完整匯出", "提示"}));
}

TEST_F(DealExport, ExportedFileImportsBackRenumbered) {
  TwoDeals();
  const auto dir = FreshDir();
  const auto path = dir / kDetailedDealExportName;
  ASSERT_FALSE(WriteDealExport(path, Input(DealExportKind::WithAccount)).has_value());
  const std::vector<AccountRow> shown = rows.deals;

  state.nextOrderNo = 50;
  EXPECT_TRUE(ImportDeals(ctx, path).empty());
  ASSERT_EQ(rows.deals.size(), 2u);
  for (size_t k = 0; k < shown.size(); ++k) {
    std::vector<std::string> expected(kDealColumns, "");
    expected[kDealNo] = k == 0 ? "0001" : "0002";
    for (int column : {kDealFillTime, kDealProduct, kDealSide, kDealFillPrice, kDealQty})
      expected[column] = shown[k].cells[column];
    EXPECT_EQ(rows.deals[k].cells, expected);
  }
  ASSERT_EQ(state.DealRecords.size(), 2u);
  EXPECT_EQ(state.DealRecords[1].side, kSideSell);
  EXPECT_EQ(state.DealRecords[1].fillTime, "09:10:00");
  EXPECT_EQ(state.DealRecords[1].qty, 1);
  EXPECT_EQ(sink.With("account.firstDeal").size(), 1u);
  EXPECT_EQ(sink.events.back(), "dealsReplaced");
  // Open lots and the account are not touched.
  EXPECT_EQ(account.realisedPnl, 1536);
}

}  // namespace
}  // namespace kestrel
