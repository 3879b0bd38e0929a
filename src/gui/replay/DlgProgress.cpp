#include "replay/DlgProgress.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kestrel {

CDlgProgress::CDlgProgress(QWidget* parent) : QDialog(parent) {
  setModal(false);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  text_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(bar_);
  setFixedSize(300, 80);
}

void CDlgProgress::Begin(const QString& text, int maximum) {
  text_->setText(text);
  bar_->setRange(0, std::max(maximum, 0));
  bar_->setValue(0);
}

void CDlgProgress::SetPosition(int position) {
  bar_->setValue(std::min(position, bar_->maximum()));
}

QString CDlgProgress::Text() const {
  return text_->text();
}

int CDlgProgress::Position() const {
  return bar_->value();
}

int CDlgProgress::Maximum() const {
  return bar_->maximum();
}

void CDlgProgress::closeEvent(QCloseEvent* event) {
  // The playback hides it when done; the user cannot close it meanwhile.
  event->ignore();
}

}  // namespace kestrel
