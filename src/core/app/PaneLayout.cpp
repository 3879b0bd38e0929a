#include "app/PaneLayout.h"

#include <algorithm>

#include "app/AppSettings.h"

namespace kestrel {

namespace {

constexpr int32_t kShownMinimum = 30;

}  // namespace

PaneLayout::PaneLayout(AppSettings& settings)
    : settings_(settings), left_(4), right_(4), columns_(2) {
  // Hidden until their flags say otherwise; chart II and the tick list take the rest.
  for (SplitterRow& r : left_) r.minimum = kShownMinimum;
  right_[kSummary] = {kMarketSummaryHeight, 0, 0};
}

int32_t PaneLayout::RightColumnWidth(int32_t screenWidth) {
  return screenWidth < 1280 ? 420 : 500;
}

void PaneLayout::Resize(int32_t clientWidth, int32_t columnHeight, int32_t screenWidth) {
  clientWidth_ = clientWidth;
  columnHeight_ = columnHeight;
  screenWidth_ = screenWidth;
  if (!panesBuilt_) return;
  if (indexWindowShown_) {
    columns_[0].ideal = std::max(clientWidth - RightColumnWidth(screenWidth), 0);
    LayOutColumns();
    right_[kSummary].ideal = kMarketSummaryHeight;
    LayOutRight();
  }
  LayOutLeft();
  if (settings_.VIEW_ORDER == 1) {
    right_[kOrderReport].ideal = settings_.VIEW_ORDER_HIGH;
    LayOutRight();
  }
}

void PaneLayout::LayOutLeft() {
  if (!panesBuilt_) return;
  int32_t total = 0;
  for (const SplitterRow& r : left_) total += r.current;
  if (total == 0) total = columnHeight_;  // nothing laid out yet
  struct Optional {
    LeftRow row;
    int32_t shown;
    int32_t height;
  };
  const Optional rows[] = {{kStockList, settings_.VIEW_STOCKLIST, settings_.VIEW_STOCKLIST_HIGH},
                           {kChart1, settings_.VIEW_DRAW1, settings_.VIEW_DRAW1_HIGH}};
  for (const Optional& o : rows) {
    if (o.shown != 1) continue;
    if (o.height < total) {
      left_[o.row] = {o.height, kShownMinimum, left_[o.row].current};
      total -= o.height;
    } else {
      left_[o.row] = {0, kShownMinimum, left_[o.row].current};
    }
  }
  left_[kChart2].ideal = total;
  left_[kChart2].minimum = kShownMinimum;
  LayOutSplitter(left_, columnHeight_, kBarSize);
  if (settings_.VIEW_BIAS == 1) {
    int32_t h = left_[kChart2].current - settings_.VIEW_BIAS_HIGH;
    if (h <= 0) h = 20;
    left_[kChart2].ideal = h;
    LayOutSplitter(left_, columnHeight_, kBarSize);
  }
}

bool PaneLayout::ToggleStockList() {
  if (!panesBuilt_) return false;
  int32_t& flag = settings_.VIEW_STOCKLIST;
  left_[kStockList] = {flag == 1 ? 0 : settings_.VIEW_STOCKLIST_HIGH, 0, left_[kStockList].current};
  flag = flag == 1 ? 0 : 1;
  LayOutLeft();
  return true;
}

bool PaneLayout::ToggleChart1() {
  if (!panesBuilt_) return false;
  int32_t& flag = settings_.VIEW_DRAW1;
  left_[kChart1] = {flag == 1 ? 0 : settings_.VIEW_DRAW1_HIGH, 0, left_[kChart1].current};
  flag = flag == 1 ? 0 : 1;
  LayOutLeft();
  return true;
}

bool PaneLayout::ToggleAnalysis() {
  if (!panesBuilt_) return false;
  const bool wasShown = settings_.VIEW_BIAS == 1;
  settings_.VIEW_BIAS = wasShown ? 0 : 1;
  if (wasShown) {
    left_[kAnalysis].ideal = 0;
    left_[kAnalysis].minimum = kShownMinimum;
    LayOutLeft();
  } else {
    // A chart II shorter than the analysis pane would get a negative height:
    // it keeps the same 20 pixels the general layout gives it then.
    int32_t h = left_[kChart2].current - settings_.VIEW_BIAS_HIGH;
    if (h <= 0) h = 20;
    left_[kChart2].ideal = h;
    left_[kChart2].minimum = kShownMinimum;
    LayOutSplitter(left_, columnHeight_, kBarSize);
  }
  return true;
}

bool PaneLayout::ToggleOrderReport() {
  if (!panesBuilt_ || !indexWindowShown_) return false;
  int32_t& flag = settings_.VIEW_ORDER;
  right_[kOrderReport].ideal = flag == 1 ? 0 : settings_.VIEW_ORDER_HIGH;
  flag = flag == 1 ? 0 : 1;
  LayOutRight();
  return true;
}

bool PaneLayout::ToggleIndexWindow(int32_t screenWidth) {
  if (!panesBuilt_) return false;
  indexWindowShown_ = !indexWindowShown_;
  columns_[0].ideal = indexWindowShown_ ? std::max(clientWidth_ - RightColumnWidth(screenWidth), 0)
                                        : screenWidth;  // the right column leaves the window
  LayOutColumns();
  return true;
}

void PaneLayout::ShowBestFive(bool shown) {
  right_[kBestFive].ideal = shown ? kBestFiveHeight : 0;
  LayOutRight();
}

}  // namespace kestrel
