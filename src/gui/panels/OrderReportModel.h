#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "trading/TradeSink.h"

namespace kestrel {

struct ColourSettings;

// The order report pane's lines: time, product, side, price, lots, status,
// each line coloured from TRADECOLOR by its colour code. UI thread only.
class OrderReportModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  OrderReportModel(const ColourSettings& colours, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void Append(const ReportLine& line);
  void Clear();
  const std::vector<ReportLine>& Lines() const { return lines_; }

  // Text colour (0x00BBGGRR) of a colour code; unknown codes are red.
  static int32_t LineColour(const ColourSettings& colours, int code);

 private:
  const ColourSettings& colours_;
  std::vector<ReportLine> lines_;
};

}  // namespace kestrel
