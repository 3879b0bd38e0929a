#include "app/MainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QToolBar>

#include "FrameFixture.h"
#include "app/CommandActions.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "panels/RightDownView.h"
#include "replay/DlgTrainNote.h"
#include "widgets/ColoredStatusBar.h"

namespace kestrel::test {
namespace {

using L = PaneLayout;
constexpr int kLeft = CMainFrame::kLeft;
constexpr int kRight = CMainFrame::kRight;

class MainFrameLayout : public FrameFixture {};

TEST_F(MainFrameLayout, FirstStartShowsChartTwoSummaryAndTickListOnly) {
  Make();
  EXPECT_EQ(frame->minimumSize(), QSize(800, 600));
  EXPECT_FALSE(Shown(kLeft, L::kStockList));
  EXPECT_FALSE(Shown(kLeft, L::kChart1));
  EXPECT_TRUE(Shown(kLeft, L::kChart2));
  EXPECT_FALSE(Shown(kLeft, L::kAnalysis));
  EXPECT_EQ(Height(kRight, L::kSummary), 235);
  EXPECT_FALSE(Shown(kRight, L::kBestFive));
  EXPECT_FALSE(Shown(kRight, L::kOrderReport));
  EXPECT_TRUE(Shown(kRight, L::kTickList));
  EXPECT_TRUE(frame->Chart(2)->hasFocus() || QApplication::focusWidget() == nullptr);

  // A day with a recorded book opens the best-five pane.
  frame->ShowBestFive(true);
  EXPECT_EQ(Height(kRight, L::kBestFive), 155);
  frame->ShowBestFive(false);
  EXPECT_FALSE(Shown(kRight, L::kBestFive));
}

TEST_F(MainFrameLayout, RightColumnFollowsTheScreenWidth) {
  struct Case {
    int screen;
    int column;
  };
  for (const Case c : {Case{1024, 420}, Case{1279, 420}, Case{1280, 500}, Case{1920, 500}}) {
    SCOPED_TRACE(c.screen);
    Make(Config(), c.screen, {1200, 800});
    const int client = frame->MainSplitter()->width();
    EXPECT_EQ(frame->MainSplitter()->sizes()[0], client - c.column);
    // The bar belongs to the right column's share.
    EXPECT_EQ(frame->ColumnSplitter(kRight)->width(), c.column - 4);
  }
}

TEST_F(MainFrameLayout, StoredHeightsOpenTheOptionalPanes) {
  AppConfig config = Config();
  AppSettings& s = config.settings;
  s.VIEW_STOCKLIST = s.VIEW_DRAW1 = s.VIEW_BIAS = s.VIEW_ORDER = 1;
  s.VIEW_STOCKLIST_HIGH = 130;
  s.VIEW_DRAW1_HIGH = 216;
  s.VIEW_BIAS_HIGH = 100;
  s.VIEW_ORDER_HIGH = 169;
  Make(std::move(config));
  EXPECT_EQ(Height(kLeft, L::kStockList), 130);
  EXPECT_EQ(Height(kLeft, L::kChart1), 216);
  EXPECT_NEAR(Height(kLeft, L::kAnalysis), 100, 4);
  EXPECT_EQ(Height(kRight, L::kOrderReport), 169);
  EXPECT_GT(Height(kRight, L::kTickList), 0);
}

TEST_F(MainFrameLayout, StockListTooHighForTheColumnStaysCollapsed) {
  AppConfig config = Config();
  config.settings.VIEW_STOCKLIST_HIGH = 5000;
  Make(std::move(config));
  EXPECT_TRUE(frame->RunCommand(kCmdToggleStockList));
  EXPECT_EQ(Ctx().settings.VIEW_STOCKLIST, 1);
  EXPECT_FALSE(Shown(kLeft, L::kStockList));
  EXPECT_TRUE(Shown(kLeft, L::kChart2));
}

TEST_F(MainFrameLayout, TogglesFlipPanesAndTheirFlags) {
  struct Case {
    int command;
    int column, row;
    int32_t AppSettings::*flag;
  };
  const Case cases[] = {
      {kCmdToggleStockList, kLeft, L::kStockList, &AppSettings::VIEW_STOCKLIST},
      {kCmdToggleChart1, kLeft, L::kChart1, &AppSettings::VIEW_DRAW1},
      {kCmdToggleAnalysis, kLeft, L::kAnalysis, &AppSettings::VIEW_BIAS},
      {kCmdToggleOrderReport, kRight, L::kOrderReport, &AppSettings::VIEW_ORDER},
  };
  Make();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ASSERT_TRUE(frame->RunCommand(c.command));
    EXPECT_EQ(Ctx().settings.*c.flag, 1);
    EXPECT_TRUE(Shown(c.column, c.row));
    EXPECT_TRUE(frame->StateOf(c.command).checked);
    ASSERT_TRUE(frame->RunCommand(c.command));
    EXPECT_EQ(Ctx().settings.*c.flag, 0);
    EXPECT_FALSE(Shown(c.column, c.row));
    EXPECT_TRUE(Shown(kLeft, L::kChart2));
  }
}

TEST_F(MainFrameLayout, TabHidesTheIndexWindowAndTabAgainRestoresIt) {
  Make();
  const QList<int> before = frame->MainSplitter()->sizes();
  ASSERT_TRUE(frame->RunCommand(kCmdToggleIndexWindow));
  EXPECT_FALSE(frame->ColumnSplitter(kRight)->isVisible());
  EXPECT_FALSE(frame->StateOf(kCmdToggleIndexWindow).checked);
  // F8 needs the index window.
  EXPECT_FALSE(frame->RunCommand(kCmdToggleOrderReport));
  EXPECT_EQ(Ctx().settings.VIEW_ORDER, 0);
  ASSERT_TRUE(frame->RunCommand(kCmdToggleIndexWindow));
  EXPECT_TRUE(frame->ColumnSplitter(kRight)->isVisible());
  EXPECT_EQ(frame->MainSplitter()->sizes(), before);
}

TEST_F(MainFrameLayout, DraggedSizesAreKeptByTheNextToggle) {
  AppConfig config = Config();
  config.settings.VIEW_DRAW1 = 1;
  config.settings.VIEW_DRAW1_HIGH = 216;
  Make(std::move(config));
  // The user drags chart I taller; F7 lays the column out from what is shown.
  QSplitter* left = frame->ColumnSplitter(kLeft);
  QList<int> sizes = left->sizes();
  sizes[L::kChart1] += 50;
  sizes[L::kChart2] -= 50;
  left->setSizes(sizes);
  emit left->splitterMoved(0, 1);
  ASSERT_TRUE(frame->RunCommand(kCmdToggleAnalysis));
  EXPECT_EQ(Height(kLeft, L::kChart1), 216);  // the stored height wins on a relayout
  EXPECT_TRUE(Shown(kLeft, L::kAnalysis));
}

class MainFrameStatusBar : public FrameFixture {};

TEST_F(MainFrameStatusBar, PaneWidthsFollowTheWindow) {
  Make(Config(), 1920, {1400, 800});
  const CColoredStatusBarCtrl* bar = frame->StatusPanes();
  const int w = bar->width();
  EXPECT_EQ(bar->PaneWidth(0), (w - 205) / 2 + 80);
  EXPECT_EQ(bar->PaneWidth(1), (w - 205) / 2 - 80);
  EXPECT_EQ(bar->PaneWidth(2), 85);
  EXPECT_EQ(bar->PaneWidth(3), 120);
}

TEST_F(MainFrameStatusBar, HideDateSwapsTheDateForTheHiddenText) {
  Make();
  Ctx().day->dateText = "2013-05-06";
  frame->UpdateStatusPanes();
  const CColoredStatusBarCtrl* bar = frame->StatusPanes();
  EXPECT_EQ(bar->PaneText(2).toStdString(), " 2013-05-06");
  ASSERT_TRUE(frame->RunCommand(kCmdHideDate));
  EXPECT_EQ(bar->PaneText(2).toStdString(), "　隱藏中");
  EXPECT_TRUE(frame->StateOf(kCmdHideDate).checked);
  ASSERT_TRUE(frame->RunCommand(kCmdHideDate));
  EXPECT_EQ(bar->PaneText(2).toStdString(), " 2013-05-06");
}

TEST_F(MainFrameStatusBar, PaneZeroAndOneColours) {
  Make();
  CColoredStatusBarCtrl* bar = frame->StatusPanes();
  frame->SetGeneralMessage("歡迎");
  EXPECT_EQ(bar->PaneText(0).toStdString(), "歡迎");
  EXPECT_EQ(bar->PaneTextColour(0), 0x00FF00);
  Ctx().day->dayLoaded = true;
  ASSERT_TRUE(frame->RunCommand(kCmdOpenSession));
  frame->SetTradeStatus("委託 0 筆");
  EXPECT_EQ(bar->PaneText(0).toStdString(), "委託 0 筆");
  EXPECT_EQ(bar->PaneTextColour(0), 0x00FFFF);
  struct Deal {
    int kind;
    int32_t colour;
  };
  for (const Deal d : {Deal{1, 0x0000FF}, Deal{2, 0x00FF00}, Deal{3, 0xFFFFFF}}) {
    frame->SetDealReport("成交", d.kind);
    EXPECT_EQ(bar->PaneTextColour(1), d.colour) << d.kind;
  }
  // Pane 1 toggles the order report as F8 does.
  emit bar->paneClicked(1);
  EXPECT_EQ(Ctx().settings.VIEW_ORDER, 1);
}

// Session states, set on the context directly.
enum class State { NoDay, Loaded, Running, Paused };

void Enter(TrainerContext& ctx, State state) {
  ctx.day->dayLoaded = state != State::NoDay;
  ctx.clock.sessionRunning = state == State::Running || state == State::Paused;
  ctx.clock.sessionPaused = state == State::Paused;
}

class MainFrameCommands : public FrameFixture {};

TEST_F(MainFrameCommands, SessionCommandsFollowTheSessionState) {
  struct Case {
    State state;
    bool student;
    bool open, pause, resume, end, toggle, fast, rewind;
  };
  const Case cases[] = {
      {State::NoDay, false, false, false, false, false, false, false, false},
      {State::Loaded, false, true, false, false, false, false, true, false},
      {State::Running, false, false, true, false, true, true, false, true},
      {State::Paused, false, false, false, true, true, true, false, true},
      {State::Loaded, true, false, false, false, false, false, true, false},
      {State::Running, true, false, true, false, false, true, false, false},
  };
  Make();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.state) * 10 + c.student);
    Enter(Ctx(), c.state);
    frame->SetStudentMode(c.student);
    const std::pair<int, bool> expected[] = {
        {kCmdOpenSession, c.open}, {kCmdPauseSession, c.pause},   {kCmdResumeSession, c.resume},
        {kCmdEndSession, c.end},   {kCmdToggleSession, c.toggle}, {kCmdFastPlayback, c.fast},
        {kCmdTimeRewind, c.rewind}};
    for (const auto& [id, enabled] : expected) {
      EXPECT_EQ(frame->StateOf(id).enabled, enabled) << id;
      // The menu item and the tool-bar button agree with the rule.
      for (QAction* a : frame->Actions().ActionsOf(id)) EXPECT_EQ(a->isEnabled(), enabled) << id;
    }
    // 16x and 32x are greyed for students.
    EXPECT_EQ(frame->StateOf(kCmdSpeed32).enabled, !c.student);
    // The scroll modes only change while no session runs.
    EXPECT_EQ(frame->StateOf(kCmdScrollBottomUp).enabled,
              c.state == State::NoDay || c.state == State::Loaded);
  }
}

