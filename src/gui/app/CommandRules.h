#pragma once

#include <cstdint>
#include <string>

#include "replay/ReplayCommands.h"

namespace kestrel {

struct AppSettings;
class ReplayEngine;

// The window's commands beyond the session, speed and scroll ones.
inline constexpr int32_t kCmdLogin = 1025;
inline constexpr int32_t kCmdDateRange = 33073;
inline constexpr int32_t kCmdRealBook = 33102;
inline constexpr int32_t kCmdSafeDownload = 33115;
inline constexpr int32_t kCmdExit = 57665;
inline constexpr int32_t kCmdToggleStockList = 32837;
inline constexpr int32_t kCmdToggleChart1 = 32948;
inline constexpr int32_t kCmdToggleAnalysis = 33037;
inline constexpr int32_t kCmdToggleOrderReport = 32853;
inline constexpr int32_t kCmdToggleIndexWindow = 33020;
inline constexpr int32_t kCmdBlackPreset = 33066;
inline constexpr int32_t kCmdWhitePreset = 33068;
inline constexpr int32_t kCmdStatusBar = 59393;
inline constexpr int32_t kCmdHideDate = 32897;
inline constexpr int32_t kCmdPatternMenu = 32893;
inline constexpr int32_t kCmdFastLadder = 32847;
inline constexpr int32_t kCmdHistoryQuery = 32987;
inline constexpr int32_t kCmdStudentMode = 33001;
inline constexpr int32_t kCmdInstructorMonitor = 33003;
inline constexpr int32_t kCmdChart1DayK = 32929;
inline constexpr int32_t kCmdChart2DayK = 32860;

// Everything besides the replay that the rules look at.
struct FrameFlags {
  bool loggedIn = false;
  bool studentMode = false;
  std::string rights;  // "3" student, "4" instructor
  bool indexWindowShown = true;
  bool hideDate = false;
  bool statusBarVisible = true;
  int32_t drawingMode = 0;  // 0 normal, 1 lines, 2 rectangles
  int32_t drawingCount = 0;
};

struct FrameCommandState {
  bool enabled = false;
  bool checked = false;
  bool checkable = false;
};

// Enable and check state of any command of the window: the replay's own rules
// for the session, speed, smooth and scroll commands, the flags and settings
// for the rest. Pure: changes nothing.
FrameCommandState CommandStateFor(int32_t id, const ReplayEngine& engine,
                                  const AppSettings& settings, const FrameFlags& flags);

// The data-loading commands of the service (date, patterns, training days).
bool IsDataLoadingCommand(int32_t id);
// Commands served by the online client or the classroom (login, downloads,
// help pages, the historical query, student mode, the monitor).
bool IsOnlineCommand(int32_t id);

}  // namespace kestrel
