#include "widgets/ReportListStyle.h"

#include <QHeaderView>
#include <QTableView>

#include "widgets/Fonts.h"
#include "widgets/PlainTextDelegate.h"

namespace kestrel {

void ApplyReportListStyle(QTableView& view) {
  view.setFont(AppQFont(1));
  view.setItemDelegate(new PlainTextDelegate(&view));
  view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setShowGrid(false);
  view.setWordWrap(false);
  view.setFocusPolicy(Qt::ClickFocus);
  view.verticalHeader()->hide();
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 2);
  view.horizontalHeader()->setSectionsClickable(false);
  view.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

}  // namespace kestrel
