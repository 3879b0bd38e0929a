#include "panels/TickListModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tradingday/TradingDay.h"

namespace kestrel {
namespace {

// Records the view's notifications.
class RecordingObserver final : public TickListObserver {
 public:
  void BeginInsertRows(int32_t first, int32_t last) override {
    Log("insert " + std::to_string(first) + "-" + std::to_string(last));
  }
  void BeginRemoveRows(int32_t first, int32_t last) override {
    Log("remove " + std::to_string(first) + "-" + std::to_string(last));
  }
  void BeginReset() override { Log("reset"); }
  void SetRedraw(bool on) override { Log(on ? "redraw on" : "redraw off"); }
  std::vector<std::string> events;

 private:
  void Log(std::string e) { events.push_back(std::move(e)); }
};

class TickList : public ::testing::Test {
 protected:
  TickList() : dayPtr(std::make_unique<TradingDay>()), day(*dayPtr) {
    day.futuresReference = 8450;
    list.SetObserver(&observer);
  }

  void Tick(const char* key, const char* bid, const char* ask, const char* price,
            const char* volume, bool redraw = true) {
    list.InsertTickRow(day, key, bid, ask, price, volume, redraw);
  }

  // The row holding the newest entry.
  int32_t Newest() const { return list.BottomUp() ? list.RowCount() - 1 : 0; }

  std::vector<std::string> Row(int32_t row) const {
    std::vector<std::string> cells;
    for (int32_t c = 0; c < kTickListColumns; ++c) cells.push_back(list.CellText(row, c));
    return cells;
  }

  std::unique_ptr<TradingDay> dayPtr;
  TradingDay& day;
  TickListModel list;
  RecordingObserver observer;
};

TEST(TickListClasses, ColourCodes) {
  struct Case {
    const char* name;
    bool fill;
    int32_t bid, ask, price;
    int32_t code;
  };
  const Case cases[] = {
      // reference 8450 throughout
      {"inner, all up", false, 8500, 8501, 8500, 0 | 2 << 2 | 2 << 4 | 2 << 6},
      {"outer at the ask", false, 8500, 8501, 8501, 1 | 2 << 2 | 2 << 4 | 2 << 6},
      {"between", false, 8500, 8502, 8501, 2 | 2 << 2 | 2 << 4 | 2 << 6},
      {"below and equal", false, 8449, 8450, 8449, 0 | 1 << 2 | 0 << 4 | 1 << 6},
      {"no bid reads 0: below, and the trade is outer", false, 0, 8451, 8451,
       1 | 1 << 2 | 2 << 4 | 2 << 6},
      {"a negative price compares unsigned: above and outer", false, 8449, 8451, -5,
       1 | 1 << 2 | 2 << 4 | 2 << 6},
      {"a fill above the ask is between", true, 8500, 8501, 8502, 2 | 2 << 2 | 2 << 4 | 2 << 6},
      {"a fill at the bid is inner", true, 8500, 8501, 8500, 0 | 2 << 2 | 2 << 4 | 2 << 6},
      {"a fill at the ask is outer", true, 8500, 8501, 8501, 1 | 2 << 2 | 2 << 4 | 2 << 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t side =
        c.fill ? FillSideClass(c.price, c.bid, c.ask) : TickSideClass(c.price, c.bid, c.ask);
    EXPECT_EQ(TickColourCode(side, TickPriceClass(c.bid, 8450), TickPriceClass(c.ask, 8450),
                             TickPriceClass(c.price, 8450)),
              c.code);
  }
}

TEST_F(TickList, StartsWithBlankRows) {
  ASSERT_EQ(list.RowCount(), TickListModel::kBlankRows);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"  ", "  ", "  ", "  ", "  ", "  ", ""}));
  EXPECT_EQ(list.ColourCode(49), 0);
  EXPECT_EQ(list.CellText(50, 0), "");
  EXPECT_EQ(list.CellText(0, 7), "");
  EXPECT_EQ(list.CellText(-1, 0), "");
}

TEST_F(TickList, TicksAndFillsInBothScrollModes) {
  for (bool bottomUp : {true, false}) {
    SCOPED_TRACE(bottomUp);
    list.SetBottomUp(bottomUp);
    list.ResetTickList();
    list.SetRunningTotal(0);
    day.stepInnerVolume = day.stepOuterVolume = 0;

    Tick("090001", "8500", "8501", "8500", "3");
    EXPECT_EQ(Row(Newest()),
              (std::vector<std::string>{"09:00:01", "8500", "8501", "8500", "3", "3", ""}));
    EXPECT_EQ(list.ColourCode(Newest()), 168);
    Tick("090002", "--", "8501", "8501", "2");
    EXPECT_EQ(Row(Newest()),
              (std::vector<std::string>{"09:00:02", "--", "8501", "8501", "2", "5", ""}));
    list.InsertFillRow(day, "09:00:02", 8500, 8501, 8502, 4);
    EXPECT_EQ(Row(Newest()),
              (std::vector<std::string>{"09:00:02", "8500", "8501", "8502", "4", "9", ""}));
    EXPECT_EQ(list.ColourCode(Newest()) & 3, 2);

    EXPECT_EQ(list.RunningTotal(), 9);
    EXPECT_EQ(day.totalVolume, 9);
    EXPECT_EQ(day.stepInnerVolume, 3);
    EXPECT_EQ(day.stepOuterVolume, 2);  // fills leave the step volumes alone
    EXPECT_EQ(list.RowCount(), 53);
    // The blank rows stay at the far end from the trades.
    const int32_t blank = bottomUp ? 0 : list.RowCount() - 1;
    EXPECT_EQ(list.CellText(blank, kTickTime), "  ");
    EXPECT_EQ(list.ScrollRow(), bottomUp ? 52 : 0);
  }
}

