#include "common/Rand15.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(Rand15, ClassicSequenceAndRange) {
  Rand15 r(1);
  EXPECT_EQ(r.Next(), 41);
  EXPECT_EQ(r.Next(), 18467);
  EXPECT_EQ(r.Next(), 6334);
  int lo = Rand15::kMax, hi = 0;
  for (int i = 0; i < 200000; ++i) {
    const int v = r.Next();
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, Rand15::kMax);
}

}  // namespace
}  // namespace kestrel
