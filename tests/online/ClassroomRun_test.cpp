// One whole lesson against the practice service: an instructor and three
// students, each with the real client on threads of its own; the test thread
// plays every program's user-interface thread. Waits are taken in rounds, so
// the lesson runs as fast as the service answers.
#include <gtest/gtest.h>

#include <memory>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "TradeFixture.h"
#include "app/AppSettings.h"
#include "classroom/InstructorMonitor.h"
#include "classroom/InterruptibleSleeper.h"
#include "classroom/ScoreExport.h"
#include "classroom/StudentMode.h"
#include "classroom/StudentWindow.h"
#include "common/Decimal.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "online/CWebGrab.h"
#include "online/ServiceLogout.h"
#include "trading/OrderEntry.h"
#include "trading/OrderMatcher.h"
#include "tradingday/DayArchiveLoader.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kMaxRounds = 80;

bool LogIn(const ServiceBases& bases, const fs::path& setup, const std::string& id,
           const std::string& password, AccountState& account) {
  CWebGrab grab;
  RecordingSleeper sleeper;
  RecordingLoginView view;
  LoginEnvironment env{grab, sleeper, bases, setup};
  return PressLogin(env, {id, password, true, 42u}, account, view).loggedIn;
}

// One student's program: its account, loaded day, order store and the
// window side of the classroom hand-offs.
class StudentDesk final : public StudentSession {
 public:
  StudentDesk(const std::string& id, const fs::path& root, const ServiceBases& bases,
              HandOffQueue& queue)
      : round(queue, kStudentPollMs),
        id_(id),
        work_(root / id),
        waits_(&round),
        window_(queue, *this, prompter, view_) {
    fs::create_directories(work_);
    WriteFile(work_ / "setup.ini", "[ACCOUNT]\r\n");
    figures.bigFee = 200;
    SelectContract(figures, true);
    loggedIn = LogIn(bases, work_ / "setup.ini", id, "student", account);
    StudentConfig config;
    config.bases = bases;
    config.account = account;
    config.cacheFolder = work_ / "cache";
    config.dataFolder = work_ / "data";
    mode = std::make_unique<StudentMode>(config, commands_, polls_, waits_, window_, prompter);
  }

  // The poller uses the members below it: it goes first.
  ~StudentDesk() override { mode.reset(); }

  bool SessionRunning() const override { return running; }
  bool DayLoaded() const override { return day.dayLoaded; }
  bool Load(const DownloadResult& download) override {
    const DayLoadContext context{work_ / "cache", work_ / "data", settings_,
                                 prompter,        loadSleeper_,   loadSink_};
    return LoadDownloadedDay(day, download, context);
  }
  void Open() override { running = true; }
  void End() override {
    running = false;
    FoldDayIntoBalance(figures);
  }
  SessionFigures Figures() const override { return {state.dealQty, figures.realisedPnl}; }

  // A market order of one lot at the trade of tick `index`, filled at once.
  void TradeAt(size_t index, int32_t side) {
    const std::string& tick = day.tickLines.at(index);
    int32_t fields[4] = {};
    size_t start = tick.find(',') + 1;
    for (int32_t& field : fields) {
      const size_t comma = tick.find(',', start);
      field = ParseDecimal(std::string_view(tick).substr(start, comma - start));
      start = comma + 1;
    }
    day.bidPrice = fields[0];
    day.askPrice = fields[1];
    day.lastPrice = fields[2];
    const std::string clock = tick.substr(0, 2) + ":" + tick.substr(2, 2) + ":" + tick.substr(4, 2);
    EntryInput input;
    input.lotsText = "1";
    input.simpleProductText = figures.productName;
    input.clockText = clock;
    input.studentMode = true;
    const EntryResult entry = PlaceMarket(context, input, side);
    EXPECT_TRUE(entry.placed) << (entry.refusal ? entry.refusal->text : "");
    MatchAtTrade(context, clock);
    RefreshTradeStatus(context);
  }

  const std::string& id() const { return id_; }

  // The program's close: logout, leave student mode, the margin fold.
  void Close(const ServiceBases& bases) {
    ScriptedPrompter yes;
    const CloseEnvironment env{commands_, yes, bases, work_ / "setup.ini"};
    EXPECT_TRUE(RunCloseRequest(env, account, true, false, figures).close) << id_;
  }

  bool loggedIn = false;
  bool running = false;
  AccountState account;
  TradingDay day;
  TradeState state;
  AccountFigures figures;
  AccountWindowRows rows;
  RecordingTradeSink sink;
  TradeContext context{state, figures, rows, day, sink};
  ScriptedPrompter prompter;
  RoundSleeper round;
  std::unique_ptr<StudentMode> mode;

