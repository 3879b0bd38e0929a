// The student's polling state machine with a scripted service, its thread and
// the student mode command.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <thread>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "classroom/HandOffQueue.h"
#include "classroom/InterruptibleSleeper.h"
#include "classroom/StudentMode.h"
#include "classroom/StudentPoller.h"
#include "classroom/StudentWindow.h"
#include "common/Prompter.h"
#include "online/ScriptedFetcher.h"

namespace kestrel::test {
namespace {

using namespace std::chrono_literals;
using Reply = ScriptedFetcher::Reply;

Reply Body(const std::string& body) {
  return ScriptedFetcher::Body(body);
}

const std::string kQuery = "?id=st&pwd=pw";
const std::string kS1 = "http://p/net_StudentS1.asp" + kQuery;
const std::string kS1Done = "http://p/net_StudentS1END.asp" + kQuery;
const std::string kS2 = "http://p/net_StudentS2.asp" + kQuery;
const std::string kS2Done = "http://p/net_StudentS2END.asp" + kQuery;
const std::string kS3 = "http://p/net_StudentS3.asp" + kQuery;
const std::string kS3Done = "http://p/net_StudentS3END.asp" + kQuery;
const std::string kFileName = "http://p/net_GetFileName_Future.php" + kQuery + "&SelDate=";

// Records what the polling thread asked of the window.
class FakeStudentWindow final : public StudentWindow {
 public:
  bool LoadDay(const DownloadResult& download) override {
    calls.push_back("load " + download.archiveToLoad);
    if (onCall) onCall();
    return loads;
  }
  bool OpenSession() override {
    calls.push_back("open");
    if (onCall) onCall();
    return opens;
  }
  bool EndSession() override {
    calls.push_back("end");
    if (onCall) onCall();
    if (ends.empty()) return true;
    const bool ended = ends.front();
    ends.pop_front();
    return ended;
  }
  SessionFigures Figures() override { return figures; }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(text);
    captions.push_back(caption);
  }
  DownloadView& DownloadStatus() override { return view; }

  bool loads = true;
  bool opens = true;
  std::deque<bool> ends;
  SessionFigures figures;
  std::function<void()> onCall;
  std::vector<std::string> calls;
  std::vector<std::string> messages;
  std::vector<std::string> captions;
  SilentDownloadView view;
};

class StudentPollerTest : public ::testing::Test {
 protected:
  StudentPollerTest() : waits_(&recorded_), poller_(Config(), fetcher_, waits_, window_) {}

  static StudentConfig Config() {
    StudentConfig config;
    config.bases = {"http://p", "http://s", "http://m"};
    config.account.userId = "st";
    config.account.password = "pw";
    const auto dir = FreshDir();
    config.cacheFolder = dir / "cache";
    config.dataFolder = dir / "data";
    return config;
  }

  // A day the scripted service can deliver.
  void ScriptDay(const std::string& date) {
    std::string name =
        "TICK_" + date.substr(0, 4) + "_" + date.substr(5, 2) + "_" + date.substr(8, 2) + ".zip";
    fetcher_.On(kFileName + date, name);
    fetcher_.On("http://m/DATA/" + name, std::string(60000, 'z'));
  }

  ScriptedFetcher fetcher_;
  RecordingSleeper recorded_;
  InterruptibleSleeper waits_;
  FakeStudentWindow window_;
  StudentPoller poller_;
};

TEST_F(StudentPollerTest, AnAssignedDayIsDownloadedLoadedAndAcknowledged) {
  poller_.SetStateForTest(kStudentWaitingForDate);
  fetcher_.On(kS1, {Body("1"), Body("2013/05/07\n"), Body("2013/05/07")});
  ScriptDay("2013/05/07");
  fetcher_.On(kS1Done, "");

  poller_.Step();  // nothing assigned
  poller_.Step();  // eleven characters: not a date
  EXPECT_EQ(poller_.State(), kStudentWaitingForDate);
  EXPECT_TRUE(window_.calls.empty());
  EXPECT_EQ(fetcher_.CountStartingWith(kFileName), 0);

  poller_.Step();
  EXPECT_EQ(poller_.State(), kStudentDownloaded);
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"load TICK_2013_05_07.zip"}));
  EXPECT_EQ(fetcher_.CountStartingWith(kS1Done), 1);
  EXPECT_TRUE(window_.messages.empty());
}

