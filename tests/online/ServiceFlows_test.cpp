// The real client against the practice service: login, logout, day download
// and load, patterns, training days, the historical query, the update, unlock.
#include <gtest/gtest.h>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "app/AppSettings.h"
#include "classroom/InstructorMonitor.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "online/CWebGrab.h"
#include "online/HistoryQuery.h"
#include "online/ServiceLogout.h"
#include "online/SoftwareUpdate.h"
#include "online/TrainingDownload.h"
#include "replay/TrainingNotes.h"
#include "trading/AccountFigures.h"
#include "tradingday/DayArchiveLoader.h"
#include "tradingday/TradingDay.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

// One trainer installation: its folder, settings file and account.
struct Client {
  Client(const fs::path& root, const std::string& name) {
    work = root / name;
    fs::create_directories(work);
    setup = work / "setup.ini";
    WriteFile(setup, "[ACCOUNT]\r\nMARGIN=100000\r\n");
  }
  fs::path Cache() const { return work / "cache"; }
  fs::path Data() const { return work / "data"; }

  fs::path work, setup;
  CWebGrab grab;
  RecordingSleeper sleeper;
  AccountState account;
  RecordingLoginView view;
};

class ServiceFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = &PracticeServer::Shared();
    ASSERT_TRUE(server_->ok()) << server_->error();
    bases_ = server_->Bases();
    root_ = FreshDir();
  }

  bool LogIn(Client& client, const std::string& id, const std::string& password) {
    LoginEnvironment env{client.grab, client.sleeper, bases_, client.setup};
    return PressLogin(env, {id, password, true, 1234567u}, client.account, client.view).loggedIn;
  }

  void LogOut(Client& client) {
    ScriptedPrompter yes;
    AccountFigures figures;
    CloseEnvironment env{client.grab, yes, bases_, client.setup};
    EXPECT_TRUE(RunCloseRequest(env, client.account, false, false, figures).close);
  }

  DownloadResult Download(Client& client, const ChosenDay& day, RecordingDownloadView& view,
                          bool realBook = true) {
    const DownloadEnvironment env{client.grab,    client.sleeper, bases_, client.account,
                                  client.Cache(), client.Data(),  false,  realBook};
    return RunDayDownload(env, day, view);
  }

  PracticeServer* server_ = nullptr;
  ServiceBases bases_;
  fs::path root_;
};

TEST_F(ServiceFlowTest, AnAccountIsUsedFromOnePlaceUntilItLogsOut) {
  Client home(root_, "home"), office(root_, "office");
  EXPECT_FALSE(LogIn(home, "trader1", "wrong"));
  EXPECT_EQ(home.view.statuses.back(), kLoginInvalid);

  ASSERT_TRUE(LogIn(home, "trader1", PracticeServer::kTraderPassword));
  EXPECT_EQ(home.account.rights, "1");
  EXPECT_EQ(home.account.expiryDate, "2099/12/31");
  EXPECT_EQ(ReadProfileString(home.setup, "ACCOUNT", "MARGIM").size(), 6u);

  // Another computer with another stored code is turned away.
  WriteFile(office.setup, "[ACCOUNT]\r\nMARGIM=111111\r\n");
  EXPECT_FALSE(LogIn(office, "trader1", PracticeServer::kTraderPassword));
  EXPECT_EQ(office.view.statuses.back(), kLoginRejected);

  LogOut(home);
  EXPECT_EQ(ReadProfileString(home.setup, "ACCOUNT", "MARGIN"), "100000");
  EXPECT_TRUE(LogIn(office, "trader1", PracticeServer::kTraderPassword));
  LogOut(office);
}

TEST_F(ServiceFlowTest, ADayIsDownloadedWithHistoryAndBookAndLoads) {
  Client client(root_, "trader");
  ASSERT_TRUE(LogIn(client, "trader2", PracticeServer::kTraderPassword));

  RecordingDownloadView holiday;
  EXPECT_FALSE(Download(client, *ChooseDay(2013, 5, 11), holiday).archiveDownloaded);
  EXPECT_EQ(holiday.statuses.back(), kDownNoData);

  RecordingDownloadView view;
  const DownloadResult result = Download(client, *ChooseDayFromText(PracticeServer::kDay), view);
  ASSERT_TRUE(result.archiveDownloaded) << view.statuses.back();
  EXPECT_TRUE(result.hasRealBook);
  EXPECT_EQ(result.archiveToLoad, "TICK_2013_05_07.zip");
  EXPECT_TRUE(fs::exists(client.Data() / "2013_05_06_MIN5K.DAT"));
  EXPECT_TRUE(fs::exists(client.Data() / "2013_05_06_MIN30K.DAT"));

  AppSettings settings;
  ScriptedPrompter prompter;
  DayLoadSink sink;
  const DayLoadContext context{client.Cache(), client.Data(),  settings,
                               prompter,       client.sleeper, sink};
  TradingDay day;
  ASSERT_TRUE(LoadDownloadedDay(day, result, context))
      << (prompter.shown.empty() ? "" : prompter.shown[0].text);
  EXPECT_TRUE(day.dayLoaded);
  EXPECT_EQ(day.dateText, "2013-05-07");
  EXPECT_FALSE(day.tickLines.empty());
  EXPECT_TRUE(day.hasRealBook);
  EXPECT_FALSE(day.bookLines.empty());
  EXPECT_FALSE(fs::exists(client.Cache() / result.archiveToLoad));

  // The next download finds the history in place.
  const size_t kFiles = std::distance(fs::directory_iterator(client.Data()), {});
  RecordingDownloadView again;
  EXPECT_TRUE(Download(client, *ChooseDay(2013, 5, 8), again, false).archiveDownloaded);
  EXPECT_GE(static_cast<size_t>(std::distance(fs::directory_iterator(client.Data()), {})), kFiles);
  LogOut(client);
}

