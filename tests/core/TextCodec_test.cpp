#include "common/TextCodec.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(TextCodec, Cp950RoundTripsTraditionalChinese) {
  const std::string text = "大台指 小台指 確定登出並離開程式？ 成交記錄,12";
  const std::string cp950 = Utf8ToCp950(text);
  EXPECT_NE(cp950, text);
  EXPECT_EQ(cp950.substr(0, 2), "\xA4\x6A");  // 大
  EXPECT_EQ(Cp950ToUtf8(cp950), text);
}

TEST(TextCodec, UnconvertibleTextBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp950("a😀b"), "a?b");
  EXPECT_EQ(Cp950ToUtf8("a\xFF"), "a?");
  EXPECT_EQ(Cp950ToUtf8(""), "");
}

TEST(TextCodec, Utf16LeRoundTrip) {
  const std::string text = "試算 train 123";
  const std::string wide = Utf8ToUtf16Le(text);
  EXPECT_EQ(wide.substr(wide.size() - 2), std::string("3\0", 2));
  EXPECT_EQ(Utf16LeToUtf8(wide), text);
  EXPECT_EQ(DecodeAnsiOrUtf16(std::string(kUtf16LeBom) + wide), text);
  EXPECT_EQ(DecodeAnsiOrUtf16(Utf8ToCp950(text)), text);
}

TEST(TextCodec, Utf8Prefix) {
  EXPECT_EQ(Utf8Length("大a台"), 3u);
  EXPECT_EQ(Utf8Prefix("大a台", 2), "大a");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
}

}  // namespace
}  // namespace kestrel
