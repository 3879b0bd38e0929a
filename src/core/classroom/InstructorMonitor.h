#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/ServiceEndpoints.h"
#include "classroom/ClassTable.h"
#include "online/AccountState.h"
#include "online/ChosenDay.h"

namespace kestrel {

class Fetcher;
class HandOffQueue;
class InterruptibleSleeper;
class MonotonicClock;
class Prompter;

// The instructor's request slot.
enum MonitorRequest : int {
  kRequestNone = 0,
  kRequestAssign = 1,
  kRequestOpen = 2,
  kRequestClose = 3,
};

inline constexpr uint32_t kMonitorRefreshMs = 3500;
inline constexpr uint32_t kMonitorStepMs = 500;
inline constexpr const char* kMonitorOffline = "無法連線到網路，請檢查網路狀況";
inline constexpr const char* kMonitorDateFailed = "無法將日期寫入資料庫，請重新操作";
inline constexpr const char* kMonitorStateFailed = "無法將狀態寫入資料庫，請重新操作";
inline constexpr const char* kConfirmAssign =
    "請確認參與學員都處於下列狀態    \n\n｛ 已登入，等待指派日期 ｝ 或\n\n｛ "
    "盤勢已結束，等待指派日期 ｝";
inline constexpr const char* kConfirmOpen =
    "請確認參與學員都處於下列狀態    \n\n｛ 資料已下載，等待開盤 ｝";
inline constexpr const char* kConfirmClose = "請確認參與學員都處於下列狀態    \n\n｛ 盤勢進行中 ｝";

// What the monitor thread asks of the monitor window. Every call is made on the
// monitor thread and returns once the window has handled it on its own thread.
class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;
  // Refill the list from the class reply; `clearFirst` after a sort change.
  virtual void Refill(const std::vector<ClassRecord>& records, bool clearFirst) = 0;
  virtual void AdvanceTitle() = 0;
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // The program is closing: release a waiting call and refuse later ones.
  virtual void Abandon() {}
};

struct MonitorConfig {
  ServiceBases bases;
  AccountState account;  // the instructor's id and password
};

// The instructor monitor's loop and the buttons that feed it. The request slot
// is a one-place mailbox: a button sets it, the thread takes it with an atomic
// exchange, so a press while a request is being sent waits for the next pass.
// Buttons are for the user-interface thread; Pass is the thread's body.
class InstructorMonitor {
 public:
  InstructorMonitor(MonitorConfig config, Fetcher& fetcher, MonotonicClock& clock,
                    InterruptibleSleeper& sleeper, MonitorWindow& window);
  ~InstructorMonitor();
  InstructorMonitor(const InstructorMonitor&) = delete;
  InstructorMonitor& operator=(const InstructorMonitor&) = delete;

  // Starts the thread once; later calls do nothing.
  void Start();
  // The program closes: the wait cut short, the transfer aborted, the window's
  // hand-offs released, the thread joined.
  void Stop();
  bool Running() const;

  // One pass: the refresh or the waiting request, then the title indicator.
  void Pass();

  // The buttons. Each asks its question first; the assign button then takes a
  // day from `pickDay` (the calendar; nothing when closed without a day).
  void PressAssign(Prompter& prompter, const std::function<std::optional<ChosenDay>()>& pickDay);
  void PressOpen(Prompter& prompter);
  void PressClose(Prompter& prompter);
  void SetSortByResult(bool sort);

  int PendingRequest() const { return request_.load(); }
  std::string AssignedDate() const;

 private:
  void Refresh();
  void SendRequest(const char* path, bool withDate, const char* refused);
  void Run();

  const MonitorConfig config_;
  Fetcher& fetcher_;
  MonotonicClock& clock_;
  InterruptibleSleeper& sleeper_;
  MonitorWindow& window_;

  std::atomic<int> request_{kRequestNone};
  std::atomic<bool> sortByResult_{false};
  std::atomic<bool> clearList_{false};
  mutable std::mutex dateMutex_;
  std::string assignedDate_;

  // Only the thread touches these.
  bool refreshed_ = false;
  uint32_t lastRefresh_ = 0;

  mutable std::mutex threadMutex_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
};

// A MonitorWindow that runs each call on the owner of `queue`: the refill goes
// into `table`, the title and messages to the callbacks there.
class QueuedMonitorWindow final : public MonitorWindow {
 public:
  QueuedMonitorWindow(HandOffQueue& queue, MonitorTable& table, Prompter& prompter,
                      std::function<void(const std::string&)> setTitle = nullptr)
      : queue_(queue), table_(table), prompter_(prompter), setTitle_(std::move(setTitle)) {}

  void Refill(const std::vector<ClassRecord>& records, bool clearFirst) override;
  void AdvanceTitle() override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void Abandon() override;

 private:
  HandOffQueue& queue_;
  MonitorTable& table_;
  Prompter& prompter_;
  std::function<void(const std::string&)> setTitle_;
  unsigned titleStep_ = 0;
};

// "解除鎖定": asks, sends the unlock request for the selected account and shows
// its outcome (caption "提示").
void PressUnlock(Fetcher& fetcher, const ServiceBases& bases, const std::string* selectedAccount,
                 Prompter& prompter);

}  // namespace kestrel
