// kestrel-service-load: plays a classroom against the practice service on
// 127.0.0.1 and prints requests per second, latencies, errors and lost results.
// Bounded in time and requests; builds its own data folder and removes it.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include "ClassroomLoad.h"
#include "common/FileUtil.h"
#include "service/PracticeService.h"
#include "service/ServiceServer.h"
#include "service/TextLines.h"

namespace fs = std::filesystem;
using namespace kestrel::service;
using kestrel::WriteFileAtomically;

namespace {

constexpr const char* kUsage =
    "usage: kestrel-service-load [--students N] [--lessons N] [--interval-ms MS]\n"
    "       [--trading-ms MS] [--archive-kb KB (64 or more)] [--server-threads N] "
    "[--server-streams N]\n"
    "       [--max-seconds S] [--max-requests N] [--client-waits 0|1] [--keep DIR]\n";

struct Settings {
  int students = 200;
  int lessons = 2;
  int intervalMs = 80;
  int tradingMs = 3000;
  int archiveKb = 1024;
  int serverThreads = 64;
  int serverStreams = 4;
  int maxSeconds = 120;
  int64_t maxRequests = 2000000;
  bool clientWaits = true;
  std::string keep;
};

bool ParseArgs(int argc, char** argv, Settings& s) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--keep") {
      s.keep = value;
      continue;
    }
    const auto number = ParseInteger(value);
    if (arg == "--client-waits" && number && (*number == 0 || *number == 1)) {
      s.clientWaits = *number == 1;
      continue;
    }
    if (!number || *number < 1) return false;
    const int n = static_cast<int>(std::min<int64_t>(*number, 1000000000));
    if (arg == "--students" && n <= 999)
      s.students = n;
    else if (arg == "--lessons" && n <= 20)
      s.lessons = n;
    else if (arg == "--interval-ms")
      s.intervalMs = n;
    else if (arg == "--trading-ms")
      s.tradingMs = n;
    else if (arg == "--archive-kb" && n >= 64 && n <= 65536)
      s.archiveKb = n;
    else if (arg == "--server-threads" && n <= 1024)
      s.serverThreads = n;
    else if (arg == "--server-streams" && n <= 1024)
      s.serverStreams = n;
    else if (arg == "--max-seconds" && n <= 3600)
      s.maxSeconds = n;
    else if (arg == "--max-requests")
      s.maxRequests = *number;
    else
      return false;
  }
  return true;
}

