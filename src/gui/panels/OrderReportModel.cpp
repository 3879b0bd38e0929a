#include "panels/OrderReportModel.h"

#include <QColor>

#include "charts/ColourSchemes.h"
#include "widgets/ColoredStatusBar.h"

namespace kestrel {

namespace {
const char* const kHeaders[6] = {"時間", "商品", "買賣別", "價位", "數量", "狀態"};
}

OrderReportModel::OrderReportModel(const ColourSettings& colours, QObject* parent)
    : QAbstractTableModel(parent), colours_(colours) {}

int OrderReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int OrderReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 6;
}

int32_t OrderReportModel::LineColour(const ColourSettings& c, int code) {
  switch (code) {
    case 0: return c.TRADE_COLOR_ORDER;
    case 1: return c.TRADE_COLOR_BUY;
    case 2: return c.TRADE_COLOR_SELL;
    case 3: return c.TRADE_COLOR_STOPORDER;
    default: return 0x0000FF;
  }
}

QVariant OrderReportModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ReportLine& line = lines_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: {
      const std::string* cells[6] = {&line.time,  &line.product, &line.side,
                                     &line.price, &line.lots,    &line.status};
      return QString::fromStdString(*cells[index.column()]);
    }
    case Qt::ForegroundRole: return ColourFromRef(LineColour(colours_, line.colourCode) & 0xFFFFFF);
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
  }
}

QVariant OrderReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= 6) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kHeaders[section]);
  return {};
}

void OrderReportModel::Append(const ReportLine& line) {
  const int row = rowCount();
  beginInsertRows({}, row, row);
  lines_.push_back(line);
  endInsertRows();
}

void OrderReportModel::Clear() {
  beginResetModel();
  lines_.clear();
  endResetModel();
}

}  // namespace kestrel
