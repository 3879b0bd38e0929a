#pragma once

#include <cstdint>

namespace kestrel {

// What the core knows of chart views I (index 0) and II (index 1): the display
// mode, the scroll bar, and the ranges the view last drew with (the K-line
// upkeep tests new bars against them). The GUI reads and writes the same state.
struct ChartView {
  int32_t mode = 1;  // 1..10, see the display modes
  int32_t scrollMax = 0;
  int32_t scrollPos = 0;
  int32_t scrollPage = 0;
  uint32_t priceTop = 0;
  uint32_t priceBottom = 0;
  float macdRange = 0;  // chart II's analysis MACD range
};

struct ChartViews {
  ChartView view[2];
};

}  // namespace kestrel
