#pragma once

#include <cstdint>

namespace kestrel {

// Monotonic millisecond clock, 32 bits wide and wrapping like the platform tick
// count: differences are taken in unsigned arithmetic. Implementations are not
// required to be thread-safe.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual uint32_t NowMs() = 0;
};

// The fixed waits of the program (loading pauses, download retries, polling).
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void SleepMs(uint32_t ms) = 0;
};

// Real time: steady_clock truncated to 32 bits.
class SteadyClock final : public MonotonicClock {
 public:
  uint32_t NowMs() override;
};

// Real waits on the calling thread.
class ThreadSleeper final : public Sleeper {
 public:
  void SleepMs(uint32_t ms) override;
};

// Tests and the headless simulator: time moves only when told.
class ManualClock final : public MonotonicClock {
 public:
  explicit ManualClock(uint32_t start = 0) : now_(start) {}
  uint32_t NowMs() override { return now_; }
  void Advance(uint32_t ms) { now_ += ms; }
  void Set(uint32_t ms) { now_ = ms; }

 private:
  uint32_t now_;
};

// Waits that only add up what was asked for; optionally move a manual clock.
class RecordingSleeper final : public Sleeper {
 public:
  explicit RecordingSleeper(ManualClock* clock = nullptr) : clock_(clock) {}
  void SleepMs(uint32_t ms) override {
    total_ += ms;
    ++calls_;
    if (clock_ != nullptr) clock_->Advance(ms);
  }
  uint64_t TotalMs() const { return total_; }
  int Calls() const { return calls_; }

 private:
  ManualClock* clock_;
  uint64_t total_ = 0;
  int calls_ = 0;
};

}  // namespace kestrel
