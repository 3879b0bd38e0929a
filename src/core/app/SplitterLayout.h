#pragma once

#include <cstdint>
#include <vector>

namespace kestrel {

// One row (or column) of a splitter: the size it would like, the size below
// which it is not shown, and the size it got at the last layout.
struct SplitterRow {
  int32_t ideal = 0;
  int32_t minimum = 0;
  int32_t current = 0;
};

// Lays out the rows of a splitter in `size` pixels with `barSize` pixels between
// rows, the classic way: rows take their ideal size in order, a row whose ideal
// is below its minimum is not shown, the last row takes what is left, and rows
// that no longer fit are shown smaller or not at all. Writes `current`.
void LayOutSplitter(std::vector<SplitterRow>& rows, int32_t size, int32_t barSize);

}  // namespace kestrel
