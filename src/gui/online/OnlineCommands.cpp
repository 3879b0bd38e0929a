#include "online/OnlineCommands.h"

#include <QDate>
#include <QDesktopServices>
#include <QString>

#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "online/CDlgAbout.h"
#include "online/CDlgDownUpdate.h"
#include "online/CDlgDownZip.h"
#include "online/CDlgLogin.h"
#include "online/CDlgLogout.h"
#include "online/CDlgMonth.h"
#include "online/CWebGrab.h"
#include "online/DayDownload.h"
#include "online/ServiceLogin.h"
#include "online/ServiceLogout.h"
#include "online/SoftwareUpdate.h"
#include "tradingday/DayArchiveLoader.h"
#include "widgets/MessageBoxPrompter.h"

namespace kestrel {

OnlineCommands::OnlineCommands(TrainerContext& context, OnlineSeams seams, QObject* parent)
    : QObject(parent),
      context_(context),
      ownFetcher_(seams.fetcher != nullptr ? nullptr : std::make_unique<CWebGrab>()),
      ownSleeper_(seams.sleeper != nullptr ? nullptr : std::make_unique<ThreadSleeper>()),
      boxes_(std::make_unique<MessageBoxPrompter>()),
      fetcher_(seams.fetcher != nullptr ? *seams.fetcher : *ownFetcher_),
      sleeper_(seams.sleeper != nullptr ? *seams.sleeper : *ownSleeper_),
      prompter_(seams.prompter),
      openUrl_(seams.openUrl ? std::move(seams.openUrl)
                             : [](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

OnlineCommands::~OnlineCommands() = default;

Prompter& OnlineCommands::PromptOwnedBy(QWidget* parent) {
  if (prompter_ != nullptr) return *prompter_;
  boxes_->SetOwner(parent);
  return *boxes_;
}

void OnlineCommands::StartupLogin(QWidget* parent) {
  if (Login(parent)) CheckVersion(parent);
}

bool OnlineCommands::Login(QWidget* parent) {
  if (account_.loggedIn) return true;
  const LoginEnvironment env{fetcher_, sleeper_, context_.config.bases,
                             context_.config.folders.SetupIni()};
  CDlgLogin dialog(env, account_, parent);
  dialog.exec();
  const LoginResult& result = dialog.Result();
  if (!result.loggedIn) return false;
  emit WindowTitleChanged(QString::fromStdString(result.windowTitle));
  emit StatusPaneText(0, QString::fromStdString(result.statusPane0));
  return true;
}

void OnlineCommands::CheckVersion(QWidget* parent) {
  if (versionChecked_ || !account_.loggedIn) return;
  versionChecked_ = true;
  const AppConfig& config = context_.config;
  const std::optional<VersionReply> reply =
      CheckForUpdate(fetcher_, config.bases, config.installedVersion, PromptOwnedBy(parent));
  if (!reply) return;
  CDlgDownUpdate dialog(fetcher_, sleeper_, config.bases, reply->updateArchiveName,
                        config.folders.work, parent);
  dialog.exec();
}

bool OnlineCommands::DownloadDay(QWidget* parent, DayLoadSink& sink) {
  if (!account_.loggedIn || StudentMode() || context_.clock.sessionRunning) return false;

  CDlgMonth calendar(chosenDay_, QDate::currentDate(), parent);
  if (calendar.exec() != QDialog::Accepted || !calendar.Chosen()) {
    emit StatusPaneText(3, QString());
    return false;
  }
  // Kept even when the download fails: the calendar opens on it next time.
  chosenDay_ = calendar.Chosen();

  const AppConfig& config = context_.config;
  const DownloadEnvironment env{fetcher_,
                                sleeper_,
                                config.bases,
                                account_,
                                config.folders.cache,
                                config.folders.data,
                                context_.settings.SAFE_DOWNLOAD == 1,
                                context_.settings.REAL_5B == 1};
  CDlgDownZip download(env, *chosenDay_, parent);
  download.exec();

  bool loaded = false;
  if (download.Result().archiveDownloaded) {
    const DayLoadContext load{config.folders.cache,
                              config.folders.data,
                              context_.settings,
                              PromptOwnedBy(parent),
                              sleeper_,
                              sink};
    loaded = LoadDownloadedDay(*context_.day, download.Result(), load);
  }
  emit StatusPaneText(3, QString());
  return loaded;
}

QUrl OnlineCommands::BrowserUrl(const std::string& address) {
  QString text = QString::fromStdString(address);
  // Left as it is, the backslash would end up inside the host and port.
  text.replace('\\', '/');
  return QUrl(text, QUrl::TolerantMode);
}

void OnlineCommands::OpenInBrowser(const std::string& address) {
  openUrl_(BrowserUrl(address));
}

void OnlineCommands::OpenHomePage() {
  OpenInBrowser(HomePageUrl(context_.config.bases));
}
void OnlineCommands::OpenManual() {
  OpenInBrowser(ManualUrl(context_.config.bases));
}
void OnlineCommands::OpenUpdateHistory() {
  OpenInBrowser(UpdateHistoryUrl(context_.config.bases));
}

void OnlineCommands::Feedback(QWidget* parent) {
  PromptOwnedBy(parent).Message(kFeedbackText, kFeedbackCaption);
}

void OnlineCommands::About(QWidget* parent) {
  CDlgAbout dialog(account_, parent);
  dialog.exec();
}

bool OnlineCommands::CloseRequest(QWidget* parent, bool endOfSession) {
  const CloseEnvironment env{fetcher_, PromptOwnedBy(parent), context_.config.bases,
                             context_.config.folders.SetupIni()};
  const CloseOutcome outcome =
      RunCloseRequest(env, account_, StudentMode(), endOfSession, context_.account);
  if (outcome.showLogoutDialog) {
    // The service has let the account go; the day's result is in the balance.
    account_.loggedIn = false;
    CDlgLogout dialog(sleeper_, parent);
    dialog.exec();
  }
  return outcome.close;
}

}  // namespace kestrel
