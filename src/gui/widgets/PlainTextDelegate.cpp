#include "widgets/PlainTextDelegate.h"

#include <QPainter>

namespace kestrel {

void PlainTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  if (selected) painter->fillRect(option.rect, option.palette.highlight());
  const QVariant colour = index.data(Qt::ForegroundRole);
  QColor pen = colour.canConvert<QColor>() ? colour.value<QColor>()
                                           : option.palette.color(QPalette::Text);
  if (selected) pen = option.palette.color(QPalette::HighlightedText);
  const QVariant align = index.data(Qt::TextAlignmentRole);
  const int flags = (align.isValid() ? align.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter)) |
                    Qt::TextSingleLine;
  painter->save();
  painter->setFont(option.font);
  painter->setPen(pen);
  painter->drawText(option.rect, flags, index.data(Qt::DisplayRole).toString());
  painter->restore();
}

}  // namespace kestrel
