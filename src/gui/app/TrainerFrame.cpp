#include "app/TrainerFrame.h"

#include "app/CommandRules.h"
#include "app/TrainerContext.h"
#include "common/Prompter.h"
#include "widgets/ColoredStatusBar.h"

namespace kestrel {

namespace {

constexpr int kCmdDownloadDay = 32824;
constexpr int kCmdHomePage = 32885;
constexpr int kCmdManual = 32895;
constexpr int kCmdUpdateHistory = 32903;
constexpr int kCmdFeedback = 32901;
constexpr int kCmdAbout = 57664;

}  // namespace

CTrainerFrame::CTrainerFrame(AppConfig config, FrameServices services, OnlineSeams seams,
                             QWidget* parent)
    : CMainFrame(std::move(config), services, parent) {
  // Service messages go through the window's prompter, which stops the
  // heartbeat while a box is open.
  if (seams.prompter == nullptr) seams.prompter = &FramePrompter();
  online_ = std::make_unique<OnlineCommands>(Context(), seams, this);
  online_->SetStudentModeQuery([this] { return StudentMode(); });
  connect(online_.get(), &OnlineCommands::WindowTitleChanged, this,
          [this](const QString& title) { setWindowTitle(title); });
  connect(online_.get(), &OnlineCommands::StatusPaneText, this,
          [this](int pane, const QString& text) {
            if (pane == 0) SetGeneralMessage(text);
            UpdateStatusPanes();
          });
}

CTrainerFrame::~CTrainerFrame() = default;

void CTrainerFrame::SyncAccount() {
  SetAccountState(online_->LoggedIn(), online_->Account().rights);
  RefreshCommandStates();
}

void CTrainerFrame::OnStartupLogin() {
  online_->StartupLogin(this);
  SyncAccount();
}

bool CTrainerFrame::ConfirmLogoutOnClose() {
  const bool mayClose = online_->CloseRequest(this, false);
  SyncAccount();
  return mayClose;
}

void CTrainerFrame::FillAccountInputs(WriteBackInputs& inputs) {
  inputs.userId = online_->UserId();
  inputs.rememberAccount = online_->RememberAccount();
}

void CTrainerFrame::OnOnlineCommand(int id) {
  switch (id) {
    case kCmdLogin: online_->Login(this); break;
    case kCmdDownloadDay: online_->DownloadDay(this, LoadSink()); break;
    case kCmdHomePage: online_->OpenHomePage(); break;
    case kCmdManual: online_->OpenManual(); break;
    case kCmdUpdateHistory: online_->OpenUpdateHistory(); break;
    case kCmdFeedback: online_->Feedback(this); break;
    case kCmdAbout: online_->About(this); break;
    default:
      // Pattern and training downloads, the historical query and the
      // classroom windows come with later versions.
      FramePrompter().Message("此功能將於後續版本提供", kCaptionNotice);
      break;
  }
  SyncAccount();
}

}  // namespace kestrel
