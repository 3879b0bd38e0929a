#pragma once

#include <memory>

#include "app/MainFrame.h"
#include "online/OnlineCommands.h"

namespace kestrel {

// The main window connected to the web service: the start-up login and
// version check, the logout at close, and the service's commands. UI thread
// only.
class CTrainerFrame final : public CMainFrame {
  Q_OBJECT

 public:
  explicit CTrainerFrame(AppConfig config, FrameServices services = {}, OnlineSeams seams = {},
                         QWidget* parent = nullptr);
  ~CTrainerFrame() override;

  OnlineCommands& Online() { return *online_; }

 protected:
  void OnStartupLogin() override;
  bool ConfirmLogoutOnClose() override;
  void OnOnlineCommand(int id) override;
  void FillAccountInputs(WriteBackInputs& inputs) override;

 private:
  // The window's enable rules follow the account after every service call.
  void SyncAccount();

  std::unique_ptr<OnlineCommands> online_;
};

}  // namespace kestrel