 private:
  std::string id_;
  fs::path work_;
  AppSettings settings_;
  RecordingSleeper loadSleeper_;
  DayLoadSink loadSink_;
  CWebGrab commands_, polls_;
  InterruptibleSleeper waits_;
  SilentDownloadView view_;
  QueuedStudentWindow window_;
};

class ClassroomRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = &PracticeServer::Shared();
    ASSERT_TRUE(server_->ok()) << server_->error();
    root_ = FreshDir();
  }

  void TearDown() override {
    // The programs close: every thread is released and joined.
    queue_.Abandon();
    for (auto& desk : desks_) desk->round.Open();
    if (monitorRound_) monitorRound_->Open();
    for (auto& desk : desks_) desk->mode->Shutdown();
    if (monitor_) monitor_->Stop();
    // And log out, so that the accounts can log in again.
    for (auto& desk : desks_) desk->Close(server_->Bases());
    if (teacher_.loggedIn) {
      CWebGrab grab;
      EXPECT_EQ(SendLogout(grab, server_->Bases(), teacher_), LogoutReply::LoggedOut);
    }
  }

  bool AllWaiting() const {
    for (const auto& desk : desks_)
      if (desk->mode->active() && !desk->round.Waiting()) return false;
    return !monitorRound_ || monitorRound_->Waiting();
  }

  // One round: every waiting thread goes on to its next wait.
  void Round() {
    for (auto& desk : desks_) desk->round.Release();
    if (monitorRound_) monitorRound_->Release();
    ASSERT_TRUE(queue_.RunUntil([this] { return AllWaiting(); }, 60s));
  }

  bool RoundsUntil(const std::function<bool()>& done) {
    for (int i = 0; i < kMaxRounds && !done(); ++i) {
      Round();
      if (::testing::Test::HasFatalFailure()) return false;
    }
    return done();
  }

  bool AllStudentsIn(int state) const {
    for (const auto& desk : desks_)
      if (desk->mode->state() != state) return false;
    return true;
  }

  // The instructor's list shows every student in `stateText`, and unless told
  // otherwise with the figures the student's program holds.
  bool TableShows(const std::string& stateText, bool withFigures = true) const {
    if (table_.rows().size() != desks_.size()) return false;
    for (size_t i = 0; i < desks_.size(); ++i) {
      const MonitorRow& row = table_.rows()[i];
      const StudentDesk& desk = *desks_[i];
      if (row.account != desk.id() || row.state != stateText) return false;
      if (withFigures && (row.lots != std::to_string(desk.state.dealQty) ||
                          row.result != std::to_string(desk.figures.realisedPnl)))
        return false;
    }
    return true;
  }

  PracticeServer* server_ = nullptr;
  fs::path root_;
  AccountState teacher_;
  HandOffQueue queue_;
  std::vector<std::unique_ptr<StudentDesk>> desks_;
  ManualClock monitorClock_;
  std::unique_ptr<RoundSleeper> monitorRound_;
  std::unique_ptr<InterruptibleSleeper> monitorWaits_;
  CWebGrab monitorGrab_;
  MonitorTable table_;
  ScriptedPrompter instructor_;
  std::unique_ptr<QueuedMonitorWindow> monitorWindow_;
  std::unique_ptr<InstructorMonitor> monitor_;
};

