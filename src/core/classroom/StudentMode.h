#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "classroom/StudentPoller.h"

namespace kestrel {

class Prompter;

inline constexpr const char* kStudentEntered = "您已進入學員模式，請等待教官指令！";
inline constexpr const char* kStudentEnteredPane = " 您已進入學員模式，請等待教官指令！...";
inline constexpr const char* kStudentLeaveQuestion =
    "您正嘗試退出學員模式，請確認目前課程已結束！\n\n是否退出學員模式？";
inline constexpr const char* kStudentLeft = "您已離開學員模式，可自由使用軟體功能！";
inline constexpr const char* kStudentLeftPane = " 您目前處於正常模式！...";
inline constexpr const char* kStudentNoDatabase = "無法連線資料庫";

// Student mode (command "進入學員模式", for rights "3"): the enter and leave
// requests on the user-interface thread, the flag the enabling rules read, and
// the polling thread. Not thread-safe except active().
class StudentMode {
 public:
  // `commandFetcher` serves the user-interface thread; the poller has its own.
  StudentMode(StudentConfig config, Fetcher& commandFetcher, Fetcher& pollFetcher,
              InterruptibleSleeper& sleeper, StudentWindow& window, Prompter& prompter);

  bool active() const { return active_.load(); }
  int state() const { return poller_.State(); }
  StudentPoller& poller() { return poller_; }

  // The command: enters when off, leaves (after the question) when on. Returns
  // the new text of status pane 0 when the mode changed.
  std::optional<std::string> Toggle();

  // The program closes: the polling thread stops and is joined.
  void Shutdown() { poller_.Stop(); }

 private:
  bool SendInOut(const char* mode);

  const StudentConfig config_;
  Fetcher& commandFetcher_;
  Prompter& prompter_;
  StudentPoller poller_;
  std::atomic<bool> active_{false};
};

}  // namespace kestrel
