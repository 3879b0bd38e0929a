#pragma once

#include <QStyledItemDelegate>

namespace kestrel {

// Paints a list cell as its text in its foreground colour and alignment, and
// the selection as a plain highlight: the report lists repaint many times a
// second during a replay, and the style's full item painting costs several
// times more than the text itself.
class PlainTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace kestrel
