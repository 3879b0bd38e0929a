#include "common/Clock.h"

#include <chrono>
#include <thread>

namespace kestrel {

uint32_t SteadyClock::NowMs() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(ms.count());
}

void ThreadSleeper::SleepMs(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace kestrel
