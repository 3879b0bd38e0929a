#include "replay/ReplayClock.h"

#include <gtest/gtest.h>

#include "replay/ReplayCommands.h"

namespace kestrel {
namespace {

TEST(ReplayClock, FormatClockFromSimulatedTime) {
  struct Case {
    int64_t simulatedMs;
    const char* text;
  };
  const Case cases[] = {
      {0, "08:45:00"},
      {999, "08:45:00"},
      {1000LL * 32, "08:45:32"},  // 1000 real ms at 32x
      {17'100'000, "13:30:00"},
      {18'000'000, "13:45:00"},
      // Two-digit hours end at 99; a third digit widens the text.
      {(100LL * 3600 - 31'500 - 1) * 1000, "99:59:59"},
      {(100LL * 3600 - 31'500) * 1000, "100:00:00"},
      // Far beyond a day: still the plain arithmetic, never a wrap into the day.
      {int64_t{0xFFFFFFFFu} * 32, "38186:14:13"},
  };
  ReplayClock clock;
  clock.sessionRunning = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.simulatedMs);
    EXPECT_EQ(FormatClock(clock, c.simulatedMs), c.text);
  }
}

TEST(ReplayClock, FormatClockBeforeAnySession) {
  ReplayClock clock;
  EXPECT_EQ(FormatClock(clock, 0), "08:40:00");
  EXPECT_EQ(FormatClock(clock, 5'000'000), "08:40:00");
}

TEST(ReplayClock, ReAnchorContinuesFromTheLatestBatch) {
  struct Case {
    int32_t speed;
    int32_t lastBatchOffset;
    uint32_t now;
    uint32_t heartbeatStart;
  };
  const Case cases[] = {
      {1, 900'000, 1'000'000, 100'000},
      {8, 900'000, 1'000'000, 887'500},
      {32, 900'010, 1'000'000, 971'875},  // integer division of the offset
      // Near the wrap of the platform clock the origin wraps with it.
      {1, 900'000, 100, 0xFFF244C4u},
      // A batch before 08:45 never puts the origin into the future.
      {1, -5'000, 1'000, 1'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lastBatchOffset);
    ReplayClock clock;
    clock.speed = c.speed;
    clock.lastBatchOffset = c.lastBatchOffset;
    ReAnchor(clock, c.now);
    EXPECT_EQ(clock.heartbeatStart, c.heartbeatStart);
    EXPECT_EQ(static_cast<uint32_t>(c.now - clock.heartbeatStart) * static_cast<uint32_t>(c.speed),
              static_cast<uint32_t>(std::max(c.lastBatchOffset, 0) / c.speed * c.speed));
  }
}

TEST(ReplayClock, SpeedRing) {
  struct Case {
    int32_t speed, faster, slower;
  };
  const Case cases[] = {
      {1, 2, 32},
      {2, 4, 1},
      {4, 8, 2},
      {8, 16, 4},
      {16, 32, 8},
      {32, 1, 16},
      // Automatically lowered speeds are outside the ring: nothing happens.
      {30, 30, 30},
      {18, 18, 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    EXPECT_EQ(FasterSpeed(c.speed), c.faster);
    EXPECT_EQ(SlowerSpeed(c.speed), c.slower);
    EXPECT_EQ(IsRingSpeed(c.speed), c.faster != c.speed);
  }
}

// The states of the session life cycle, as the rules see them.
SessionView Loaded() {
  SessionView v;
  v.dayLoaded = true;
  v.loggedIn = true;
  return v;
}
SessionView Running() {
  SessionView v = Loaded();
  v.sessionRunning = true;
  return v;
}
SessionView Paused() {
  SessionView v = Running();
  v.sessionPaused = true;
  return v;
}
SessionView Student(SessionView v) {
  v.studentMode = true;
  return v;
}
SessionView Fast() {
  SessionView v = Running();
  v.fastPlaybackRunning = true;
  return v;
}
SessionView AtSpeed(SessionView v, int32_t speed, bool smooth = false) {
  v.speed = speed;
  v.smoothMode = smooth;
  return v;
}

TEST(ReplayCommands, SessionCommandsFollowTheLifeCycle) {
  struct Case {
    const char* name;
    SessionView view;
    // open, pause, resume, end, toggle, fast playback, rewind, open file
    bool enabled[8];
  };
  const Case cases[] = {
      {"no day", SessionView{}, {false, false, false, false, false, false, false, false}},
      {"loaded", Loaded(), {true, false, false, false, false, true, false, true}},
      {"running", Running(), {false, true, false, true, true, false, true, false}},
      {"paused", Paused(), {false, false, true, true, true, false, true, false}},
      {"student loaded",
       Student(Loaded()),
       {false, false, false, false, false, true, false, false}},
      {"student running",
       Student(Running()),
       {false, true, false, false, true, false, false, false}},
      {"fast playback", Fast(), {false, false, false, false, false, false, false, false}},
  };
  const int32_t ids[] = {kCmdOpenSession,   kCmdPauseSession, kCmdResumeSession, kCmdEndSession,
                         kCmdToggleSession, kCmdFastPlayback, kCmdTimeRewind,    kCmdOpenFile};
  for (const Case& c : cases) {
    for (size_t i = 0; i < std::size(ids); ++i) {
      SCOPED_TRACE(std::string(c.name) + " / " + std::to_string(ids[i]));
      const auto state = ReplayCommandState(ids[i], c.view);
      ASSERT_TRUE(state.has_value());
      EXPECT_EQ(state->enabled, c.enabled[i]);
      EXPECT_FALSE(state->checked);
    }
  }
}

TEST(ReplayCommands, SpeedAndModeCommands) {
  struct Case {
    const char* name;
    int32_t id;
    SessionView view;
    CommandState expected;
  };
  const Case cases[] = {
      {"1x checked at 1", kCmdSpeed1, AtSpeed(Running(), 1), {true, true}},
      {"2x at 1", kCmdSpeed2, AtSpeed(Running(), 1), {true, false}},
      {"4x checked", kCmdSpeed4, AtSpeed(Running(), 4), {true, true}},
      {"8x checked", kCmdSpeed8, AtSpeed(Running(), 8), {true, true}},
      {"8x not checked for a student", kCmdSpeed8, Student(AtSpeed(Running(), 8)), {true, false}},
      {"16x checked", kCmdSpeed16, AtSpeed(Running(), 16), {true, true}},
      {"16x greyed for a student", kCmdSpeed16, Student(AtSpeed(Running(), 16)), {false, false}},
      {"32x checked at 32", kCmdSpeed32, AtSpeed(Running(), 32), {true, true}},
      {"32x checked after slowing to 30", kCmdSpeed32, AtSpeed(Running(), 30), {true, true}},
      {"32x checked at 18", kCmdSpeed32, AtSpeed(Running(), 18), {true, true}},
      {"32x not checked at 16", kCmdSpeed32, AtSpeed(Running(), 16), {true, false}},
      {"16x not checked at 30", kCmdSpeed16, AtSpeed(Running(), 30), {true, false}},
      {"32x greyed for a student", kCmdSpeed32, Student(AtSpeed(Running(), 32)), {false, false}},
      {"smooth at normal speed", kCmdSmoothMode, AtSpeed(Loaded(), 1, true), {true, true}},
      {"smooth refused above normal", kCmdSmoothMode, AtSpeed(Loaded(), 2), {false, false}},
      {"normal mode checked", kCmdNormalMode, AtSpeed(Loaded(), 2), {true, true}},
      {"normal mode in smooth mode", kCmdNormalMode, AtSpeed(Loaded(), 1, true), {true, false}},
      {"faster during fast playback", kCmdSpeedUp, Fast(), {true, false}},
      {"slower", kCmdSlowDown, Student(Running()), {true, false}},
      {"speed drop-down", kCmdSpeedMenu, SessionView{}, {true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplayCommandState(c.id, c.view), c.expected);
  }
}

TEST(ReplayCommands, ScrollModeOnlyWithoutASession) {
  SessionView view = Loaded();
  view.scrollType = 1;
  EXPECT_EQ(ReplayCommandState(kCmdScrollBottomUp, view), (CommandState{true, true}));
  EXPECT_EQ(ReplayCommandState(kCmdScrollTopDown, view), (CommandState{true, false}));
  view.sessionRunning = true;
  EXPECT_EQ(ReplayCommandState(kCmdScrollBottomUp, view), (CommandState{false, true}));
  EXPECT_EQ(ReplayCommandState(kCmdScrollTopDown, view), (CommandState{false, false}));
  EXPECT_FALSE(ReplayCommandState(32999, view).has_value());
}

TEST(ReplayCommands, SpeedDropDown) {
  auto checkedText = [](const std::vector<SpeedMenuItem>& items) {
    std::string text;
    for (const auto& i : items)
      if (i.checked) text += i.text;
    return text;
  };
  EXPECT_EQ(checkedText(SpeedMenuItems(AtSpeed(Running(), 4))), "四倍速度");
  EXPECT_EQ(checkedText(SpeedMenuItems(AtSpeed(Running(), 22))), "32倍速度");

  const auto student = SpeedMenuItems(Student(AtSpeed(Running(), 8)));
  ASSERT_EQ(student.size(), 7u);
  EXPECT_STREQ(student[6].text, "時間回溯(&R)");
  for (const auto& item : student)
    EXPECT_EQ(item.enabled,
              item.id != kCmdSpeed16 && item.id != kCmdSpeed32 && item.id != kCmdTimeRewind)
        << item.text;
  EXPECT_FALSE(SpeedMenuItems(Loaded())[6].enabled);  // no session
  EXPECT_TRUE(SpeedMenuItems(Paused())[6].enabled);
}

}  // namespace
}  // namespace kestrel
