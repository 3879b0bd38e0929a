#include "panels/TickListTableModel.h"

#include <QColor>

#include "charts/ColourSchemes.h"
#include "widgets/ColoredStatusBar.h"

namespace kestrel {

namespace {

const char* const kHeaders[kTickListColumns] = {"時間", "內盤", "外盤", "成交",
                                                "單量", "總量", "時間"};
constexpr int32_t kRed = 0x0000FF;

int32_t ByClass(const ColourSettings& c, int32_t cls) {
  switch (cls) {
    case 2: return c.TICK_COLOR_UP;
    case 1: return c.TICK_COLOR_DOWN;
    default: return c.TICK_COLOR_EQ;
  }
}

}  // namespace

TickListTableModel::TickListTableModel(TickListModel& list, const ColourSettings& colours,
                                       QObject* parent)
    : QAbstractTableModel(parent), list_(list), colours_(colours), shown_(list.RowCount()) {
  list_.SetObserver(this);
}

TickListTableModel::~TickListTableModel() {
  list_.SetObserver(nullptr);
}

int TickListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int TickListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTickListColumns;
}

int32_t TickListTableModel::CoreRow(int row) const {
  // Bottom-up rows go in at the end, top-down rows at the top.
  return list_.BottomUp() ? row : row + pending_;
}

int32_t TickListTableModel::CellColour(const ColourSettings& c, int32_t code, int column) {
  switch (column) {
    case kTickTime: return c.TICK_COLOR_TIME;
    case kTickBid: return ByClass(c, (code >> 2) & 3);
    case kTickAsk: return ByClass(c, (code >> 4) & 3);
    case kTickPrice: return ByClass(c, (code >> 6) & 3);
    case kTickVolume:
    case kTickTotal: {
      const int32_t side = code & 3;
      return side == 0 ? c.TICK_COLOR_INNER : side == 1 ? c.TICK_COLOR_OUTER : c.TICK_COLOR_EQ;
    }
    default: return kRed;
  }
}

QVariant TickListTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  const int32_t row = CoreRow(index.row());
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(list_.CellText(row, index.column()));
    case Qt::ForegroundRole:
      // Colours are taken with their low 24 bits.
      return ColourFromRef(CellColour(colours_, list_.ColourCode(row), index.column()) & 0xFFFFFF);
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
  }
}

QVariant TickListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kTickListColumns) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kHeaders[section]);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

void TickListTableModel::Flush() {
  if (pending_ == 0) return;
  const int first = list_.BottomUp() ? shown_ : 0;
  beginInsertRows({}, first, first + pending_ - 1);
  shown_ += pending_;
  pending_ = 0;
  endInsertRows();
}

void TickListTableModel::BeginInsertRows(int32_t first, int32_t last) {
  // Held back while redrawing is off, provided the rows go in at the end
  // that the held-back block occupies.
  const int32_t atEnd = list_.BottomUp() ? shown_ + pending_ : 0;
  deferring_ = !redrawOn_ && first == atEnd;
  if (deferring_) {
    pending_ += last - first + 1;
    return;
  }
  Flush();
  beginInsertRows({}, first, last);
  shown_ += last - first + 1;
}

void TickListTableModel::EndInsertRows() {
  if (deferring_) {
    deferring_ = false;
    return;
  }
  endInsertRows();
}

void TickListTableModel::BeginRemoveRows(int32_t first, int32_t last) {
  Flush();
  beginRemoveRows({}, first, last);
  shown_ -= last - first + 1;
}

void TickListTableModel::EndRemoveRows() {
  endRemoveRows();
}

void TickListTableModel::BeginReset() {
  beginResetModel();
}

void TickListTableModel::EndReset() {
  pending_ = 0;
  shown_ = list_.RowCount();
  endResetModel();
}

void TickListTableModel::SetRedraw(bool on) {
  // No repaint switch of its own: while rows are held back the view has
  // nothing new to paint.
  redrawOn_ = on;
  if (on) Flush();
}

}  // namespace kestrel
