// The online commands as the main window calls them: start-up login and
// version check, the day download into the context, the help links and the
// close request.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "OnlineFixture.h"
#include "common/ProfileFile.h"
#include "online/CDlgAbout.h"
#include "online/CDlgDownUpdate.h"
#include "online/CDlgDownZip.h"
#include "online/CDlgLogin.h"
#include "online/CDlgLogout.h"
#include "online/CDlgMonth.h"
#include "online/OnlineCommands.h"
#include "online/ServiceLogin.h"
#include "online/ServiceLogout.h"
#include "online/SoftwareUpdate.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

// Types the account into the login dialog and logs in.
void TypeAndLogIn(CDlgLogin& dialog, bool remember = true) {
  dialog.findChild<QLineEdit*>("account")->setText("u1");
  dialog.findChild<QLineEdit*>("password")->setText("pw");
  dialog.findChild<QCheckBox*>("remember")->setChecked(remember);
  dialog.RunLogin();
}

class OnlineCommandsTest : public OnlineFixture {
 protected:
  void SetUp() override {
    OnlineFixture::SetUp();
    OnlineSeams seams;
    seams.fetcher = &fetcher_;
    seams.sleeper = &sleeper_;
    seams.prompter = &prompter_;
    seams.openUrl = [this](const QUrl& url) {
      opened_.push_back(url);
      return true;
    };
    commands_ = std::make_unique<OnlineCommands>(*context_, std::move(seams));
    commands_->SetStudentModeQuery([this] { return studentMode_; });
    context_->account.marginBalance = 100000;
  }

  void LogIn() {
    ScriptLogin();
    ModalDriver driver;
    driver.Then<CDlgLogin>([](CDlgLogin& d) { TypeAndLogIn(d); });
    ASSERT_TRUE(commands_->Login(nullptr));
    fetcher_.ClearRequests();
  }

  std::string Account(const char* key) const {
    return ReadProfileString(work_ / "setup.ini", "ACCOUNT", key);
  }

  std::unique_ptr<OnlineCommands> commands_;
  std::vector<QUrl> opened_;
  bool studentMode_ = false;
};

TEST_F(OnlineCommandsTest, StartupLoginChecksTheVersionAndTheLoginCommandDoesNot) {
  ScriptLogin();
  fetcher_.On(kVersionUrl, "300,Kestrel300.zip");
  prompter_.answers = {PromptAnswer::No};
  QSignalSpy titles(commands_.get(), &OnlineCommands::WindowTitleChanged);
  QSignalSpy panes(commands_.get(), &OnlineCommands::StatusPaneText);

  ModalDriver driver;
  driver.Then<CDlgLogin>([](CDlgLogin& d) { TypeAndLogIn(d, false); });
  commands_->StartupLogin(nullptr);

  EXPECT_TRUE(commands_->LoggedIn());
  EXPECT_EQ(commands_->UserId(), "u1");
  EXPECT_FALSE(commands_->RememberAccount());
  ASSERT_EQ(titles.count(), 1);
  EXPECT_EQ(titles[0][0].toString(), "Kestrel( 已登入: u1 )");
  ASSERT_EQ(panes.count(), 1);
  EXPECT_EQ(panes[0][0].toInt(), 0);
  EXPECT_EQ(panes[0][1].toString().toStdString(), kLoginWelcome);
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].text, kUpdateQuestion);
  EXPECT_EQ(fetcher_.CountStartingWith(kVersionUrl), 1);

  // Logged in already: no dialog, no second check.
  EXPECT_TRUE(commands_->Login(nullptr));
  commands_->StartupLogin(nullptr);
  EXPECT_EQ(fetcher_.CountStartingWith(kVersionUrl), 1);
}

