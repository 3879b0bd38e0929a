#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "app/ServiceEndpoints.h"
#include "online/AccountState.h"
#include "online/ChosenDay.h"

namespace kestrel {

class Fetcher;
class InterruptibleSleeper;
class StudentWindow;

// Student states as stored; 0 stops the polling.
enum StudentState : int {
  kStudentOff = 0,
  kStudentWaitingForDate = 1,
  kStudentDownloaded = 2,
  kStudentRunning = 3,
  kStudentEnded = 5,
};

inline constexpr uint32_t kStudentPollMs = 6000;
inline constexpr const char* kStudentNetworkError = "網路連線錯誤，請退出學員模式重新啟動";
inline constexpr const char* kStudentStateError = "狀態變更錯誤，請重新啟動";
inline constexpr const char* kStudentOpenStateError = "狀態變更錯誤，請退出學員模式重新啟動";
inline constexpr const char* kStudentNoData = "該日期可能無資料，請講師重新指派";

// What the polling thread works with: its own copy, fixed for the run.
struct StudentConfig {
  ServiceBases bases;
  AccountState account;  // id and password
  std::filesystem::path cacheFolder;
  std::filesystem::path dataFolder;
  bool safeDownload = false;
  bool realBook = false;
};

// The student's polling state machine and the one thread that runs it. The
// state is changed by the thread only by compare-and-exchange from the state
// it acted on, so a leave (state 0) is never overwritten. Only one polling
// thread ever runs: a start while the previous thread is still finishing its
// wait hands the new session to that thread. Public operations are for the
// user-interface thread; Step is the thread's body (tests call it directly).
class StudentPoller {
 public:
  StudentPoller(StudentConfig config, Fetcher& fetcher, InterruptibleSleeper& sleeper,
                StudentWindow& window);
  ~StudentPoller();
  StudentPoller(const StudentPoller&) = delete;
  StudentPoller& operator=(const StudentPoller&) = delete;

  // State 1 and a polling thread (a new one, or the one still running).
  void Start();
  // State 0: the thread ends after its current step and wait.
  void Leave();
  // The program closes: state 0, the wait cut short, the transfer aborted,
  // the window's hand-offs released, the thread joined. Nothing starts again.
  void Stop();

  int State() const { return static_cast<int>(word_.load() & kStateMask); }
  bool ThreadRunning() const;

  // One polling step for the current state (no wait).
  void Step();
  // Sets the state for a new session without a thread (tests of single steps).
  void SetStateForTest(int state);
  // The date refused last; read it between steps, not while the thread runs.
  const std::string& LastRefusedDate() const { return lastRefused_; }

 private:
  static constexpr uint32_t kStateMask = 0xFF;

  // The state word: a session number above the state, so a leave and a new
  // start during a step are told apart from the state the step began with.
  void NewSession(int state);
  bool Advance(uint32_t from, int to);
  bool StillIn(uint32_t word) const { return word_.load() == word; }
  void Error(uint32_t word, const char* text);

  void PollDate(uint32_t word);
  void PollOpen(uint32_t word);
  void PollClose(uint32_t word);
  bool DownloadAndLoad(const ChosenDay& day);
  bool Send(const char* path, std::string& reply, bool withFigures = false);
  void Run();

  const StudentConfig config_;
  Fetcher& fetcher_;
  InterruptibleSleeper& sleeper_;
  StudentWindow& window_;

  std::atomic<uint32_t> word_{0};
  // Only the thread touches these.
  uint32_t seenSession_ = 0;
  std::string lastRefused_;
  int32_t reportLots_ = 0;
  int64_t reportResult_ = 0;

  mutable std::mutex mutex_;  // guards the fields below and the thread's hand-over
  std::thread thread_;
  bool running_ = false;
  bool stopping_ = false;
};

}  // namespace kestrel
