#include "tradingday/Scramble.h"

namespace kestrel {

void Scramble(std::string& bytes) {
  const auto& pairs = ScrambleTable::kPairs;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto& p = pairs[i % 5];
    const auto plain = static_cast<uint8_t>(bytes[i]);
    bytes[i] = static_cast<char>(static_cast<uint8_t>((plain ^ p.mask) + p.offset));
  }
}

void Descramble(std::string& bytes) {
  const auto& pairs = ScrambleTable::kPairs;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto& p = pairs[i % 5];
    const auto stored = static_cast<uint8_t>(bytes[i]);
    bytes[i] = static_cast<char>(static_cast<uint8_t>(stored - p.offset) ^ p.mask);
  }
}

}  // namespace kestrel
