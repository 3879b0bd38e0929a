#pragma once

#include <QDialog>
#include <QTimer>

#include "online/DayDownload.h"
#include "online/FetchProgressBar.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrel {

// The day download dialog: a status text, a progress bar that follows the
// fetches, "關閉". 200 ms after it opens the whole download runs in one pass
// on this thread; on success the dialog closes itself, after a stop it waits
// for "關閉" with the stop's text. Enter and Escape do nothing.
class CDlgDownZip : public QDialog, private DownloadView {
  Q_OBJECT

 public:
  CDlgDownZip(const DownloadEnvironment& env, const ChosenDay& day, QWidget* parent = nullptr);

  // The download (the timer's work); runs at most once.
  void RunDownload();

  // Of the download; nothing downloaded when it never ran.
  const DownloadResult& Result() const { return result_; }
  QString StatusText() const;
  QProgressBar* ProgressBar() const { return bar_; }

  static constexpr int kStartDelayMs = 200;

 signals:
  // Every status text, in order.
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

  DownloadEnvironment env_;
  ChosenDay day_;
  DownloadResult result_;
  bool ran_ = false;
  QTimer startTimer_;
  QLabel* status_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* close_ = nullptr;
  FetchProgressBar progress_{nullptr};
};

}  // namespace kestrel
