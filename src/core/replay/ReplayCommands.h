#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel {

// Command ids of the session, speed and tick-list commands.
inline constexpr int32_t kCmdOpenSession = 32788;    // 開盤
inline constexpr int32_t kCmdPauseSession = 32790;   // 暫停
inline constexpr int32_t kCmdResumeSession = 32791;  // 繼續
inline constexpr int32_t kCmdEndSession = 32792;     // 結束
inline constexpr int32_t kCmdToggleSession = 32982;  // 切換 (Space)
inline constexpr int32_t kCmdFastPlayback = 32778;   // 快速播放
inline constexpr int32_t kCmdTimeRewind = 33009;     // 時間回溯(&R)
inline constexpr int32_t kCmdSpeed1 = 32800;
inline constexpr int32_t kCmdSpeed2 = 32805;
inline constexpr int32_t kCmdSpeed4 = 32806;
inline constexpr int32_t kCmdSpeed8 = 32807;
inline constexpr int32_t kCmdSpeed16 = 32972;
inline constexpr int32_t kCmdSpeed32 = 32974;
inline constexpr int32_t kCmdSpeedUp = 33094;         // 速度加快(C)
inline constexpr int32_t kCmdSlowDown = 33095;        // 速度放慢(X)
inline constexpr int32_t kCmdSpeedMenu = 32817;       // tool-bar speed drop-down
inline constexpr int32_t kCmdSmoothMode = 32797;      // 平滑模式
inline constexpr int32_t kCmdNormalMode = 32798;      // 正常模式
inline constexpr int32_t kCmdScrollBottomUp = 32906;  // 由下往上捲
inline constexpr int32_t kCmdScrollTopDown = 32907;   // 由上往下捲
inline constexpr int32_t kCmdOpenFile = 32824;        // 開啟檔案 (a data-loading command)

// What the enable and check rules look at. A plain value built from the
// application's state whenever menus are updated.
struct SessionView {
  bool dayLoaded = false;
  bool studentMode = false;
  bool loggedIn = false;
  bool sessionRunning = false;
  bool sessionPaused = false;
  bool smoothMode = false;
  bool fastPlaybackRunning = false;
  int32_t speed = 1;
  int32_t scrollType = 0;  // 1 bottom-up, 0 top-down
};

struct CommandState {
  bool enabled = false;
  bool checked = false;

  bool operator==(const CommandState&) const = default;
};

// Enable and check state of a session, speed, smooth-mode or scroll command;
// nothing for other ids. Pure: changes nothing. While fast playback runs the
// commands that would re-enter it (pause, resume, toggle, end, another
// playback, rewind) are disabled.
std::optional<CommandState> ReplayCommandState(int32_t id, const SessionView& view);

// The data-loading commands (open file, patterns, training days).
bool DataLoadingEnabled(const SessionView& view);

// n for the six speed commands, 0 for any other id.
int32_t SpeedOfCommand(int32_t id);

// One item of the tool bar's speed drop-down.
struct SpeedMenuItem {
  const char* text;
  int32_t id;
  bool enabled;
  bool checked;
};

// "正常速度" … "32倍速度" and "時間回溯(&R)": the current speed checked (any
// speed above 16 checks 32), 16 and 32 greyed in student mode, the rewind
// greyed in student mode or without a session.
std::vector<SpeedMenuItem> SpeedMenuItems(const SessionView& view);

}  // namespace kestrel
