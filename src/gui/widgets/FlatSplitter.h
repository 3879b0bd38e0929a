#pragma once

#include <QSplitter>

namespace kestrel {

// A splitter whose bars are 4 pixels wide and drawn flat in the button
// highlight and shadow colours.
class CFlatSplitterWnd : public QSplitter {
  Q_OBJECT

 public:
  explicit CFlatSplitterWnd(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  QSplitterHandle* createHandle() override;
};

}  // namespace kestrel
