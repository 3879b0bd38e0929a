#pragma once

#include <QWidget>

namespace kestrel {

// Stands in for a pane whose view is not built yet: a dark field with the
// pane's name. Takes the keyboard focus when asked.
class PlaceholderPane : public QWidget {
  Q_OBJECT

 public:
  explicit PlaceholderPane(const QString& name, QWidget* parent = nullptr);
  QString Name() const { return name_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString name_;
};

}  // namespace kestrel
