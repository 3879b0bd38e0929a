#pragma once

#include <cstdint>

class QProgressBar;

namespace kestrel {

// Shows a fetch's 64-bit byte counts on a progress bar's int range. The bar
// repaints itself at once, so it moves while the fetch blocks the thread.
class FetchProgressBar {
 public:
  explicit FetchProgressBar(QProgressBar* bar) : bar_(bar) {}

  // 0 .. maximum; a maximum of 0 (size unknown) shows an empty bar.
  void SetRange(uint64_t maximum);
  // Clamped into the range.
  void SetPosition(uint64_t position);

 private:
  QProgressBar* bar_;
  int shift_ = 0;  // counts are divided by 2^shift_ to fit an int
  uint64_t maximum_ = 0;
};

}  // namespace kestrel
