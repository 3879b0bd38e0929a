// Requests that try to leave the served folders, oversized or odd requests,
// injected SQL and many clients at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ServiceFixture.h"

namespace kestrel::service::test {
namespace {

class SecurityTest : public ServiceFixture {};

TEST_F(SecurityTest, FileRequestsCannotLeaveTheirFolders) {
  const char* attempts[] = {
      "/DATA/../secret.txt",
      "/DATA/../kestrel.db",
      "/DATA/..%2fsecret.txt",
      "/DATA/..%2Fsecret.txt",
      "/DATA/%2e%2e/secret.txt",
      "/DATA/%2E%2E%2Fsecret.txt",
      "/DATA/..%5csecret.txt",
      "/DATA/..\\secret.txt",
      "/DATA/%252e%252e%252fsecret.txt",
      "/DATA//secret.txt",
      "/DATA/./../secret.txt",
      "/DATA/.",
      "/DATA/..",
      "/DB/../../secret.txt",
      "/DB/..%2f..%2fetc%2fpasswd",
      "/DB/%2fetc%2fpasswd",
      "/TICKDATA/..%2fservice.conf",
      "/TICKDATA/../DATA/TICK_2013_05_06.zip",
      "/HISDATA_6631/../secret.txt",
      "/HISDATA_6631/..%2f..%2fsecret.txt",
      "/secret.txt",
      "/service.conf",
      "/kestrel.db",
      "/DATA/%00TICK_2013_05_06.zip",
  };
  for (const char* target : attempts) {
    SCOPED_TRACE(target);
    const Answer answer = Get(target);
    EXPECT_TRUE(answer.status == 404 || answer.status == 400) << answer.status;
    EXPECT_EQ(answer.body.find("not for the web"), std::string::npos);
    EXPECT_EQ(answer.body.find("SQLite format"), std::string::npos);
    EXPECT_EQ(answer.body.find("version="), std::string::npos);
    EXPECT_EQ(answer.body.find("fake archive"), std::string::npos);
  }
  // An escaped name that stays inside its folder is still served.
  EXPECT_EQ(Get("/DATA/TICK%5f2013_05_06.zip").status, 200);
}

TEST_F(SecurityTest, OversizedRequestsAreRefused) {
  struct Case {
    std::string target;
    int status;
  };
  const std::string many = [] {
    std::string query;
    for (int i = 0; i < 17; ++i) query += "&k" + std::to_string(i) + "=v";
    return query;
  }();
  const Case cases[] = {
      {"/net_GetHisYear.asp?pad=" + std::string(2100, 'x'), 414},
      {"/net_GetHisYear.asp?pad=" + std::string(20000, 'x'), 414},
      {"/net_GetHisYear.asp?x=1" + many, 400},
      {"/net_Login_Future.php?id=demo&pwd=" + std::string(300, 'p') + "&code=", 400},
      {"/net_Login_Future.php?" + std::string(40, 'k') + "=1", 400},
      {"/net_GetHisYear.asp?theYear=2013", 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target.substr(0, 60));
    const Answer answer = Get(c.target);
    EXPECT_EQ(answer.status, c.status);
    EXPECT_FALSE(answer.body.empty());
  }
  // The service still answers after refusing.
  EXPECT_EQ(Body("/net_GetHisYear.asp"), "2013,2012,");
}

TEST_F(SecurityTest, UnknownPathsAndMethodsGetAClearAnswer) {
  const Answer unknown = Get("/cgi-bin/admin.php?id=demo");
  EXPECT_EQ(unknown.status, 404);
  EXPECT_NE(unknown.body.find("Page Not Found"), std::string::npos);

  httplib::Client client("127.0.0.1", server_->port());
  auto post = client.Post("/net_Login_Future.php?id=demo&pwd=demo&code=", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  auto head = client.Head("/DATA/TICK_2013_05_06.zip");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_EQ(head->get_header_value("Content-Length"),
            std::to_string(SampleArchiveBytes("TICK_2013_05_06.zip").size()));
  EXPECT_TRUE(head->body.empty());
}

TEST_F(SecurityTest, ParametersNeverBecomeSql) {
  // Sent as typed; a blank would end the request line, so blanks go escaped.
  const char* hostile[] = {
      "demo'--", "demo'OR'1'='1", "x';DROP%20TABLE%20accounts;--", "demo\"", "%27%20OR%201=1--",
  };
  for (const char* id : hostile) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Body(std::string("/net_Login_Future.php?id=") + id + "&pwd=demo&code="), "0");
    EXPECT_EQ(Body(std::string("/net_UnlockUser.asp?ID=") + id), "ERROR");
    EXPECT_EQ(Body(std::string("/net_GetUserData_Future.php?id=student2&pwd=") + id), "ERROR");
  }
  EXPECT_EQ(service_->accounts().List().size(), 5u);
  EXPECT_EQ(Body("/net_Login_Future.php?id=demo&pwd=demo&code="), "3");
}

TEST_F(SecurityTest, ManyClientsAtOnceAreAllServedCorrectly) {
  LogIn("teacher", "teacher");
  ASSERT_EQ(Body("/net_MasterSelDate.asp?id=teacher&pwd=teacher&theDate=2013/05/06"), "");
  constexpr int kClients = 12, kRounds = 25;
  std::atomic<int> wrong{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      const int port = server_->port();
      for (int round = 0; round < kRounds; ++round) {
        // A mix of reads, writes and files, each with a known answer.
        const std::string s = "student" + std::to_string(1 + c % 3);
        const Answer a = Fetch(port, "/net_GetHisYear.asp");
        const Answer b = Fetch(port, "/net_GetUserData_Future.php?id=" + s + "&pwd=student");
        const Answer d = Fetch(port, "/DATA/TICK_2013_05_06.zip");
        const Answer e = Fetch(port, "/net_StudentInOut.asp?id=" + s + "&pwd=student&mode=in");
        const Answer f = Fetch(port, "/net_StudentS1.asp?id=" + s + "&pwd=student");
        if (a.body != "2013,2012," || b.body != "3,2099/12/31" ||
            d.body != SampleArchiveBytes("TICK_2013_05_06.zip") || e.body != "OK" ||
            f.body != "2013/05/06")
          ++wrong;
      }
    });
  }
  for (std::thread& t : clients) t.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(service_->database().IntegrityCheck(), "ok");
}

}  // namespace
}  // namespace kestrel::service::test
