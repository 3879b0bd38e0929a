#pragma once

#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "online/AccountState.h"
#include "online/ChosenDay.h"

class QWidget;

namespace kestrel {

class DayLoadSink;
class Fetcher;
class MessageBoxPrompter;
class Prompter;
class Sleeper;
class TrainerContext;

// Stand-ins for the real network, waits, prompts and browser (tests). Every
// one left empty gets the real thing.
struct OnlineSeams {
  Fetcher* fetcher = nullptr;                // default: a CWebGrab owned by the commands
  Sleeper* sleeper = nullptr;                // default: real waits on this thread
  Prompter* prompter = nullptr;              // default: message boxes owned by the calling window
  std::function<bool(const QUrl&)> openUrl;  // default: the system's browser
};

// The online commands of the main window: login, About, feedback, help links,
// the day download by date, the version check and the close request. Owns the
// user-interface thread's fetcher and the account state; every decision is in
// the core flows it calls. User-interface thread only; every fetch blocks it
// while the dialog it belongs to is on screen.
class OnlineCommands : public QObject {
  Q_OBJECT

 public:
  explicit OnlineCommands(TrainerContext& context, OnlineSeams seams = {},
                          QObject* parent = nullptr);
  ~OnlineCommands() override;

  // The start-up timer: the login dialog, then, when logged in, the version
  // check (once per run).
  void StartupLogin(QWidget* parent);
  // "登入帳號": the login dialog while not logged in (no version check). True
  // when logged in afterwards.
  bool Login(QWidget* parent);
  // The version check and, when accepted, the update download dialog. Runs at
  // most once per run.
  void CheckVersion(QWidget* parent);

  // "下載盤勢": calendar, download dialog, then the downloaded day is loaded
  // into the context's day with `sink` for the window effects. True when a
  // new day was loaded. Does nothing unless logged in, outside student mode
  // and with no session running.
  bool DownloadDay(QWidget* parent, DayLoadSink& sink);

  void OpenHomePage();
  void OpenManual();
  void OpenUpdateHistory();
  void Feedback(QWidget* parent);
  void About(QWidget* parent);

  // The logout part of closing the main window, after the settings are
  // written: confirmation, logout, leaving student mode, the margin fold and
  // its write, the logout progress dialog. True when the window may close.
  // After a logout the account counts as logged out, so a repeated close
  // neither logs out nor folds the day's result again.
  bool CloseRequest(QWidget* parent, bool endOfSession);

  bool LoggedIn() const { return account_.loggedIn; }
  bool StudentMode() const { return studentMode_ && studentMode_(); }
  // Where the student-mode flag is read (the classroom's student mode).
  void SetStudentModeQuery(std::function<bool()> active) { studentMode_ = std::move(active); }

  // For the settings write-back ([ACCOUNT] ID and SAVEACCOUNT).
  const std::string& UserId() const { return account_.userId; }
  bool RememberAccount() const { return account_.rememberAccount; }
  const AccountState& Account() const { return account_; }

  // The day last picked on the calendar; the calendar opens on it next time.
  const std::optional<ChosenDay>& LastChosenDay() const { return chosenDay_; }
  // The user-interface thread's fetcher (for commands of other windows).
  Fetcher& CommandFetcher() { return fetcher_; }

  // A service address as the browser reads it: a backslash between base and
  // page counts as a slash.
  static QUrl BrowserUrl(const std::string& address);

 signals:
  // After a login: the main window's new title.
  void WindowTitleChanged(const QString& title);
  // The text of a status pane (0 after a login; 3 cleared after a download).
  void StatusPaneText(int pane, const QString& text);

 private:
  Prompter& PromptOwnedBy(QWidget* parent);
  void OpenInBrowser(const std::string& address);

  TrainerContext& context_;
  std::unique_ptr<Fetcher> ownFetcher_;
  std::unique_ptr<Sleeper> ownSleeper_;
  std::unique_ptr<MessageBoxPrompter> boxes_;
  Fetcher& fetcher_;
  Sleeper& sleeper_;
  Prompter* prompter_;
  std::function<bool(const QUrl&)> openUrl_;
  std::function<bool()> studentMode_;
  AccountState account_;
  std::optional<ChosenDay> chosenDay_;
  bool versionChecked_ = false;
};

}  // namespace kestrel
