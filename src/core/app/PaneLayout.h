#pragma once

#include <cstdint>
#include <vector>

#include "app/SplitterLayout.h"

namespace kestrel {

struct AppSettings;

// The main window's pane arrangement as numbers: the main splitter's two
// columns, the left column's four rows (stock list, chart I, chart II,
// analysis) and the right column's four rows (market summary, best five, order
// report, tick list). The window copies the current sizes in before a change
// and applies the resulting sizes to its splitters. UI thread only.
class PaneLayout {
 public:
  static constexpr int32_t kBarSize = 4;
  static constexpr int32_t kMarketSummaryHeight = 235;
  static constexpr int32_t kBestFiveHeight = 155;

  enum LeftRow { kStockList = 0, kChart1 = 1, kChart2 = 2, kAnalysis = 3 };
  enum RightRow { kSummary = 0, kBestFive = 1, kOrderReport = 2, kTickList = 3 };

  explicit PaneLayout(AppSettings& settings);

  // Before the panes exist, resizing and toggles do nothing.
  void SetPanesBuilt() { panesBuilt_ = true; }
  bool PanesBuilt() const { return panesBuilt_; }

  // The right column is 420 pixels on screens narrower than 1280, else 500.
  static int32_t RightColumnWidth(int32_t screenWidth);

  // A new client size: the splitters' heights and the main window's width.
  void Resize(int32_t clientWidth, int32_t columnHeight, int32_t screenWidth);

  // F5, F6, F7, F8, Tab. Each returns false when it did nothing.
  bool ToggleStockList();
  bool ToggleChart1();
  bool ToggleAnalysis();
  bool ToggleOrderReport();
  bool ToggleIndexWindow(int32_t screenWidth);
  bool IndexWindowShown() const { return indexWindowShown_; }

  // The best-five pane: 155 pixels with a recorded book, hidden without.
  void ShowBestFive(bool shown);

  // The sizes after the last layout; the window may write `current` back after
  // the user dragged a bar.
  std::vector<SplitterRow>& left() { return left_; }
  std::vector<SplitterRow>& right() { return right_; }
  std::vector<SplitterRow>& columns() { return columns_; }

 private:
  void LayOutLeft();
  void LayOutRight() { LayOutSplitter(right_, columnHeight_, kBarSize); }
  void LayOutColumns() { LayOutSplitter(columns_, clientWidth_, kBarSize); }

  AppSettings& settings_;
  bool panesBuilt_ = false;
  bool indexWindowShown_ = true;
  int32_t clientWidth_ = 0;
  int32_t columnHeight_ = 0;
  int32_t screenWidth_ = 0;
  std::vector<SplitterRow> left_, right_, columns_;
};

}  // namespace kestrel
