#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace kestrel {

struct TrainingSchedule;

// 訓練盤說明: shows one instructor's note until "繼續盤勢". Opens where it was
// last moved to during this run.
class CDlgTrainNote : public QDialog {
  Q_OBJECT

 public:
  CDlgTrainNote(TrainingSchedule& schedule, const QString& note, const QString& nextText,
                QWidget* parent = nullptr);

  QString NoteText() const;
  QString NextText() const;

 protected:
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  TrainingSchedule& schedule_;
  QPlainTextEdit* note_;
  QLabel* next_;
  bool placed_ = false;
};

}  // namespace kestrel
