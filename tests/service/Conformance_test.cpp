// Every page with the request forms the trainer sends, missing and empty
// parameters included, and the exact reply bytes.
#include <gtest/gtest.h>

#include <set>

#include "ServiceFixture.h"
#include "common/TextCodec.h"
#include "service/HelpPages.h"

namespace kestrel::service::test {
namespace {

enum class Encoding { kCp950, kUtf8, kBytes };

struct Exchange {
  const char* target;
  int status;
  std::string body;  // UTF-8; sent as CP950 unless said otherwise
  Encoding encoding = Encoding::kCp950;
};

std::string Archive(const char* name) {
  return SampleArchiveBytes(name);
}

// Rows run in order against one service: demo logs in first, so the later
// download rows see a logged-in account.
std::vector<Exchange> Table() {
  const std::string notFound = Reply::NotFound().body;
  return {
      // Login and the session code.
      {"/net_Login_Future.php?id=demo&pwd=demo&code=", 200, "3"},
      {"/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=123456", 200, "OK"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=123456", 200, "3"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=654321", 200, "1"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=", 200, "1"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=12ab", 200, "5"},
      {"/net_Login_Future.php?id=demo&pwd=wrong&code=123456", 200, "0"},
      {"/net_Login_Future.php?id=nobody&pwd=demo&code=", 200, "0"},
      {"/net_Login_Future.php?id=&pwd=&code=", 200, "0"},
      {"/net_Login_Future.php", 200, "0"},
      {"/net_Login_Future.php?id=late&pwd=late&code=", 200, "4"},
      {"/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=", 200, "ERROR"},
      {"/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=1234567", 200, "ERROR"},
      {"/net_WriteValidCode_Future.php?id=student1&pwd=student&code=111111", 200, "ERROR"},
      {"/net_WriteValidCode_Future.php?id=demo&pwd=bad&code=111111", 200, "ERROR"},
      {"/net_GetUserData_Future.php?id=demo&pwd=demo", 200, "1,2099/12/31"},
      {"/net_GetUserData_Future.php?id=teacher&pwd=teacher", 200, "4,2099/12/31"},
      {"/net_GetUserData_Future.php?id=student2&pwd=student", 200, "3,2099/12/31"},
      {"/net_GetUserData_Future.php?id=demo&pwd=bad", 200, "ERROR"},
      {"/net_GetUserData_Future.php?id=demo&pwd=", 200, "ERROR"},
      {"/net_GetUserData_Future.php", 200, "ERROR"},

      // Day file names and the trading days before a day.
      {"/net_GetFileName_Future.php?id=demo&pwd=demo&SelDate=2013/05/06", 200,
       "TICK_2013_05_06.zip"},
      {"/net_GetFileName_Future.php?id=demo&pwd=demo&SelDate=2013-05-06", 200,
       "TICK_2013_05_06.zip"},
      {"/net_GetFileName_Future.php?id=demo&pwd=demo&SelDate=2013/05/04", 200, "2"},
      {"/net_GetFileName_Future.php?id=demo&pwd=demo&SelDate=2013/06/03", 200, "2"},
      {"/net_GetFileName_Future.php?id=demo&pwd=demo&SelDate=2013/02/30", 200, "2"},
      {"/net_GetFileName_Future.php?id=demo&pwd=demo&SelDate=", 200, "4"},
      {"/net_GetFileName_Future.php?id=demo&pwd=demo", 200, "4"},
      {"/net_GetFileName_Future.php?id=&pwd=&SelDate=2013/05/06", 200, "3"},
      {"/net_GetFileName_Future.php?SelDate=2013/05/06", 200, "3"},
      {"/net_GetFileName_Future.php?id=demo&pwd=bad&SelDate=2013/05/06", 200, "0"},
      {"/net_GetFileName_Future.php?id=student1&pwd=student&SelDate=2013/05/06", 200, "1"},
      {"/net_GetFileName_Future.php?id=lapsed&pwd=lapsed&SelDate=2013/05/06", 200, "5"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2013/05/06&SelDays=15", 200,
       "2012/12/20,2012/12/28,2013/05/02,2013/05/03,"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2013/05/06&SelDays=2", 200,
       "2013/05/02,2013/05/03,"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2013/05/06", 200,
       "2012/12/20,2012/12/28,2013/05/02,2013/05/03,"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2012/12/28&SelDays=15", 200,
       "2012/12/20,"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2012/12/20&SelDays=15", 200, ""},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2013/05/06&SelDays=0", 200, "ERROR"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=&SelDays=15", 200, "ERROR"},
      {"/net_GetFileDate_Future.php?id=demo&pwd=bad&SelDate=2013/05/06&SelDays=15", 200, "ERROR"},

      // Archives as stored.
      {"/DATA/TICK_2013_05_06.zip", 200, Archive("TICK_2013_05_06.zip"), Encoding::kBytes},
      {"/DATA/K_2013_05_02.zip", 200, Archive("K_2013_05_02.zip"), Encoding::kBytes},
      {"/TICKDATA/TICK_102_05_06.zip", 200, Archive("TICK_102_05_06.zip"), Encoding::kBytes},
      {"/DATA/K_2013_05_06.zip", 404, notFound, Encoding::kBytes},
      {"/TICKDATA/", 404, notFound, Encoding::kBytes},

      // Pattern days (a range makes the pick unique).
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=1&startdate=2013/05/04&enddate=2013/"
       "05/31",
       200, "2013/05/06"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=1&startdate=2013/05/31&enddate=2013/"
       "05/04",
       200, "2013/05/06"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=0&startdate=2013-05-05&enddate=2013-"
       "05-10",
       200, "2013/05/06"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=2", 200, "2013/05/02"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=5", 200, "2012/12/28"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=3", 200, "2"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=4", 200, "2"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=1&startdate=2014/01/01&enddate=2014/"
       "12/31",
       200, "2"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=1&startdate=2013/13/01&enddate=2013/"
       "12/31",
       200, "2"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=6", 200, "4"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=", 200, "4"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=demo", 200, "4"},
      {"/net_GetFileNameFromType.asp?id=&pwd=&theType=1", 200, "3"},
      {"/net_GetFileNameFromType.asp?id=demo&pwd=bad&theType=1", 200, "0"},
      {"/net_GetFileNameFromType.asp?id=student1&pwd=student&theType=1", 200, "1"},

      // Training days, notes and the software version.
      {"/net_GetTrainData_U.asp", 200,
       "2013/05/06,TRAIN_2013_05_06.txt,開高走高，留意 09:30 的拉回,含逗號|", Encoding::kUtf8},
      {"/DB/TRAIN_2013_05_06.txt", 200, SampleNotes(), Encoding::kUtf8},
      {"/DB/TRAIN_2013_05_07.txt", 404, notFound, Encoding::kBytes},
      {"/net_GetSoftVer_Future.php", 200, "250,KestrelUpdate_250.zip"},
      {"/DB/KestrelUpdate_250.zip", 200, Archive("KestrelUpdate_250.zip"), Encoding::kBytes},

      // The historical query.
      {"/net_GetHisYear.asp", 200, "2013,2012,"},
      {"/net_GetHisRange.asp", 200, "2012/12/28 ~ 2013/06/03"},
      {"/net_GetHisMonthData.asp?theYear=2013&theMonth=05", 200,
       "2013/05/02,7990,8010,7950,7960,90000,-25,60,下跌盤,開低走低|"
       "2013/05/03,7965,8020,7960,8011,95000,51,60,上漲盤,開高走高|"
       "2013/05/06,8010,8065,7990,8052,98765,41,75,上漲盤,開低走高|"},
      {"/net_GetHisMonthData.asp?theYear=2013&theMonth=6", 200,
       "2013/06/03,8100,8150,8000,8010,120000,-40,150,殺多盤,開高走低|"},
      {"/net_GetHisMonthData.asp?theYear=2013&theMonth=02", 200, "EMPTY"},
      {"/net_GetHisMonthData.asp?theYear=2013&theMonth=13", 200, "ERROR"},
      {"/net_GetHisMonthData.asp?theYear=13&theMonth=05", 200, "ERROR"},
      {"/net_GetHisMonthData.asp?theYear=2013&theMonth=", 200, "ERROR"},
      {"/net_GetHisMonthData.asp", 200, "ERROR"},
      {"/HISDATA_6631/2013-05-03.gif", 404, notFound, Encoding::kBytes},
      {"/HISDATA_6631/2013_05_06.gif", 404, notFound, Encoding::kBytes},

      // Classroom pages refuse the wrong rights and the wrong state.
      {"/net_StudentInOut.asp?id=demo&pwd=demo&mode=in", 200, "ERROR"},
      {"/net_StudentInOut.asp?id=student1&pwd=bad&mode=in", 200, "ERROR"},
      {"/net_StudentInOut.asp?id=student1&pwd=student&mode=", 200, "ERROR"},
      {"/net_StudentInOut.asp?id=student1&pwd=student&mode=in", 200, "OK"},
      {"/net_StudentS1.asp?id=student1&pwd=student", 200, "1"},
      {"/net_StudentS1.asp?id=teacher&pwd=teacher", 200, "ERROR"},
      {"/net_StudentS1END.asp?id=student1&pwd=student", 200, "ERROR"},
      {"/net_StudentS2.asp?id=student1&pwd=student", 200, "ERROR"},
      {"/net_StudentS2END.asp?id=student1&pwd=student", 200, "ERROR"},
      {"/net_StudentS3.asp?id=student1&pwd=student&dealLot=0&TotalLoss=0", 200, "ERROR"},
      {"/net_StudentS3END.asp?id=student1&pwd=student", 200, "ERROR"},
      {"/net_MasterRead.asp?id=teacher&pwd=teacher&sort=0", 200,
       "student1,1,,0,0|student2,0,,0,0|student3,0,,0,0|"},
      {"/net_MasterRead.asp?id=teacher&pwd=teacher", 200,
       "student1,1,,0,0|student2,0,,0,0|student3,0,,0,0|"},
      {"/net_MasterRead.asp?id=student1&pwd=student&sort=0", 200, "ERROR"},
      {"/net_MasterRead.asp?id=teacher&pwd=bad&sort=0", 200, "ERROR"},
      {"/net_MasterOpen.asp?id=teacher&pwd=teacher", 200, "ERROR"},
      {"/net_MasterSelDate.asp?id=teacher&pwd=teacher&theDate=", 200, "ERROR"},
      {"/net_MasterSelDate.asp?id=teacher&pwd=teacher&theDate=2013/02/30", 200, "ERROR"},
      {"/net_MasterSelDate.asp?id=demo&pwd=demo&theDate=2013/05/06", 200, "ERROR"},
      {"/net_MasterClose.asp?id=teacher&pwd=teacher", 200, ""},
      {"/net_MasterClose.asp?id=student1&pwd=student", 200, "ERROR"},
      {"/net_StudentInOut.asp?id=student1&pwd=student&mode=out", 200, "OK"},
      {"/net_UnlockUser.asp?ID=student3", 200, "OK"},
      {"/net_UnlockUser.asp?id=student3", 200, "OK"},
      {"/net_UnlockUser.asp?ID=nobody", 200, "ERROR"},
      {"/net_UnlockUser.asp?ID=", 200, "ERROR"},
      {"/net_UnlockUser.asp", 200, "ERROR"},

      // Logout releases the account; anything else is not found.
      {"/net_Logout_Future.php?id=demo&pwd=bad", 200, "ERROR"},
      {"/net_Logout_Future.php?id=demo&pwd=demo", 200, "0"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=654321", 200, "3"},
      {"/net_Unknown.asp", 404, notFound, Encoding::kBytes},
      {"/net_login_future.php?id=demo&pwd=demo&code=", 404, notFound, Encoding::kBytes},
  };
}

class ConformanceTest : public ServiceFixture {};

TEST_F(ConformanceTest, EveryPageAnswersExactly) {
  AccountStore& accounts = service_->accounts();
  ASSERT_EQ(accounts.Add("late", "late", "1", "2013/12/31", ""), "");
  ASSERT_EQ(accounts.Add("lapsed", "lapsed", "1", "2099/12/31", ""), "");
  LogIn("lapsed", "lapsed");
  ASSERT_EQ(accounts.SetExpiry("lapsed", "2013/12/31"), "");

  for (const Exchange& row : Table()) {
    SCOPED_TRACE(row.target);
    const Answer answer = Get(row.target);
    EXPECT_EQ(answer.status, row.status);
    const std::string expected =
        row.encoding == Encoding::kCp950 ? Utf8ToCp950(row.body) : row.body;
    EXPECT_EQ(answer.body, expected);
    if (row.status == 200 && row.encoding == Encoding::kCp950) {
      EXPECT_EQ(answer.contentType, "text/plain; charset=Big5");
    }
    if (row.status == 200 && row.encoding == Encoding::kUtf8) {
      EXPECT_EQ(answer.contentType, "text/plain; charset=UTF-8");
    }
  }
}

TEST_F(ConformanceTest, ArchivesCarryTheirLengthAndType) {
  const Answer answer = Get("/DATA/TICK_2013_05_06.zip");
  EXPECT_EQ(answer.contentType, "application/zip");
  EXPECT_EQ(answer.contentLength, std::to_string(SampleArchiveBytes("TICK_2013_05_06.zip").size()));
}

TEST_F(ConformanceTest, EmptyDataFolderAnswersItsEmptyForms) {
  for (const char* file : {"catalogue.txt", "training.txt", "service.conf"})
    std::filesystem::remove(folder_ / file);
  LogIn("demo", "demo");
  EXPECT_EQ(Body("/net_GetTrainData_U.asp"), "EMPTY");
  EXPECT_EQ(Body("/net_GetSoftVer_Future.php"), "EMPTY");
  EXPECT_EQ(Body("/net_GetHisYear.asp"), "");
  EXPECT_EQ(Body("/net_GetHisRange.asp"), "EMPTY");
  EXPECT_EQ(Body("/net_GetHisMonthData.asp?theYear=2013&theMonth=05"), "EMPTY");
  EXPECT_EQ(Body("/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=0"), "2");
  // The K-line archives still name their days.
  EXPECT_EQ(Body("/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2013/05/06&SelDays=15"),
            "2012/12/20,2013/05/02,");
}

TEST_F(ConformanceTest, RandomPatternDaysComeFromTheMatchingDownloadableDays) {
  LogIn("demo", "demo");
  std::set<std::string> seen;
  for (int i = 0; i < 40; ++i)
    seen.insert(Body("/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=1"));
  EXPECT_EQ(seen, (std::set<std::string>{"2013/05/03", "2013/05/06"}));
  seen.clear();
  for (int i = 0; i < 60; ++i)
    seen.insert(Body("/net_GetFileNameFromType.asp?id=demo&pwd=demo&theType=0"));
  // 2013/06/03 is in the catalogue but has no archive.
  EXPECT_EQ(seen, (std::set<std::string>{"2012/12/28", "2013/05/02", "2013/05/03", "2013/05/06"}));
}

TEST_F(ConformanceTest, ANewCatalogueIsServedWithoutRestart) {
  EXPECT_EQ(Body("/net_GetHisYear.asp"), "2013,2012,");
  WriteFile(folder_ / "catalogue.txt", "2011/03/01,1,2,1,2,10,1,1,3,7\n");
  EXPECT_EQ(Body("/net_GetHisYear.asp"), "2011,");

  LogIn("demo", "demo");
  const std::string days = "/net_GetFileDate_Future.php?id=demo&pwd=demo&SelDate=2014/01/01";
  EXPECT_EQ(Body(days), "2011/03/01,2012/12/20,2013/05/02,");
  WriteFile(folder_ / "DATA" / "K_2013_05_10.zip", "new K-line archive");
  EXPECT_EQ(Body(days), "2011/03/01,2012/12/20,2013/05/02,2013/05/10,");
}

TEST_F(ConformanceTest, HelpPagesAreChineseHtmlInCp950) {
  struct Page {
    const char* target;
    std::string html;
    const char* mustContain;
  };
  const Page pages[] = {{"/", HelpPages::HomePage(), "聯絡我們"},
                        {"/software-doc.php", HelpPages::ManualPage(), "快速鍵一覽"},
                        {"/software-history.php", HelpPages::HistoryPage(), "2.49 版"}};
  for (const Page& page : pages) {
    SCOPED_TRACE(page.target);
    const Answer answer = Get(page.target);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.contentType, "text/html; charset=Big5");
    // Every character of the page survives the code page.
    EXPECT_EQ(Cp950ToUtf8(answer.body), page.html);
    EXPECT_NE(page.html.find(page.mustContain), std::string::npos);
  }
}

}  // namespace
}  // namespace kestrel::service::test
