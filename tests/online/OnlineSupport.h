#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "app/ServiceEndpoints.h"
#include "classroom/HandOffQueue.h"
#include "common/Clock.h"
#include "online/DayDownload.h"
#include "online/ServiceLogin.h"

namespace kestrel::test {

// The practice service on 127.0.0.1 with an ephemeral port, over days made by
// the day generator. Started at the first use and shared by the whole test
// binary (generating days takes a few seconds); stopped at exit.
class PracticeServer {
 public:
  static PracticeServer& Shared();
  ~PracticeServer();

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  ServiceBases Bases() const;
  const std::filesystem::path& dataFolder() const { return data_; }

  // Generated days: a trading day with archive, K-lines and book, and the
  // training day.
  static constexpr const char* kDay = "2013/05/07";
  static constexpr const char* kTrainingDay = "2013/05/06";
  // The software version the service offers, and its archive: "Kestrel.exe"
  // and "Readme.txt".
  static constexpr const char* kLatestVersion = "300";
  static constexpr const char* kUpdateArchive = "Kestrel300.zip";
  // Accounts of ordinary users (password kTraderPassword) for tests of their own.
  static constexpr const char* kTraderPassword = "pass+word!(1)";

 private:
  PracticeServer();
  std::string Start();

  std::filesystem::path data_;
  int pid_ = -1;
  int output_ = -1;
  int port_ = 0;
  std::string error_;
};

// An HTTP server on 127.0.0.1 that answers each connection with the next
// canned reply (raw bytes, sent as given) and records each request's head.
class CannedHttpServer {
 public:
  explicit CannedHttpServer(std::vector<std::string> replies);
  ~CannedHttpServer();
  std::string Url(const std::string& path) const;
  // The request heads received so far.
  std::vector<std::string> Requests();

 private:
  void Serve();

  int listener_ = -1;
  int port_ = 0;
  std::vector<std::string> replies_;
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedPort();

// The status texts and progress a download showed.
class RecordingDownloadView final : public DownloadView {
 public:
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetRange(uint64_t maximum) override { ranges.push_back(maximum); }
  void SetPosition(uint64_t position) override { positions.push_back(position); }
  std::vector<std::string> statuses;
  std::vector<uint64_t> ranges;
  std::vector<uint64_t> positions;
};

class RecordingLoginView final : public LoginView {
 public:
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  std::vector<std::string> statuses;
};

// Waits of a worker thread taken one round at a time: a wait of at least
// `blockFromMs` blocks until the test releases the round; shorter waits
// return at once. Optionally moves a manual clock by every wait. Arrivals wake
// the hand-off queue the test pumps.
class RoundSleeper final : public Sleeper {
 public:
  RoundSleeper(HandOffQueue& queue, uint32_t blockFromMs, ManualClock* clock = nullptr)
      : queue_(queue), blockFromMs_(blockFromMs), clock_(clock) {}

  void SleepMs(uint32_t ms) override;
  // A worker is waiting for the next round.
  bool Waiting() const;
  // The most workers that ever waited at once.
  int MostWaiting() const;
  void Release();
  // Every wait returns at once from now on.
  void Open();

 private:
  HandOffQueue& queue_;
  const uint32_t blockFromMs_;
  ManualClock* clock_;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  int waiting_ = 0;
  int mostWaiting_ = 0;
  bool open_ = false;
  uint64_t round_ = 0;
};

}  // namespace kestrel::test
