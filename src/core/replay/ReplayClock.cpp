#include "replay/ReplayClock.h"

#include <algorithm>
#include <cstdio>

#include "app/AppSettings.h"

namespace kestrel {

namespace {

constexpr int32_t kRing[] = {1, 2, 4, 8, 16, 32};
constexpr int32_t kRingSize = sizeof kRing / sizeof kRing[0];

int32_t RingIndex(int32_t speed) {
  for (int32_t i = 0; i < kRingSize; ++i)
    if (kRing[i] == speed) return i;
  return -1;
}

}  // namespace

ReplayClock InitialReplayClock(const AppSettings& settings) {
  ReplayClock clock;
  clock.speed = settings.RUN_SPEED >= 1 && settings.RUN_SPEED <= 32 ? settings.RUN_SPEED : 1;
  return clock;
}

int32_t SpeedOf(const ReplayClock& clock) {
  return std::max(clock.speed, 1);
}

std::string FormatClock(const ReplayClock& clock, int64_t simulatedMs) {
  if (!clock.sessionRunning) return "08:40:00";
  const int64_t s = simulatedMs / 1000 + kReplayOriginSeconds;
  if (s >= 0 && s < 100 * 3600) {
    // Every heartbeat formats the clock; digits by hand cost far less than printf.
    const auto h = static_cast<int32_t>(s / 3600), m = static_cast<int32_t>(s % 3600 / 60),
               sec = static_cast<int32_t>(s % 60);
    const char text[8] = {static_cast<char>('0' + h / 10),   static_cast<char>('0' + h % 10), ':',
                          static_cast<char>('0' + m / 10),   static_cast<char>('0' + m % 10), ':',
                          static_cast<char>('0' + sec / 10), static_cast<char>('0' + sec % 10)};
    return std::string(text, sizeof text);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s % 3600 / 60), static_cast<long long>(s % 60));
  return text;
}

void ReAnchor(ReplayClock& clock, uint32_t nowMs) {
  const int32_t back = std::max(clock.lastBatchOffset, 0) / SpeedOf(clock);
  clock.heartbeatStart = nowMs - static_cast<uint32_t>(back);
}

bool IsRingSpeed(int32_t speed) {
  return RingIndex(speed) >= 0;
}

int32_t FasterSpeed(int32_t speed) {
  const int32_t i = RingIndex(speed);
  return i < 0 ? speed : kRing[(i + 1) % kRingSize];
}

int32_t SlowerSpeed(int32_t speed) {
  const int32_t i = RingIndex(speed);
  return i < 0 ? speed : kRing[(i + kRingSize - 1) % kRingSize];
}

}  // namespace kestrel
