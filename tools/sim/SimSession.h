#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "SimScript.h"

namespace kestrel {
class ManualClock;
class TrainerContext;
}  // namespace kestrel

namespace kestrel::sim {

// What a finished run prints: the detailed deal export ("詳細成交記錄" as the
// file would hold it, in UTF-8 with CR LF line ends) and the margin-account
// text (LF line ends), both taken after the open lots were closed and before
// the day was folded into the balance.
struct SimReport {
  std::string dealExport;
  std::string marginText;
  std::string endClock;  // the simulated clock when the day was ended
};

// The period of the trainer's heartbeat timer.
inline constexpr uint32_t kHeartbeatMs = 10;

// One replayed session driven by a script on a manual clock: the real replay
// engine and order entry of a trainer context, with the user's clicks replaced
// by script actions and the user's answers by "確定". Refusals and actions that
// never ran are written to `err` with their script line. Not thread-safe.
class SimSession {
 public:
  SimSession(TrainerContext& context, ManualClock& time, bool studentMode, std::ostream& err);

  // Opens the session and beats the heartbeat every 10 ms of the manual clock.
  // After each heartbeat the actions whose time the simulated clock has
  // reached run, earliest first (ties in script order). The day ends after the
  // last tick has been released, or at an "end" action: open lots are closed
  // at market, the report is taken, and the session is ended.
  SimReport Run(std::vector<SimAction> actions);

 private:
  void RunAction(const SimAction& action);
  void Refused(const SimAction& action, const std::string& text, const std::string& caption);
  SimReport EndDay();

  TrainerContext& ctx_;
  ManualClock& time_;
  bool studentMode_;
  std::ostream& err_;
};

}  // namespace kestrel::sim
