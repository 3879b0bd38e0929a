// The instructor monitor: class reply, list, loop, buttons, unlock, export.
#include <gtest/gtest.h>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "classroom/InstructorMonitor.h"
#include "classroom/InterruptibleSleeper.h"
#include "classroom/ScoreExport.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "online/ScriptedFetcher.h"

namespace kestrel::test {
namespace {

const ServiceBases kBases{"http://p", "http://s", "http://m"};
const std::string kQuery = "?id=t&pwd=pw";
const std::string kRead = "http://p/net_MasterRead.asp" + kQuery + "&sort=0";
const std::string kReadSorted = "http://p/net_MasterRead.asp" + kQuery + "&sort=1";

TEST(ClassReplyTest, RecordsNeedTheirTrailingBar) {
  const auto records = ParseClassReply("s1,3,2013/05/07,2,-400|s2,,,,|s3,5,2013/05/07,4,1,2|s4,1");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].account, "s1");
  EXPECT_EQ(records[0].stateCode, "3");
  EXPECT_EQ(records[0].openDate, "2013/05/07");
  EXPECT_EQ(records[0].lots, "2");
  EXPECT_EQ(records[0].result, "-400");
  EXPECT_EQ(records[1].stateCode, "");
  EXPECT_EQ(records[2].result, "1,2");  // the last field runs to the end
  EXPECT_TRUE(ParseClassReply("EMPTY").empty());
}

TEST(ClassReplyTest, StateCodesReadAsTheirTexts) {
  const struct {
    const char* code;
    const char* text;
  } cases[] = {{"", "未登入"},
               {"0", "未登入"},
               {"1", "已登入，等待指派日期"},
               {"2", "資料已下載，等待開盤"},
               {"3", "盤勢進行中"},
               {"4", "等待結束盤勢"},
               {"5", "盤勢已結束，等待指派日期"},
               {"9", "9"}};
  for (const auto& c : cases) EXPECT_EQ(StudentStateText(c.code), c.text) << c.code;
}

TEST(ClassReplyTest, TheListFollowsTheReplyAsStudentsComeAndGo) {
  MonitorTable table;
  table.Refill(ParseClassReply("a,1,,0,0|b,2,2013/05/07,0,0|"));
  ASSERT_EQ(table.rows().size(), 2u);
  EXPECT_EQ(table.rows()[1].number, "02");
  EXPECT_EQ(table.rows()[1].state, "資料已下載，等待開盤");
  table.Refill(ParseClassReply("b,3,2013/05/07,1,200|c,1,,0,0|"));
  ASSERT_EQ(table.rows().size(), 2u);
  EXPECT_EQ(table.rows()[0].number, "01");
  EXPECT_EQ(table.rows()[0].account, "b");
  EXPECT_EQ(table.rows()[0].result, "200");
  EXPECT_EQ(table.rows()[1].account, "c");
  table.Refill({});
  EXPECT_TRUE(table.rows().empty());
}

TEST(ClassReplyTest, TheTitleIndicatorTurns) {
  EXPECT_EQ(MonitorTitle(0), "講師監控視窗 －");
  EXPECT_EQ(MonitorTitle(1), "講師監控視窗 ＼");
  EXPECT_EQ(MonitorTitle(2), "講師監控視窗 ｜");
  EXPECT_EQ(MonitorTitle(3), "講師監控視窗 ／");
  EXPECT_EQ(MonitorTitle(4), "講師監控視窗 －");
}

// Records the monitor thread's calls.
class FakeMonitorWindow final : public MonitorWindow {
 public:
  void Refill(const std::vector<ClassRecord>& records, bool clearFirst) override {
    refills.push_back(records);
    clears.push_back(clearFirst);
  }
  void AdvanceTitle() override { ++titles; }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(text);
    EXPECT_EQ(caption, kCaptionError);
  }
  std::vector<std::vector<ClassRecord>> refills;
  std::vector<bool> clears;
  std::vector<std::string> messages;
  int titles = 0;
};

class MonitorTest : public ::testing::Test {
 protected:
  MonitorTest() : waits_(&recorded_), monitor_(Config(), fetcher_, clock_, waits_, window_) {}

