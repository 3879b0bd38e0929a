#include "online/CDlgMonth.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

CDlgMonth::CDlgMonth(const std::optional<ChosenDay>& previous, QDate today, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("選擇下載日期");

  calendar_ = new QCalendarWidget(this);
  calendar_->setObjectName("calendar");
  calendar_->setDateRange(QDate(2000, 1, 1), today);
  calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  label_ = new QLabel(this);
  label_->setObjectName("date");
  download_ = new QPushButton("下載", this);
  download_->setObjectName("download");
  // Enter does nothing: only the button downloads.
  download_->setAutoDefault(false);
  download_->setDefault(false);

  // The calendar keeps a date outside its range inside it.
  const QDate start = previous ? QDate(previous->year, previous->month, previous->day) : today;
  calendar_->setSelectedDate(start.isValid() ? start : today);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(label_);
  bottom->addStretch();
  bottom->addWidget(download_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(calendar_);
  layout->addLayout(bottom);
  setFixedSize(sizeHint());

  connect(calendar_, &QCalendarWidget::selectionChanged, this, &CDlgMonth::ShowSelection);
  connect(download_, &QPushButton::clicked, this, &CDlgMonth::PressDownload);
  ShowSelection();
}

QString CDlgMonth::FormatDate(QDate date) {
  return QString::asprintf("%4d/%02d/%02d", date.year(), date.month(), date.day());
}

QString CDlgMonth::DateLabel() const {
  return label_->text();
}

void CDlgMonth::ShowSelection() {
  label_->setText(FormatDate(calendar_->selectedDate()));
}

void CDlgMonth::PressDownload() {
  const QDate date = calendar_->selectedDate();
  chosen_ = ChooseDay(date.year(), date.month(), date.day());
  if (chosen_) accept();
}

}  // namespace kestrel
