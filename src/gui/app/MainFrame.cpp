#include "app/MainFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/CommandActions.h"
#include "app/HeartbeatPausingPrompter.h"
#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "panels/OrderReportModel.h"
#include "panels/PlaceholderPane.h"
#include "panels/RightDownView.h"
#include "panels/RightOrderView.h"
#include "panels/TickListTableModel.h"
#include "replay/DlgProgress.h"
#include "replay/DlgTimeBack.h"
#include "replay/DlgTrainNote.h"
#include "widgets/ColoredStatusBar.h"
#include "widgets/FlatSplitter.h"
#include "widgets/MessageBoxPrompter.h"

namespace kestrel {

namespace {

constexpr int kStartupTimerMs = 500;  // timer 101
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
// Fast playback lets the window breathe at most this often (ms).
constexpr int kPlaybackEventsEveryMs = 15;

constexpr int32_t kYellow = 0x00FFFF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kMagenta = 0xFF00FF;
constexpr int32_t kBlue = 0xFF0000;

const char* const kHiddenDateText = "　隱藏中";

}  // namespace

CMainFrame::CMainFrame(AppConfig config, FrameServices services, QWidget* parent)
    : QMainWindow(parent), services_(services), sinks_(*this) {
  if (services_.clock == nullptr) {
    ownClock_ = std::make_unique<SteadyClock>();
    services_.clock = ownClock_.get();
  }
  if (services_.sleeper == nullptr) {
    ownSleeper_ = std::make_unique<ThreadSleeper>();
    services_.sleeper = ownSleeper_.get();
  }
  if (services_.prompter == nullptr) {
    ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
    services_.prompter = ownPrompter_.get();
  }
  prompter_ = std::make_unique<HeartbeatPausingPrompter>(
      *services_.prompter, [this] { return SuspendHeartbeat(); },
      [this] { ResumeHeartbeatIfWanted(); });
  ctx_ = std::make_unique<TrainerContext>(std::move(config), *services_.clock,
                                          TrainerSinks{&sinks_, &sinks_, &sinks_});
  layout_ = std::make_unique<PaneLayout>(ctx_->settings);

  setWindowTitle("Kestrel");
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  BuildPanes();
  layout_->SetPanesBuilt();
  BuildBars();
  UpdateStatusPanes();
  RefreshCommandStates();
  panes_[kLeft][PaneLayout::kChart2]->setFocus();

  QTimer::singleShot(kStartupTimerMs, this, [this] { OnStartupLogin(); });
}

CMainFrame::~CMainFrame() {
  if (tickView_ != nullptr) tickView_->StopHeartbeat();
}

// ---- panes and layout -------------------------------------------------------

void CMainFrame::BuildPanes() {
  main_ = new CFlatSplitterWnd(Qt::Horizontal, this);
  for (int c = 0; c < 2; ++c) {
    columns_[c] = new CFlatSplitterWnd(Qt::Vertical, main_);
    main_->addWidget(columns_[c]);
    connect(columns_[c], &QSplitter::splitterMoved, this, [this] { SyncFromSplitters(); });
  }
  connect(main_, &QSplitter::splitterMoved, this, [this] { SyncFromSplitters(); });

  const char* leftNames[4] = {"權值股票", "走勢圖Ⅰ", "走勢圖Ⅱ", "分析視窗"};
  for (int r = 0; r < 4; ++r) panes_[kLeft][r] = new PlaceholderPane(leftNames[r], columns_[kLeft]);

  tickModel_ = new TickListTableModel(ctx_->tickList, ctx_->config.colours, this);
  orderModel_ = new OrderReportModel(ctx_->config.colours, this);
  tickView_ = new CRightDownView(*tickModel_, ctx_->config.colours, columns_[kRight]);
  tickView_->SetHeartbeatHandler([this] { OnHeartbeat(); });
  orderView_ = new CRightOrderView(*orderModel_, ctx_->config.colours, columns_[kRight]);
  panes_[kRight] = {new PlaceholderPane("大盤資訊", columns_[kRight]),
                    new PlaceholderPane("最佳五檔", columns_[kRight]), orderView_, tickView_};

  for (int c = 0; c < 2; ++c) {
    for (int r = 0; r < 4; ++r) {
      columns_[c]->addWidget(panes_[c][r]);
      panes_[c][r]->setMinimumSize(0, 0);
      columns_[c]->setStretchFactor(r, r == 3 ? 1 : 0);
    }
  }
  main_->setStretchFactor(0, 1);
  main_->setStretchFactor(1, 0);
  main_->installEventFilter(this);
  setCentralWidget(main_);
}

QWidget* CMainFrame::Pane(int column, int row) const {
  if (column < 0 || column > 1 || row < 0 || row > 3) return nullptr;
  return panes_[column][row];
}

QSplitter* CMainFrame::MainSplitter() const {
  return main_;
}

QSplitter* CMainFrame::ColumnSplitter(int column) const {
  return column == kRight ? columns_[kRight] : columns_[kLeft];
}

int CMainFrame::ScreenWidth() const {
  if (services_.screenWidth > 0) return services_.screenWidth;
  const QScreen* s = screen();
  return s != nullptr ? s->geometry().width() : 1280;
}

void CMainFrame::SyncFromSplitters() {
  // The user may have dragged a bar: the layout starts from what is shown.
  auto copy = [](const QSplitter* splitter, std::vector<SplitterRow>& rows) {
    if (!splitter->isVisible()) return;
    const QList<int> sizes = splitter->sizes();
    for (size_t i = 0; i < rows.size() && i < static_cast<size_t>(sizes.size()); ++i) {
      rows[i].current = sizes[static_cast<qsizetype>(i)];
    }
  };
  copy(main_, layout_->columns());
  copy(columns_[kLeft], layout_->left());
  copy(columns_[kRight], layout_->right());
}

void CMainFrame::ApplyLayout() {
  auto apply = [](QSplitter* splitter, const std::vector<SplitterRow>& rows) {
    QList<int> sizes;
    for (size_t i = 0; i < rows.size(); ++i) {
      QWidget* w = splitter->widget(static_cast<int>(i));
      // A row of no height is hidden, bar and all, until it gets room again.
      if (w->isHidden() != (rows[i].current <= 0)) w->setVisible(rows[i].current > 0);
      sizes << std::max(rows[i].current, 0);
    }
    splitter->setSizes(sizes);
  };
  apply(main_, layout_->columns());
  apply(columns_[kLeft], layout_->left());
  apply(columns_[kRight], layout_->right());
}

void CMainFrame::LayOutPanes() {
  LayOutFor(main_->size());
}

void CMainFrame::LayOutFor(const QSize& size) {
  // The splitters' own pass first (the last row takes what is left), then the
  // window's rules on top of it.
  LayOutSplitter(layout_->left(), size.height(), PaneLayout::kBarSize);
  LayOutSplitter(layout_->right(), size.height(), PaneLayout::kBarSize);
  layout_->Resize(size.width(), size.height(), ScreenWidth());
  ApplyLayout();
}

void CMainFrame::ShowBestFive(bool shown) {
  SyncFromSplitters();
  layout_->ShowBestFive(shown);
  ApplyLayout();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == main_) {
      LayOutFor(static_cast<QResizeEvent*>(event)->size());
    } else if (watched == statusBar_) {
      const int w = static_cast<QResizeEvent*>(event)->size().width();
      if (w > 204) {
        statusBar_->SetPaneWidth(0, (w - 205) / 2 + 80);
        statusBar_->SetPaneWidth(1, (w - 205) / 2 - 80);
      }
      statusBar_->SetPaneWidth(2, 85);
      statusBar_->SetPaneWidth(3, 120);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- bars ---------------------------------------------------------------------

void CMainFrame::BuildBars() {
  actions_ = new CommandActions(
      *this, [this](int id) { RunCommand(id); }, [this](int id) { return StateOf(id); });
  actions_->BuildMenuBar(*menuBar());
  toolBar_ = addToolBar("Toolbar");
  toolBar_->setObjectName("toolbar");
  actions_->BuildToolBar(*toolBar_);
  actions_->BuildAccelerators();

  statusBar_ = new CColoredStatusBarCtrl(this);
  statusBar_->SetPaneWidth(0, 40);
  statusBar_->SetPaneWidth(1, 40);
  statusBar_->SetPaneWidth(2, 60);
  setStatusBar(statusBar_);
  statusBar_->installEventFilter(this);
  connect(statusBar_, &CColoredStatusBarCtrl::paneClicked, this, &CMainFrame::OnStatusPaneClicked);
}

void CMainFrame::UpdateStatusPanes() {
  if (statusBar_ == nullptr) return;
  const ReplayClock& clock = ctx_->clock;
  if (clock.sessionRunning)
    statusBar_->SetPane(0, tradeStatus_, kYellow);
  else
    statusBar_->SetPane(0, generalMessage_, kGreen);
  const int32_t dealColour = dealKind_ == 1 ? kRed : dealKind_ == 2 ? kGreen : kWhite;
  statusBar_->SetPane(1, dealReport_, dealColour);
  const QString date = flags_.hideDate ? QString::fromUtf8(kHiddenDateText)
                                       : " " + QString::fromStdString(ctx_->day->dateText);
  statusBar_->SetPane(2, date, kWhite, kMagenta);
  statusBar_->SetPane(3, "　" + QString::fromStdString(clock.clockText), kWhite, kBlue);
}

void CMainFrame::SetGeneralMessage(const QString& text) {
  generalMessage_ = text;
  UpdateStatusPanes();
}

void CMainFrame::SetTradeStatus(const std::string& text) {
  tradeStatus_ = QString::fromStdString(text);
  UpdateStatusPanes();
}

void CMainFrame::SetDealReport(const std::string& text, int32_t dealKind) {
  dealReport_ = QString::fromStdString(text);
  dealKind_ = dealKind;
  UpdateStatusPanes();
}

void CMainFrame::OnStatusPaneClicked(int pane) {
  if (pane == 0 && ctx_->day->dayLoaded) RunCommand(kCmdFastLadder);
  // Pane 1 toggles the order report exactly as F8 does.
  if (pane == 1) RunCommand(kCmdToggleOrderReport);
}

// ---- commands -----------------------------------------------------------------

FrameCommandState CMainFrame::StateOf(int id) const {
  FrameFlags flags = flags_;
  flags.indexWindowShown = layout_->IndexWindowShown();
  flags.statusBarVisible = statusBar_ == nullptr || !statusBar_->isHidden();
  return CommandStateFor(id, ctx_->engine, ctx_->settings, flags);
}

void CMainFrame::RefreshCommandStates() {
  if (actions_ != nullptr) actions_->Refresh();
  lastRunning_ = ctx_->clock.sessionRunning;
  lastPaused_ = ctx_->clock.sessionPaused;
}

void CMainFrame::AfterCommand() {
  UpdateStatusPanes();
  RefreshCommandStates();
}

bool CMainFrame::RunCommand(int id) {
  // A key can arrive before the menus were refreshed: the rule is asked again.
  if (!StateOf(id).enabled) return false;
  ReplayEngine& engine = ctx_->engine;
  AppSettings& s = ctx_->settings;
  auto focusChart = [this](int number) { Chart(number)->setFocus(); };
  switch (id) {
    case kCmdEndSession: OnEndSession(); break;
    case kCmdFastPlayback: OnFastPlayback(); break;
    case kCmdTimeRewind: OnTimeRewind(); break;
    case kCmdToggleStockList:
      SyncFromSplitters();
      if (layout_->ToggleStockList()) ApplyLayout();
      focusChart(2);
      break;
    case kCmdToggleChart1:
      SyncFromSplitters();
      if (layout_->ToggleChart1()) ApplyLayout();
      focusChart(1);
      break;
    case kCmdToggleAnalysis:
      SyncFromSplitters();
      if (layout_->ToggleAnalysis()) ApplyLayout();
      break;
    case kCmdToggleOrderReport:
      SyncFromSplitters();
      if (!layout_->ToggleOrderReport()) return false;
      ApplyLayout();
      focusChart(2);
      break;
    case kCmdToggleIndexWindow:
      SyncFromSplitters();
      if (layout_->ToggleIndexWindow(ScreenWidth())) ApplyLayout();
      break;
    case kCmdHideDate: OnHideDate(); break;
    case kCmdRealBook: s.REAL_5B = s.REAL_5B == 1 ? 0 : 1; break;
    case kCmdSafeDownload: s.SAFE_DOWNLOAD = s.SAFE_DOWNLOAD == 1 ? 0 : 1; break;
    case kCmdBlackPreset:
    case kCmdWhitePreset:
      ApplyPreset(ctx_->config.colours,
                  id == kCmdBlackPreset ? ColourPreset::Black : ColourPreset::White);
      tickView_->ApplyColours();
      orderView_->ApplyColours();
      break;
    case kCmdStatusBar: statusBar_->setVisible(statusBar_->isHidden()); break;
    case kCmdExit: close(); break;
    case kCmdPatternMenu:
    case kCmdSpeedMenu: ShowToolPopup(id); break;
    default:
      // The replay's rules also cover the data-loading commands, which the
      // online client runs.
      if (IsOnlineCommand(id)) {
        OnOnlineCommand(id);
      } else if (engine.CommandStateOf(id, flags_.studentMode, flags_.loggedIn)) {
        if (!engine.RunCommand(id, flags_.studentMode, flags_.loggedIn)) return false;
      }
      // Anything else belongs to a pane or dialog not built yet.
      break;
  }
  AfterCommand();
  return true;
}

void CMainFrame::ShowToolPopup(int id) {
  QMenu* menu = id == kCmdPatternMenu ? actions_->PatternMenu() : actions_->SpeedMenu();
  QToolButton* button = actions_->ToolButtonOf(id);
  RefreshCommandStates();
  const QPoint at = button != nullptr ? button->mapToGlobal(QPoint(0, button->height()))
                                      : mapToGlobal(QPoint(0, 0));
  menu->popup(at);
}

void CMainFrame::OnHideDate() {
  flags_.hideDate = !flags_.hideDate;
  // A chart showing the day K-line redraws its date labels.
  if (ctx_->views.view[0].mode == 7) RunCommand(kCmdChart1DayK);
  if (ctx_->views.view[1].mode == 7) RunCommand(kCmdChart2DayK);
}

void CMainFrame::SetAccountState(bool loggedIn, const std::string& rights) {
  flags_.loggedIn = loggedIn;
  flags_.rights = rights;
  RefreshCommandStates();
}

void CMainFrame::SetStudentMode(bool on) {
  flags_.studentMode = on;
  RefreshCommandStates();
}

// ---- the replay ---------------------------------------------------------------

void CMainFrame::StartHeartbeatTimer() {
  tickView_->StartHeartbeat();
}

void CMainFrame::StopHeartbeatTimer() {
  tickView_->StopHeartbeat();
}

bool CMainFrame::SuspendHeartbeat() {
  const bool active = tickView_->HeartbeatActive();
  tickView_->StopHeartbeat();
  return active;
}

void CMainFrame::ResumeHeartbeatIfWanted() {
  const ReplayClock& clock = ctx_->clock;
  if (clock.sessionRunning && !clock.sessionPaused && !clock.fastPlaybackRunning)
    tickView_->StartHeartbeat();
}

void CMainFrame::OnHeartbeat() {
  ctx_->engine.Heartbeat();
  // The heartbeat pauses by itself at the end of the data or for a note.
  const ReplayClock& clock = ctx_->clock;
  if (clock.sessionRunning != lastRunning_ || clock.sessionPaused != lastPaused_) AfterCommand();
}

void CMainFrame::ScrollTickList(int row) {
  tickView_->ScrollToRow(row);
}

void CMainFrame::ClearOrderReport() {
  orderModel_->Clear();
}

void CMainFrame::AddReportLine(const ReportLine& line) {
  orderModel_->Append(line);
  orderView_->ShowNewLine();
}

void CMainFrame::ShowTrainingNote(const std::string& note, const std::string& nextText) {
  // The session is paused already; the timer is stopped again all the same,
  // since the dialog's own loop would deliver it.
  tickView_->StopHeartbeat();
  CDlgTrainNote dialog(ctx_->notes, QString::fromStdString(note), QString::fromStdString(nextText),
                       this);
  dialog.exec();
}

void CMainFrame::OnEndSession() {
  SessionEndOptions options;
  options.diaryFolder = ctx_->config.folders.diary;
  ctx_->engine.EndSession(*prompter_, options);
}

void CMainFrame::OnFastPlayback() {
  if (progress_ == nullptr) {
    progress_ = new CDlgProgress(this);
    if (const QScreen* s = screen()) {
      const QRect area = s->geometry();
      progress_->move(area.center() - QPoint(progress_->width() / 2, progress_->height() / 2));
    }
  }
  QElapsedTimer sinceEvents;
  FastPlaybackCallbacks callbacks;
  callbacks.begin = [this, &sinceEvents](const std::string& text, int32_t maximum) {
    progress_->Begin(QString::fromStdString(text), maximum);
    progress_->show();
    // The core has marked the playback running: the re-entering commands grey.
    AfterCommand();
    sinceEvents.start();
  };
  callbacks.progress = [this](int32_t position) { progress_->SetPosition(position); };
  callbacks.processEvents = [&sinceEvents] {
    if (sinceEvents.elapsed() < kPlaybackEventsEveryMs) return;
    QCoreApplication::processEvents();
    sinceEvents.restart();
  };
  callbacks.end = [this] { progress_->hide(); };
  ctx_->engine.FastPlayback(callbacks);
  AfterCommand();
  RunDeferred();
}

void CMainFrame::OnTimeRewind() {
  const RewindDialogStart start = ctx_->engine.BeginTimeRewind();
  AfterCommand();
  CDlgTimeBack dialog(ctx_->engine, *services_.sleeper, start, this);
  dialog.exec();
}

void CMainFrame::RunDeferred() {
  std::vector<std::function<void()>> work;
  work.swap(deferred_);
  for (auto& w : work) w();
}

// ---- days and hand-offs -------------------------------------------------------

Prompter& CMainFrame::FramePrompter() { return *prompter_; }

bool CMainFrame::LoadArchive(const std::filesystem::path& path) {
  if (ctx_->clock.fastPlaybackRunning) {
    deferred_.push_back([this, path] { LoadArchive(path); });
    return false;
  }
  const Folders& folders = ctx_->config.folders;
  const DayLoadContext load{folders.cache, folders.data,       ctx_->settings,
                            *prompter_,    *services_.sleeper, sinks_};
  const bool ok = LoadDayArchive(*ctx_->day, path, load);
  AfterCommand();
  return ok;
}

void CMainFrame::HandOffLoadDay(const std::filesystem::path& path) {
  LoadArchive(path);
}

void CMainFrame::HandOffOpenSession() {
  if (ctx_->clock.fastPlaybackRunning) {
    deferred_.push_back([this] { HandOffOpenSession(); });
    return;
  }
  RunCommand(kCmdOpenSession);
}

void CMainFrame::HandOffEndSession() {
  if (ctx_->clock.fastPlaybackRunning) {
    deferred_.push_back([this] { HandOffEndSession(); });
    return;
  }
  RunCommand(kCmdEndSession);
}

// ---- close --------------------------------------------------------------------

WriteBackInputs CMainFrame::CloseInputs() {
  SyncFromSplitters();
  WriteBackInputs inputs;
  inputs.isLarge = ctx_->account.isLarge;
  FillAccountInputs(inputs);
  inputs.stockListHeight = layout_->left()[PaneLayout::kStockList].current;
  inputs.draw1Height = layout_->left()[PaneLayout::kChart1].current;
  inputs.biasHeight = layout_->left()[PaneLayout::kAnalysis].current;
  inputs.orderHeight = layout_->right()[PaneLayout::kOrderReport].current;
  return inputs;
}

std::string CMainFrame::WriteSettings() {
  return SaveSettingsFile(ctx_->config.folders.SetupIni(), ctx_->settings, CloseInputs(),
                          ctx_->config.colours);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // The playback's loop is still on the stack: closing now would pull the
  // window from under it.
  if (ctx_->clock.fastPlaybackRunning) {
    event->ignore();
    return;
  }
  const std::string error = WriteSettings();
  if (!error.empty()) prompter_->Message(error, kCaptionWarning);
  if (!ConfirmLogoutOnClose()) {
    event->ignore();
    return;
  }
  tickView_->StopHeartbeat();
  event->accept();
}

}  // namespace kestrel