  static MonitorConfig Config() {
    MonitorConfig config;
    config.bases = kBases;
    config.account.userId = "t";
    config.account.password = "pw";
    return config;
  }

  ScriptedFetcher fetcher_;
  ManualClock clock_{1000};
  RecordingSleeper recorded_{&clock_};
  InterruptibleSleeper waits_;
  FakeMonitorWindow window_;
  InstructorMonitor monitor_;
  ScriptedPrompter yes_;
};

TEST_F(MonitorTest, TheListIsRefreshedAtOnceThenEveryThreeAndAHalfSeconds) {
  fetcher_.On(kRead, {ScriptedFetcher::Body("s1,1,,0,0|"), ScriptedFetcher::Body("ERROR"),
                      ScriptedFetcher::Body("s1,2,2013/05/07,0,0|s2,1,,0,0|")});
  monitor_.Pass();
  ASSERT_EQ(window_.refills.size(), 1u);
  EXPECT_EQ(window_.refills[0][0].account, "s1");
  clock_.Advance(3500);
  monitor_.Pass();  // not more than 3,500 ms yet
  EXPECT_EQ(fetcher_.CountStartingWith(kRead), 1);
  clock_.Advance(1);
  monitor_.Pass();  // "ERROR": ignored, but it counts as a refresh
  EXPECT_EQ(window_.refills.size(), 1u);
  monitor_.Pass();
  EXPECT_EQ(fetcher_.CountStartingWith(kRead), 2);
  clock_.Advance(3501);
  monitor_.Pass();
  ASSERT_EQ(window_.refills.size(), 2u);
  EXPECT_EQ(window_.refills[1].size(), 2u);
  EXPECT_EQ(window_.titles, 5);
  EXPECT_TRUE(window_.messages.empty());
}

TEST_F(MonitorTest, AFailedRefreshIsReportedAndRetriedOnTheNextPass) {
  monitor_.Pass();
  monitor_.Pass();
  EXPECT_EQ(window_.messages, (std::vector<std::string>{kMonitorOffline, kMonitorOffline}));
  EXPECT_EQ(fetcher_.CountStartingWith(kRead), 2);
}

TEST_F(MonitorTest, ButtonsSendOneRequestEachAndReportRefusals) {
  fetcher_.On(kRead, "");
  fetcher_.On("http://p/net_MasterSelDate.asp" + kQuery + "&theDate=2013/05/07", "");
  fetcher_.On("http://p/net_MasterOpen.asp" + kQuery, "ERROR");
  monitor_.Pass();  // the first refresh

  monitor_.PressAssign(yes_, [] { return ChooseDay(2013, 5, 7); });
  EXPECT_EQ(monitor_.PendingRequest(), kRequestAssign);
  EXPECT_EQ(monitor_.AssignedDate(), "2013/05/07");
  monitor_.Pass();
  EXPECT_EQ(monitor_.PendingRequest(), kRequestNone);
  EXPECT_EQ(fetcher_.CountStartingWith("http://p/net_MasterSelDate.asp"), 1);

  monitor_.PressOpen(yes_);
  monitor_.PressOpen(yes_);  // twice before the thread takes it
  monitor_.Pass();
  monitor_.Pass();
  EXPECT_EQ(fetcher_.CountStartingWith("http://p/net_MasterOpen.asp"), 1);
  monitor_.PressClose(yes_);  // the service cannot be reached for it
  monitor_.Pass();
  EXPECT_EQ(window_.messages, (std::vector<std::string>{kMonitorStateFailed, kMonitorOffline}));
  EXPECT_EQ(yes_.shown[0].text, kConfirmAssign);
  EXPECT_EQ(yes_.shown[1].text, kConfirmOpen);
  EXPECT_EQ(yes_.shown[3].text, kConfirmClose);

  ScriptedPrompter no;
  no.fallback = PromptAnswer::No;
  bool picked = false;
  monitor_.PressAssign(no, [&] {
    picked = true;
    return ChooseDay(2013, 5, 8);
  });
  monitor_.PressOpen(no);
  monitor_.PressClose(no);
  EXPECT_FALSE(picked);
  EXPECT_EQ(monitor_.PendingRequest(), kRequestNone);
  // A calendar closed without a day sends nothing.
  monitor_.PressAssign(yes_, [] { return std::optional<ChosenDay>(); });
  EXPECT_EQ(monitor_.PendingRequest(), kRequestNone);

  fetcher_.On("http://p/net_MasterSelDate.asp" + kQuery + "&theDate=2013/05/07", "ERROR");
  monitor_.PressAssign(yes_, [] { return ChooseDay(2013, 5, 7); });
  monitor_.Pass();
  EXPECT_EQ(window_.messages.back(), kMonitorDateFailed);
}

