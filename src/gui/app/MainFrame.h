#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "app/CommandRules.h"
#include "app/FrameSinks.h"
#include "app/PaneLayout.h"
#include "app/SettingsWriteBack.h"

class QSplitter;
class QToolBar;

namespace kestrel {

class CColoredStatusBarCtrl;
class CDlgProgress;
class CFlatSplitterWnd;
class CRightDownView;
class CRightOrderView;
class CommandActions;
class HeartbeatPausingPrompter;
class MonotonicClock;
class OrderReportModel;
class Prompter;
class Sleeper;
class TickListTableModel;
class TrainerContext;
struct ReportLine;

// What the window takes from outside; each null (or 0) means the real one.
struct FrameServices {
  MonotonicClock* clock = nullptr;  // the replay's time source
  Sleeper* sleeper = nullptr;       // the fixed waits (rewind, loading)
  Prompter* prompter = nullptr;     // message boxes
  int screenWidth = 0;              // for the 1280-pixel rule
};

// The main window: three splitters with eight panes sized by PaneLayout, the
// menu bar, tool bar and status bar, the command routing with the enable
// rules, the replay heartbeat and the settings write-back at close. Owns the
// trainer's context. UI thread only.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  enum Column { kLeft = 0, kRight = 1 };

  explicit CMainFrame(AppConfig config, FrameServices services = {}, QWidget* parent = nullptr);
  ~CMainFrame() override;

  TrainerContext& Context() { return *ctx_; }
  PaneLayout& Layout() { return *layout_; }
  CommandActions& Actions() { return *actions_; }

  // Runs a command if its rule enables it now; false when refused.
  bool RunCommand(int id);
  FrameCommandState StateOf(int id) const;
  void RefreshCommandStates();

  // Panes by (column, row); chart I and chart II also by number.
  QWidget* Pane(int column, int row) const;
  QWidget* Chart(int number) const { return Pane(kLeft, number == 1 ? 1 : 2); }
  QSplitter* MainSplitter() const;
  QSplitter* ColumnSplitter(int column) const;
  CRightDownView* TickListView() const { return tickView_; }
  CRightOrderView* OrderView() const { return orderView_; }
  TickListTableModel& TickModel() const { return *tickModel_; }
  OrderReportModel& OrderModel() const { return *orderModel_; }
  CColoredStatusBarCtrl* StatusPanes() const { return statusBar_; }
  QToolBar* ToolBar() const { return toolBar_; }
  bool HideDate() const { return flags_.hideDate; }

  // The resize rule with the client area's size now, and the best-five row.
  void LayOutPanes();
  void ShowBestFive(bool shown);

  // Loads a day archive (a copy: the loader deletes what it loads). Waits
  // while a fast playback runs.
  bool LoadArchive(const std::filesystem::path& path);

  // The classroom's hand-offs: load the assigned day, open, end. While a fast
  // playback runs they wait for its end.
  void HandOffLoadDay(const std::filesystem::path& path);
  void HandOffOpenSession();
  void HandOffEndSession();

  // Account state, for the online client and the classroom.
  void SetAccountState(bool loggedIn, const std::string& rights);
  void SetStudentMode(bool on);
  bool LoggedIn() const { return flags_.loggedIn; }
  bool StudentMode() const { return flags_.studentMode; }
  // Status pane 0's text while no session runs (the login greeting, ...).
  void SetGeneralMessage(const QString& text);

  // Called by the core through FrameSinks.
  void StartHeartbeatTimer();
  void StopHeartbeatTimer();
  void UpdateStatusPanes();
  void ScrollTickList(int row);
  void ClearOrderReport();
  void AddReportLine(const ReportLine& line);
  void SetTradeStatus(const std::string& text);
  void SetDealReport(const std::string& text, int32_t dealKind);
  void ShowTrainingNote(const std::string& note, const std::string& nextText);

  // The close flow's first part: every setting written back with the panes'
  // current heights. An error text, empty on success.
  std::string WriteSettings();
  WriteBackInputs CloseInputs();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Hooks for the online client and the classroom, filled by their windows.
  // Timer 101, half a second after start: the login, then the version check.
  virtual void OnStartupLogin() {}
  // After the settings are written: the confirmation and the logout of a
  // logged-in user. False keeps the window open.
  virtual bool ConfirmLogoutOnClose() { return true; }
  // Login, downloads, patterns, training days, date range, historical query,
  // help pages, student mode and monitor.
  virtual void OnOnlineCommand(int id) { (void)id; }
  // The remembered user id and the remember-account box for the write-back.
  virtual void FillAccountInputs(WriteBackInputs& inputs) { (void)inputs; }

  // What the hooks work with: the window's load effects and its prompter
  // (which suspends the heartbeat while a box is open).
  DayLoadSink& LoadSink() { return sinks_; }
  Prompter& FramePrompter();

 private:
  void BuildPanes();
  void BuildBars();
  void LayOutFor(const QSize& clientSize);
  void ApplyLayout();
  void SyncFromSplitters();
  void AfterCommand();
  int ScreenWidth() const;
  bool SuspendHeartbeat();
  void ResumeHeartbeatIfWanted();
  void RunDeferred();

  void OnHeartbeat();
  void OnEndSession();
  void OnFastPlayback();
  void OnTimeRewind();
  void OnHideDate();
  void OnStatusPaneClicked(int pane);
  void ShowToolPopup(int id);

  FrameServices services_;
  std::unique_ptr<MonotonicClock> ownClock_;
  std::unique_ptr<Sleeper> ownSleeper_;
  std::unique_ptr<Prompter> ownPrompter_;
  std::unique_ptr<HeartbeatPausingPrompter> prompter_;
  FrameSinks sinks_;
  std::unique_ptr<TrainerContext> ctx_;
  std::unique_ptr<PaneLayout> layout_;
  FrameFlags flags_;

  CFlatSplitterWnd* main_ = nullptr;
  std::array<CFlatSplitterWnd*, 2> columns_{};
  std::array<std::array<QWidget*, 4>, 2> panes_{};
  TickListTableModel* tickModel_ = nullptr;
  OrderReportModel* orderModel_ = nullptr;
  CRightDownView* tickView_ = nullptr;
  CRightOrderView* orderView_ = nullptr;
  CColoredStatusBarCtrl* statusBar_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  CommandActions* actions_ = nullptr;
  CDlgProgress* progress_ = nullptr;

  QString generalMessage_;
  QString tradeStatus_;
  QString dealReport_;
  int32_t dealKind_ = 0;
  bool lastRunning_ = false, lastPaused_ = false;
  std::vector<std::function<void()>> deferred_;
};

}  // namespace kestrel
