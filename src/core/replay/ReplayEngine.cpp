#include "replay/ReplayEngine.h"

#include "app/AppSettings.h"
#include "replay/Heartbeat.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

void ReplayEngine::OpenSession() {
  kestrel::OpenSession(ctx_);
}

void ReplayEngine::PauseSession() {
  kestrel::PauseSession(ctx_);
}

void ReplayEngine::ResumeSession() {
  kestrel::ResumeSession(ctx_);
}

void ReplayEngine::ToggleSession() {
  kestrel::ToggleSession(ctx_);
}

void ReplayEngine::SetSpeed(int32_t speed) {
  kestrel::SetSpeed(ctx_, speed);
}

void ReplayEngine::SpeedUp() {
  kestrel::SpeedUp(ctx_);
}

void ReplayEngine::SlowDown() {
  kestrel::SlowDown(ctx_);
}

bool ReplayEngine::SetSmoothMode(bool on) {
  return kestrel::SetSmoothMode(ctx_, on);
}

bool ReplayEngine::SetScrollType(int32_t scrollType) {
  return kestrel::SetScrollType(ctx_, scrollType);
}

bool ReplayEngine::EndSession(Prompter& prompter, const SessionEndOptions& options) {
  return kestrel::EndSession(ctx_, prompter, options);
}

void ReplayEngine::Heartbeat() {
  kestrel::Heartbeat(ctx_);
}

bool ReplayEngine::FastPlayback(const FastPlaybackCallbacks& callbacks) {
  return RunFastPlayback(ctx_, callbacks);
}

RewindDialogStart ReplayEngine::BeginTimeRewind() {
  return kestrel::BeginTimeRewind(ctx_);
}

RewindCheck ReplayEngine::ConfirmTimeRewind(std::string_view hourText, std::string_view minuteText,
                                            int32_t currentMinute, Sleeper& sleeper,
                                            const RewindProgress& report) {
  RewindCheck check = CheckRewindTime(hourText, minuteText, currentMinute);
  if (check.ok) RunTimeRewind(ctx_, sleeper, check.hour, check.minute, currentMinute, report);
  return check;
}

SessionView ReplayEngine::View(bool studentMode, bool loggedIn) const {
  const ReplayClock& clock = ctx_.clock;
  SessionView view;
  view.dayLoaded = ctx_.day.dayLoaded;
  view.studentMode = studentMode;
  view.loggedIn = loggedIn;
  view.sessionRunning = clock.sessionRunning;
  view.sessionPaused = clock.sessionPaused;
  view.smoothMode = clock.smoothMode;
  view.fastPlaybackRunning = clock.fastPlaybackRunning;
  view.speed = clock.speed;
  view.scrollType = ctx_.settings.SCROLLTYPE;
  return view;
}

std::optional<CommandState> ReplayEngine::CommandStateOf(int32_t id, bool studentMode,
                                                         bool loggedIn) const {
  return ReplayCommandState(id, View(studentMode, loggedIn));
}

bool ReplayEngine::RunCommand(int32_t id, bool studentMode, bool loggedIn) {
  const std::optional<CommandState> state = CommandStateOf(id, studentMode, loggedIn);
  if (!state || !state->enabled) return false;
  if (const int32_t speed = SpeedOfCommand(id); speed > 0) {
    SetSpeed(speed);
    return true;
  }
  switch (id) {
    case kCmdOpenSession: OpenSession(); return true;
    case kCmdPauseSession: PauseSession(); return true;
    case kCmdResumeSession: ResumeSession(); return true;
    case kCmdToggleSession: ToggleSession(); return true;
    case kCmdSpeedUp: SpeedUp(); return true;
    case kCmdSlowDown: SlowDown(); return true;
    case kCmdSmoothMode: return SetSmoothMode(true);
    case kCmdNormalMode: return SetSmoothMode(false);
    case kCmdScrollBottomUp: return SetScrollType(1);
    case kCmdScrollTopDown: return SetScrollType(0);
    default: return false;
  }
}

}  // namespace kestrel
