#include "SimOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::sim {
namespace {

TEST(SimOptions, ReadsEveryOptionInAnyOrder) {
  SimOptions o;
  ASSERT_EQ(ParseSimOptions({"--orders", "o.txt", "TICK_2013_05_09.zip", "--speed", "32",
                             "--student", "--book", "b.zip", "--data", "d", "--settings", "s.ini"},
                            &o),
            "");
  EXPECT_EQ(o.archive, "TICK_2013_05_09.zip");
  EXPECT_EQ(o.orders, "o.txt");
  EXPECT_EQ(o.book, "b.zip");
  EXPECT_EQ(o.data, "d");
  EXPECT_EQ(o.settings, "s.ini");
  EXPECT_EQ(o.speed, 32);
  EXPECT_TRUE(o.student);
  EXPECT_FALSE(o.smooth);

  ASSERT_EQ(ParseSimOptions({"day.zip", "--smooth", "--speed", "1"}, &o), "");
  EXPECT_TRUE(o.smooth);
  EXPECT_FALSE(o.student);
  EXPECT_FALSE(o.orders.has_value()) << "a second parse starts afresh";

  ASSERT_EQ(ParseSimOptions({"--help"}, &o), "");
  EXPECT_TRUE(o.help);
}

TEST(SimOptions, RefusesABadCommandLine) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "no day archive given"},
      {{"--student"}, "no day archive given"},
      {{"a.zip", "b.zip"}, "more than one archive given ('b.zip')"},
      {{"day.zip", "--speed", "3"}, "--speed must be 1, 2, 4, 8, 16 or 32, not '3'"},
      {{"day.zip", "--speed", "064"}, "--speed must be"},
      {{"day.zip", "--speed", "x"}, "--speed must be"},
      {{"day.zip", "--speed"}, "--speed needs a value"},
      {{"day.zip", "--orders"}, "--orders needs a value"},
      {{"day.zip", "--book", ""}, "--book needs a value"},
      {{"day.zip", "--fast"}, "unknown option --fast"},
      {{"day.zip", "--speed", "4", "--smooth"}, "--smooth runs at normal speed only"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(message);
    SimOptions o;
    EXPECT_NE(ParseSimOptions(args, &o).find(message), std::string::npos)
        << ParseSimOptions(args, &o);
  }
}

}  // namespace
}  // namespace kestrel::sim
