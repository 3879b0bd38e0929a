// Login, the session code, the user data, and the close request's logout.
#include <gtest/gtest.h>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "online/ScriptedFetcher.h"
#include "online/ServiceLogin.h"
#include "online/ServiceLogout.h"
#include "trading/AccountFigures.h"

namespace kestrel::test {
namespace {

const ServiceBases kBases{"http://p", "http://s", "http://m"};
const std::string kLogin = "http://p/net_Login_Future.php?id=u1&pwd=pw&code=";
const std::string kUserData = "http://p/net_GetUserData_Future.php?id=u1&pwd=pw";

class LoginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = FreshDir();
    setup_ = dir_ / "setup.ini";
    WriteFile(setup_, "[ACCOUNT]\r\nMARGIM=123456\r\nID=old\r\nSAVEACCOUNT=1\r\n");
  }

  LoginResult Press(const std::string& id = "u1", const std::string& password = "pw",
                    bool remember = true) {
    LoginEnvironment env{fetcher_, sleeper_, kBases, setup_};
    return PressLogin(env, LoginInput{id, password, remember, 1700000000u}, account_, view_);
  }

  std::string Setting(const char* key) const { return ReadProfileString(setup_, "ACCOUNT", key); }

  std::filesystem::path dir_, setup_;
  ScriptedFetcher fetcher_;
  RecordingSleeper sleeper_;
  AccountState account_;
  RecordingLoginView view_;
};

TEST_F(LoginTest, TheReplyCountsAsAcceptedOnlyAsAThreeWithoutOtherCharacters) {
  const struct {
    const char* reply;
    bool accepted;
    const char* status;  // the text after "檢核帳號..."
  } cases[] = {
      {"3", true, kLoginAccepted},     {"\n3", true, kLoginAccepted},
      {"3\n\n", true, kLoginAccepted}, {"3\r\n", false, kLoginRejected},
      {"3 ", false, kLoginRejected},   {"1", false, kLoginRejected},
      {"2", false, kLoginRejected},    {"", false, kLoginRejected},
      {"0", false, kLoginInvalid},     {"0\n", false, kLoginInvalid},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    SetUp();  // an accepted login stores a new code
    ScriptedFetcher fetcher;
    fetcher.On(kLogin + "123456", c.reply);
    fetcher.On(kUserData, "3,2099/12/31");
    RecordingLoginView view;
    AccountState account;
    LoginEnvironment env{fetcher, sleeper_, kBases, setup_};
    const LoginResult result = PressLogin(env, {"u1", "pw", true, 1}, account, view);
    EXPECT_EQ(result.loggedIn, c.accepted);
    EXPECT_EQ(account.loggedIn, c.accepted);
    ASSERT_GE(view.statuses.size(), 4u);
    EXPECT_EQ(view.statuses[1], kLoginConnecting);
    EXPECT_EQ(view.statuses[2], kLoginChecking);
    EXPECT_EQ(view.statuses[3], c.status);
    if (!c.accepted) {
      EXPECT_EQ(fetcher.Urls().size(), 1u);
    }
  }
}

TEST_F(LoginTest, AcceptedLoginStoresANewCodeTheAccountAndTheRights) {
  fetcher_.On(kLogin + "123456", "3");
  fetcher_.On(kUserData, "4,2099/12/31");
  const LoginResult result = Press();
  ASSERT_TRUE(result.loggedIn);
  EXPECT_EQ(result.windowTitle, "Kestrel( 已登入: u1 )");
  EXPECT_EQ(result.statusPane0, kLoginWelcome);
  EXPECT_EQ(account_.userId, "u1");
  EXPECT_EQ(account_.rights, "4");
  EXPECT_TRUE(account_.IsInstructor());
  EXPECT_EQ(account_.expiryDate, "2099/12/31");

  const std::string code = MakeSessionCode(1700000000u);
  const std::vector<std::string> urls = fetcher_.Urls();
  ASSERT_EQ(urls.size(), 3u);
  EXPECT_EQ(urls[1], "http://p/net_WriteValidCode_Future.php?id=u1&pwd=pw&code=" + code);
  EXPECT_EQ(Setting("MARGIM"), code);
  EXPECT_EQ(Setting("ID"), "u1");
  EXPECT_EQ(Setting("SAVEACCOUNT"), "1");
  // The password stays in memory.
  EXPECT_EQ(ReadFile(setup_).find("pw\r"), std::string::npos);
  EXPECT_EQ(sleeper_.TotalMs(), 400u);
  EXPECT_EQ(AboutText(account_), "使用者: u1\n\n到期日: 2099/12/31");
}

