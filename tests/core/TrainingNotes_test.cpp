#include "replay/TrainingNotes.h"

#include <gtest/gtest.h>

#include "ReplayFixture.h"
#include "TestDir.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"

namespace kestrel {
namespace {

using test::ReplayFixture;

TEST(TrainingNoteFile, Parse) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<_TrainDataList> notes;
  };
  const Case cases[] = {
      {"two lines each ended by CR LF",
       "[#] 093055\r\n第一行 up\r\n  second\r\n[#END]\r\n",
       {{"093055", "第一行 UP\r\n  SECOND\r\n"}}},
      {"markers in either case, LF line ends",
       "[#] 100000\nnote\n[#end]\n",
       {{"100000", "NOTE\r\n"}}},
      {"text outside notes and padded headers",
       "title\r\n\r\n   [#]   093000  \r\nA\r\n[#END] trailing\r\nstray\r\n",
       {{"093000", "A\r\n"}}},
      {"a header without a space has no time", "[#]093055\r\nA\r\n[#END]\r\n", {{"", "A\r\n"}}},
      {"a header inside a note is its text", "[#] 1\r\n[#] 2\r\n[#END]\r\n", {{"1", "[#] 2\r\n"}}},
      {"an empty note", "[#] 090000\r\n[#END]", {{"090000", ""}}},
      {"a note without its end is dropped",
       "[#] 090000\r\nA\r\n[#END]\r\n[#] 100000\r\nB\r\n",
       {{"090000", "A\r\n"}}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseTrainingNotes(c.text), c.notes);
  }
}

TEST(TrainingNoteFile, LoadsEveryEncodingTheDownloadMayLeave) {
  const std::string text = "[#] 093055\r\n大盤開高\r\n[#END]\r\n";
  const std::filesystem::path dir = test::FreshDir();
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF-16LE with its mark", std::string(kUtf16LeBom) + Utf8ToUtf16Le(text)},
      {"CP950", Utf8ToCp950(text)},
      {"UTF-8 with its mark", std::string(kUtf8Bom) + text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(dir / "train.dat", c.bytes);
    TrainingSchedule schedule;
    schedule.nextIndex = 3;
    ASSERT_TRUE(LoadTrainingNotes(schedule, dir / "train.dat"));
    EXPECT_EQ(schedule.entries, (std::vector<_TrainDataList>{{"093055", "大盤開高\r\n"}}));
    EXPECT_EQ(schedule.nextIndex, 0);
  }

  TrainingSchedule schedule;
  schedule.entries = {{"1", "x"}};
  EXPECT_FALSE(LoadTrainingNotes(schedule, dir / "missing.dat"));
  EXPECT_TRUE(schedule.entries.empty());
}

TEST(TrainingNoteFile, NextNoteText) {
  TrainingSchedule s;
  s.entries = {{"093055", ""}, {"100000", ""}, {"1", ""}};
  EXPECT_EQ(NextNoteText(s, 0), "下次提示時間:10:00:00");
  EXPECT_EQ(NextNoteText(s, 1), "下次提示時間:1::");
  EXPECT_EQ(NextNoteText(s, 2), "下次提示時間:已到結尾");
}

class TrainingNotes : public ReplayFixture {
 protected:
  TrainingNotes() {
    notes.entries = {{"093055", "FIRST\r\n"}, {"100000", "SECOND\r\n"}};
    AddTicksEverySecond(93050, 20);
    AddTick("10000000", 7999, 8001, 8000, 1);
    AddTick("10000100", 7999, 8001, 8000, 1);
    AddTick("11000000", 7999, 8001, 8000, 1);
  }
};

