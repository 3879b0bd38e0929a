#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "replay/ReplayContext.h"
#include "trading/LocalDateTime.h"

namespace kestrel {

class Prompter;

// The session commands. Not thread-safe (user-interface thread only).

// Everything a new session starts from, without starting the heartbeat: the
// day's cursors and running figures, the clock's origin, the account window's
// lists and the price ladder, the chart redraw counters, the tick list (back
// to its blank rows when longer than 100) and `sessionRunning`.
void ResetForSession(ReplayContext& ctx);

// 開盤: ResetForSession, then the heartbeat runs.
void OpenSession(ReplayContext& ctx);
// 暫停: the heartbeat stops.
void PauseSession(ReplayContext& ctx);
// 繼續: re-anchored at the latest released batch, the heartbeat runs again.
void ResumeSession(ReplayContext& ctx);
// 切換: pause when running, resume when paused.
void ToggleSession(ReplayContext& ctx);

// A speed command: the factor (kept in RUN_SPEED too), re-anchored while a
// session runs; any speed above 1 ends smooth mode.
void SetSpeed(ReplayContext& ctx, int32_t speed);
// 速度加快 / 速度放慢 around the ring; nothing at a speed outside it.
void SpeedUp(ReplayContext& ctx);
void SlowDown(ReplayContext& ctx);
// 平滑模式 / 正常模式; smooth mode is refused above normal speed.
bool SetSmoothMode(ReplayContext& ctx, bool on);
// 由下往上捲 (1) / 由上往下捲 (0); refused while a session runs.
bool SetScrollType(ReplayContext& ctx, int32_t scrollType);

// What ending a session needs from outside the replay.
struct SessionEndOptions {
  bool instructorClosed = false;         // the classroom's close order
  std::filesystem::path diaryFolder;     // the trade history's folder; no record when empty
  std::optional<LocalDateTime> endedAt;  // the history record's time; now when empty
  std::string productText;               // the simple panel's product; the account's when empty
};

inline constexpr const char* kConfirmEndText = "確定結束盤勢？";
inline constexpr const char* kInstructorClosedText =
    "講師已下達收盤指令！\n\n請按「確定」關閉盤勢。";

// 結束: confirm (or tell of the instructor's close), close open lots at market,
// tear the session down, write the day's history record and fold the day into
// the account. Returns false, changing nothing, when the user cancels.
bool EndSession(ReplayContext& ctx, Prompter& prompter, const SessionEndOptions& options);

}  // namespace kestrel
