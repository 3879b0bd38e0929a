#pragma once

#include <QMainWindow>

#include "app/AppConfig.h"

namespace kestrel {

// The main window. Holds the application's configuration for its lifetime and
// writes the settings back when it closes.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(AppConfig& config, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  AppConfig& config_;
};

}  // namespace kestrel
