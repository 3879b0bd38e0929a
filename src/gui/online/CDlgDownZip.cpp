#include "online/CDlgDownZip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

CDlgDownZip::CDlgDownZip(const DownloadEnvironment& env, const ChosenDay& day, QWidget* parent)
    : QDialog(parent), env_(env), day_(day) {
  setWindowTitle("下載資料");

  status_ = new QLabel(this);
  status_->setObjectName("status");
  status_->setMinimumWidth(260);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("progress");
  bar_->setTextVisible(false);
  progress_ = FetchProgressBar(bar_);
  close_ = new QPushButton("關閉", this);
  close_->setObjectName("close");
  close_->setAutoDefault(false);
  close_->setDefault(false);
  // "關閉" ends the dialog with OK at any time.
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());

  startTimer_.setSingleShot(true);
  startTimer_.setInterval(kStartDelayMs);
  connect(&startTimer_, &QTimer::timeout, this, &CDlgDownZip::RunDownload);
}

QString CDlgDownZip::StatusText() const {
  return status_->text();
}

void CDlgDownZip::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!ran_ && !startTimer_.isActive()) startTimer_.start();
}

void CDlgDownZip::RunDownload() {
  startTimer_.stop();
  if (ran_) return;
  ran_ = true;
  result_ = RunDayDownload(env_, day_, *this);
  if (result_.archiveDownloaded) accept();
}

void CDlgDownZip::SetStatus(const std::string& text) {
  const QString shown = QString::fromStdString(text);
  status_->setText(shown);
  // Nothing else paints until the download returns.
  status_->repaint();
  emit StatusShown(shown);
}

void CDlgDownZip::done(int result) {
  // Closed before the timer fired: the download never starts.
  startTimer_.stop();
  ran_ = true;
  QDialog::done(result);
}

}  // namespace kestrel
