#include "tradingday/Scramble.h"

namespace kestrel {

namespace {

// Whole groups of five first: the pair for each byte is then a constant, which
// lets the compiler unroll and vectorise the loop.
template <typename Op>
void ForEachByte(std::string& bytes, Op op) {
  const auto& pairs = ScrambleTable::kPairs;
  auto* p = reinterpret_cast<uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  for (; i + 5 <= n; i += 5) {
    for (size_t k = 0; k < 5; ++k) p[i + k] = op(p[i + k], pairs[k]);
  }
  for (size_t k = 0; i < n; ++i, ++k) p[i] = op(p[i], pairs[k]);
}

}  // namespace

void Scramble(std::string& bytes) {
  ForEachByte(bytes, [](uint8_t plain, ScrambleTable::Pair pair) {
    return static_cast<uint8_t>((plain ^ pair.mask) + pair.offset);
  });
}

void Descramble(std::string& bytes) {
  ForEachByte(bytes, [](uint8_t stored, ScrambleTable::Pair pair) {
    return static_cast<uint8_t>(static_cast<uint8_t>(stored - pair.offset) ^ pair.mask);
  });
}

}  // namespace kestrel
