#pragma once

#include <QDialog>
#include <QTimer>

#include <string>

#include "online/FetchProgressBar.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrel {

// A dialog that runs one blocking service job on this thread 200 ms after it
// opens: a status text, a progress bar that follows the fetches, "關閉", which
// ends it with OK at any time. Enter and Escape do nothing. The subclass lays
// the three controls out and runs the job from RunJob().
class FetchJobDialog : public QDialog {
  Q_OBJECT

 public:
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
  FetchJobDialog(const QString& title, QWidget* parent);

  // The timer's work.
  virtual void RunJob() = 0;
  // True once per dialog: the job may run now. False when it ran already or
  // the dialog was closed before the timer fired.
  bool ClaimJob();

  void ShowStatus(const std::string& text);
  FetchProgressBar& Progress() { return progress_; }

  QLabel* status_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* close_ = nullptr;

  void showEvent(QShowEvent* event) override;

 private:
  bool ran_ = false;
  QTimer startTimer_;
  FetchProgressBar progress_{nullptr};
};

}  // namespace kestrel
