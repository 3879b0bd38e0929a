#include "online/FetchJobDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kestrel {

FetchJobDialog::FetchJobDialog(const QString& title, QWidget* parent) : QDialog(parent) {
  setWindowTitle(title);

  status_ = new QLabel(this);
  status_->setObjectName("status");
  bar_ = new QProgressBar(this);
  bar_->setObjectName("progress");
  bar_->setTextVisible(false);
  progress_ = FetchProgressBar(bar_);
  close_ = new QPushButton("關閉", this);
  close_->setObjectName("close");
  close_->setAutoDefault(false);
  close_->setDefault(false);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  startTimer_.setSingleShot(true);
  startTimer_.setInterval(kStartDelayMs);
  connect(&startTimer_, &QTimer::timeout, this, [this] { RunJob(); });
}

QString FetchJobDialog::StatusText() const {
  return status_->text();
}

void FetchJobDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!ran_ && !startTimer_.isActive()) startTimer_.start();
}

bool FetchJobDialog::ClaimJob() {
  startTimer_.stop();
  if (ran_) return false;
  ran_ = true;
  return true;
}

void FetchJobDialog::ShowStatus(const std::string& text) {
  const QString shown = QString::fromStdString(text);
  status_->setText(shown);
  // Nothing else paints until the job returns.
  status_->repaint();
  emit StatusShown(shown);
}

void FetchJobDialog::done(int result) {
  // Closed before the timer fired: the job never starts.
  startTimer_.stop();
  ran_ = true;
  QDialog::done(result);
}

}  // namespace kestrel