TEST_F(OnlineCommandsTest, TheLoginCommandNeverChecksTheVersion) {
  ScriptLogin();
  fetcher_.On(kVersionUrl, "300,Kestrel300.zip");
  ModalDriver driver;
  driver.Then<CDlgLogin>([](CDlgLogin& d) { d.reject(); }).Then<CDlgLogin>([](CDlgLogin& d) {
    TypeAndLogIn(d);
  });
  EXPECT_FALSE(commands_->Login(nullptr));
  EXPECT_FALSE(commands_->LoggedIn());
  EXPECT_TRUE(commands_->Login(nullptr));
  EXPECT_TRUE(commands_->RememberAccount());
  EXPECT_EQ(fetcher_.CountStartingWith(kVersionUrl), 0);
  EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(OnlineCommandsTest, AnAcceptedUpdateOpensTheUpdateDialog) {
  ScriptLogin();
  fetcher_.On(kVersionUrl, "300,Kestrel300.zip");
  fetcher_.On("http://s/DB/Kestrel300.zip", ArchiveWriter::Zip({{"Readme.txt", "new"}}));
  prompter_.answers = {PromptAnswer::Yes};
  QString status;
  ModalDriver driver;
  driver.Then<CDlgLogin>([](CDlgLogin& d) { TypeAndLogIn(d); })
      .Then<CDlgDownUpdate>([&](CDlgDownUpdate& d) {
        d.RunUpdate();
        status = d.StatusText();
        d.accept();
      });
  commands_->StartupLogin(nullptr);
  EXPECT_EQ(status.toStdString(), kUpdateDone);
  EXPECT_EQ(ReadWholeFile(work_ / "Readme.txt").value_or(""), "new");
}

TEST_F(OnlineCommandsTest, DownloadDayLoadsTheDownloadedDayIntoTheContext) {
  LogIn();
  fetcher_.On(NameUrl("2013/05/07"), "TICK_2013_05_07.zip");
  fetcher_.On("http://m/DATA/TICK_2013_05_07.zip", DayArchiveBytes());
  QSignalSpy panes(commands_.get(), &OnlineCommands::StatusPaneText);
  RecordingLoadSink sink;

  ModalDriver driver;
  driver
      .Then<CDlgMonth>([](CDlgMonth& d) {
        d.Calendar()->setSelectedDate(QDate(2013, 5, 7));
        d.PressDownload();
      })
      .Then<CDlgDownZip>([](CDlgDownZip& d) { d.RunDownload(); });
  EXPECT_TRUE(commands_->DownloadDay(nullptr, sink));

  const TradingDay& day = *context_->day;
  EXPECT_TRUE(day.dayLoaded);
  EXPECT_EQ(day.dateText, "2013-05-07");
  EXPECT_EQ(day.tickLines.size(), 2u);
  EXPECT_FALSE(sink.calls.empty());
  ASSERT_TRUE(commands_->LastChosenDay().has_value());
  EXPECT_EQ(commands_->LastChosenDay()->chosenDate, "2013/05/07");
  ASSERT_EQ(panes.count(), 1);
  EXPECT_EQ(panes[0][0].toInt(), 3);
  EXPECT_EQ(panes[0][1].toString(), "");
  // The loader consumes the archive.
  EXPECT_FALSE(fs::exists(work_ / "cache" / "TICK_2013_05_07.zip"));
}

TEST_F(OnlineCommandsTest, AHolidayOrACancelledCalendarLoadsNothing) {
  LogIn();
  fetcher_.On(NameUrl("2013/05/04"), "2");
  RecordingLoadSink sink;
  {
    ModalDriver driver;
    driver.Then<CDlgMonth>([](CDlgMonth& d) { d.reject(); });
    EXPECT_FALSE(commands_->DownloadDay(nullptr, sink));
    EXPECT_TRUE(fetcher_.Urls().empty());
  }
  {
    std::string status;
    ModalDriver driver;
    driver
        .Then<CDlgMonth>([](CDlgMonth& d) {
          d.Calendar()->setSelectedDate(QDate(2013, 5, 4));
          d.PressDownload();
        })
        .Then<CDlgDownZip>([&](CDlgDownZip& d) {
          d.RunDownload();
          status = d.StatusText().toStdString();
          d.findChild<QPushButton*>("close")->click();
        });
    EXPECT_FALSE(commands_->DownloadDay(nullptr, sink));
    EXPECT_EQ(status, kDownNoData);
  }
  EXPECT_FALSE(context_->day->dayLoaded);
  EXPECT_TRUE(sink.calls.empty());
  EXPECT_TRUE(prompter_.shown.empty());
  // The failed day stays chosen: the calendar opens on it next time.
  QDate opened;
  ModalDriver driver;
  driver.Then<CDlgMonth>([&](CDlgMonth& d) {
    opened = d.Calendar()->selectedDate();
    d.reject();
  });
  commands_->DownloadDay(nullptr, sink);
  EXPECT_EQ(opened, QDate(2013, 5, 4));
}

TEST_F(OnlineCommandsTest, DownloadDayDoesNothingWhereTheCommandIsDisabled) {
  RecordingLoadSink sink;
  EXPECT_FALSE(commands_->DownloadDay(nullptr, sink));  // not logged in
  LogIn();
  studentMode_ = true;
  EXPECT_FALSE(commands_->DownloadDay(nullptr, sink));
  studentMode_ = false;
  context_->clock.sessionRunning = true;
  EXPECT_FALSE(commands_->DownloadDay(nullptr, sink));
  EXPECT_TRUE(fetcher_.Urls().empty());
}

TEST_F(OnlineCommandsTest, HelpLinksOpenTheServicePagesFeedbackAndAbout) {
  context_->config.bases.primary = "http://127.0.0.1:18631";
  commands_->OpenHomePage();
  commands_->OpenManual();
  commands_->OpenUpdateHistory();
  ASSERT_EQ(opened_.size(), 3u);
  const char* const expected[] = {"http://127.0.0.1:18631",
                                  "http://127.0.0.1:18631/software-doc.php",
                                  "http://127.0.0.1:18631/software-history.php"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(opened_[i].isValid()) << i;
    EXPECT_EQ(opened_[i].host(), "127.0.0.1") << i;
    EXPECT_EQ(opened_[i].port(), 18631) << i;
    EXPECT_EQ(opened_[i].toString().toStdString(), expected[i]);
  }

  commands_->Feedback(nullptr);
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].text,
            "請點選功能表最右邊「說明」->「連到首頁」\n\n在首頁左下角「聯絡我們」填寫留言。");
  EXPECT_EQ(prompter_.shown[0].caption, "意見反應");
  EXPECT_FALSE(prompter_.shown[0].question);

  context_->config.bases = kTestBases;
  LogIn();
  QString about;
  ModalDriver driver;
  driver.Then<CDlgAbout>([&](CDlgAbout& d) {
    about = d.AccountText();
    d.findChild<QPushButton*>("ok")->click();
  });
  commands_->About(nullptr);
  EXPECT_EQ(about, "使用者: u1\n\n到期日: 2099/12/31");
}