TEST_F(LoginTest, FirstLoginSendsAnEmptyCodeAndAClearedBoxEmptiesTheStoredId) {
  WriteFile(setup_, "[ACCOUNT]\r\nID=old\r\nSAVEACCOUNT=1\r\n");
  fetcher_.On(kLogin, "3");
  fetcher_.On(kUserData, "3,2020/01/01");
  ASSERT_TRUE(Press("u1", "pw", false).loggedIn);
  EXPECT_EQ(fetcher_.Urls().front(), kLogin);
  EXPECT_EQ(Setting("ID"), "");
  EXPECT_EQ(Setting("SAVEACCOUNT"), "0");
  EXPECT_FALSE(account_.rememberAccount);
}

TEST_F(LoginTest, UserDataGivesRightsAndExpiryOrNothing) {
  const struct {
    const char* reply;
    bool ok;
    const char* rights;
    const char* expiry;
  } cases[] = {
      {"4,2013/12/31", true, "4", "2013/12/31"},
      {"3", true, "3", ""},
      {"3,", true, "3", ""},
      {"", true, "", ""},
      {"ERROR", false, "", ""},
      {"0,ERROR", false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    const std::optional<UserData> data = ParseUserData(c.reply);
    ASSERT_EQ(data.has_value(), c.ok);
    if (!data) continue;
    EXPECT_EQ(data->rights, c.rights);
    EXPECT_EQ(data->expiryDate, c.expiry);
  }

  fetcher_.On(kLogin + "123456", "3");
  fetcher_.On(kUserData, "ERROR");
  ASSERT_TRUE(Press().loggedIn);
  EXPECT_EQ(view_.statuses.back(), kLoginNoRights);
  EXPECT_EQ(account_.rights, "");
}

TEST_F(LoginTest, MissingFieldsAndNoConnectionStopTheLogin) {
  Press("", "pw");
  EXPECT_EQ(view_.statuses, (std::vector<std::string>{"", kLoginNeedsBoth}));
  EXPECT_TRUE(fetcher_.Urls().empty());

  view_.statuses.clear();
  const LoginResult result = Press();  // nothing scripted: the host is unreachable
  EXPECT_FALSE(result.loggedIn);
  EXPECT_EQ(view_.statuses, (std::vector<std::string>{"", kLoginConnecting, kLoginNoConnection,
                                                      kLoginNoConnection}));
  EXPECT_EQ(sleeper_.TotalMs(), 200u);
}

TEST(SessionCodeTest, AlwaysSixDigitsInRangeAcrossTheWholeDraw) {
  // Draws near the top of 0..32767 overflow 32 bits when multiplied by 899999.
  int low = 999999, high = 0;
  for (uint32_t seed = 0; seed < 100000; ++seed) {
    const std::string code = MakeSessionCode(seed);
    ASSERT_EQ(code.size(), 6u) << seed;
    const int value = std::stoi(code);
    ASSERT_GE(value, 100000) << seed;
    ASSERT_LE(value, 999999) << seed;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  EXPECT_LT(low, 110000);
  EXPECT_GT(high, 990000);
}

TEST(LoginDialogTest, OpensWithTheRememberedAccount) {
  const auto dir = FreshDir();
  const auto setup = dir / "setup.ini";
  WriteFile(setup, "[ACCOUNT]\r\nID=kept\r\nSAVEACCOUNT=1\r\n");
  AccountState account;
  LoginDialogStart start = OpenLoginDialog(setup, account);
  EXPECT_TRUE(start.remember);
  EXPECT_EQ(start.userId, "kept");
  EXPECT_EQ(account.userId, "kept");

  WriteFile(setup, "[ACCOUNT]\r\nID=kept\r\nSAVEACCOUNT=0\r\n");
  AccountState other;
  start = OpenLoginDialog(setup, other);
  EXPECT_FALSE(start.remember);
  EXPECT_EQ(start.userId, "");
  EXPECT_EQ(ManualUrl(kBases), "http://p\\software-doc.php");
  EXPECT_EQ(UpdateHistoryUrl(kBases), "http://p\\software-history.php");
  EXPECT_EQ(HomePageUrl(kBases), "http://p");
}

// The logout side of closing the main window.
class CloseRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_ = FreshDir() / "setup.ini";
    WriteFile(setup_, "[ACCOUNT]\r\nMARGIN=100000\r\n");
    account_.userId = "u1";
    account_.password = "pw";
    account_.loggedIn = true;
    figures_.marginBalance = 100000;
    figures_.realisedPnl = -2400;
    figures_.floatingPnl = 1000;  // an open position is not closed; its result counts
  }

  CloseOutcome Close(bool student, bool endOfSystemSession) {
    CloseEnvironment env{fetcher_, prompter_, kBases, setup_};
    return RunCloseRequest(env, account_, student, endOfSystemSession, figures_);
  }

  std::string Margin() const { return ReadProfileString(setup_, "ACCOUNT", "MARGIN"); }

  const std::string kLogout = "http://p/net_Logout_Future.php?id=u1&pwd=pw";
  const std::string kLeave = "http://p/net_StudentInOut.asp?id=u1&pwd=pw&mode=out";
  std::filesystem::path setup_;
  ScriptedFetcher fetcher_;
  ScriptedPrompter prompter_;
  AccountState account_;
  AccountFigures figures_;
};

