#pragma once

#include <cstdint>

namespace kestrel {

// The program's "random" numbers in 0..32767 (session code, generated book). The
// C library's rand() has another range on this platform, so the program keeps
// one small linear congruential generator of its own with the classic range.
class Rand15 {
 public:
  static constexpr int kMax = 32767;

  explicit Rand15(uint32_t seed = 1) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  uint32_t state_;
};

}  // namespace kestrel
