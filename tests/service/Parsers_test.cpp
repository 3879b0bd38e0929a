// The plain data handling: request targets, dates, safe names and the data
// folder's text files.
#include <gtest/gtest.h>

#include "common/TextCodec.h"
#include "service/Catalogue.h"
#include "service/DateText.h"
#include "service/FileNames.h"
#include "service/RequestTarget.h"
#include "service/ServiceConfig.h"
#include "service/TrainingList.h"
#include "service/TrendPicture.h"

namespace kestrel::service {
namespace {

TEST(RequestTargetTest, ValuesAreTakenAsTyped) {
  RequestTarget t;
  ASSERT_EQ(ParseRequestTarget("/net_Login_Future.php?id=demo&pwd=a+b=c?d&code=", t), 0);
  EXPECT_EQ(t.path, "/net_Login_Future.php");
  EXPECT_EQ(t.Get("id"), "demo");
  EXPECT_EQ(t.Get("pwd"), "a+b=c?d");  // '+' stays, only the first '=' splits
  ASSERT_NE(t.Find("code"), nullptr);
  EXPECT_EQ(*t.Find("code"), "");
  EXPECT_EQ(t.Find("missing"), nullptr);
  EXPECT_EQ(t.Get("ID"), "demo");  // keys ignore case

  ASSERT_EQ(ParseRequestTarget("/x?d=2013%2F05%2F06&bad=%zz%4&e&&id=first&id=second", t), 0);
  EXPECT_EQ(t.Get("d"), "2013/05/06");
  EXPECT_EQ(t.Get("bad"), "%zz%4");  // not an escape: kept
  EXPECT_NE(t.Find("e"), nullptr);
  EXPECT_EQ(t.Get("id"), "first");

  // Bytes that are not UTF-8 are the client's code page.
  ASSERT_EQ(ParseRequestTarget("/x?name=%A4%A4%A4%E5", t), 0);
  EXPECT_EQ(t.Get("name"), "中文");
}

TEST(RequestTargetTest, LimitsAndBrokenTargets) {
  RequestTarget t;
  TargetLimits limits;
  limits.maxTarget = 40;
  limits.maxParams = 2;
  limits.maxValue = 5;
  limits.maxKey = 4;
  EXPECT_EQ(ParseRequestTarget("/" + std::string(40, 'a'), t, limits), 414);
  EXPECT_EQ(ParseRequestTarget("/a?x=1&y=2&z=3", t, limits), 400);
  EXPECT_EQ(ParseRequestTarget("/a?x=123456", t, limits), 400);
  EXPECT_EQ(ParseRequestTarget("/a?longkey=1", t, limits), 400);
  EXPECT_EQ(ParseRequestTarget("/a%00b", t, limits), 400);
  EXPECT_EQ(ParseRequestTarget("/a?x=%00", t, limits), 400);
  EXPECT_EQ(ParseRequestTarget("/a?x=12345", t, limits), 0);
}

TEST(DateTextTest, DatesAndArchiveNames) {
  EXPECT_EQ(ParseDate("2013/05/06"), (Date{2013, 5, 6}));
  EXPECT_EQ(ParseDate("2013-05-06"), (Date{2013, 5, 6}));
  EXPECT_EQ(ParseDate("2012/02/29"), (Date{2012, 2, 29}));
  for (const char* bad :
       {"2013/02/29", "1900/02/28", "2013/5/6", "2013/05-06", "2013/13/01", "2013/00/10",
        "2013/05/00", "2013/05/066", "", "abcd/ef/gh", "2013/05/0x"})
    EXPECT_FALSE(ParseDate(bad)) << bad;
  const Date day{2013, 5, 6};
  EXPECT_EQ(DayArchiveName(day), "TICK_2013_05_06.zip");
  EXPECT_EQ(KLineArchiveName(day), "K_2013_05_06.zip");
  EXPECT_EQ(BookArchiveName(day), "TICK_102_05_06.zip");
  EXPECT_EQ(FormatDate(day, '-'), "2013-05-06");
}

TEST(FileNamesTest, OnlyPlainNamesAreSafe) {
  for (const char* good : {"TICK_2013_05_06.zip", "K_2013_05_06.zip", "a.b-c_d", "x"})
    EXPECT_TRUE(IsSafeFileName(good)) << good;
  for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", ".hidden", "a..b", "%2e%2e", "a b",
                          "a\nb", "名稱.txt"})
    EXPECT_FALSE(IsSafeFileName(bad)) << bad;
  EXPECT_FALSE(IsSafeFileName(std::string(129, 'a')));
}

