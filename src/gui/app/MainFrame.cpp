#include "app/MainFrame.h"

#include <QCloseEvent>
#include <QMessageBox>

#include "app/SettingsWriteBack.h"
#include "common/Prompter.h"

namespace kestrel {

CMainFrame::CMainFrame(AppConfig& config, QWidget* parent) : QMainWindow(parent), config_(config) {
  setWindowTitle("Kestrel");
  setMinimumSize(800, 600);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  WriteBackInputs inputs;
  inputs.isLarge = config_.contract.isLarge;
  const AppSettings& s = config_.settings;
  inputs.stockListHeight = s.VIEW_STOCKLIST_HIGH;
  inputs.draw1Height = s.VIEW_DRAW1_HIGH;
  inputs.biasHeight = s.VIEW_BIAS_HIGH;
  inputs.orderHeight = s.VIEW_ORDER_HIGH;
  const std::string error =
      SaveSettingsFile(config_.folders.SetupIni(), s, inputs, config_.colours);
  if (!error.empty()) {
    QMessageBox::warning(this, kCaptionWarning, QString::fromStdString(error));
  }
  event->accept();
}

}  // namespace kestrel
