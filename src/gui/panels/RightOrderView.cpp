#include "panels/RightOrderView.h"

#include <QHeaderView>

#include "charts/ColourSchemes.h"
#include "panels/OrderReportModel.h"
#include "widgets/ColoredStatusBar.h"
#include "widgets/ReportListStyle.h"

namespace kestrel {

CRightOrderView::CRightOrderView(OrderReportModel& model, const ColourSettings& colours,
                                 QWidget* parent)
    : QTableView(parent), model_(model), colours_(colours) {
  setModel(&model_);
  ApplyReportListStyle(*this);
  // Before the first resize every column gets the width of a 400-pixel pane.
  for (int c = 0; c < 6; ++c) setColumnWidth(c, ColumnWidth(c, 400));
  ApplyColours();
}

void CRightOrderView::ShowNewLine() {
  if (model_.rowCount() > 0) scrollToBottom();
}

void CRightOrderView::ApplyColours() {
  QPalette pal = palette();
  const QColor bk = ColourFromRef(colours_.TRADE_COLOR_BK & 0xFFFFFF);
  pal.setColor(QPalette::Base, bk);
  pal.setColor(QPalette::Window, bk);
  setPalette(pal);
  viewport()->update();
}

int CRightOrderView::ColumnWidth(int column, int w) {
  const int share = (w - 80) / 5;
  switch (column) {
    case 0: return 80;
    case 4: return share - 10;
    case 5: return share - 6;
    default: return share;
  }
}

void CRightOrderView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  const int w = viewport()->width();
  for (int c = 0; c < 6; ++c) setColumnWidth(c, std::max(ColumnWidth(c, w), 0));
}

}  // namespace kestrel