TEST(CatalogueTest, ParsesSortsAndWarnsAboutBadLines) {
  std::vector<std::string> warnings;
  const Catalogue c = Catalogue::Parse(
      "\xEF\xBB\xBF# header\n"
      "2013/05/06,8010,8065,7990,8052,98765,+41,75,1,3\r\n"
      "\n"
      "2012/01/02,1,2,1,2,10,-1,1,2,0\n"
      "2013/05/06,1,1,1,1,1,0,0,3,7\n"   // repeated: the first one counts
      "2013/05/07,1,1,1,1,1,0,0,6,0\n"   // no such main pattern
      "2013/05/08,1,1,1,1,1,0,0,1,10\n"  // no such secondary pattern
      "2013/05/09,1,1,1,1,-1,0,0,1,1\n"  // negative volume
      "2013/05/10,1,1,1,1,1,0,0,1\n"     // nine fields
      "2013/5/11,1,1,1,1,1,0,0,1,1\n",   // bad date
      &warnings);
  ASSERT_EQ(c.days().size(), 2u);
  EXPECT_EQ(c.days()[0].date, (Date{2012, 1, 2}));
  const CatalogueDay* day = c.Find(Date{2013, 5, 6});
  ASSERT_NE(day, nullptr);
  EXPECT_EQ(day->change, 41);
  EXPECT_EQ(day->mainPattern, kRising);
  EXPECT_EQ(day->secondaryPattern, 3);
  EXPECT_EQ(warnings.size(), 6u);
  EXPECT_EQ(c.Years(), (std::vector<int>{2013, 2012}));
  EXPECT_EQ(c.Span()->first, (Date{2012, 1, 2}));
}

TEST(CatalogueTest, QueriesForPatterns) {
  std::string text;
  for (int d = 1; d <= 20; ++d)
    text += "2013/03/" + std::string(d < 10 ? "0" : "") + std::to_string(d) + ",1,1,1,1,1,0,0," +
            std::to_string(1 + d % 5) + ",0\n";
  const Catalogue c = Catalogue::Parse(text);
  EXPECT_EQ(c.Matching(0, std::nullopt, std::nullopt).size(), 20u);
  EXPECT_EQ(c.Matching(kSideways, std::nullopt, std::nullopt).size(), 4u);  // d = 2, 7, 12, 17
  EXPECT_EQ(c.Matching(kSideways, Date{2013, 3, 3}, Date{2013, 3, 12}),
            (std::vector<Date>{{2013, 3, 7}, {2013, 3, 12}}));
  EXPECT_EQ(c.Month(2013, 3).size(), 20u);
  EXPECT_EQ(c.Month(2013, 4).size(), 0u);
}

TEST(CatalogueTest, EveryPatternHasANameInTheClientsCodePage) {
  for (int code = kRising; code <= kShortSqueeze; ++code) {
    const std::string name(MainPatternName(code));
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(Cp950ToUtf8(Utf8ToCp950(name)), name);
  }
  for (int code = 0; code < kSecondaryPatternCount; ++code) {
    const std::string name(SecondaryPatternName(code));
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(Cp950ToUtf8(Utf8ToCp950(name)), name);
  }
  EXPECT_TRUE(MainPatternName(0).empty());
  EXPECT_TRUE(SecondaryPatternName(kSecondaryPatternCount).empty());
}

TEST(TrainingListTest, RecordsAndTheirReply) {
  std::vector<std::string> warnings;
  const auto days = ParseTrainingList(
      "# comment\n"
      "2013/05/06 , TRAIN_1.txt , 開高走高，注意,逗號\n"
      "2013/05/07,TRAIN_2.txt,\n"
      "2013/05/08,../secret.txt,x\n"
      "2013/05/09,TRAIN_3.txt,a|b\n"
      "2013/05/10,TRAIN_4.txt\n"
      "05/11/2013,TRAIN_5.txt,x\n",
      &warnings);
  ASSERT_EQ(days.size(), 2u);
  EXPECT_EQ(days[0].notesFile, "TRAIN_1.txt");
  EXPECT_EQ(days[0].description, "開高走高，注意,逗號");
  EXPECT_EQ(warnings.size(), 4u);
  EXPECT_EQ(FormatTrainingList(days),
            "2013/05/06,TRAIN_1.txt,開高走高，注意,逗號|2013/05/07,TRAIN_2.txt,|");
  EXPECT_EQ(FormatTrainingList({}), "EMPTY");
}

TEST(ServiceConfigTest, VersionReply) {
  std::vector<std::string> warnings;
  EXPECT_EQ(ServiceConfig::Parse("version = 250\nupdate = Up_250.zip\n").VersionReply(),
            "250,Up_250.zip");
  EXPECT_EQ(ServiceConfig::Parse("VERSION=007\nUpdate=u.ZIP\n").VersionReply(), "7,u.ZIP");
  const ServiceConfig bad =
      ServiceConfig::Parse("version=0\nupdate=../u.zip\ncolour=red\nnonsense\n", &warnings);
  EXPECT_EQ(bad.VersionReply(), "EMPTY");
  EXPECT_EQ(warnings.size(), 4u);
  EXPECT_EQ(ServiceConfig::Parse("version=12\n").VersionReply(), "EMPTY");
  EXPECT_EQ(ServiceConfig::Parse("version=12\nupdate=u.rar\n").VersionReply(), "EMPTY");
}

TEST(TrendFileTest, MinutesOfTheSessionInOrder) {
  const auto points = ParseTrendFile(
      "0901,8010,5\n"
      "0846,8000,12\n"
      "0845,7999,1\n"  // before the first minute
      "1346,8020,1\n"  // after the close
      "0960,1,1\n"     // no such minute
      "0902,x,1\n"
      "0901,8011,6\n"  // the later line of a minute wins
      "1345,8030,0\n");
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].minute, 1);
  EXPECT_EQ(points[0].price, 8000);
  EXPECT_EQ(points[1].minute, 16);
  EXPECT_EQ(points[1].price, 8011);
  EXPECT_EQ(points[2].minute, 300);
}

}  // namespace
}  // namespace kestrel::service
