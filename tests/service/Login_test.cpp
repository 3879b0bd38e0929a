// The login code rules: the one-place session code, the lock after wrong
// passwords, expiry, and how accounts are stored.
#include <gtest/gtest.h>

#include "ServiceFixture.h"

namespace kestrel::service::test {
namespace {

struct Step {
  const char* target;
  const char* reply;
};

class LoginTest : public ServiceFixture {
 protected:
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      SCOPED_TRACE(step.target);
      EXPECT_EQ(Body(step.target), step.reply);
    }
  }
};

TEST_F(LoginTest, SessionCodeHoldsTheAccountForOnePlace) {
  Run({
      {"/net_Login_Future.php?id=demo&pwd=demo&code=", "3"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=", "3"},  // no code held yet
      {"/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=222222", "OK"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=222222", "3"},  // same computer again
      {"/net_Login_Future.php?id=demo&pwd=demo&code=333333", "1"},  // another computer
      {"/net_Login_Future.php?id=demo&pwd=demo&code=", "1"},        // a new computer
      {"/net_Logout_Future.php?id=demo&pwd=demo", "0"},
      {"/net_Logout_Future.php?id=demo&pwd=demo", "0"},
      {"/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=555555", "ERROR"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=333333", "3"},  // released by the logout
      {"/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=444444", "OK"},
      {"/net_Login_Future.php?id=demo&pwd=demo&code=222222", "1"},
      {"/net_UnlockUser.asp?ID=demo", "OK"},  // released by the instructor
      {"/net_Login_Future.php?id=demo&pwd=demo&code=222222", "3"},
  });
}

TEST_F(LoginTest, FiveWrongPasswordsInARowLockTheAccount) {
  Run({
      {"/net_Login_Future.php?id=student1&pwd=a&code=", "0"},
      {"/net_Login_Future.php?id=student1&pwd=b&code=", "0"},
      {"/net_Login_Future.php?id=student1&pwd=c&code=", "0"},
      {"/net_Login_Future.php?id=student1&pwd=d&code=", "0"},
      {"/net_Login_Future.php?id=student1&pwd=student&code=", "3"},  // resets the count
      {"/net_Login_Future.php?id=student1&pwd=a&code=", "0"},
      {"/net_GetUserData_Future.php?id=student1&pwd=b", "ERROR"},  // every page counts
      {"/net_StudentS1.asp?id=student1&pwd=c", "ERROR"},
      {"/net_Logout_Future.php?id=student1&pwd=d", "ERROR"},
      {"/net_Login_Future.php?id=student1&pwd=e&code=", "0"},
      {"/net_Login_Future.php?id=student1&pwd=student&code=", "2"},  // locked
      {"/net_GetUserData_Future.php?id=student1&pwd=student", "ERROR"},
      {"/net_StudentInOut.asp?id=student1&pwd=student&mode=in", "ERROR"},
      {"/net_UnlockUser.asp?ID=student1", "OK"},
      {"/net_Login_Future.php?id=student1&pwd=student&code=", "3"},
  });
}

TEST_F(LoginTest, ExpiryEndsLoginOnTheDayAfter) {
  AccountStore& accounts = service_->accounts();
  ASSERT_EQ(accounts.Add("today", "pw", "1", "2014/01/01", ""), "");
  ASSERT_EQ(accounts.Add("yesterday", "pw", "1", "2013/12/31", ""), "");
  EXPECT_EQ(Body("/net_Login_Future.php?id=today&pwd=pw&code="), "3");
  EXPECT_EQ(Body("/net_Login_Future.php?id=yesterday&pwd=pw&code="), "4");
  EXPECT_EQ(Body("/net_GetUserData_Future.php?id=yesterday&pwd=pw"), "1,2013/12/31");
}

TEST_F(LoginTest, PasswordsAreStoredAsSaltedHashesOnly) {
  Database& db = service_->database();
  auto lock = db.Lock();
  Statement select =
      db.Prepare("SELECT id, pwhash FROM accounts WHERE id IN ('student1', 'student2')");
  std::vector<std::string> hashes;
  while (select.Step()) {
    const std::string hash = select.Text(1);
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
    EXPECT_EQ(hash.find("student"), std::string::npos);
    hashes.push_back(hash);
  }
  ASSERT_EQ(hashes.size(), 2u);
  EXPECT_NE(hashes[0], hashes[1]);  // same password, different salt
}

TEST_F(LoginTest, AdministrationRefusesBadValues) {
  AccountStore& accounts = service_->accounts();
  struct Case {
    const char* id;
    const char* password;
    const char* rights;
    const char* expiry;
    const char* className;
  };
  const Case bad[] = {
      {"", "pw", "1", "2099/12/31", ""},
      {"has space", "pw", "1", "2099/12/31", ""},
      {"comma,id", "pw", "1", "2099/12/31", ""},
      {"demo", "pw", "1", "2099/12/31", ""},  // exists already
      {"x", "", "1", "2099/12/31", ""},
      {"x", "a&b", "1", "2099/12/31", ""},
      {"x", "a#b", "1", "2099/12/31", ""},
      {"x", "50%", "1", "2099/12/31", ""},
      {"x", "two words", "1", "2099/12/31", ""},
      {"x", "pw", "34", "2099/12/31", ""},
      {"x", "pw", "", "2099/12/31", ""},
      {"x", "pw", "1", "2099/02/30", ""},
      {"x", "pw", "1", "tomorrow", ""},
      {"x", "pw", "1", "2099/12/31", "a|b"},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(std::string(c.id) + " " + c.password + " " + c.rights + " " + c.expiry);
    EXPECT_NE(accounts.Add(c.id, c.password, c.rights, c.expiry, c.className), "");
  }
  EXPECT_FALSE(accounts.Find("x"));
  EXPECT_NE(accounts.SetPassword("nobody", "pw"), "");
  EXPECT_NE(accounts.SetRights("demo", "44"), "");
  EXPECT_NE(accounts.SetClass("nobody", "A"), "");
  EXPECT_FALSE(accounts.Unlock("nobody"));

  ASSERT_EQ(accounts.SetPassword("demo", "n3w+pass"), "");
  EXPECT_EQ(Body("/net_Login_Future.php?id=demo&pwd=demo&code="), "0");
  EXPECT_EQ(Body("/net_Login_Future.php?id=demo&pwd=n3w+pass&code="), "3");
}

}  // namespace
}  // namespace kestrel::service::test
