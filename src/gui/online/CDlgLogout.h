#pragma once

#include <QDialog>
#include <QTimer>

class QProgressBar;

namespace kestrel {

class Sleeper;

// The short progress dialog after a logout: no caption, one bar. 150 ms after
// it opens the bar runs from 0 to 18, one step per millisecond, and the
// dialog closes itself.
class CDlgLogout : public QDialog {
  Q_OBJECT

 public:
  explicit CDlgLogout(Sleeper& sleeper, QWidget* parent = nullptr);

  // The bar's run (the timer's work), then the dialog closes with OK.
  void Run();

  QProgressBar* ProgressBar() const { return bar_; }

  static constexpr int kStartDelayMs = 150;
  static constexpr int kSteps = 18;

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Sleeper& sleeper_;
  QTimer startTimer_;
  QProgressBar* bar_ = nullptr;
};

}  // namespace kestrel