TEST_F(ServiceFlowTest, PatternAndTrainingDaysComeWithTheirDateAndNotes) {
  Client client(root_, "trainee");
  ASSERT_TRUE(LogIn(client, "trader3", PracticeServer::kTraderPassword));

  AppSettings settings;
  settings.SETRANGE = "1";
  settings.SETRANGE_START = "2013-05-01";
  settings.SETRANGE_END = "2013-05-31";
  const DayPick pattern = RequestPatternDay(client.grab, bases_, client.account, 0, settings);
  ASSERT_TRUE(pattern.day) << (pattern.message ? pattern.message->text : "");
  EXPECT_TRUE(pattern.hideDate);
  EXPECT_EQ(pattern.day->chosenDate.substr(0, 8), "2013/05/");

  const TrainingList list = FetchTrainingList(client.grab, bases_);
  EXPECT_EQ(list.caption, "訓練盤型");
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].date, PracticeServer::kTrainingDay);
  const DayPick training = PickTrainingDay(&list.rows[0], false);
  ASSERT_TRUE(training.day);
  RecordingDownloadView view;
  ASSERT_TRUE(Download(client, *training.day, view, false).archiveDownloaded);

  TrainingSchedule schedule;
  bool loaded = false;
  const auto message =
      FetchTrainingNotes(client.grab, bases_, list.rows[0].fileName, client.Cache(),
                         [&](const fs::path& path) { loaded = LoadTrainingNotes(schedule, path); });
  EXPECT_FALSE(message);
  EXPECT_TRUE(loaded);
  EXPECT_FALSE(schedule.entries.empty());
  EXPECT_FALSE(fs::exists(client.Cache() / kTrainingNotesFile));

  const auto missing = FetchTrainingNotes(client.grab, bases_, "NO_SUCH_NOTES.txt", client.Cache(),
                                          [](const fs::path&) {});
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->text, kTrainingNotesMissing);
  LogOut(client);
}

TEST_F(ServiceFlowTest, TheHistoricalQueryListsMonthsAndShowsPictures) {
  CWebGrab grab;
  HistoryCatalogue catalogue;
  std::vector<std::string> captions;
  catalogue.Fill(grab, bases_, [&](const std::string& c) { captions.push_back(c); });
  ASSERT_TRUE(catalogue.filled());
  EXPECT_EQ(catalogue.years(), (std::vector<std::string>{"2013"}));
  EXPECT_EQ(catalogue.rangeText(), "2013/05/06 ~ 2013/05/08");
  EXPECT_EQ(captions.back(), kHistoryCaption);

  const MonthQuery may = QueryMonth(grab, bases_, "2013", "05");
  EXPECT_EQ(may.caption, kHistoryCaption);
  ASSERT_EQ(may.rows.size(), 3u);
  EXPECT_EQ(may.rows[1][0], PracticeServer::kDay);
  EXPECT_FALSE(may.rows[1][8].empty());
  EXPECT_EQ(QueryMonth(grab, bases_, "2013", "02").caption, kHistoryNoMonth);

  const fs::path gif = root_ / kPictureFile;
  EXPECT_TRUE(FetchPicture(grab, bases_, PracticeServer::kDay, gif, nullptr));
  EXPECT_EQ(ReadFile(gif).substr(0, 3), "GIF");
  EXPECT_FALSE(FetchPicture(grab, bases_, "2013/02/01", gif, nullptr));
}

TEST_F(ServiceFlowTest, ANewerVersionIsOfferedAndInstalled) {
  CWebGrab grab;
  ScriptedPrompter prompter;
  prompter.answers = {PromptAnswer::Yes};
  EXPECT_FALSE(CheckForUpdate(grab, bases_, PracticeServer::kLatestVersion, prompter));
  EXPECT_TRUE(prompter.shown.empty());
  const auto reply = CheckForUpdate(grab, bases_, "249", prompter);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->updateArchiveName, PracticeServer::kUpdateArchive);

  const fs::path program = root_;
  WriteFile(program / "Kestrel.exe", "old program");
  class View final : public UpdateView {
   public:
    void SetStatus(const std::string& text) override { last = text; }
    void SetRange(uint64_t) override {}
    void SetPosition(uint64_t) override {}
    std::string last;
  } view;
  RecordingSleeper sleeper;
  ASSERT_TRUE(RunUpdate(grab, sleeper, bases_, reply->updateArchiveName, program, view));
  EXPECT_EQ(view.last, kUpdateDone);
  EXPECT_EQ(ReadFile(program / "Kestrel.exe"), "new program");
  EXPECT_EQ(ReadFile(program / "Readme.txt"), "what is new");
  EXPECT_FALSE(fs::exists(program / "Kestrel.bak"));
  EXPECT_FALSE(fs::exists(program / PracticeServer::kUpdateArchive));
}

TEST_F(ServiceFlowTest, UnlockingAnAccountNamesIt) {
  CWebGrab grab;
  ScriptedPrompter prompter;
  const std::string name = "trader4";
  PressUnlock(grab, bases_, &name, prompter);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[1].text, "已解除鎖定，請使用者 trader4 重新登入");
  const std::string nobody = "nobody";
  PressUnlock(grab, bases_, &nobody, prompter);
  EXPECT_EQ(prompter.shown.back().text, "網路連線中斷...請稍後重試");
}

}  // namespace
}  // namespace kestrel::test
