#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "replay/ReplayContext.h"

namespace kestrel {

inline constexpr const char* kFastPlaybackText = "處理進度";

// Fast playback's due time: 5 hours and 1 second of elapsed time, which makes
// every record of the day due.
inline constexpr int64_t kFastPlaybackElapsed = 18'001'000;

// How fast playback reports back. Each callback may be empty.
struct FastPlaybackCallbacks {
  // The progress dialog appears with its text and range 0..maximum.
  std::function<void(const std::string& text, int32_t maximum)> begin;
  // The bar's position after a step.
  std::function<void(int32_t position)> progress;
  // Pending window events are processed here, between steps.
  std::function<void()> processEvents;
  // The dialog hides.
  std::function<void()> end;
};

// Runs the loaded day to its end without the clock: a session is opened (no
// heartbeat), then every index record, stock record and tick is released as
// fast as the caps allow; no order is matched. The session ends paused with
// the tick data exhausted and every stock showing its last record. False,
// changing nothing, when a session already runs or no day is loaded. Should
// the session be ended from processEvents, the loop stops. Not thread-safe
// (user-interface thread only).
bool RunFastPlayback(ReplayContext& ctx, const FastPlaybackCallbacks& callbacks = {});

// One step of fast playback (exposed for the tests and the simulator).
void FastPlaybackStep(ReplayContext& ctx);

}  // namespace kestrel
