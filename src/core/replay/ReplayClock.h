#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

struct AppSettings;

// The replay's clock and session state. The simulated time is never counted on
// its own: it is always (monotonic now - heartbeatStart) x speed. Plain data
// owned by the application context; not thread-safe (user-interface thread
// only).
struct ReplayClock {
  int32_t speed = 1;  // 1..32 by command; 18..30 (even) after automatic slowing
  bool sessionRunning = false;
  bool sessionPaused = false;
  bool smoothMode = false;      // one tick per heartbeat
  uint32_t heartbeatStart = 0;  // monotonic ms, origin of the real elapsed time
  uint32_t realElapsed = 0;     // now - heartbeatStart at the latest heartbeat (wrapping)
  int32_t lastBatchOffset = 0;  // ms after 08:45:00 of the latest released batch
  std::string clockText;        // as shown in the status bar
  uint32_t lagCheckTime = 0;    // monotonic ms of the latest lag check
  bool fastPlaybackRunning = false;
};

// 08:45:00 as seconds of the day: the replay's origin.
inline constexpr int32_t kReplayOriginSeconds = 31500;

// The clock as it starts: the speed from RUN_SPEED (1 when out of range).
ReplayClock InitialReplayClock(const AppSettings& settings);

// The speed used for divisions: never below 1.
int32_t SpeedOf(const ReplayClock& clock);

// "%02d:%02d:%02d" of 08:45:00 plus `simulatedMs` while a session runs;
// "08:40:00" otherwise.
std::string FormatClock(const ReplayClock& clock, int64_t simulatedMs);

// Moves heartbeatStart so that the simulated clock continues from the latest
// released batch at the current speed. A batch before 08:45 re-anchors at
// 08:45, so the origin never lies in the future.
void ReAnchor(ReplayClock& clock, uint32_t nowMs);

// The speed ring of the faster and slower commands; a speed outside the ring
// (an automatically lowered one) stays as it is.
bool IsRingSpeed(int32_t speed);
int32_t FasterSpeed(int32_t speed);
int32_t SlowerSpeed(int32_t speed);

}  // namespace kestrel
