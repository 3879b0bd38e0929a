#include "replay/DlgTimeBack.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "replay/ReplayEngine.h"

namespace kestrel {

CDlgTimeBack::CDlgTimeBack(ReplayEngine& engine, Sleeper& sleeper, const RewindDialogStart& start,
                           QWidget* parent)
    : QDialog(parent), engine_(engine), sleeper_(sleeper) {
  setWindowTitle(QString::fromUtf8(kTimeRewindCaption));
  current_ = new QLabel("目前時間", this);
  hour_ = new QLineEdit(this);
  minute_ = new QLineEdit(this);
  for (QLineEdit* e : {hour_, minute_}) {
    e->setMaxLength(2);
    e->setFixedWidth(40);
  }
  status_ = new QLabel("處理狀態:", this);
  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  bar_->setRange(0, 100);
  ok_ = new QPushButton("確定", this);
  cancel_ = new QPushButton("取消", this);
  ok_->setDefault(true);

  auto* time = new QHBoxLayout;
  time->addWidget(new QLabel("回溯時間", this));
  time->addWidget(hour_);
  time->addWidget(new QLabel("時", this));
  time->addWidget(minute_);
  time->addWidget(new QLabel("分", this));
  time->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(current_);
  layout->addLayout(time);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  setFixedSize(320, 200);

  connect(ok_, &QPushButton::clicked, this, &CDlgTimeBack::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  current_->setText(QString::fromStdString(start.currentTimeText));
  currentMinute_ = start.currentMinute;
}

QString CDlgTimeBack::StatusText() const {
  return status_->text();
}

QString CDlgTimeBack::CurrentTimeText() const {
  return current_->text();
}

void CDlgTimeBack::OnOk() {
  const std::string hourText = hour_->text().toStdString();
  const std::string minuteText = minute_->text().toStdString();
  const RewindCheck check = CheckRewindTime(hourText, minuteText, currentMinute_);
  hour_->setText(QString::fromStdString(check.hourText));
  minute_->setText(QString::fromStdString(check.minuteText));
  if (!check.ok) {
    status_->setText(QString::fromStdString(check.message));
    return;
  }
  ok_->setEnabled(false);
  cancel_->setEnabled(false);
  bar_->setRange(0, 5);
  bar_->setValue(0);
  RewindProgress report;
  report.status = [this](const std::string& text) {
    status_->setText(QString::fromStdString(text));
    status_->repaint();
  };
  report.progress = [this](int32_t position, int32_t maximum) {
    bar_->setRange(0, maximum);
    bar_->setValue(position);
    bar_->repaint();
  };
  report.processEvents = [] { QCoreApplication::processEvents(); };
  engine_.ConfirmTimeRewind(hourText, minuteText, currentMinute_, sleeper_, report);
  accept();
}

}  // namespace kestrel