TEST_F(MainFrameCommands, DownloadButtonIsGreyedUnlessLoggedInAndIdle) {
  Make();
  QAction* button = frame->Actions().ToolAction(kCmdOpenFile);
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->isEnabled());
  frame->SetAccountState(true, "");
  EXPECT_TRUE(button->isEnabled());
  EXPECT_FALSE(frame->StateOf(kCmdLogin).enabled);
  Enter(Ctx(), State::Running);
  frame->RefreshCommandStates();
  EXPECT_FALSE(button->isEnabled());
  EXPECT_FALSE(frame->RunCommand(kCmdOpenFile));
  for (int pattern : {32878, 32883, 32997})
    for (QAction* a : frame->Actions().ActionsOf(pattern)) EXPECT_FALSE(a->isEnabled());
}

TEST_F(MainFrameCommands, RefusedCommandChangesNothingEvenBeforeARefresh) {
  Make();
  Ctx().day->dayLoaded = true;
  ASSERT_TRUE(frame->RunCommand(kCmdOpenSession));
  EXPECT_TRUE(frame->TickListView()->HeartbeatActive());
  // The state moves on without a menu refresh; the key is judged afresh.
  Enter(Ctx(), State::Paused);
  EXPECT_FALSE(frame->RunCommand(kCmdPauseSession));
  EXPECT_FALSE(frame->RunCommand(kCmdOpenSession));
}

