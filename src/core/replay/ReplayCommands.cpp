#include "replay/ReplayCommands.h"

namespace kestrel {

std::optional<CommandState> ReplayCommandState(int32_t id, const SessionView& v) {
  const bool running = v.sessionRunning;
  const bool student = v.studentMode;
  const bool fast = v.fastPlaybackRunning;
  switch (id) {
    case kCmdOpenSession: return CommandState{!running && v.dayLoaded && !student, false};
    case kCmdPauseSession: return CommandState{running && !v.sessionPaused && !fast, false};
    case kCmdResumeSession: return CommandState{running && v.sessionPaused && !fast, false};
    case kCmdEndSession: return CommandState{running && !student && !fast, false};
    case kCmdToggleSession: return CommandState{running && !fast, false};
    case kCmdFastPlayback: return CommandState{!running && v.dayLoaded && !fast, false};
    case kCmdTimeRewind: return CommandState{running && !student && !fast, false};
    case kCmdSpeed1: return CommandState{true, v.speed == 1};
    case kCmdSpeed2: return CommandState{true, v.speed == 2};
    case kCmdSpeed4: return CommandState{true, v.speed == 4};
    case kCmdSpeed8: return CommandState{true, v.speed == 8 && !student};
    case kCmdSpeed16: return CommandState{!student, v.speed == 16 && !student};
    case kCmdSpeed32: return CommandState{!student, v.speed >= 17 && !student};
    case kCmdSpeedUp:
    case kCmdSlowDown:
    case kCmdSpeedMenu: return CommandState{true, false};
    case kCmdSmoothMode: return CommandState{v.speed == 1, v.smoothMode};
    case kCmdNormalMode: return CommandState{true, !v.smoothMode};
    case kCmdScrollBottomUp: return CommandState{!running, v.scrollType == 1};
    case kCmdScrollTopDown: return CommandState{!running, v.scrollType == 0};
    case kCmdOpenFile: return CommandState{DataLoadingEnabled(v), false};
    default: return std::nullopt;
  }
}

bool DataLoadingEnabled(const SessionView& v) {
  return v.loggedIn && !v.sessionRunning && !v.studentMode;
}

int32_t SpeedOfCommand(int32_t id) {
  switch (id) {
    case kCmdSpeed1: return 1;
    case kCmdSpeed2: return 2;
    case kCmdSpeed4: return 4;
    case kCmdSpeed8: return 8;
    case kCmdSpeed16: return 16;
    case kCmdSpeed32: return 32;
    default: return 0;
  }
}

std::vector<SpeedMenuItem> SpeedMenuItems(const SessionView& v) {
  const int32_t shown = v.speed > 16 ? 32 : v.speed;
  auto item = [&](const char* text, int32_t id, bool enabled) {
    return SpeedMenuItem{text, id, enabled, SpeedOfCommand(id) == shown};
  };
  return {
      item("正常速度", kCmdSpeed1, true),
      item("兩倍速度", kCmdSpeed2, true),
      item("四倍速度", kCmdSpeed4, true),
      item("八倍速度", kCmdSpeed8, true),
      item("16倍速度", kCmdSpeed16, !v.studentMode),
      item("32倍速度", kCmdSpeed32, !v.studentMode),
      SpeedMenuItem{"時間回溯(&R)", kCmdTimeRewind,
                    !v.studentMode && v.sessionRunning && !v.fastPlaybackRunning, false},
  };
}

}  // namespace kestrel
