#pragma once

class QTableView;

namespace kestrel {

// The look both one-line-per-row lists share (tick list, order report): font
// 1, full-row selection, no grid, no editing, no horizontal scroll bar, fixed
// row heights (the view never measures rows, whatever their number) and a
// header that does not sort or move.
void ApplyReportListStyle(QTableView& view);

}  // namespace kestrel