TEST_F(StudentPollerTest, ARefusedDateIsReportedOnceAndNotRetried) {
  poller_.SetStateForTest(kStudentEnded);  // polled like state 1
  fetcher_.On(kS1, {Body("2013/05/07"), Body("2013/05/07"), Body("2013/05/08")});
  fetcher_.On(kFileName + "2013/05/07", "2");  // no data that day
  ScriptDay("2013/05/08");
  window_.loads = false;  // and the other day does not load

  poller_.Step();
  poller_.Step();
  EXPECT_EQ(window_.messages, (std::vector<std::string>{kStudentNoData}));
  EXPECT_EQ(fetcher_.CountStartingWith(kFileName + "2013/05/07"), 1);
  EXPECT_EQ(poller_.LastRefusedDate(), "2013/05/07");

  poller_.Step();  // another date is tried; its failed load takes the same path
  EXPECT_EQ(window_.messages, (std::vector<std::string>{kStudentNoData, kStudentNoData}));
  EXPECT_EQ(poller_.LastRefusedDate(), "2013/05/08");
  EXPECT_EQ(fetcher_.CountStartingWith(kS1Done), 0);
  EXPECT_EQ(poller_.State(), kStudentEnded);
}

TEST_F(StudentPollerTest, ErrorsStopThePollingWithTheirMessage) {
  const struct {
    const char* name;
    int state;
    std::vector<std::pair<std::string, Reply>> script;
    const char* message;
  } cases[] = {
      {"S1 fails", kStudentWaitingForDate, {}, kStudentNetworkError},
      {"S1 done fails", kStudentWaitingForDate, {{kS1, Body("2013/05/07")}}, kStudentNetworkError},
      {"S1 done refused",
       kStudentWaitingForDate,
       {{kS1, Body("2013/05/07")}, {kS1Done, Body("ERROR")}},
       kStudentStateError},
      {"S2 fails", kStudentDownloaded, {}, kStudentNetworkError},
      {"S2 done refused",
       kStudentDownloaded,
       {{kS2, Body("3")}, {kS2Done, Body("x")}},
       kStudentOpenStateError},
      {"S3 fails", kStudentRunning, {}, kStudentNetworkError},
      {"S3 error", kStudentRunning, {{kS3, Body("ERROR")}}, kStudentStateError},
      {"S3 done refused",
       kStudentRunning,
       {{kS3, Body("4")}, {kS3Done, Body("1")}},
       kStudentStateError},
      {"S3 done fails", kStudentRunning, {{kS3, Body("4")}}, kStudentNetworkError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fetcher_.Reset();
    window_.messages.clear();
    window_.calls.clear();
    ScriptDay("2013/05/07");
    for (const auto& [url, reply] : c.script) {
      if (url == kS3) {
        fetcher_.OnPrefix(kS3 + "&", {reply});
      } else {
        fetcher_.On(url, {reply});
      }
    }
    poller_.SetStateForTest(c.state);
    poller_.Step();
    EXPECT_EQ(poller_.State(), kStudentOff);
    EXPECT_EQ(window_.messages, (std::vector<std::string>{c.message}));
    EXPECT_EQ(window_.captions, (std::vector<std::string>{kCaptionError}));
    window_.captions.clear();
    poller_.Step();  // stopped: nothing more is asked
    EXPECT_EQ(window_.messages.size(), 1u);
  }
}

TEST_F(StudentPollerTest, TheOpenSignalOpensTheSessionOnTheWindow) {
  poller_.SetStateForTest(kStudentDownloaded);
  fetcher_.On(kS2, {Body("2"), Body("3")});
  fetcher_.On(kS2Done, "");
  poller_.Step();
  EXPECT_EQ(poller_.State(), kStudentDownloaded);
  EXPECT_TRUE(window_.calls.empty());

  window_.opens = false;  // no day loaded: the signal is taken again next time
  poller_.Step();
  EXPECT_EQ(poller_.State(), kStudentDownloaded);
  EXPECT_EQ(fetcher_.CountStartingWith(kS2Done), 0);

  window_.opens = true;
  poller_.Step();
  EXPECT_EQ(poller_.State(), kStudentRunning);
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"open", "open"}));
}

