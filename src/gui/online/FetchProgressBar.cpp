#include "online/FetchProgressBar.h"

#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace kestrel {

void FetchProgressBar::SetRange(uint64_t maximum) {
  constexpr uint64_t kIntMax = std::numeric_limits<int>::max();
  shift_ = 0;
  while ((maximum >> shift_) > kIntMax) ++shift_;
  maximum_ = maximum;
  // A 0..0 range would turn the bar into a busy indicator that never moves
  // while the thread blocks; an unknown size shows as an empty bar instead.
  bar_->setRange(0, std::max(1, static_cast<int>(maximum >> shift_)));
  bar_->setValue(0);
}

void FetchProgressBar::SetPosition(uint64_t position) {
  const uint64_t clamped = std::min(position, maximum_);
  bar_->setValue(static_cast<int>(clamped >> shift_));
}

}  // namespace kestrel
