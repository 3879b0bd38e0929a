#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "replay/ReplayContext.h"

namespace kestrel {

class Sleeper;

inline constexpr const char* kTimeRewindCaption = "盤勢回溯";

// What the rewind dialog shows when it opens.
struct RewindDialogStart {
  std::string currentTimeText;  // "交易時間　" + HH:MM:SS of currentSecond
  int32_t currentMinute = 0;    // HH * 60 + MM of currentSecond
};

// The rewind command: pauses the session and reads the current time for the
// dialog.
RewindDialogStart BeginTimeRewind(ReplayContext& ctx);

// The hour and minute boxes read and checked against the current minute.
struct RewindCheck {
  bool ok = false;
  std::string message;     // the status line's text when not ok
  std::string hourText;    // "%02d" of the hour, written back into its box
  std::string minuteText;  // "%02d" of the minute
  int32_t hour = 0;
  int32_t minute = 0;
};

// Hour 8..13, minute 0..59, after 08:45, before the current minute and not
// after 13:45, checked in that order.
RewindCheck CheckRewindTime(std::string_view hourText, std::string_view minuteText,
                            int32_t currentMinute);

// How the rewind reports its work. Each callback may be empty.
struct RewindProgress {
  std::function<void(const std::string& text)> status;
  std::function<void(int32_t position, int32_t maximum)> progress;
  std::function<void()> processEvents;
};

// Moves the paused session back to hour:minute (a target that passed
// CheckRewindTime against `currentMinute`): buckets, cursors, totals and
// ranges, the index slots, the session's K-line bars, the stock list, the
// tick list and the clock. Orders and deals are not touched. Five progress
// steps, each followed by a 200 ms wait through `sleeper`. Not thread-safe
// (user-interface thread only).
void RunTimeRewind(ReplayContext& ctx, Sleeper& sleeper, int32_t hour, int32_t minute,
                   int32_t currentMinute, const RewindProgress& report = {});

}  // namespace kestrel
