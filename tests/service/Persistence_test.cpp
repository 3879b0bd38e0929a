// The real binary: init keeps what exists, a restarted server keeps its state,
// and a server killed mid-request leaves a sound database with every
// acknowledged write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "ServiceFixture.h"
#include "ServiceProcess.h"

namespace kestrel::service::test {
namespace {

std::unique_ptr<PracticeService> OpenExisting(const std::filesystem::path& folder) {
  ServiceOptions options = CheapOptions();
  options.createDatabase = false;
  std::string error;
  auto service = PracticeService::Open(folder, options, &error);
  EXPECT_TRUE(service) << error;
  return service;
}

// "name,state,date,lots,result|" records into name → result.
std::map<std::string, long long> Results(const std::string& list) {
  std::map<std::string, long long> results;
  size_t start = 0;
  for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1) {
    const std::string record = list.substr(start, bar - start);
    results[record.substr(0, record.find(','))] = std::stoll(record.substr(record.rfind(',') + 1));
  }
  return results;
}

TEST(PersistenceTest, InitAgainKeepsExistingAccounts) {
  const std::string folder = FreshDir().string() + "/data";
  std::string output;
  ASSERT_EQ(ServiceProcess::Run({"init", "--data", folder, "--cheap-hash"}, &output), 0) << output;
  EXPECT_NE(output.find("5 practice account(s) added"), std::string::npos) << output;
  ASSERT_EQ(
      ServiceProcess::Run({"user", "passwd", "--data", folder, "demo", "n3w", "--cheap-hash"}), 0);
  ASSERT_EQ(ServiceProcess::Run({"user", "add", "--data", folder, "extra", "pw", "--rights", "3",
                                 "--class", "A", "--cheap-hash"}),
            0);
  output.clear();
  ASSERT_EQ(ServiceProcess::Run({"init", "--data", folder, "--cheap-hash"}, &output), 0);
  EXPECT_NE(output.find("0 practice account(s) added"), std::string::npos) << output;

  auto service = OpenExisting(folder);
  ASSERT_TRUE(service);
  EXPECT_EQ(service->accounts().List().size(), 6u);
  EXPECT_EQ(service->accounts().Authenticate("demo", "demo").status, AuthStatus::kWrongPassword);
  EXPECT_TRUE(service->accounts().Authenticate("demo", "n3w").ok());
  EXPECT_EQ(service->accounts().Find("extra")->className, "A");
}

TEST(PersistenceTest, CommandLineMistakesAreReported) {
  const std::string folder = FreshDir().string();
  struct Case {
    std::vector<std::string> args;
    int exitCode;
  };
  const Case cases[] = {
      {{}, 2},
      {{"start", "--data", folder}, 2},
      {{"init"}, 2},
      {{"init", "--data"}, 2},
      {{"serve", "--data", folder}, 1},  // no database yet
      {{"serve", "--data", folder, "--listen", "nowhere"}, 2},
      {{"user", "add", "--data", folder, "x"}, 2},
      {{"user", "remove", "--data", folder, "x", "y"}, 2},
      {{"user", "list", "--data", folder + "/missing"}, 1},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(ServiceProcess::Run(c.args, &output), c.exitCode) << output;
    EXPECT_NE(output.find("kestrel-service"), std::string::npos) << output;
  }
  ASSERT_EQ(ServiceProcess::Run({"init", "--data", folder, "--cheap-hash"}), 0);
  std::string output;
  EXPECT_EQ(ServiceProcess::Run({"user", "rights", "--data", folder, "demo", "77"}, &output), 1);
  EXPECT_NE(output.find("invalid rights"), std::string::npos) << output;
}

TEST(PersistenceTest, ServesOnLoopbackUnlessToldOtherwise) {
  const std::string folder = FreshDir().string();
  WriteSampleDataFolder(folder);
  ASSERT_EQ(ServiceProcess::Run({"init", "--data", folder, "--cheap-hash"}), 0);
  ServiceProcess server;
  // Only the port is given: the address stays the loopback one.
  ASSERT_TRUE(server.Serve(folder, ":0")) << server.startOutput();
  EXPECT_EQ(Fetch(server.port(), "/net_GetHisYear.asp").body, "2013,2012,");
  // The start names what the folder offers and lacks.
  EXPECT_NE(server.startOutput().find("5 trading days in the catalogue (1 without a day archive), "
                                      "1 training days, version 250,KestrelUpdate_250.zip"),
            std::string::npos)
      << server.startOutput();
}

TEST(PersistenceTest, ARestartedServerKeepsSessionsAndTheClassroom) {
  const std::string folder = FreshDir().string();
  WriteSampleDataFolder(folder);
  ASSERT_EQ(ServiceProcess::Run({"init", "--data", folder, "--cheap-hash"}), 0);
  {
    ServiceProcess server;
    ASSERT_TRUE(server.Serve(folder));
    const int port = server.port();
    ASSERT_EQ(Fetch(port, "/net_Login_Future.php?id=demo&pwd=demo&code=").body, "3");
    ASSERT_EQ(Fetch(port, "/net_WriteValidCode_Future.php?id=demo&pwd=demo&code=123456").body,
              "OK");
    ASSERT_EQ(Fetch(port, "/net_MasterSelDate.asp?id=teacher&pwd=teacher&theDate=2013/05/06").body,
              "");
    ASSERT_EQ(Fetch(port, "/net_StudentInOut.asp?id=student1&pwd=student&mode=in").body, "OK");
    const int status = server.Stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  ServiceProcess server;
  ASSERT_TRUE(server.Serve(folder));
  const int port = server.port();
  EXPECT_EQ(Fetch(port, "/net_Login_Future.php?id=demo&pwd=demo&code=654321").body, "1");
  EXPECT_EQ(Fetch(port, "/net_Login_Future.php?id=demo&pwd=demo&code=123456").body, "3");
  EXPECT_EQ(Fetch(port, "/net_MasterRead.asp?id=teacher&pwd=teacher&sort=0").body,
            "student1,1,,0,0|student2,0,,0,0|student3,0,,0,0|");
  EXPECT_EQ(Fetch(port, "/net_StudentS1.asp?id=student1&pwd=student").body, "2013/05/06");
}

TEST(PersistenceTest, KillDuringWritesLosesNoAcknowledgedResult) {
  const std::string folder = FreshDir().string();
  WriteSampleDataFolder(folder);
  ASSERT_EQ(ServiceProcess::Run({"init", "--data", folder, "--cheap-hash"}), 0);
  const std::vector<std::string> students = {"student1", "student2", "student3"};

  ServiceProcess server;
  ASSERT_TRUE(server.Serve(folder));
  const int port = server.port();
  ASSERT_EQ(Fetch(port, "/net_MasterSelDate.asp?id=teacher&pwd=teacher&theDate=2013/05/06").body,
            "");
  for (const std::string& s : students) {
    const std::string account = "?id=" + s + "&pwd=student";
    ASSERT_EQ(Fetch(port, "/net_StudentInOut.asp" + account + "&mode=in").body, "OK");
    ASSERT_EQ(Fetch(port, "/net_StudentS1END.asp" + account).body, "");
  }
  ASSERT_EQ(Fetch(port, "/net_MasterOpen.asp?id=teacher&pwd=teacher").body, "");
  for (const std::string& s : students)
    ASSERT_EQ(Fetch(port, "/net_StudentS2END.asp?id=" + s + "&pwd=student").body, "");

  // Each student reports 1, 2, 3, ... until the server dies under it.
  std::map<std::string, std::atomic<long long>> acknowledged;
  for (const std::string& s : students) acknowledged[s] = 0;
  std::vector<std::thread> reporters;
  for (const std::string& s : students) {
    reporters.emplace_back([&, s] {
      for (long long value = 1; value < 100000; ++value) {
        const Answer answer = Fetch(port, "/net_StudentS3.asp?id=" + s + "&pwd=student&dealLot=1" +
                                              "&TotalLoss=" + std::to_string(value));
        if (answer.body != "3") return;
        acknowledged[s] = value;
      }
    });
  }
  // Keep the server busy until every student has had writes acknowledged.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  auto enough = [&] {
    for (const std::string& s : students)
      if (acknowledged[s] < 20) return false;
    return true;
  };
  while (!enough() && std::chrono::steady_clock::now() < deadline)
    Fetch(port, "/net_MasterRead.asp?id=teacher&pwd=teacher&sort=0");
  server.Stop(SIGKILL);
  for (std::thread& t : reporters) t.join();
  ASSERT_TRUE(enough());

  ServiceProcess restarted;
  ASSERT_TRUE(restarted.Serve(folder));
  const auto results =
      Results(Fetch(restarted.port(), "/net_MasterRead.asp?id=teacher&pwd=teacher&sort=0").body);
  for (const std::string& s : students) {
    SCOPED_TRACE(s);
    ASSERT_TRUE(results.count(s));
    // The last acknowledged value, or the one in flight when the server died.
    EXPECT_GE(results.at(s), acknowledged[s].load());
    EXPECT_LE(results.at(s), acknowledged[s].load() + 1);
  }
  restarted.Stop(SIGTERM);
  auto service = OpenExisting(folder);
  ASSERT_TRUE(service);
  EXPECT_EQ(service->database().IntegrityCheck(), "ok");
}

}  // namespace
}  // namespace kestrel::service::test
