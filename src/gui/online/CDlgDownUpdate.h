#pragma once

#include <QDialog>
#include <QTimer>

#include <filesystem>
#include <string>

#include "app/ServiceEndpoints.h"
#include "online/FetchProgressBar.h"
#include "online/SoftwareUpdate.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrel {

class Fetcher;
class Sleeper;

// The update download dialog (199 by 50 dialog units): a centred status text,
// a progress bar on the archive fetch, "關閉". 200 ms after it opens the whole
// update runs in one pass on this thread; then it waits for "關閉". Enter and
// Escape do nothing.
class CDlgDownUpdate : public QDialog, private UpdateView {
  Q_OBJECT

 public:
  CDlgDownUpdate(Fetcher& fetcher, Sleeper& sleeper, const ServiceBases& bases,
                 std::string updateArchiveName, std::filesystem::path programFolder,
                 QWidget* parent = nullptr);

  // The update (the timer's work); runs at most once. True when every file
  // was replaced.
  bool RunUpdate();

  QString StatusText() const;

  static constexpr int kStartDelayMs = 200;
  // The template size in dialog units.
  static constexpr int kWidthUnits = 199;
  static constexpr int kHeightUnits = 50;

 signals:
  void StatusShown(const QString& text);

 public slots:
  void reject() override {}  // Escape and the close box do nothing
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetStatus(const std::string& text) override;
  void SetRange(uint64_t maximum) override { progress_.SetRange(maximum); }
  void SetPosition(uint64_t position) override { progress_.SetPosition(position); }

  Fetcher& fetcher_;
  Sleeper& sleeper_;
  const ServiceBases& bases_;
  const std::string archiveName_;
  const std::filesystem::path programFolder_;
  bool ran_ = false;
  QTimer startTimer_;
  QLabel* status_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* close_ = nullptr;
  FetchProgressBar progress_{nullptr};
};

}  // namespace kestrel