TEST_F(TrainingNotes, ShownWhenTheClockReachesThem) {
  engine.OpenSession();
  std::vector<bool> pausedWhileShown;
  sink.whileNoteShown = [&] { pausedWhileShown.push_back(clock.sessionPaused); };

  SetRealElapsed(RealOf("09305400") + 1);
  while (day.tickCursor < 5) engine.Heartbeat();  // released up to 09:30:54
  EXPECT_TRUE(sink.notes.empty());

  SetRealElapsed(RealOf("09305500"));
  sink.Clear();
  engine.Heartbeat();
  ASSERT_EQ(sink.notes.size(), 1u);
  EXPECT_EQ(sink.notes[0].first, "FIRST\r\n");
  EXPECT_EQ(sink.notes[0].second, "下次提示時間:10:00:00");
  EXPECT_EQ(pausedWhileShown, std::vector<bool>{true});
  EXPECT_FALSE(clock.sessionPaused);
  EXPECT_EQ(notes.nextIndex, 1);
  // The heartbeat ends with the note: the 09:30:55 tick waits for the next one.
  EXPECT_EQ(sink.events, (std::vector<std::string>{"clock 09:30:55", "stop", "note", "start"}));
  EXPECT_EQ(day.tickCursor, 5);
  // Re-anchored at the latest batch (09:30:54).
  EXPECT_EQ(time.NowMs() - clock.heartbeatStart, RealOf("09305400"));

  SetRealElapsed(RealOf("10000000"));
  engine.Heartbeat();
  ASSERT_EQ(sink.notes.size(), 2u);
  EXPECT_EQ(sink.notes[1].second, "下次提示時間:已到結尾");
  Beat(3);
  EXPECT_EQ(sink.notes.size(), 2u);
}

TEST_F(TrainingNotes, PassedNotesComeOnePerHeartbeat) {
  notes.entries.push_back({"NOTIME", "ANY\r\n"});
  engine.OpenSession();
  SetRealElapsed(RealOf("10300000"));
  engine.Heartbeat();
  EXPECT_EQ(sink.notes.size(), 1u);
  // Resumed at the latest batch (none yet: 08:45), so the clock starts over and
  // the second note waits for 10:00 again.
  SetRealElapsed(RealOf("10300000"));
  engine.Heartbeat();
  EXPECT_EQ(sink.notes.size(), 2u);
  SetRealElapsed(RealOf("08450000"));
  engine.Heartbeat();
  EXPECT_EQ(sink.notes.size(), 3u);  // a time that is no number is due at once
}

TEST_F(TrainingNotes, NoJumpAfterANoteAtALoweredSpeed) {
  clock.speed = 30;
  engine.OpenSession();
  SetRealElapsed(RealOf("09305400") + 1);
  while (day.tickCursor < 5) engine.Heartbeat();
  // The user reads the note for a minute.
  sink.whileNoteShown = [this] { time.Advance(60'000); };
  SetRealElapsed(RealOf("09305500") + 1);
  engine.Heartbeat();
  ASSERT_EQ(sink.notes.size(), 1u);
  Beat();
  EXPECT_EQ(clock.clockText, "09:30:54");
}

TEST_F(TrainingNotes, ShownAgainAfterTheSessionEndsAndOpensAgain) {
  engine.OpenSession();
  SetRealElapsed(RealOf("10000000"));
  engine.Heartbeat();
  engine.Heartbeat();
  ASSERT_EQ(notes.nextIndex, 1);
  ScriptedPrompter prompter;
  ASSERT_TRUE(engine.EndSession(prompter, {}));
  EXPECT_EQ(notes.nextIndex, 0);
  engine.OpenSession();
  SetRealElapsed(RealOf("09305600"));
  engine.Heartbeat();
  EXPECT_EQ(sink.notes.back().first, "FIRST\r\n");

  // A new load empties the schedule: nothing is shown any more.
  ClearTrainingNotes(notes);
  SetRealElapsed(RealOf("10300000"));
  const size_t shown = sink.notes.size();
  Beat(5);
  EXPECT_EQ(sink.notes.size(), shown);
}

}  // namespace
}  // namespace kestrel
