#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kestrel {

// Fast playback's modeless progress dialog: one text and one bar.
class CDlgProgress : public QDialog {
  Q_OBJECT

 public:
  explicit CDlgProgress(QWidget* parent = nullptr);

  void Begin(const QString& text, int maximum);
  void SetPosition(int position);
  QString Text() const;
  int Position() const;
  int Maximum() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* text_;
  QProgressBar* bar_;
};

}  // namespace kestrel
