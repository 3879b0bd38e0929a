#include "widgets/FlatSplitter.h"

#include <QPainter>
#include <QSplitterHandle>

namespace kestrel {

namespace {

class FlatHandle final : public QSplitterHandle {
 public:
  FlatHandle(Qt::Orientation orientation, QSplitter* parent)
      : QSplitterHandle(orientation, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().button());
    // A flat 3-D rectangle: light on the top/left edge, shadow on the other.
    p.setPen(palette().light().color());
    p.drawLine(r.topLeft(), orientation() == Qt::Horizontal ? r.bottomLeft() : r.topRight());
    p.setPen(palette().shadow().color());
    p.drawLine(orientation() == Qt::Horizontal ? r.topRight() : r.bottomLeft(), r.bottomRight());
  }
};

}  // namespace

CFlatSplitterWnd::CFlatSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
  setHandleWidth(4);
  setChildrenCollapsible(true);
  setOpaqueResize(true);
}

QSplitterHandle* CFlatSplitterWnd::createHandle() {
  return new FlatHandle(orientation(), this);
}

}  // namespace kestrel
