#pragma once

#include <QTableView>

namespace kestrel {

class OrderReportModel;
struct ColourSettings;

// The order report pane (right row 2): one line per placement, fill and
// trigger order.
class CRightOrderView : public QTableView {
  Q_OBJECT

 public:
  CRightOrderView(OrderReportModel& model, const ColourSettings& colours,
                  QWidget* parent = nullptr);

  // Appends a line and scrolls it into view.
  void ShowNewLine();
  void ApplyColours();

  // 80, then (w - 80) / 5 three times, that less 10, that less 6.
  static int ColumnWidth(int column, int clientWidth);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  OrderReportModel& model_;
  const ColourSettings& colours_;
};

}  // namespace kestrel
