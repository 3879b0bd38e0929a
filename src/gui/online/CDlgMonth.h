#pragma once

#include <QDate>
#include <QDialog>

#include <optional>

#include "online/ChosenDay.h"

class QCalendarWidget;
class QLabel;
class QPushButton;

namespace kestrel {

// The calendar of the day download: 2000/01/01 to today, opening on the last
// chosen day (or today), a date label that follows the selection, "下載".
// Enter does nothing; closing the window cancels.
class CDlgMonth : public QDialog {
  Q_OBJECT

 public:
  CDlgMonth(const std::optional<ChosenDay>& previous, QDate today, QWidget* parent = nullptr);

  // "下載": takes the selection and closes with OK.
  void PressDownload();

  // The day taken by "下載"; nothing before it.
  const std::optional<ChosenDay>& Chosen() const { return chosen_; }
  QCalendarWidget* Calendar() const { return calendar_; }
  QString DateLabel() const;

  static QString FormatDate(QDate date);  // "%4d/%02d/%02d"

 private:
  void ShowSelection();

  std::optional<ChosenDay> chosen_;
  QCalendarWidget* calendar_ = nullptr;
  QLabel* label_ = nullptr;
  QPushButton* download_ = nullptr;
};

}  // namespace kestrel
