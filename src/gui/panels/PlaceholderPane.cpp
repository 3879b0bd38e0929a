#include "panels/PlaceholderPane.h"

#include <QPainter>

#include "widgets/Fonts.h"

namespace kestrel {

PlaceholderPane::PlaceholderPane(const QString& name, QWidget* parent)
    : QWidget(parent), name_(name) {
  setObjectName(name);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(0, 0);
  setFont(AppQFont(3));
}

void PlaceholderPane::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  p.setPen(hasFocus() ? QColor(255, 255, 0) : QColor(128, 128, 128));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.drawText(rect(), Qt::AlignCenter, name_);
}

}  // namespace kestrel