TEST_F(TickList, TextsAreShownAsRead) {
  Tick("090001", "08500", "8501 ", "+8500", "3x");
  Tick("0900", "1", "2", "3", "4");
  list.InsertFillRow(day, "9:5:3", 1, 2, 3, 4);
  EXPECT_EQ(Row(2),
            (std::vector<std::string>{"09:00:01", "08500", "8501 ", "+8500", "3x", "3", ""}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"09:00", "1", "2", "3", "4", "7", ""}));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"9:5:3", "1", "2", "3", "4", "11", ""}));
  EXPECT_EQ(list.RowTime(2), 90001);
  EXPECT_EQ(list.RowTime(1), 900);
  EXPECT_EQ(list.RowTime(0), 953);
}

TEST_F(TickList, RedrawAndRowNotifications) {
  list.SetBottomUp(true);
  observer.events.clear();
  Tick("090001", "1", "2", "3", "4", true);
  Tick("090001", "1", "2", "3", "4", false);
  list.InsertFillRow(day, "09:00:01", 1, 2, 3, 4);
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"redraw off", "insert 50-50", "redraw on", "redraw off",
                                      "insert 51-51", "redraw off", "insert 52-52", "redraw on"}));
  list.SetBottomUp(false);
  observer.events.clear();
  Tick("090001", "1", "2", "3", "4", false);
  EXPECT_EQ(observer.events, (std::vector<std::string>{"redraw off", "insert 0-0"}));
}

TEST_F(TickList, RewindRemovesTheNewestRowsInTenths) {
  struct Case {
    bool bottomUp;
    int32_t ticks;
    int32_t from;  // HHMMSS
    int32_t removed;
    std::vector<int32_t> tenths;
  };
  const Case cases[] = {
      {true, 100, 90040, 60, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {false, 100, 90040, 60, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {true, 100, 90137, 3, {1, 2, 3}},  // fewer than ten: a row a slice
      {false, 100, 95000, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bottomUp) + " " + std::to_string(c.from));
    list.SetBottomUp(c.bottomUp);
    list.ResetTickList();
    for (int32_t i = 0; i < c.ticks; ++i) {
      char key[16];
      std::snprintf(key, sizeof key, "09%02d%02d", i / 60, i % 60);
      // Every third row has a text that is not its number's own.
      Tick(key, i % 3 ? "8000" : "--", "8001", "8000", "1");
    }
    observer.events.clear();
    std::vector<int32_t> tenths;
    EXPECT_EQ(list.RemoveRowsFrom(c.from, [&](int32_t t) { tenths.push_back(t); }), c.removed);
    EXPECT_EQ(tenths, c.tenths);
    EXPECT_EQ(list.RowCount(), TickListModel::kBlankRows + c.ticks - c.removed);
    const int32_t newest = c.bottomUp ? list.RowCount() - 1 : 0;
    EXPECT_LT(list.RowTime(newest), c.from);
    if (c.removed > 0) {
      // The first slice is the newest rows.
      const int32_t size = TickListModel::kBlankRows + c.ticks;
      const int32_t slice = (c.removed + 9) / 10;
      const std::string first = c.bottomUp
                                    ? std::to_string(size - slice) + "-" + std::to_string(size - 1)
                                    : "0-" + std::to_string(slice - 1);
      EXPECT_EQ(observer.events.front(), "redraw off");
      EXPECT_EQ(observer.events[1], "remove " + first);
      EXPECT_EQ(observer.events.back(), "redraw on");
    }
    // Rows added after a removal keep their own texts.
    Tick("095959", "--", "8001", "8000", "1");
    Tick("095959", "8000", "8001", "8000", "1");
    const int32_t last = c.bottomUp ? list.RowCount() - 1 : 0;
    const int32_t before = c.bottomUp ? last - 1 : 1;
    EXPECT_EQ(list.CellText(last, kTickBid), "8000");
    EXPECT_EQ(list.CellText(before, kTickBid), "--");
    const int32_t older = c.bottomUp ? before - 1 : 2;
    const int32_t olderIndex = c.ticks - c.removed - 1;
    EXPECT_EQ(list.CellText(older, kTickBid), olderIndex % 3 ? "8000" : "--");
  }
}

}  // namespace
}  // namespace kestrel
