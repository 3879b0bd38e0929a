#include "widgets/MessageBoxPrompter.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>

namespace kestrel {

namespace {

QMessageBox::Icon IconFor(const std::string& caption) {
  if (caption == kCaptionError) return QMessageBox::Critical;
  if (caption == kCaptionWarning) return QMessageBox::Warning;
  return QMessageBox::Information;
}

// The program speaks Traditional Chinese; Qt's own button texts are English.
void LabelButtons(QMessageBox& box) {
  const struct {
    QMessageBox::StandardButton button;
    const char* text;
  } labels[] = {{QMessageBox::Ok, "確定"},
                {QMessageBox::Cancel, "取消"},
                {QMessageBox::Yes, "是(&Y)"},
                {QMessageBox::No, "否(&N)"}};
  for (const auto& l : labels)
    if (QAbstractButton* b = box.button(l.button)) b->setText(QString::fromUtf8(l.text));
}

}  // namespace

void MessageBoxPrompter::Message(const std::string& text, const std::string& caption) {
  QMessageBox box(IconFor(caption), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok, owner_);
  LabelButtons(box);
  box.exec();
}

PromptAnswer MessageBoxPrompter::Ask(const std::string& text, const std::string& caption,
                                     PromptButtons buttons) {
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  switch (buttons) {
    case PromptButtons::Ok: set = QMessageBox::Ok; break;
    case PromptButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case PromptButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case PromptButtons::YesNoCancel:
      set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                  QString::fromStdString(text), set, owner_);
  LabelButtons(box);
  switch (box.exec()) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Cancel: return PromptAnswer::Cancel;
    default: return PromptAnswer::Ok;
  }
}

}  // namespace kestrel
