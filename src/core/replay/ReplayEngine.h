#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "replay/FastPlayback.h"
#include "replay/ReplayCommands.h"
#include "replay/ReplayContext.h"
#include "replay/SessionControl.h"
#include "replay/TimeRewind.h"

namespace kestrel {

class Prompter;
class Sleeper;

// The replay as one object: binds the day, the clock, the trading engine, the
// settings, the chart views, the list models, the notes and the sinks, and
// offers every session operation, the heartbeat, fast playback, the rewind and
// the command rules. The trainer's windows and the headless simulator drive
// the same object. Not thread-safe (user-interface thread only).
class ReplayEngine {
 public:
  explicit ReplayEngine(const ReplayContext& context) : ctx_(context) {}

  ReplayContext& Context() { return ctx_; }
  const ReplayClock& Clock() const { return ctx_.clock; }

  void OpenSession();
  void PauseSession();
  void ResumeSession();
  void ToggleSession();
  void SetSpeed(int32_t speed);
  void SpeedUp();
  void SlowDown();
  bool SetSmoothMode(bool on);
  bool SetScrollType(int32_t scrollType);
  bool EndSession(Prompter& prompter, const SessionEndOptions& options);

  // The 10 ms timer's handler.
  void Heartbeat();

  bool FastPlayback(const FastPlaybackCallbacks& callbacks = {});

  // The rewind command (pauses) and the dialog's "確定".
  RewindDialogStart BeginTimeRewind();
  // Checks the boxes; on success rewinds and returns the check with ok set.
  RewindCheck ConfirmTimeRewind(std::string_view hourText, std::string_view minuteText,
                                int32_t currentMinute, Sleeper& sleeper,
                                const RewindProgress& report = {});

  // The enable and check rules for the state now.
  SessionView View(bool studentMode, bool loggedIn) const;
  std::optional<CommandState> CommandStateOf(int32_t id, bool studentMode, bool loggedIn) const;

  // Runs a session, speed, smooth-mode or scroll command that needs no dialog
  // and no prompt, if its rule enables it. False for other ids and for
  // disabled commands.
  bool RunCommand(int32_t id, bool studentMode, bool loggedIn);

 private:
  ReplayContext ctx_;
};

}  // namespace kestrel