std::string Bytes(size_t size, std::mt19937& random) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// Forty weekdays from 2013/03/01 with archives; lessons use the later ones so
// that fifteen earlier days exist.
std::vector<Date> WriteDataFolder(const fs::path& folder, const Settings& s) {
  std::mt19937 random(42);
  const std::string day = Bytes(static_cast<size_t>(s.archiveKb) * 1024, random);
  const std::string kline = Bytes(20 * 1024, random);
  const std::string book = Bytes(256 * 1024, random);
  std::vector<Date> days;
  std::string catalogue;
  for (int d = 1; days.size() < 40; ++d) {
    const Date date{2013, 3 + (d - 1) / 31, 1 + (d - 1) % 31};
    if (!IsValidDate(date.year, date.month, date.day) || d % 7 == 2 || d % 7 == 3) continue;
    days.push_back(date);
    catalogue += FormatDate(date) + ",8000,8050,7950,8010,100000,10,100," +
                 std::to_string(1 + days.size() % 5) + ",0\n";
    WriteFileAtomically(folder / "DATA" / DayArchiveName(date), day);
    WriteFileAtomically(folder / "DATA" / KLineArchiveName(date), kline);
    WriteFileAtomically(folder / "TICKDATA" / BookArchiveName(date), book);
  }
  WriteFileAtomically(folder / DataFolder::kCatalogueName, catalogue);
  return days;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  if (!ParseArgs(argc, argv, settings)) {
    std::cerr << kUsage;
    return 2;
  }
  const fs::path folder = settings.keep.empty() ? fs::temp_directory_path() /
                                                      ("kestrel-load-" + std::to_string(::getpid()))
                                                : fs::path(settings.keep);
  for (const char* sub : {"DATA", "TICKDATA", "DB"}) fs::create_directories(folder / sub);
  const std::vector<Date> days = WriteDataFolder(folder, settings);

  ServiceOptions options;
  options.hashCost = PasswordHasher::Cost::kCheap;  // the load is the service, not hashing
  options.createDatabase = true;
  std::string error;
  auto service = PracticeService::Open(folder, options, &error);
  if (!service) {
    std::cerr << "kestrel-service-load: " << error << "\n";
    return 1;
  }
  AccountStore& accounts = service->accounts();
  accounts.Add("teacher", "teacher", "4", "2099/12/31", "L");
  for (int i = 0; i < settings.students; ++i) {
    char id[16];
    std::snprintf(id, sizeof id, "s%03d", i + 1);
    accounts.Add(id, "student", "3", "2099/12/31", "L");
  }

  ServerOptions serverOptions;
  serverOptions.threads = static_cast<size_t>(settings.serverThreads);
  serverOptions.streams = static_cast<size_t>(settings.serverStreams);
  ServiceServer server(service->router(), serverOptions);
  if (std::string bindError = server.Bind("127.0.0.1", 0); !bindError.empty()) {
    std::cerr << "kestrel-service-load: " << bindError << "\n";
    return 1;
  }
  server.Start();

  load::LoadOptions load;
  load.port = server.port();
  load.students = settings.students;
  load.pollInterval = std::chrono::milliseconds(settings.intervalMs);
  load.tradingTime = std::chrono::milliseconds(settings.tradingMs);
  load.timeLimit = std::chrono::seconds(settings.maxSeconds);
  load.requestLimit = settings.maxRequests;
  load.clientWaits = settings.clientWaits;
  for (int i = 0; i < settings.lessons; ++i)
    load.lessonDays.push_back(FormatDate(days[20 + static_cast<size_t>(i) % 20]));

  std::cout << "classroom: 1 instructor, " << settings.students << " students, " << settings.lessons
            << " lessons, polling every " << settings.intervalMs << " ms, trading "
            << settings.tradingMs << " ms, day archive " << settings.archiveKb
            << " KiB, server threads " << settings.serverThreads << " (" << settings.serverStreams
            << " sending files)" << (settings.clientWaits ? ", with" : ", without")
            << " the trainer's waits inside a download\n";
  const load::LoadReport r = load::RunClassroom(load);
  server.Stop();
  const bool integrity = service->database().IntegrityCheck() == "ok";
  service.reset();
  if (settings.keep.empty()) fs::remove_all(folder);

  std::printf("duration           %.2f s%s\n", r.seconds,
              r.timedOut ? " (time limit reached)" : "");
  std::printf("requests           %lld (%lld pages, %lld downloads, %.1f MiB)\n",
              static_cast<long long>(r.requests), static_cast<long long>(r.pages),
              static_cast<long long>(r.downloads), r.downloadedBytes / 1048576.0);
  std::printf("requests/second    %.0f\n", r.requests / r.seconds);
  std::printf("page latency       p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", r.pageP50, r.pageP99,
              r.pageMax);
  for (int p = 0; p < load::kPhaseCount; ++p)
    std::printf("  while %-22s %6lld pages, p50 %.2f ms, p99 %.2f ms\n", load::kPhaseNames[p],
                static_cast<long long>(r.phasePages[p]), r.phaseP50[p], r.phaseP99[p]);
  std::printf("download latency   p50 %.2f ms, p99 %.2f ms\n", r.downloadP50, r.downloadP99);
  std::printf("errors             %lld\n", static_cast<long long>(r.errors));
  for (const std::string& e : r.errorSamples) std::printf("  %s\n", e.c_str());
  std::printf("lessons completed  %d of %d\n", r.lessonsCompleted, settings.lessons);
  std::printf("lost results       %lld\n", static_cast<long long>(r.lostResults));
  std::printf("database integrity %s\n", integrity ? "ok" : "DAMAGED");
  const bool ok = r.errors == 0 && r.lostResults == 0 && !r.timedOut && integrity &&
                  r.lessonsCompleted == settings.lessons;
  return ok ? 0 : 1;
}
