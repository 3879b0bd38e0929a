#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "common/Clock.h"

namespace kestrel {

// The waits of a polling thread, which the closing program cuts short for good
// with Interrupt. Without an inner sleeper the waits take real time; with one
// (tests, the headless tools) they go to it. Thread-safe.
class InterruptibleSleeper final : public Sleeper {
 public:
  explicit InterruptibleSleeper(Sleeper* inner = nullptr) : inner_(inner) {}

  void SleepMs(uint32_t ms) override;
  // Ends the running wait; every later wait returns at once.
  void Interrupt();
  bool Interrupted() const;

 private:
  Sleeper* inner_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool interrupted_ = false;
};

}  // namespace kestrel