TEST_F(OnlineCommandsTest, CloseRequestLogsOutFoldsTheMarginAndClosesOnlyOnSuccess) {
  const struct {
    const char* name;
    bool loggedIn;
    std::optional<PromptAnswer> answer;  // the confirmation, when asked
    std::optional<std::string> reply;    // the logout reply; nothing: no connection
    bool student;
    bool closes;
    std::optional<std::string> message;  // the warning shown
  } cases[] = {
      {"not logged in", false, std::nullopt, "0", false, true, std::nullopt},
      {"answer no", true, PromptAnswer::No, "0", false, false, std::nullopt},
      {"refused", true, PromptAnswer::Yes, "1", false, false, kLogoutRefused},
      {"no connection", true, PromptAnswer::Yes, std::nullopt, false, false, kLogoutNoConnection},
      {"logged out", true, PromptAnswer::Yes, "0", false, true, std::nullopt},
      {"student logged out", true, PromptAnswer::Yes, "0", true, true, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();  // a fresh folder, context and account
    fetcher_.Reset();
    prompter_ = ScriptedPrompter{};
    if (c.loggedIn) LogIn();
    WriteSetup("[ACCOUNT]\r\nMARGIN=100000\r\n");
    if (c.reply) fetcher_.On(kLogoutUrl, *c.reply);
    fetcher_.On(kLeaveStudentUrl, "ok");
    if (c.answer) prompter_.answers = {*c.answer};
    studentMode_ = c.student;
    context_->account.realisedPnl = 2500;
    context_->account.floatingPnl = -400;
    const bool loggedOut = c.closes && c.loggedIn;

    ModalDriver driver;
    if (loggedOut) driver.Then<CDlgLogout>([](CDlgLogout& d) { d.Run(); });
    EXPECT_EQ(commands_->CloseRequest(nullptr, false), c.closes);

    std::vector<std::string> texts;
    for (const auto& shown : prompter_.shown) texts.push_back(shown.text);
    std::vector<std::string> expected;
    if (c.loggedIn) expected.push_back(kConfirmLogout);
    if (c.message) expected.push_back(*c.message);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(fetcher_.CountStartingWith(kLogoutUrl),
              c.loggedIn && c.answer == PromptAnswer::Yes ? 1 : 0);
    EXPECT_EQ(fetcher_.CountStartingWith(kLeaveStudentUrl), loggedOut && c.student ? 1 : 0);
    EXPECT_EQ(Account("MARGIN"), loggedOut ? "102100" : "100000");
    EXPECT_EQ(commands_->LoggedIn(), c.loggedIn && !loggedOut);
  }
}

TEST_F(OnlineCommandsTest, ASecondCloseAfterALogoutNeitherLogsOutNorFoldsAgain) {
  LogIn();
  fetcher_.On(kLogoutUrl, "0");
  context_->account.realisedPnl = 1000;
  {
    ModalDriver driver;
    driver.Then<CDlgLogout>([](CDlgLogout& d) { d.Run(); });
    EXPECT_TRUE(commands_->CloseRequest(nullptr, false));
  }
  EXPECT_TRUE(commands_->CloseRequest(nullptr, false));
  EXPECT_EQ(fetcher_.CountStartingWith(kLogoutUrl), 1);
  EXPECT_EQ(Account("MARGIN"), "101000");
}

TEST_F(OnlineCommandsTest, AtTheEndOfTheSystemSessionTheWindowClosesWithoutAsking) {
  LogIn();
  fetcher_.On(kLogoutUrl, "1");
  context_->account.realisedPnl = -500;
  ModalDriver driver;
  driver.Then<CDlgLogout>([](CDlgLogout& d) { d.Run(); });
  EXPECT_TRUE(commands_->CloseRequest(nullptr, true));
  EXPECT_TRUE(prompter_.shown.empty());
  EXPECT_EQ(fetcher_.CountStartingWith(kLogoutUrl), 5);
  EXPECT_EQ(Account("MARGIN"), "99500");
}

}  // namespace
}  // namespace kestrel::test
