#include "panels/RightDownView.h"

#include <QHeaderView>
#include <QResizeEvent>

#include "charts/ColourSchemes.h"
#include "panels/TickListTableModel.h"
#include "widgets/ColoredStatusBar.h"
#include "widgets/ReportListStyle.h"

namespace kestrel {

namespace {
constexpr int kHeartbeatMs = 10;
}

CRightDownView::CRightDownView(TickListTableModel& model, const ColourSettings& colours,
                               QWidget* parent)
    : QTableView(parent), model_(model), colours_(colours) {
  setModel(&model_);
  ApplyReportListStyle(*this);
  // The columns are exactly as wide as the times and prices need: a cell's
  // padding must not turn "13:45:00" into "13:45:...".
  setTextElideMode(Qt::ElideNone);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setCornerButtonEnabled(false);
  horizontalHeader()->setHighlightSections(false);
  setColumnHidden(6, true);
  ApplyColours();

  heartbeat_.setTimerType(Qt::PreciseTimer);
  heartbeat_.setInterval(kHeartbeatMs);
  connect(&heartbeat_, &QTimer::timeout, this, [this] {
    if (onHeartbeat_) onHeartbeat_();
  });
}

void CRightDownView::StartHeartbeat() {
  heartbeat_.start();
}

void CRightDownView::StopHeartbeat() {
  heartbeat_.stop();
}

void CRightDownView::ApplyColours() {
  QPalette pal = palette();
  const QColor bk = ColourFromRef(colours_.TICK_COLOR_BK & 0xFFFFFF);
  pal.setColor(QPalette::Base, bk);
  pal.setColor(QPalette::Window, bk);
  pal.setColor(QPalette::Text, QColor(255, 0, 0));
  setPalette(pal);
  viewport()->update();
}

void CRightDownView::ScrollToRow(int row) {
  model_.Flush();
  if (row < 0 || row >= model_.rowCount()) return;
  if (row == 0)
    scrollToTop();
  else if (row == model_.rowCount() - 1)
    scrollToBottom();
  else
    scrollTo(model_.index(row, 0));
}

int CRightDownView::ColumnWidth(int column, int w) {
  const int share = (w - 80) / 5;
  switch (column) {
    case 0: return 80;
    case 1:
    case 2:
    case 3: return share;
    case 4: return share - 10;
    case 5: return share + 4;
    default: return 0;
  }
}

void CRightDownView::SetColumnWidths() {
  const int w = viewport()->width();
  for (int c = 0; c < 6; ++c) setColumnWidth(c, std::max(ColumnWidth(c, w), 0));
}

void CRightDownView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  SetColumnWidths();
}

}  // namespace kestrel