TEST_F(ClassroomRunTest, AssignDownloadOpenTradeCloseAndExportTheScores) {
  const ServiceBases bases = server_->Bases();

  // The instructor logs in and opens the monitor.
  MonitorConfig monitorConfig;
  monitorConfig.bases = bases;
  const fs::path teacherSetup = root_ / "teacher.ini";
  WriteFile(teacherSetup, "[ACCOUNT]\r\n");
  ASSERT_TRUE(LogIn(bases, teacherSetup, "teacher", "teacher", teacher_));
  monitorConfig.account = teacher_;
  ASSERT_TRUE(monitorConfig.account.IsInstructor());
  monitorRound_ = std::make_unique<RoundSleeper>(queue_, kMonitorStepMs, &monitorClock_);
  monitorWaits_ = std::make_unique<InterruptibleSleeper>(monitorRound_.get());
  monitorWindow_ = std::make_unique<QueuedMonitorWindow>(queue_, table_, instructor_);
  monitor_ = std::make_unique<InstructorMonitor>(monitorConfig, monitorGrab_, monitorClock_,
                                                 *monitorWaits_, *monitorWindow_);
  monitor_->Start();

  // Three students log in and enter student mode.
  for (const char* id : {"student1", "student2", "student3"}) {
    desks_.push_back(std::make_unique<StudentDesk>(id, root_, bases, queue_));
    StudentDesk& desk = *desks_.back();
    ASSERT_TRUE(desk.loggedIn) << id;
    ASSERT_TRUE(desk.account.IsStudent());
    EXPECT_EQ(desk.mode->Toggle(), std::string(kStudentEnteredPane));
  }
  ASSERT_TRUE(queue_.RunUntil([this] { return AllWaiting(); }, 60s));
  // The service keeps the figures of an earlier lesson until a new day is taken.
  ASSERT_TRUE(RoundsUntil([this] { return TableShows("已登入，等待指派日期", false); }));

  // Assign: every student downloads the day and loads it.
  monitor_->PressAssign(instructor_, [] { return ChooseDay(2013, 5, 7); });
  ASSERT_TRUE(RoundsUntil([this] { return AllStudentsIn(kStudentDownloaded); }));
  for (const auto& desk : desks_) {
    EXPECT_TRUE(desk->day.dayLoaded) << desk->id();
    EXPECT_EQ(desk->day.dateText, "2013-05-07");
  }
  ASSERT_TRUE(RoundsUntil([this] { return TableShows("資料已下載，等待開盤"); }));
  EXPECT_EQ(table_.rows()[0].openDate, PracticeServer::kDay);

  // Open: every session runs.
  monitor_->PressOpen(instructor_);
  ASSERT_TRUE(RoundsUntil([this] { return AllStudentsIn(kStudentRunning); }));
  for (const auto& desk : desks_) EXPECT_TRUE(desk->running);

  // Each student trades on the replayed quotes.
  const size_t ticks = desks_[0]->day.tickLines.size();
  ASSERT_GT(ticks, 100u);
  desks_[0]->TradeAt(ticks / 10, kSideBuy);
  desks_[0]->TradeAt(ticks / 2, kSideSell);
  desks_[1]->TradeAt(ticks / 5, kSideSell);
  desks_[1]->TradeAt(ticks * 4 / 5, kSideBuy);
  desks_[2]->TradeAt(ticks / 20, kSideBuy);
  desks_[2]->TradeAt(ticks / 4, kSideSell);
  desks_[2]->TradeAt(ticks / 3, kSideBuy);
  desks_[2]->TradeAt(ticks * 9 / 10, kSideSell);
  EXPECT_EQ(desks_[0]->state.dealQty, 2);
  EXPECT_EQ(desks_[1]->state.dealQty, 2);
  EXPECT_EQ(desks_[2]->state.dealQty, 4);
  for (const auto& desk : desks_) EXPECT_NE(desk->figures.realisedPnl, 0) << desk->id();
  ASSERT_TRUE(RoundsUntil([this] { return TableShows("盤勢進行中"); }));

  // Close: every session ends and the results stay in the list.
  monitor_->PressClose(instructor_);
  ASSERT_TRUE(RoundsUntil([this] { return AllStudentsIn(kStudentEnded); }));
  for (const auto& desk : desks_) EXPECT_FALSE(desk->running);
  ASSERT_TRUE(RoundsUntil([this] { return TableShows("盤勢已結束，等待指派日期"); }));

  // The scores.
  const fs::path scores = root_ / "成績.txt";
  ASSERT_FALSE(WriteScoreExport(scores, table_.rows(), LocalDateTime{2014, 1, 2, 9, 0}));
  const std::string text = Cp950ToUtf8(ReadFile(scores));
  EXPECT_EQ(text.rfind("學員模擬交易成績(2014/01/02)\r\n", 0), 0u);
  for (size_t i = 0; i < desks_.size(); ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%-12s%-16s%-16s%s\r\n", table_.rows()[i].number.c_str(),
                  desks_[i]->id().c_str(), std::to_string(desks_[i]->state.dealQty).c_str(),
                  std::to_string(desks_[i]->figures.realisedPnl).c_str());
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }

  // Nothing went wrong on the way: the students saw only the entry notice.
  for (const auto& desk : desks_) {
    ASSERT_FALSE(desk->prompter.shown.empty());
    EXPECT_EQ(desk->prompter.shown[0].text, kStudentEntered);
    for (size_t i = 1; i < desk->prompter.shown.size(); ++i)
      ADD_FAILURE() << desk->id() << ": " << desk->prompter.shown[i].text;
  }
  for (const auto& shown : instructor_.shown) EXPECT_TRUE(shown.question) << shown.text;
}

}  // namespace
}  // namespace kestrel::test
