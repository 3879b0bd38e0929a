#include "SimScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::sim {
namespace {

struct GoodLine {
  const char* line;
  SimActionKind kind;
  int32_t second;
  int32_t side;
  const char* priceText;
  int32_t price;
  const char* lotsText;
  const char* orderNo;
};

TEST(SimScript, ReadsEveryActionForm) {
  const GoodLine cases[] = {
      {"09:00:00,limit,buy,8000,2", SimActionKind::Limit, 32400, 1, "8000", 0, "2", ""},
      // Limit prices and lots stay as typed: the order entry refuses them.
      {" 09:00:01 , LIMIT , Sell , abc , 0 ", SimActionKind::Limit, 32401, 2, "abc", 0, "0", ""},
      {"09:00:02,market,sell,1", SimActionKind::Market, 32402, 2, "", 0, "1", ""},
      {"10:15:30,ladder,buy,7990,3", SimActionKind::Ladder, 36930, 1, "", 7990, "3", ""},
      {"13:44:59,trigger,sell,65534,1", SimActionKind::Trigger, 49499, 2, "", 65534, "1", ""},
      {"08:45:00,cancel,7", SimActionKind::Cancel, 31500, 0, "", 0, "", "0007"},
      {"00:00:00,cancel,12345", SimActionKind::Cancel, 0, 0, "", 0, "", "12345"},
      {"09:05:00,Cancel-All", SimActionKind::CancelAll, 32700, 0, "", 0, "", ""},
      {"23:59:59,end\r", SimActionKind::End, 86399, 0, "", 0, "", ""},
  };
  for (const GoodLine& c : cases) {
    SCOPED_TRACE(c.line);
    const SimScript s = ParseSimScript(c.line);
    ASSERT_TRUE(s.errors.empty()) << s.errors[0].message;
    ASSERT_EQ(s.actions.size(), 1u);
    const SimAction& a = s.actions[0];
    EXPECT_EQ(a.kind, c.kind);
    EXPECT_EQ(a.second, c.second);
    EXPECT_EQ(a.side, c.side);
    EXPECT_EQ(a.priceText, c.priceText);
    EXPECT_EQ(a.price, c.price);
    EXPECT_EQ(a.lotsText, c.lotsText);
    EXPECT_EQ(a.orderNo, c.orderNo);
    EXPECT_EQ(a.lineNo, 1);
  }
}

TEST(SimScript, NamesWhatIsWrongWithABadLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"9:00:00,limit,buy,8000,1", "time '9:00:00' is not HH:MM:SS"},
      {"24:00:00,end", "time '24:00:00' is not HH:MM:SS"},
      {"09:60:00,end", "is not HH:MM:SS"},
      {"09:00:0x,end", "is not HH:MM:SS"},
      {"09:00:00", "missing action after the time"},
      {"09:00:00,", "missing action after the time"},
      {"09:00:00,buy,8000,1", "unknown action 'buy'"},
      {"09:00:00,limit,buy,8000", "expected HH:MM:SS,limit,buy|sell,PRICE,LOTS"},
      {"09:00:00,market,buy,1,2", "expected HH:MM:SS,market,buy|sell,LOTS"},
      {"09:00:00,end,now", "expected HH:MM:SS,end"},
      {"09:00:00,cancel", "expected HH:MM:SS,cancel,NO"},
      {"09:00:00,limit,long,8000,1", "side 'long' is neither buy nor sell"},
      {"09:00:00,ladder,buy,0,1", "ladder price '0' is not a whole number from 1 to 65534"},
      {"09:00:00,trigger,sell,80.5,1", "ladder price '80.5'"},
      {"09:00:00,ladder,buy,65535,1", "ladder price '65535'"},
      {"09:00:00,trigger,buy,,1", "ladder price ''"},
      {"09:00:00,cancel,abc", "order number 'abc' is not a positive whole number"},
      {"09:00:00,cancel,0", "order number '0'"},
      {"09:00:00,cancel,-3", "order number '-3'"},
  };
  for (const auto& [line, message] : cases) {
    SCOPED_TRACE(line);
    const SimScript s = ParseSimScript(line);
    EXPECT_TRUE(s.actions.empty());
    ASSERT_EQ(s.errors.size(), 1u);
    EXPECT_EQ(s.errors[0].lineNo, 1);
    EXPECT_NE(s.errors[0].message.find(message), std::string::npos) << s.errors[0].message;
  }
}

TEST(SimScript, CountsEveryLineAndSkipsBlanksAndComments) {
  const std::string text =
      "\xEF\xBB\xBF# grading script\r\n"
      "09:00:00,market,buy,1\r\n"
      "\r\n"
      "   \t\r\n"
      "  # indented comment\r\n"
      "09:01:00,sell\r\n"
      "09:02:00,end";  // no final line end
  const SimScript s = ParseSimScript(text);
  ASSERT_EQ(s.actions.size(), 2u);
  EXPECT_EQ(s.actions[0].lineNo, 2);
  EXPECT_EQ(s.actions[0].kind, SimActionKind::Market);
  EXPECT_EQ(s.actions[1].lineNo, 7);
  EXPECT_EQ(s.actions[1].kind, SimActionKind::End);
  ASSERT_EQ(s.errors.size(), 1u);
  EXPECT_EQ(s.errors[0].lineNo, 6);
}

}  // namespace
}  // namespace kestrel::sim