TEST_F(MainFrameCommands, HeartbeatTimerFollowsTheSession) {
  Make();
  Ctx().day->dayLoaded = true;
  const QTimer& timer = frame->TickListView()->HeartbeatTimer();
  EXPECT_EQ(timer.interval(), 10);
  EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);
  ASSERT_TRUE(frame->RunCommand(kCmdOpenSession));
  EXPECT_TRUE(frame->TickListView()->HeartbeatActive());
  ASSERT_TRUE(frame->RunCommand(kCmdPauseSession));
  EXPECT_FALSE(frame->TickListView()->HeartbeatActive());
  ASSERT_TRUE(frame->RunCommand(kCmdToggleSession));
  EXPECT_TRUE(frame->TickListView()->HeartbeatActive());
  ASSERT_TRUE(frame->RunCommand(kCmdEndSession));
  EXPECT_FALSE(frame->TickListView()->HeartbeatActive());
  EXPECT_FALSE(Ctx().clock.sessionRunning);
  ASSERT_FALSE(prompter.shown.empty());
  EXPECT_EQ(prompter.shown.front().text, "確定結束盤勢？");
}

TEST_F(MainFrameCommands, SpeedAndModeMenusCheckTheirItems) {
  Make();
  ASSERT_TRUE(frame->RunCommand(kCmdSpeed8));
  EXPECT_EQ(Ctx().settings.RUN_SPEED, 8);
  EXPECT_TRUE(frame->StateOf(kCmdSpeed8).checked);
  EXPECT_FALSE(frame->StateOf(kCmdSmoothMode).enabled);
  ASSERT_TRUE(frame->RunCommand(kCmdSpeedUp));
  EXPECT_TRUE(frame->StateOf(kCmdSpeed16).checked);
  ASSERT_TRUE(frame->RunCommand(kCmdSpeed1));
  ASSERT_TRUE(frame->RunCommand(kCmdSmoothMode));
  EXPECT_TRUE(frame->StateOf(kCmdSmoothMode).checked);
  EXPECT_FALSE(frame->StateOf(kCmdNormalMode).checked);
  ASSERT_TRUE(frame->RunCommand(kCmdScrollBottomUp));
  EXPECT_TRUE(Ctx().tickList.BottomUp());
  ASSERT_TRUE(frame->RunCommand(kCmdRealBook));
  EXPECT_EQ(Ctx().settings.REAL_5B, 1);
  EXPECT_TRUE(frame->StateOf(kCmdRealBook).checked);
}