TEST_F(StudentPollerTest, TheCloseSignalEndsTheSessionAndACancelledEndIsRetried) {
  poller_.SetStateForTest(kStudentRunning);
  window_.figures = {3, -1250};
  fetcher_.OnPrefix(kS3 + "&", {Body("3"), Body("4")});
  fetcher_.On(kS3Done, "");
  window_.ends = {false, true};

  poller_.Step();
  EXPECT_EQ(poller_.State(), kStudentRunning);
  poller_.Step();  // "4", but the student cancelled the end
  EXPECT_EQ(poller_.State(), kStudentRunning);
  EXPECT_EQ(fetcher_.CountStartingWith(kS3Done), 0);
  poller_.Step();  // "4" again
  EXPECT_EQ(poller_.State(), kStudentEnded);
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"end", "end"}));
  EXPECT_EQ(fetcher_.Urls().front(), kS3 + "&dealLot=3&TotalLoss=-1250");
}

TEST_F(StudentPollerTest, ALeaveDuringAHandOffIsNeverOverwritten) {
  const struct {
    const char* name;
    int state;
    const char* doneUrl;
  } cases[] = {
      {"load", kStudentWaitingForDate, "http://p/net_StudentS1END.asp"},
      {"open", kStudentDownloaded, "http://p/net_StudentS2END.asp"},
      {"end", kStudentRunning, "http://p/net_StudentS3END.asp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fetcher_.Reset();
    ScriptDay("2013/05/07");
    fetcher_.On(kS1, "2013/05/07");
    fetcher_.On(kS2, "3");
    fetcher_.OnPrefix(kS3 + "&", {Body("4")});
    window_.onCall = [this] { poller_.Leave(); };
    poller_.SetStateForTest(c.state);
    poller_.Step();
    EXPECT_EQ(poller_.State(), kStudentOff);
    EXPECT_EQ(fetcher_.CountStartingWith(c.doneUrl), 0);
    EXPECT_TRUE(window_.messages.empty());
  }
}

TEST(StudentThreadTest, OnlyOnePollerRunsAndStopJoinsIt) {
  HandOffQueue queue;
  RoundSleeper gate(queue, kStudentPollMs);
  InterruptibleSleeper waits(&gate);
  ScriptedFetcher fetcher;
  fetcher.On(kS1, "1");
  FakeStudentWindow window;
  StudentConfig config;
  config.bases = {"http://p", "http://s", "http://m"};
  config.account.userId = "st";
  config.account.password = "pw";
  StudentPoller poller(config, fetcher, waits, window);

  poller.Start();
  ASSERT_TRUE(queue.RunUntil([&] { return gate.Waiting(); }, 30s));
  // Leave and enter again while the thread still waits: it takes the new session.
  poller.Leave();
  poller.Start();
  EXPECT_TRUE(poller.ThreadRunning());
  for (int round = 0; round < 3; ++round) {
    gate.Release();
    ASSERT_TRUE(queue.RunUntil([&] { return gate.Waiting(); }, 30s));
  }
  EXPECT_EQ(gate.MostWaiting(), 1);
  EXPECT_EQ(poller.State(), kStudentWaitingForDate);
  EXPECT_EQ(fetcher.CountStartingWith(kS1), 4);

  // Leave, and the thread ends after its wait; the next start makes a new one.
  poller.Leave();
  gate.Release();
  while (poller.ThreadRunning()) std::this_thread::yield();
  poller.Start();
  ASSERT_TRUE(queue.RunUntil([&] { return gate.Waiting(); }, 30s));
  EXPECT_EQ(fetcher.CountStartingWith(kS1), 5);

  gate.Open();
  poller.Stop();
  EXPECT_FALSE(poller.ThreadRunning());
  EXPECT_TRUE(window.messages.empty());
}

TEST(StudentThreadTest, StopReleasesAThreadWaitingForTheWindowOrTheClock) {
  const auto dir = FreshDir();
  StudentConfig config;
  config.bases = {"http://p", "http://s", "http://m"};
  config.account.userId = "st";
  config.account.password = "pw";
  config.cacheFolder = dir / "cache";
  config.dataFolder = dir / "data";
  ScriptedFetcher fetcher;
  fetcher.On(kS1, "2013/05/07");
  fetcher.On(kFileName + "2013/05/07", "TICK_2013_05_07.zip");
  fetcher.On("http://m/DATA/TICK_2013_05_07.zip", std::string(60000, 'z'));

  // Nobody runs the window's calls: the thread blocks in the load hand-off.
  HandOffQueue queue;
  class Session final : public StudentSession {
   public:
    bool SessionRunning() const override { return false; }
    bool DayLoaded() const override { return false; }
    bool Load(const DownloadResult&) override { return true; }
    void Open() override {}
    void End() override {}
    SessionFigures Figures() const override { return {}; }
  } session;
  ScriptedPrompter prompter;
  SilentDownloadView view;
  QueuedStudentWindow window(queue, session, prompter, view);
  InterruptibleSleeper realWaits;  // real six-second waits, cut short by Stop
  StudentPoller poller(config, fetcher, realWaits, window);
  poller.Start();
  poller.Stop();
  EXPECT_FALSE(poller.ThreadRunning());
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_EQ(fetcher.CountStartingWith(kS1Done), 0);
}

TEST(StudentHandOffTest, TheWindowRulesGuardLoadOpenAndEnd) {
  class Session final : public StudentSession {
   public:
    bool SessionRunning() const override { return running; }
    bool DayLoaded() const override { return loaded; }
    bool Load(const DownloadResult&) override { return loaded = true; }
    void Open() override { running = true; }
    void End() override {
      if (!cancelEnd) running = false;
    }
    SessionFigures Figures() const override { return {}; }
    bool running = false, loaded = false, cancelEnd = false;
  } s;
  const DownloadResult download;
  EXPECT_FALSE(HandleOpenRequest(s));  // no day yet
  EXPECT_TRUE(HandleLoadRequest(s, download));
  EXPECT_TRUE(HandleOpenRequest(s));
  EXPECT_FALSE(HandleLoadRequest(s, download));  // not while a session runs
  EXPECT_TRUE(HandleOpenRequest(s));             // already open
  s.cancelEnd = true;
  EXPECT_FALSE(HandleEndRequest(s));
  s.cancelEnd = false;
  EXPECT_TRUE(HandleEndRequest(s));
  EXPECT_TRUE(HandleEndRequest(s));  // already ended
}

TEST(StudentModeTest, EnterAndLeaveGoThroughTheServiceAndTheQuestion) {
  HandOffQueue queue;
  RoundSleeper gate(queue, kStudentPollMs);
  InterruptibleSleeper waits(&gate);
  ScriptedFetcher commands, polls;
  polls.On(kS1, "1");
  FakeStudentWindow window;
  ScriptedPrompter prompter;
  StudentConfig config;
  config.bases = {"http://p", "http://s", "http://m"};
  config.account.userId = "st";
  config.account.password = "pw";
  StudentMode mode(config, commands, polls, waits, window, prompter);
  const std::string in = "http://p/net_StudentInOut.asp" + kQuery + "&mode=in";
  const std::string out = "http://p/net_StudentInOut.asp" + kQuery + "&mode=out";

  EXPECT_FALSE(mode.Toggle());  // the service cannot be reached
  EXPECT_FALSE(mode.active());
  EXPECT_EQ(prompter.shown.back().text, kStudentNoDatabase);
  EXPECT_EQ(prompter.shown.back().caption, kCaptionError);

  commands.On(in, "OK");
  EXPECT_EQ(mode.Toggle(), std::string(kStudentEnteredPane));
  EXPECT_TRUE(mode.active());
  EXPECT_EQ(prompter.shown.back().text, kStudentEntered);
  ASSERT_TRUE(queue.RunUntil([&] { return gate.Waiting(); }, 30s));
  EXPECT_EQ(mode.state(), kStudentWaitingForDate);

  prompter.answers = {PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::Yes};
  EXPECT_FALSE(mode.Toggle());  // answered No
  EXPECT_EQ(prompter.shown.back().text, kStudentLeaveQuestion);
  EXPECT_EQ(prompter.shown.back().caption, kCaptionWarning);
  EXPECT_FALSE(mode.Toggle());  // the leave request fails
  EXPECT_TRUE(mode.active());
  EXPECT_EQ(prompter.shown.back().text, kStudentNoDatabase);
  commands.On(out, "whatever");
  EXPECT_EQ(mode.Toggle(), std::string(kStudentLeftPane));
  EXPECT_FALSE(mode.active());
  EXPECT_EQ(mode.state(), kStudentOff);
  EXPECT_EQ(prompter.shown.back().text, kStudentLeft);

  gate.Open();
  mode.Shutdown();
  EXPECT_FALSE(mode.poller().ThreadRunning());
}

}  // namespace
}  // namespace kestrel::test
