#include "app/SplitterLayout.h"

#include <cstddef>
#include <cstdint>

namespace kestrel {

void LayOutSplitter(std::vector<SplitterRow>& rows, int32_t size, int32_t barSize) {
  if (rows.empty()) return;
  if (size < 0) size = 0;
  const size_t last = rows.size() - 1;
  for (size_t i = 0; i < last; ++i) {
    SplitterRow& r = rows[i];
    r.current = r.ideal < r.minimum ? 0 : r.ideal;  // too small to see
  }
  rows[last].current = INT32_MAX;  // the last row takes the rest

  int32_t left = size;
  for (size_t i = 0; i <= last; ++i) {
    SplitterRow& r = rows[i];
    if (left == 0) {
      r.current = 0;  // no room left
      continue;
    }
    if (left < r.minimum && i != 0) {
      // Below its minimum: not shown, the room goes to the row before.
      r.current = 0;
      rows[i - 1].current += left + 2;
      left = 0;
    } else if (r.current == 0) {
      if (i != 0) left = left > 2 ? left - 2 : 0;
    } else if (left < r.current) {
      r.current = left;  // does not fit: as large as possible
      left = 0;
    } else {
      left -= r.current;
    }
    if (i != last) {
      if (left > barSize) {
        left -= barSize;  // room for the bar
      } else {
        r.current += left;
        if (r.current > barSize - 2) r.current -= barSize - 2;
        left = 0;
      }
    }
  }
}

}  // namespace kestrel
