// The online dialogs on their own: login, About, calendar, day download,
// update download and the logout progress.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "OnlineFixture.h"
#include "online/CDlgAbout.h"
#include "online/CDlgDownUpdate.h"
#include "online/CDlgDownZip.h"
#include "online/CDlgLogin.h"
#include "online/CDlgLogout.h"
#include "online/CDlgMonth.h"
#include "online/ServiceLogin.h"
#include "online/SoftwareUpdate.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class LoginDialogTest : public OnlineFixture {
 protected:
  LoginEnvironment Env() { return {fetcher_, sleeper_, kTestBases, work_ / "setup.ini"}; }
};

TEST_F(LoginDialogTest, OpensWithTheRememberedAccountOnly) {
  const struct {
    const char* setup;
    bool remember;
    const char* id;
  } cases[] = {
      {"[ACCOUNT]\r\nID=kept\r\nSAVEACCOUNT=1\r\n", true, "kept"},
      {"[ACCOUNT]\r\nID=kept\r\nSAVEACCOUNT=0\r\n", false, ""},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setup);
    WriteSetup(c.setup);
    AccountState account;
    CDlgLogin dialog(Env(), account);
    EXPECT_EQ(dialog.windowTitle(), "帳號登入");
    EXPECT_EQ(Child<QCheckBox>(dialog, "remember")->isChecked(), c.remember);
    EXPECT_EQ(Child<QLineEdit>(dialog, "account")->text().toStdString(), c.id);
    EXPECT_EQ(Child<QLineEdit>(dialog, "password")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.StatusText(), "");
    EXPECT_EQ(account.userId, c.id);
    EXPECT_EQ(account.rememberAccount, c.remember);
  }
}

TEST_F(LoginDialogTest, StatusLineFollowsTheReplyAndOnlyALoginCloses) {
  const struct {
    const char* id;
    std::optional<ScriptedFetcher::Reply> login;
    const char* userData;
    Strings statuses;
    bool loggedIn;
  } cases[] = {
      {"", std::nullopt, "", {"", kLoginNeedsBoth}, false},
      {"u1",
       ScriptedFetcher::Failure(),
       "",
       {"", kLoginConnecting, kLoginNoConnection, kLoginNoConnection},
       false},
      {"u1",
       ScriptedFetcher::Body("0"),
       "",
       {"", kLoginConnecting, kLoginChecking, kLoginInvalid},
       false},
      {"u1",
       ScriptedFetcher::Body("1"),
       "",
       {"", kLoginConnecting, kLoginChecking, kLoginRejected},
       false},
      {"u1",
       ScriptedFetcher::Body("3\r\n"),
       "",
       {"", kLoginConnecting, kLoginChecking, kLoginRejected},
       false},
      {"u1",
       ScriptedFetcher::Body("\n3\n"),
       "4,2099/12/31",
       {"", kLoginConnecting, kLoginChecking, kLoginAccepted},
       true},
      {"u1",
       ScriptedFetcher::Body("3"),
       "ERROR",
       {"", kLoginConnecting, kLoginChecking, kLoginAccepted, kLoginNoRights},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statuses.back());
    fetcher_.Reset();
    if (c.login) fetcher_.OnPrefix(kLoginPrefix, {*c.login});
    fetcher_.On(kUserDataUrl, c.userData);
    AccountState account;
    CDlgLogin dialog(Env(), account);
    Strings shown;
    RecordStatuses(dialog, shown);
    dialog.show();
    Child<QLineEdit>(dialog, "account")->setText(c.id);
    Child<QLineEdit>(dialog, "password")->setText("pw");
    dialog.RunLogin();

    EXPECT_EQ(shown, c.statuses);
    EXPECT_EQ(dialog.StatusText().toStdString(), c.statuses.back());
    EXPECT_EQ(dialog.Result().loggedIn, c.loggedIn);
    EXPECT_EQ(account.loggedIn, c.loggedIn);
    // A refused login leaves the dialog open for another try.
    EXPECT_EQ(dialog.isVisible(), !c.loggedIn);
    if (c.loggedIn) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_EQ(dialog.Result().windowTitle, "Kestrel( 已登入: u1 )");
    }
    if (c.id[0] == '\0') {
      EXPECT_TRUE(fetcher_.Urls().empty());
    }
  }
}

