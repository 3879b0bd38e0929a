#include "classroom/InterruptibleSleeper.h"

#include <chrono>

namespace kestrel {

void InterruptibleSleeper::SleepMs(uint32_t ms) {
  if (inner_ != nullptr) {
    if (!Interrupted()) inner_->SleepMs(ms);
    return;
  }
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return interrupted_; });
}

void InterruptibleSleeper::Interrupt() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  wake_.notify_all();
}

bool InterruptibleSleeper::Interrupted() const {
  std::lock_guard lock(mutex_);
  return interrupted_;
}

}  // namespace kestrel
