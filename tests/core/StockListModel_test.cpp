#include "panels/StockListModel.h"

#include <gtest/gtest.h>

#include <memory>

#include "tradingday/TradingDay.h"

namespace kestrel {
namespace {

TEST(StockListText, TrimStockPrice) {
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"45.65", "45.65"},
      {"49.99", "49.99"},
      {"50.00", "50.0"},
      {"123.50", "123.5"},
      {"499.50", "499.5"},
      {"512.00", "512"},
      {"1085.00", "1085"},
      // Fewer decimals than the size expects: the whole part is never cut.
      {"512", "512"},
      {"512.0", "512"},
      {"123.5", "123"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TrimStockPrice(c.text), c.shown);
  }
}

TEST(StockListText, FormatStockChange) {
  struct Case {
    double reference, last;
    const char* text;
  };
  const Case cases[] = {
      {100.0, 100.4, "▲0.40"},  {100.0, 87.5, "▼12.5"},  {100.0, 100.0, "--"},
      {100.0, 100.0005, "--"},  {100.0, 110.0, "▲10.0"}, {100.0, 90.01, "▼9.99"},
      {45.0f, 45.65f, "▲0.65"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last);
    EXPECT_EQ(FormatStockChange(c.reference, c.last), c.text);
  }
}

TEST(StockListText, StockQuoteCode) {
  struct Case {
    const char* name;
    double bid, ask, last;
    int32_t side, bidClass, askClass, lastClass, limit;
  };
  // Reference 100, upper price 107, lower price 93.
  const Case cases[] = {
      {"at the ask", 99.5, 100.5, 100.5, 1, 1, 2, 2, 0},
      {"at the bid", 99.5, 100.5, 99.5, 0, 1, 2, 1, 0},
      {"between", 99.5, 100.5, 100.0, 2, 1, 2, 0, 0},
      {"within 0.001 of the ask", 99.5, 100.5, 100.4995, 1, 1, 2, 2, 0},
      {"at the upper price", 107.0, 0.0, 107.0, 1, 2, 1, 2, 2},
      {"at the lower price", 0.0, 93.0, 93.0, 1, 1, 1, 1, 1},
      {"reference equal", 100.0, 100.0, 100.0, 1, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t code = StockQuoteCode(107.0, 93.0, c.bid, c.ask, 100.0, c.last);
    EXPECT_EQ(code & 3, c.side);
    EXPECT_EQ(code >> 2 & 3, c.bidClass);
    EXPECT_EQ(code >> 4 & 3, c.askClass);
    EXPECT_EQ(code >> 6 & 3, c.lastClass);
    EXPECT_EQ(code >> 8 & 3, c.limit);
  }
}

TEST(StockList, RowsFollowTheirStock) {
  auto day = std::make_unique<TradingDay>();
  day->stockCount = 2;
  day->stocks[0].code = "2330";
  day->stocks[0].name = "台積電";
  day->stocks[0].reference = 100.0f;
  day->stocks[0].limitUp = 107.0f;
  day->stocks[0].limitDown = 93.0f;
  day->stocks[1].code = "2317";
  StockListModel list;
  list.Refill(*day);
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(0, kStockCode), "2330");
  EXPECT_EQ(list.CellText(0, kStockName), "台積電");
  EXPECT_EQ(list.ItemData(0), kNeutralStockCode);

  list.ApplyRecord(day->stocks[0], {"090000", "0", "107.00", "107.00", "12", "3400"});
  const std::vector<std::string> shown = {
      list.CellText(0, kStockBid),    list.CellText(0, kStockAsk),
      list.CellText(0, kStockPrice),  list.CellText(0, kStockChange),
      list.CellText(0, kStockVolume), list.CellText(0, kStockTotal)};
  EXPECT_EQ(shown, (std::vector<std::string>{"--", "107.0", "107.0", "▲7.00", "12", "3400"}));
  EXPECT_EQ(list.ItemData(0) >> 8 & 3, 2);  // the name on red
  EXPECT_EQ(list.CellText(1, kStockPrice), "");

  list.ClearQuoteTexts();
  EXPECT_EQ(list.CellText(0, kStockPrice), "");
  EXPECT_NE(list.ItemData(0), kNeutralStockCode);
  list.ClearQuotes();
  EXPECT_EQ(list.ItemData(0), kNeutralStockCode);
  EXPECT_EQ(list.CellText(5, kStockCode), "");
}

}  // namespace
}  // namespace kestrel