TEST_F(MainFrameCommands, MenuBarCarriesEveryItemOfTheTable) {
  Make();
  for (int id :
       {1025,  32824, 32878, 33115, 57665, 32778, 32837, 33020, 33064, 59393, 32925, 33006, 32977,
        33107, 33048, 33041, 33089, 32974, 33095, 32907, 32897, 33078, 32985, 33003, 57664}) {
    EXPECT_NE(frame->Actions().MenuAction(id), nullptr) << id;
  }
  EXPECT_EQ(frame->Actions().MenuAction(32824)->text().toStdString(), "下載盤勢");
  // Explanations are greyed text.
  EXPECT_FALSE(frame->Actions().MenuAction(32940)->isEnabled());
  const std::pair<int, const char*> buttons[] = {
      {32824, "  日 期  "}, {32893, "盤型"}, {32788, "開盤"}, {32791, "繼續"},
      {32790, "暫停"},      {32792, "結束"}, {32817, "盤速"}};
  for (const auto& [id, text] : buttons)
    EXPECT_EQ(frame->Actions().ToolAction(id)->text().toStdString(), text);
  EXPECT_EQ(frame->Actions().MenuAction(32788)->statusTip().toStdString(), "開始進行盤勢模擬");
}

TEST_F(MainFrameCommands, FastPlaybackRefusesReentryCloseAndHandOffs) {
  Make();
  Enter(Ctx(), State::Running);
  Ctx().clock.fastPlaybackRunning = true;
  for (int id :
       {kCmdPauseSession, kCmdEndSession, kCmdToggleSession, kCmdFastPlayback, kCmdTimeRewind})
    EXPECT_FALSE(frame->RunCommand(id)) << id;
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  frame->HandOffEndSession();  // waits for the playback
  EXPECT_TRUE(Ctx().clock.sessionRunning);
  Ctx().clock.fastPlaybackRunning = false;
}

