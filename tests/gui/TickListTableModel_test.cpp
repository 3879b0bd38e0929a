#include "panels/TickListTableModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QColor>

#include "charts/ColourSchemes.h"
#include "panels/OrderReportModel.h"
#include "panels/RightDownView.h"
#include "panels/RightOrderView.h"
#include "tradingday/TradingDay.h"
#include "widgets/ColoredStatusBar.h"

namespace kestrel {
namespace {

class TickListAdapter : public ::testing::Test {
 protected:
  void Insert(const char* key, const char* bid, const char* ask, const char* price,
              bool redrawAfter = true) {
    list.InsertTickRow(day, key, bid, ask, price, "2", redrawAfter);
  }
  QColor Colour(int row, int column) {
    return model.data(model.index(row, column), Qt::ForegroundRole).value<QColor>();
  }
  std::string Text(int row, int column) {
    return model.data(model.index(row, column), Qt::DisplayRole).toString().toStdString();
  }

  TradingDay day;
  TickListModel list;
  ColourSettings colours;
  TickListTableModel model{list, colours};
  QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(TickListAdapter, RowsHeldBackWhileRedrawIsOffAppearInOrder) {
  for (bool bottomUp : {true, false}) {
    SCOPED_TRACE(bottomUp);
    list.SetBottomUp(bottomUp);
    list.ResetTickList();
    list.SetRunningTotal(0);
    ASSERT_EQ(model.rowCount(), 50);
    // Above 4x the rows go in with redrawing off, announced once per heartbeat.
    Insert("090001", "8001", "8002", "8002", false);
    Insert("090002", "8001", "8002", "8001", false);
    EXPECT_EQ(model.rowCount(), 50);
    list.EnableRedraw();
    ASSERT_EQ(model.rowCount(), 52);
    const int newest = bottomUp ? 51 : 0;
    const int older = bottomUp ? 50 : 1;
    EXPECT_EQ(Text(newest, 0), "09:00:02");
    EXPECT_EQ(Text(older, 0), "09:00:01");
    EXPECT_EQ(Text(newest, 5), "4");
    // At 4x or less every row shows at once.
    Insert("090003", "8001", "8002", "8002", true);
    EXPECT_EQ(model.rowCount(), 53);
    EXPECT_EQ(Text(bottomUp ? 52 : 0, 0), "09:00:03");
    // The blank rows stay on the far side of the trades.
    EXPECT_EQ(Text(bottomUp ? 0 : 52, 0), "  ");
  }
}

TEST_F(TickListAdapter, RewindRemovalFlushesHeldRowsFirst) {
  list.SetBottomUp(true);
  Insert("100000", "8001", "8002", "8002");
  Insert("100500", "8001", "8002", "8002", false);
  Insert("101000", "8001", "8002", "8002", false);
  EXPECT_EQ(list.RemoveRowsFrom(100500), 2);
  EXPECT_EQ(model.rowCount(), 51);
  EXPECT_EQ(Text(50, 0), "10:00:00");
}

TEST_F(TickListAdapter, ColoursFollowTheRowCode) {
  day.futuresReference = 8450;
  list.SetBottomUp(true);
  const QColor up = ColourFromRef(colours.TICK_COLOR_UP);
  const QColor eq = ColourFromRef(colours.TICK_COLOR_EQ);
  const QColor inner = ColourFromRef(colours.TICK_COLOR_INNER);
  const QColor outer = ColourFromRef(colours.TICK_COLOR_OUTER);
  struct Case {
    const char *bid, *ask, *price;
    QColor volume;
  };
  const Case cases[] = {
      {"8500", "8501", "8500", inner},  // at the bid
      {"8500", "8501", "8501", outer},  // at the ask
      {"8500", "8502", "8501", eq},     // between
  };
  for (const Case& c : cases) {
    Insert("090001", c.bid, c.ask, c.price);
    const int row = model.rowCount() - 1;
    SCOPED_TRACE(c.price);
    for (int column : {1, 2, 3}) EXPECT_EQ(Colour(row, column), up);
    EXPECT_EQ(Colour(row, 4), c.volume);
    EXPECT_EQ(Colour(row, 5), c.volume);
    EXPECT_EQ(Colour(row, 0), ColourFromRef(colours.TICK_COLOR_TIME));
  }
  // A user fill above the ask is "between", unlike a replayed tick there.
  list.InsertFillRow(day, "09:00:02", 8500, 8501, 8502, 1);
  EXPECT_EQ(Colour(model.rowCount() - 1, 4), eq);
  Insert("090003", "8500", "8501", "8502");
  EXPECT_EQ(Colour(model.rowCount() - 1, 4), outer);
  // Below the reference is the down colour.
  Insert("090004", "8400", "8401", "8400");
  EXPECT_EQ(Colour(model.rowCount() - 1, 3), ColourFromRef(colours.TICK_COLOR_DOWN));
}

TEST(TickListView, ColumnWidthsFollowThePane) {
  const int w = 480;
  const int expected[7] = {80, 80, 80, 80, 70, 84, 0};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(CRightDownView::ColumnWidth(c, w), expected[c]) << c;
  const int order[6] = {80, 80, 80, 80, 70, 74};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(CRightOrderView::ColumnWidth(c, w), order[c]) << c;
}

TEST(OrderReport, LinesAreColouredByTheirCode) {
  ColourSettings colours;
  OrderReportModel model(colours);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  struct Case {
    int code;
    int32_t colour;
  };
  const Case cases[] = {{0, colours.TRADE_COLOR_ORDER},
                        {1, colours.TRADE_COLOR_BUY},
                        {2, colours.TRADE_COLOR_SELL},
                        {3, colours.TRADE_COLOR_STOPORDER},
                        {7, 0x0000FF}};
  for (const Case& c : cases) {
    model.Append({"09:00:01", "小台指", "買進", "8000", "1", "委託", c.code});
    const QModelIndex index = model.index(model.rowCount() - 1, 5);
    EXPECT_EQ(model.data(index, Qt::DisplayRole).toString().toStdString(), "委託");
    EXPECT_EQ(model.data(index, Qt::ForegroundRole).value<QColor>(), ColourFromRef(c.colour));
  }
  model.Clear();
  EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace kestrel