TEST_F(LoginDialogTest, TheButtonLogsInAfterTheDialogHasPaintedAndEnterDoesNothing) {
  ScriptLogin();
  AccountState account;
  CDlgLogin dialog(Env(), account);
  dialog.show();
  Child<QLineEdit>(dialog, "account")->setText("u1");
  QLineEdit* password = Child<QLineEdit>(dialog, "password");
  password->setText("pw");
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_TRUE(fetcher_.Urls().empty());
  EXPECT_TRUE(dialog.isVisible());

  QSignalSpy closed(&dialog, &QDialog::accepted);
  Child<QPushButton>(dialog, "login")->click();
  // Nothing is fetched inside the click: the login waits for the timer.
  EXPECT_TRUE(fetcher_.Urls().empty());
  ASSERT_TRUE(closed.wait(5000));
  EXPECT_TRUE(account.loggedIn);
  EXPECT_EQ(fetcher_.CountStartingWith(kLoginPrefix), 1);
}

TEST_F(LoginDialogTest, CancelClosesWithoutARequest) {
  AccountState account;
  CDlgLogin dialog(Env(), account);
  dialog.show();
  Child<QPushButton>(dialog, "cancel")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(fetcher_.Urls().empty());
}

TEST(AboutDialogTest, ShowsTheProductLineUserAndExpiry) {
  AccountState account;
  account.userId = "u1";
  account.expiryDate = "2099/12/31";
  CDlgAbout dialog(account);
  EXPECT_EQ(Child<QLabel>(dialog, "product")->text(), "Kestrel 2.49 版");
  EXPECT_EQ(dialog.AccountText(), "使用者: u1\n\n到期日: 2099/12/31");
  dialog.show();
  Child<QPushButton>(dialog, "ok")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(CalendarDialogTest, OffersTheDaysFrom2000UpToTodayAndOpensOnTheLastChoice) {
  const QDate today(2013, 5, 20);
  const struct {
    std::optional<ChosenDay> previous;
    QDate opens;
  } cases[] = {
      {std::nullopt, today},
      {ChooseDay(2013, 5, 7), QDate(2013, 5, 7)},
      {ChooseDay(2000, 1, 1), QDate(2000, 1, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.opens.toString(Qt::ISODate).toStdString());
    CDlgMonth dialog(c.previous, today);
    EXPECT_EQ(dialog.windowTitle(), "選擇下載日期");
    EXPECT_EQ(dialog.Calendar()->minimumDate(), QDate(2000, 1, 1));
    EXPECT_EQ(dialog.Calendar()->maximumDate(), today);
    EXPECT_EQ(dialog.Calendar()->selectedDate(), c.opens);
    EXPECT_EQ(dialog.DateLabel(), CDlgMonth::FormatDate(c.opens));
  }

  CDlgMonth dialog(std::nullopt, today);
  dialog.Calendar()->setSelectedDate(QDate(2013, 5, 7));
  EXPECT_EQ(dialog.DateLabel(), "2013/05/07");
  // Days outside the range cannot be selected.
  for (const QDate outside : {QDate(2013, 5, 21), QDate(1999, 12, 31)}) {
    dialog.Calendar()->setSelectedDate(outside);
    EXPECT_NE(dialog.Calendar()->selectedDate(), outside);
    EXPECT_NE(dialog.DateLabel(), CDlgMonth::FormatDate(outside));
  }
}

TEST(CalendarDialogTest, DownloadTakesTheSelectionEnterDoesNothingAndClosingCancels) {
  CDlgMonth dialog(std::nullopt, QDate(2013, 5, 20));
  dialog.show();
  dialog.Calendar()->setSelectedDate(QDate(2013, 5, 7));
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.Chosen().has_value());

  Child<QPushButton>(dialog, "download")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_TRUE(dialog.Chosen().has_value());
  EXPECT_EQ(dialog.Chosen()->chosenDate, "2013/05/07");
  EXPECT_EQ(dialog.Chosen()->bookArchiveName, "TICK_102_05_07.zip");

  CDlgMonth closed(std::nullopt, QDate(2013, 5, 20));
  closed.show();
  closed.close();
  EXPECT_EQ(closed.result(), QDialog::Rejected);
  EXPECT_FALSE(closed.Chosen().has_value());
}

class DownloadDialogTest : public OnlineFixture {
 protected:
  void SetUp() override {
    OnlineFixture::SetUp();
    account_.userId = "u1";
    account_.password = "pw";
  }
  DownloadEnvironment Env() {
    return {fetcher_,        sleeper_,       kTestBases, account_,
            work_ / "cache", work_ / "data", false,      false};
  }
  void ScriptGoodDay() {
    fetcher_.On(NameUrl("2013/05/07"), "TICK_2013_05_07.zip");
    fetcher_.On("http://m/DATA/TICK_2013_05_07.zip", DayArchiveBytes());
    fetcher_.On(DaysUrl("2013/05/07"), "2013/05/03,2013/05/06,");
    fetcher_.On("http://m/DATA/K_2013_05_03.zip", KLineArchiveBytes());
    fetcher_.On("http://m/DATA/K_2013_05_06.zip", KLineArchiveBytes());
  }

  AccountState account_;
  const ChosenDay day_ = *ChooseDay(2013, 5, 7);
};

TEST_F(DownloadDialogTest, ShowsTheStatusTextsInOrderAndClosesOnlyAfterSuccess) {
  const struct {
    const char* name;
    std::optional<std::string> nameReply;  // nothing: no connection
    Strings statuses;
    bool downloaded;
  } cases[] = {
      {"holiday", "2", {kDownRequesting, kDownNoData}, false},
      {"no rights", "5", {kDownRequesting, "帳號無使用該日期的權限"}, false},
      {"no archive name", "busy", {kDownRequesting, kDownBadReply}, false},
      {"no connection", std::nullopt, {kDownRequesting, kDownNoConnection}, false},
      {"success",
       "TICK_2013_05_07.zip",
       {kDownRequesting, kDownDownloading, kDownCompleting, kDownChecking, kDownKLinesDone,
        kDownLoading},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fetcher_.Reset();
    ScriptGoodDay();
    if (c.nameReply)
      fetcher_.On(NameUrl("2013/05/07"), *c.nameReply);
    else
      fetcher_.On(NameUrl("2013/05/07"), {ScriptedFetcher::Failure()});

    CDlgDownZip dialog(Env(), day_);
    EXPECT_EQ(dialog.windowTitle(), "下載資料");
    Strings shown;
    RecordStatuses(dialog, shown);
    Strings visibleAfter;
    ModalDriver driver;
    driver.Then<CDlgDownZip>([&](CDlgDownZip& d) {
      d.RunDownload();
      if (!d.isVisible()) return;
      // A stop waits for "關閉"; Escape and Enter do nothing.
      QTest::keyClick(&d, Qt::Key_Escape);
      QTest::keyClick(&d, Qt::Key_Return);
      visibleAfter.push_back(d.isVisible() ? "open" : "closed");
      d.findChild<QPushButton*>("close")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    EXPECT_EQ(shown, c.statuses);
    EXPECT_EQ(dialog.StatusText().toStdString(), c.statuses.back());
    EXPECT_EQ(dialog.Result().archiveDownloaded, c.downloaded);
    EXPECT_EQ(visibleAfter, c.downloaded ? Strings{} : Strings{"open"});
    EXPECT_EQ(fs::exists(work_ / "cache" / "TICK_2013_05_07.zip"), c.downloaded);
    if (c.downloaded) {
      // The bar counts the checked days last.
      EXPECT_EQ(dialog.ProgressBar()->maximum(), 1);
      EXPECT_EQ(dialog.ProgressBar()->value(), 1);
      EXPECT_TRUE(fs::exists(work_ / "data" / "2013_05_06_MIN5K.DAT"));
    }
  }
}

TEST_F(DownloadDialogTest, TheDownloadRunsOnceFromItsOwnTimerAfterOpening) {
  ScriptGoodDay();
  CDlgDownZip dialog(Env(), day_);
  // Left to itself the dialog starts the download and closes after it.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    ADD_FAILURE() << "the download never ran";
    dialog.done(QDialog::Rejected);
  });
  guard.start(10000);
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(dialog.Result().archiveDownloaded);
  const int requests = static_cast<int>(fetcher_.Urls().size());
  dialog.RunDownload();
  EXPECT_EQ(static_cast<int>(fetcher_.Urls().size()), requests);
}

TEST_F(DownloadDialogTest, ClosedBeforeItsTimerTheDialogNeverDownloads) {
  ScriptGoodDay();
  CDlgDownZip dialog(Env(), day_);
  dialog.show();
  dialog.findChild<QPushButton*>("close")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  dialog.RunDownload();
  EXPECT_TRUE(fetcher_.Urls().empty());
  EXPECT_FALSE(dialog.Result().archiveDownloaded);
}

class UpdateDialogTest : public OnlineFixture {};

TEST_F(UpdateDialogTest, ReplacesTheFilesAndWaitsForClose) {
  const std::string archiveUrl = "http://s/DB/Kestrel300.zip";
  const std::string archive = ArchiveWriter::Zip({{"Readme.txt", "new text"}});
  const struct {
    const char* name;
    std::optional<std::string> reply;  // nothing: the fetch fails
    Strings statuses;
    const char* readme;
  } cases[] = {
      {"fetch fails", std::nullopt, {kUpdateDownloading, kUpdateFailed}, "old text"},
      {"not a zip",
       "<html>busy</html>",
       {kUpdateDownloading, kUpdateInstalling, kUpdateFailed},
       "old text"},
      {"replaced", archive, {kUpdateDownloading, kUpdateInstalling, kUpdateDone}, "new text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(WriteFileAtomically(work_ / "Readme.txt", "old text"), "");
    fetcher_.Reset();
    if (c.reply) fetcher_.On(archiveUrl, *c.reply);

    CDlgDownUpdate dialog(fetcher_, sleeper_, kTestBases, "Kestrel300.zip", work_);
    EXPECT_EQ(dialog.windowTitle(), "下載更新檔");
    // A wide strip of a fixed size, as its template.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_GT(dialog.width(), 2 * dialog.height());
    Strings shown;
    RecordStatuses(dialog, shown);
    ModalDriver driver;
    driver.Then<CDlgDownUpdate>([](CDlgDownUpdate& d) {
      d.RunUpdate();
      QTest::keyClick(&d, Qt::Key_Escape);
      EXPECT_TRUE(d.isVisible());
      d.findChild<QPushButton*>("close")->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(shown, c.statuses);
    EXPECT_EQ(ReadWholeFile(work_ / "Readme.txt").value_or(""), c.readme);
    ASSERT_FALSE(fetcher_.Requests().empty());
    EXPECT_TRUE(fetcher_.Requests()[0].useCache);
    EXPECT_TRUE(fetcher_.Requests()[0].withProgress);
  }
}

TEST(LogoutDialogTest, RunsTheBarFromZeroToEighteenAndClosesItself) {
  RecordingSleeper sleeper;
  CDlgLogout dialog(sleeper);
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  std::vector<int> values;
  QObject::connect(dialog.ProgressBar(), &QProgressBar::valueChanged,
                   [&](int v) { values.push_back(v); });
  ModalDriver driver;
  driver.Then<CDlgLogout>([](CDlgLogout& d) { d.Run(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.ProgressBar()->minimum(), 0);
  EXPECT_EQ(dialog.ProgressBar()->maximum(), 18);
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.front(), 0);
  EXPECT_EQ(values.back(), 18);
  EXPECT_EQ(sleeper.Calls(), 19);
  EXPECT_EQ(sleeper.TotalMs(), 19u);
}

}  // namespace
}  // namespace kestrel::test