TEST_F(CloseRequestTest, NotLoggedInClosesWithoutAskingOrWriting) {
  account_.loggedIn = false;
  const CloseOutcome outcome = Close(false, false);
  EXPECT_TRUE(outcome.close);
  EXPECT_FALSE(outcome.showLogoutDialog);
  EXPECT_TRUE(prompter_.shown.empty());
  EXPECT_TRUE(fetcher_.Urls().empty());
  EXPECT_EQ(Margin(), "100000");
}

TEST_F(CloseRequestTest, ConfirmedLogoutFoldsTheResultIntoTheMargin) {
  const struct {
    const char* name;
    PromptAnswer answer;
    std::vector<ScriptedFetcher::Reply> replies;
    bool student;
    bool closes;
    std::vector<std::string> messages;  // after the question
    std::string margin;
  } cases[] = {
      {"no", PromptAnswer::No, {ScriptedFetcher::Body("0")}, false, false, {}, "100000"},
      {"logged out", PromptAnswer::Yes, {ScriptedFetcher::Body("0")}, false, true, {}, "98600"},
      {"refused",
       PromptAnswer::Yes,
       {ScriptedFetcher::Body("1")},
       false,
       false,
       {kLogoutRefused},
       "100000"},
      {"no connection",
       PromptAnswer::Yes,
       {ScriptedFetcher::Failure()},
       false,
       false,
       {kLogoutNoConnection},
       "100000"},
      {"student", PromptAnswer::Yes, {ScriptedFetcher::Body("0")}, true, true, {}, "98600"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    fetcher_.Reset();
    prompter_ = ScriptedPrompter();
    fetcher_.On(kLogout, c.replies);
    fetcher_.On(kLeave, "OK");
    prompter_.answers = {c.answer};
    const CloseOutcome outcome = Close(c.student, false);
    EXPECT_EQ(outcome.close, c.closes);
    EXPECT_EQ(outcome.showLogoutDialog, c.closes);
    ASSERT_GE(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].text, kConfirmLogout);
    EXPECT_EQ(prompter_.shown[0].caption, kCaptionNotice);
    std::vector<std::string> messages;
    for (size_t i = 1; i < prompter_.shown.size(); ++i) {
      messages.push_back(prompter_.shown[i].text);
      EXPECT_EQ(prompter_.shown[i].caption, kCaptionWarning);
    }
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(Margin(), c.margin);
    EXPECT_EQ(fetcher_.CountStartingWith(kLeave), c.student && c.closes ? 1 : 0);
  }
}

TEST_F(CloseRequestTest, EndOfSystemSessionTriesFiveTimesAndClosesAnyway) {
  fetcher_.On(kLogout, {ScriptedFetcher::Body("1")});
  fetcher_.On(kLeave, "OK");
  const CloseOutcome outcome = Close(true, true);
  EXPECT_TRUE(outcome.close);
  EXPECT_TRUE(prompter_.shown.empty());
  EXPECT_EQ(fetcher_.CountStartingWith(kLogout), 5);
  EXPECT_EQ(fetcher_.CountStartingWith(kLeave), 1);
  EXPECT_EQ(Margin(), "98600");

  fetcher_.Reset();
  fetcher_.On(kLogout, {ScriptedFetcher::Failure(), ScriptedFetcher::Body("0")});
  SetUp();
  Close(false, true);
  EXPECT_EQ(fetcher_.CountStartingWith(kLogout), 2);
}

}  // namespace
}  // namespace kestrel::test
