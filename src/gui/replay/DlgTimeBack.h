#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kestrel {

class ReplayEngine;
class Sleeper;
struct RewindDialogStart;

// 盤勢回溯: asks for the hour and minute to move the paused session back to,
// checks them and runs the rewind with its progress.
class CDlgTimeBack : public QDialog {
  Q_OBJECT

 public:
  // `start` is what the rewind command read when it paused the session.
  CDlgTimeBack(ReplayEngine& engine, Sleeper& sleeper, const RewindDialogStart& start,
               QWidget* parent = nullptr);

  QString StatusText() const;
  QString CurrentTimeText() const;
  QLineEdit* HourEdit() const { return hour_; }
  QLineEdit* MinuteEdit() const { return minute_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  // "確定": a failed check leaves its text in the status line.
  void OnOk();

 private:
  ReplayEngine& engine_;
  Sleeper& sleeper_;
  int currentMinute_ = 0;
  QLabel* current_;
  QLineEdit* hour_;
  QLineEdit* minute_;
  QLabel* status_;
  QProgressBar* bar_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace kestrel
