#pragma once

#include <cmath>
#include <cstdint>

namespace kestrel::daygen {

// A small deterministic generator (splitmix64) with the few distributions the
// market model needs. Written out here so that the same seed gives the same
// bytes with any standard library.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1).
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
  // Uniform integer in [lo, hi].
  int Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool Chance(double p) { return Uniform() < p; }

  // Standard normal (Box-Muller, one value per call).
  double Normal() {
    double u1 = Uniform();
    if (u1 < 1e-300) u1 = 1e-300;
    const double u2 = Uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  }
  double Normal(double mean, double sd) { return mean + sd * Normal(); }

  // Poisson by inversion for small means, normal approximation for large ones.
  int Poisson(double mean) {
    if (mean > 40) {
      const int n = static_cast<int>(std::lround(Normal(mean, std::sqrt(mean))));
      return n < 0 ? 0 : n;
    }
    const double limit = std::exp(-mean);
    int k = 0;
    double p = Uniform();
    while (p > limit) {
      ++k;
      p *= Uniform();
    }
    return k;
  }

  // A generator for a sub-stream, independent of how much this one is used later.
  Rng Fork(uint64_t salt) { return Rng(Next() ^ (salt * 0xD1B54A32D192ED03ull)); }

 private:
  uint64_t state_;
};

}  // namespace kestrel::daygen
