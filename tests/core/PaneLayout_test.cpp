#include "app/PaneLayout.h"

#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "common/ProfileFile.h"

namespace kestrel {
namespace {

std::vector<int32_t> Sizes(const std::vector<SplitterRow>& rows) {
  std::vector<int32_t> sizes;
  for (const SplitterRow& r : rows) sizes.push_back(r.current);
  return sizes;
}

int32_t Sum(const std::vector<SplitterRow>& rows) {
  int32_t total = 0;
  for (const SplitterRow& r : rows) total += r.current;
  return total;
}

struct LayoutFixture : ::testing::Test {
  AppSettings settings = ReadAppSettings(ProfileFile());
  PaneLayout layout{settings};

  void Build(int32_t width = 1920, int32_t height = 900, int32_t screen = 1920) {
    layout.SetPanesBuilt();
    layout.Resize(width, height, screen);
  }
};

TEST(SplitterLayout, RowsTakeIdealSizesAndTheLastTheRest) {
  std::vector<SplitterRow> rows = {{100, 30, 0}, {0, 30, 0}, {200, 30, 0}, {0, 30, 0}};
  LayOutSplitter(rows, 600, 4);
  EXPECT_EQ(Sizes(rows)[0], 100);
  EXPECT_EQ(Sizes(rows)[1], 0);
  EXPECT_EQ(Sizes(rows)[2], 200);
  EXPECT_GT(Sizes(rows)[3], 250);
  EXPECT_LE(Sum(rows), 600);

  // Not enough room: the rows that do not fit shrink or vanish.
  std::vector<SplitterRow> tight = {{500, 30, 0}, {500, 30, 0}, {0, 30, 0}};
  LayOutSplitter(tight, 600, 4);
  EXPECT_EQ(tight[0].current, 500);
  EXPECT_LE(tight[1].current, 96);
  EXPECT_LE(Sum(tight), 600);
}

TEST_F(LayoutFixture, FirstStartShowsChartTwoSummaryAndTickList) {
  Build();
  const auto left = Sizes(layout.left());
  EXPECT_EQ(left[PaneLayout::kStockList], 0);
  EXPECT_EQ(left[PaneLayout::kChart1], 0);
  EXPECT_GT(left[PaneLayout::kChart2], 800);
  EXPECT_LT(left[PaneLayout::kAnalysis], 30);
  const auto right = Sizes(layout.right());
  EXPECT_EQ(right[PaneLayout::kSummary], 235);
  EXPECT_EQ(right[PaneLayout::kBestFive], 0);
  EXPECT_EQ(right[PaneLayout::kOrderReport], 0);
  EXPECT_GT(right[PaneLayout::kTickList], 600);
}

TEST_F(LayoutFixture, RightColumnWidthFollowsTheScreen) {
  EXPECT_EQ(PaneLayout::RightColumnWidth(1279), 420);
  EXPECT_EQ(PaneLayout::RightColumnWidth(1280), 500);
  Build(1200, 800, 1200);
  EXPECT_EQ(layout.columns()[0].current, 1200 - 420);
}

TEST_F(LayoutFixture, StoredPaneHeightsAreUsed) {
  settings.VIEW_STOCKLIST = 1;
  settings.VIEW_BIAS = 1;
  settings.VIEW_ORDER = 1;
  Build();
  const auto left = Sizes(layout.left());
  EXPECT_EQ(left[PaneLayout::kStockList], 130);
  EXPECT_NEAR(left[PaneLayout::kAnalysis], 100, 8);
  EXPECT_EQ(Sizes(layout.right())[PaneLayout::kOrderReport], 169);
}

TEST_F(LayoutFixture, TogglesShowAndHidePanes) {
  Build();
  ASSERT_TRUE(layout.ToggleStockList());
  EXPECT_EQ(settings.VIEW_STOCKLIST, 1);
  EXPECT_EQ(Sizes(layout.left())[PaneLayout::kStockList], 130);
  ASSERT_TRUE(layout.ToggleStockList());
  EXPECT_EQ(settings.VIEW_STOCKLIST, 0);
  EXPECT_EQ(Sizes(layout.left())[PaneLayout::kStockList], 0);

  ASSERT_TRUE(layout.ToggleAnalysis());
  EXPECT_EQ(settings.VIEW_BIAS, 1);
  EXPECT_NEAR(Sizes(layout.left())[PaneLayout::kAnalysis], 100, 8);

  ASSERT_TRUE(layout.ToggleOrderReport());
  EXPECT_EQ(Sizes(layout.right())[PaneLayout::kOrderReport], 169);
}

TEST_F(LayoutFixture, OversizedStockListStaysCollapsed) {
  settings.VIEW_STOCKLIST_HIGH = 5000;
  Build();
  ASSERT_TRUE(layout.ToggleStockList());
  EXPECT_EQ(settings.VIEW_STOCKLIST, 1);
  EXPECT_EQ(Sizes(layout.left())[PaneLayout::kStockList], 0);
}

TEST_F(LayoutFixture, IndexWindowToggles) {
  Build();
  const int32_t normal = layout.columns()[0].current;
  ASSERT_TRUE(layout.ToggleIndexWindow(1920));
  EXPECT_FALSE(layout.IndexWindowShown());
  EXPECT_EQ(layout.columns()[1].current, 0);
  EXPECT_FALSE(layout.ToggleOrderReport()) << "F8 does nothing while the index window is hidden";
  EXPECT_EQ(settings.VIEW_ORDER, 0);
  ASSERT_TRUE(layout.ToggleIndexWindow(1920));
  EXPECT_EQ(layout.columns()[0].current, normal);
}

TEST_F(LayoutFixture, NothingHappensBeforeThePanesExist) {
  EXPECT_FALSE(layout.ToggleStockList());
  EXPECT_FALSE(layout.ToggleIndexWindow(1920));
  EXPECT_EQ(settings.VIEW_STOCKLIST, 0);
}

TEST_F(LayoutFixture, BestFivePane) {
  Build();
  layout.ShowBestFive(true);
  EXPECT_EQ(Sizes(layout.right())[PaneLayout::kBestFive], 155);
  layout.ShowBestFive(false);
  EXPECT_EQ(Sizes(layout.right())[PaneLayout::kBestFive], 0);
}

}  // namespace
}  // namespace kestrel
