#include "online/CDlgLogout.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include "common/Clock.h"

namespace kestrel {

CDlgLogout::CDlgLogout(Sleeper& sleeper, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), sleeper_(sleeper) {
  bar_ = new QProgressBar(this);
  bar_->setObjectName("progress");
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(240);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  setFixedSize(sizeHint());

  startTimer_.setSingleShot(true);
  startTimer_.setInterval(kStartDelayMs);
  connect(&startTimer_, &QTimer::timeout, this, &CDlgLogout::Run);
}

void CDlgLogout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  startTimer_.start();
}

void CDlgLogout::Run() {
  startTimer_.stop();
  bar_->setRange(0, kSteps);
  for (int step = 0; step <= kSteps; ++step) {
    bar_->setValue(step);
    bar_->repaint();
    sleeper_.SleepMs(1);
  }
  accept();
}

void CDlgLogout::done(int result) {
  startTimer_.stop();
  QDialog::done(result);
}

}  // namespace kestrel
