#include "replay/DlgTrainNote.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "replay/TrainingNotes.h"

namespace kestrel {

CDlgTrainNote::CDlgTrainNote(TrainingSchedule& schedule, const QString& note,
                             const QString& nextText, QWidget* parent)
    : QDialog(parent), schedule_(schedule) {
  setWindowTitle(QString::fromUtf8(kTrainingNoteCaption));
  note_ = new QPlainTextEdit(this);
  note_->setReadOnly(true);
  QString shown = note;
  shown.replace("\r\n", "\n");
  note_->setPlainText(shown);
  next_ = new QLabel(nextText, this);
  auto* button = new QPushButton(QString::fromUtf8(kTrainingNoteButton), this);
  button->setDefault(true);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(next_);
  bottom->addStretch();
  bottom->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note_);
  layout->addLayout(bottom);
  resize(420, 300);
}

QString CDlgTrainNote::NoteText() const {
  return note_->toPlainText();
}

QString CDlgTrainNote::NextText() const {
  return next_->text();
}

void CDlgTrainNote::showEvent(QShowEvent* event) {
  if (schedule_.dialogLeft != 0) move(schedule_.dialogLeft, schedule_.dialogTop);
  placed_ = true;
  QDialog::showEvent(event);
}

void CDlgTrainNote::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  // Remembered only once shown, so the initial placement does not count.
  if (!placed_) return;
  schedule_.dialogLeft = x();
  schedule_.dialogTop = y();
}

}  // namespace kestrel