TEST_F(MonitorTest, ChangingTheSortEmptiesTheListOnceAndAsksInTheNewOrder) {
  fetcher_.On(kRead, "a,1,,0,0|");
  fetcher_.On(kReadSorted, "a,1,,0,0|");
  monitor_.Pass();
  monitor_.SetSortByResult(true);
  clock_.Advance(4000);
  monitor_.Pass();
  clock_.Advance(4000);
  monitor_.Pass();
  EXPECT_EQ(window_.clears, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(fetcher_.CountStartingWith(kReadSorted), 2);
}

TEST_F(MonitorTest, TheThreadStartsOnceAndStopsWhenTheProgramCloses) {
  fetcher_.On(kRead, "a,1,,0,0|");
  monitor_.Start();
  monitor_.Start();
  EXPECT_TRUE(monitor_.Running());
  monitor_.Stop();
  EXPECT_FALSE(monitor_.Running());
  EXPECT_TRUE(window_.messages.empty());
}

TEST(UnlockTest, TheOutcomeIsShownWithTheAccountName) {
  const struct {
    std::optional<std::string> reply;
    const char* message;
  } cases[] = {
      {std::nullopt, "網路連線中斷...重稍後重試"},
      {"ERROR", "網路連線中斷...請稍後重試"},
      {"OK", "已解除鎖定，請使用者 student2 重新登入"},
      {"NO", "無法解除鎖定，請稍後再試"},
  };
  const std::string name = "student2";
  for (const auto& c : cases) {
    ScriptedFetcher fetcher;
    if (c.reply) fetcher.On("http://s/net_UnlockUser.asp?ID=student2", *c.reply);
    ScriptedPrompter prompter;
    PressUnlock(fetcher, kBases, &name, prompter);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "確定解除使用者student2 鎖定狀態？");
    EXPECT_EQ(prompter.shown[1].text, c.message);
    EXPECT_EQ(prompter.shown[1].caption, kCaptionNotice);
  }
  ScriptedFetcher fetcher;
  ScriptedPrompter prompter;
  PressUnlock(fetcher, kBases, nullptr, prompter);
  EXPECT_EQ(prompter.shown.at(0).text, "請使用滑鼠選擇一個使用者");
  prompter.shown.clear();
  prompter.fallback = PromptAnswer::No;
  PressUnlock(fetcher, kBases, &name, prompter);
  EXPECT_TRUE(fetcher.Urls().empty());
}

TEST(ScoreExportTest, TheFileHasTheHeaderAndOnePaddedLinePerRow) {
  MonitorTable table;
  table.Refill(ParseClassReply("student1,5,2013/05/07,2,-1200|學員二,5,2013/05/07,12,3400|"));
  const LocalDateTime today{2014, 3, 9, 10, 30};
  const std::string rule(52, '=');
  EXPECT_EQ(ScoreExportText(table.rows(), today),
            "學員模擬交易成績(2014/03/09)\r\n\r\n" + rule + "\r\n" +
                "序號        帳號名稱        交易口數        交易損益\r\n" + rule + "\r\n" +
                "01          student1        2               -1200\r\n"
                // six bytes of CP950 for the three characters
                "02          學員二          12              3400\r\n");

  const auto path = FreshDir() / "成績.txt";
  EXPECT_FALSE(WriteScoreExport(path, table.rows(), today));
  EXPECT_EQ(ReadFile(path), Utf8ToCp950(ScoreExportText(table.rows(), today)));
  EXPECT_TRUE(WriteScoreExport(FreshDir() / "missing" / "x.txt", table.rows(), today));
}

}  // namespace
}  // namespace kestrel::test
