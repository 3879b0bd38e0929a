#include "common/Decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrel {
namespace {

TEST(ParseDecimal, FollowsTheCLibraryRules) {
  const struct {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"", 0},           {"abc", 0},         {"12abc", 12},     {"  42", 42},
      {"\t-7", -7},      {"+15", 15},        {"- 5", 0},        {"0", 0},
      {"007", 7},        {"3.9", 3},         {"-", 0},          {" +-1", 0},
      {"2147483647", 2147483647},            {"-2147483648", std::numeric_limits<int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseDecimal, SaturatesLongDigitStrings) {
  EXPECT_EQ(ParseDecimal("2147483648"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseDecimal("-99999999999999999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseDecimal64("99999999999999999999999"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseDecimal64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ParseDecimal64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseDecimal64("123456789012"), 123456789012LL);
}

}  // namespace
}  // namespace kestrel
