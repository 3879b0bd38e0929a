#include "ServiceFixture.h"

#include "common/FileUtil.h"

namespace kestrel::service::test {

namespace fs = std::filesystem;

fs::path FreshDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  const fs::path dir = fs::path(KESTREL_TEST_TMP) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  ASSERT_EQ(WriteFileAtomically(path, bytes), "");
}

std::string ReadFile(const fs::path& path) {
  return ReadWholeFile(path).value_or("<missing>");
}

std::string SampleArchiveBytes(const std::string& name) {
  // Any bytes do: the service never opens archives. A zero byte checks that
  // files are sent whole.
  return std::string("PK\x03\x04", 4) + std::string(1, '\0') + "fake archive " + name + "\n";
}

std::string SampleNotes() {
  return "[#] 093055\n開高後拉回，觀察 9:30 的支撐。\n[#END]\n[#] 100000\n第二段說明\n[#END]\n";
}

void WriteSampleDataFolder(const fs::path& folder) {
  WriteFile(folder / "catalogue.txt",
            "# date,open,high,low,close,volume,change,range,main,secondary\n"
            "2013/05/02,7990,8010,7950,7960,90000,-25,60,2,4\n"
            "2013/05/03,7965,8020,7960,8011,95000,51,60,1,1\r\n"
            "2013/05/06,8010,8065,7990,8052,98765,41,75,1,3\n"
            "2013/06/03,8100,8150,8000,8010,120000,-40,150,4,2\n"
            "2012/12/28,7650,7700,7640,7699,80000,35,60,5,5\n");
  for (const char* day : {"2013_05_02", "2013_05_03", "2013_05_06", "2012_12_28"}) {
    const std::string name = std::string("TICK_") + day + ".zip";
    WriteFile(folder / "DATA" / name, SampleArchiveBytes(name));
  }
  WriteFile(folder / "DATA" / "K_2013_05_02.zip", SampleArchiveBytes("K_2013_05_02.zip"));
  // A day before the catalogue's first, as the generator writes for the K-line history.
  WriteFile(folder / "DATA" / "K_2012_12_20.zip", SampleArchiveBytes("K_2012_12_20.zip"));
  WriteFile(folder / "TICKDATA" / "TICK_102_05_06.zip", SampleArchiveBytes("TICK_102_05_06.zip"));
  WriteFile(folder / "training.txt",
            "# date,notes file,description\n"
            "2013/05/06,TRAIN_2013_05_06.txt,開高走高，留意 09:30 的拉回,含逗號\n");
  WriteFile(folder / "DB" / "TRAIN_2013_05_06.txt", SampleNotes());
  WriteFile(folder / "DB" / "KestrelUpdate_250.zip", SampleArchiveBytes("KestrelUpdate_250.zip"));
  WriteFile(folder / "service.conf",
            "# the trainer's latest version\nversion=250\nupdate=KestrelUpdate_250.zip\n");
  std::string trend;
  for (int minute = 1; minute <= 300; ++minute) {
    const int clock = 8 * 60 + 45 + minute;
    char line[40];
    std::snprintf(line, sizeof line, "%02d%02d,%d,%d\n", clock / 60, clock % 60,
                  8011 + (minute % 60) - 20 + minute / 10, 100 + (minute * 37) % 400);
    trend += line;
  }
  WriteFile(folder / "TREND" / "2013_05_06.txt", trend);
  WriteFile(folder / "secret.txt", "not for the web\n");
}

ServiceOptions CheapOptions() {
  ServiceOptions options;
  options.hashCost = PasswordHasher::Cost::kCheap;
  options.today = TestToday;
  options.randomSeed = 7;
  options.createDatabase = true;
  options.log = [](const std::string&) {};
  return options;
}

Answer Fetch(int port, const std::string& target) {
  httplib::Client client("127.0.0.1", port);
  client.set_url_encode(false);
  client.set_connection_timeout(5);
  client.set_read_timeout(10);
  Answer answer;
  if (auto result = client.Get(target.c_str())) {
    answer.status = result->status;
    answer.body = result->body;
    answer.contentType = result->get_header_value("Content-Type");
    answer.contentLength = result->get_header_value("Content-Length");
  }
  return answer;
}

void ServiceFixture::SetUp() {
  folder_ = FreshDir();
  WriteSampleDataFolder(folder_);
  std::string error;
  service_ = PracticeService::Open(folder_, CheapOptions(), &error);
  ASSERT_TRUE(service_) << error;
  ASSERT_EQ(service_->accounts().SeedPracticeAccounts(), 5);
  server_ = std::make_unique<ServiceServer>(service_->router());
  ASSERT_EQ(server_->Bind("127.0.0.1", 0), "");
  server_->Start();
}

void ServiceFixture::TearDown() {
  if (server_) server_->Stop();
}

void ServiceFixture::LogIn(const std::string& id, const std::string& password,
                           const std::string& code) {
  ASSERT_EQ(Body("/net_Login_Future.php?id=" + id + "&pwd=" + password + "&code="), "3");
  if (!code.empty()) {
    ASSERT_EQ(
        Body("/net_WriteValidCode_Future.php?id=" + id + "&pwd=" + password + "&code=" + code),
        "OK");
  }
}

}  // namespace kestrel::service::test