TEST_F(MainFrameCommands, FastPlaybackOfADayWithoutTicksEndsPaused) {
  Make();
  Ctx().day->dayLoaded = true;
  ASSERT_TRUE(frame->RunCommand(kCmdFastPlayback));
  EXPECT_TRUE(Ctx().clock.sessionRunning);
  EXPECT_TRUE(Ctx().clock.sessionPaused);
  EXPECT_FALSE(Ctx().clock.fastPlaybackRunning);
  EXPECT_FALSE(frame->TickListView()->HeartbeatActive());
  EXPECT_TRUE(frame->StateOf(kCmdEndSession).enabled);
}

TEST_F(MainFrameCommands, TrainingNoteStopsTheHeartbeatWhileShown) {
  Make();
  Ctx().day->dayLoaded = true;
  Ctx().notes.entries = {{"084500", "第一行\r\n"}, {"100000", "第二行\r\n"}};
  ASSERT_TRUE(frame->RunCommand(kCmdOpenSession));
  bool timerDuringNote = true;
  QString next;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CDlgTrainNote*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    timerDuringNote = frame->TickListView()->HeartbeatActive();
    next = dialog->NextText();
    dialog->accept();
  });
  Ctx().engine.Heartbeat();
  EXPECT_FALSE(timerDuringNote);
  EXPECT_EQ(next.toStdString(), "下次提示時間:10:00:00");
  EXPECT_TRUE(frame->TickListView()->HeartbeatActive());
  EXPECT_EQ(Ctx().notes.nextIndex, 1);
}

class MainFrameClose : public FrameFixture {};

TEST_F(MainFrameClose, WritesSettingsWithThePanesHeights) {
  AppConfig config = Config();
  ASSERT_EQ(WriteFileAtomically(work / "setup.ini", "[UI]\r\nVIEW_BIAS_HIGH=77\r\n"), "");
  AppSettings& s = config.settings;
  s.VIEW_BIAS = 1;
  s.VIEW_BIAS_HIGH = 77;
  s.VIEW_ORDER = 1;
  s.VIEW_ORDER_HIGH = 169;
  s.VIEW_STOCKLIST_HIGH = 130;
  Make(std::move(config));
  ASSERT_TRUE(frame->RunCommand(kCmdToggleAnalysis));  // hidden: its height stays stored
  ASSERT_TRUE(frame->RunCommand(kCmdToggleStockList));
  const int stockHeight = Height(kLeft, L::kStockList);
  const int orderHeight = Height(kRight, L::kOrderReport);
  ASSERT_TRUE(frame->RunCommand(kCmdSpeed4));
  EXPECT_TRUE(frame->close());

  const ProfileFile file = ProfileFile::Load(work / "setup.ini");
  EXPECT_EQ(file.Get("UI", "VIEW_BIAS"), "0");
  EXPECT_EQ(file.Get("UI", "VIEW_BIAS_HIGH"), "77");
  EXPECT_EQ(file.Get("UI", "VIEW_STOCKLIST"), "1");
  EXPECT_GT(stockHeight, 0);
  EXPECT_EQ(file.Get("UI", "VIEW_STOCKLIST_HIGH"), std::to_string(stockHeight));
  EXPECT_EQ(file.Get("UI", "VIEW_ORDER_HIGH"), std::to_string(orderHeight));
  EXPECT_EQ(file.Get("UI", "RUN_SPEED"), "4");
}

}  // namespace
}  // namespace kestrel::test
