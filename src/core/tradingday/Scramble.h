#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kestrel {

// The byte scrambling shared by the day, book and K-line archives and several
// archive members: byte i uses pair k = i mod 5;
//   stored = (plain XOR mask[k]) + offset[k]   (8-bit wrap)
//   plain  = (stored - offset[k]) XOR mask[k]
struct ScrambleTable {
  struct Pair {
    uint8_t offset;
    uint8_t mask;
  };
  static constexpr std::array<Pair, 5> kPairs = {{
      {0x3B, 0xA5}, {0x91, 0x5E}, {0x17, 0xC3}, {0xE4, 0x2D}, {0x6A, 0x78}}};
};

// In place, position 0 being the first byte of `bytes`.
void Scramble(std::string& bytes);
void Descramble(std::string& bytes);

}  // namespace kestrel
