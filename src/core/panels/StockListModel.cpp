#include "panels/StockListModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/Decimal.h"
#include "tradingday/DayMembers.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

constexpr double kEqualWithin = 0.001;

bool Near(double a, double b) {
  return std::fabs(a - b) < kEqualWithin;
}

// 2 above, 1 below, 0 equal.
int32_t Against(double value, double reference) {
  if (Near(value, reference)) return 0;
  return value > reference ? 2 : 1;
}

std::string QuoteSide(const std::string& text) {
  return text == "0" ? std::string("--") : TrimStockPrice(text);
}

}  // namespace

int32_t StockQuoteCode(double upper, double lower, double bid, double ask, double reference,
                       double last) {
  int32_t side = 2;
  if (last > ask || Near(last, ask))
    side = 1;
  else if (last < bid || Near(last, bid))
    side = 0;
  const int32_t lastClass = Against(last, reference);
  int32_t limit = 0;
  if (Near(last, upper) && lastClass == 2)
    limit = 2;
  else if (Near(last, lower) && lastClass == 1)
    limit = 1;
  return side | Against(bid, reference) << 2 | Against(ask, reference) << 4 | lastClass << 6 |
         limit << 8;
}

std::string TrimStockPrice(std::string_view price) {
  const int32_t whole = ParseDecimal(price);
  size_t drop = whole < 50 ? 0 : whole < 500 ? 1 : 3;
  // A text with fewer decimals than expected keeps its whole part.
  const size_t point = price.find('.');
  const size_t fraction = point == std::string_view::npos ? 0 : price.size() - point;
  drop = std::min(drop, fraction);
  std::string_view kept = price.substr(0, price.size() - drop);
  if (drop > 0 && !kept.empty() && kept.back() == '.') kept.remove_suffix(1);
  return std::string(kept);
}

std::string FormatStockChange(double reference, double last) {
  if (Near(last, reference)) return "--";
  const double d = std::fabs(last - reference);
  char buf[64];
  const char* arrow = last > reference ? "▲" : "▼";
  std::snprintf(buf, sizeof buf, d >= 10 ? "%s%.1f" : "%s%.2f", arrow, d);
  return buf;
}

void StockListModel::Refill(const TradingDay& day) {
  if (observer_) observer_->BeginReset();
  rows_.clear();
  const int32_t count = std::clamp(day.stockCount, 0, TradingDay::kStockCapacity);
  for (int32_t i = 0; i < count; ++i) {
    const _StockInfo& stock = day.stocks[static_cast<size_t>(i)];
    StockRow row;
    row.code = stock.code;
    row.name = stock.name;
    rows_.push_back(std::move(row));
  }
  if (observer_) observer_->EndReset();
}

void StockListModel::ApplyRecord(const _StockInfo& stock, const _StockRecord& record) {
  using day_members::ParseFraction;
  const double last = ParseFraction(record.price);
  const int32_t code = StockQuoteCode(stock.limitUp, stock.limitDown, ParseFraction(record.bid),
                                      ParseFraction(record.ask), stock.reference, last);
  for (size_t i = 0; i < rows_.size(); ++i) {
    StockRow& row = rows_[i];
    if (row.code != stock.code) continue;
    row.itemData = code;
    row.quote = {QuoteSide(record.bid),
                 QuoteSide(record.ask),
                 TrimStockPrice(record.price),
                 FormatStockChange(stock.reference, last),
                 record.volume,
                 record.totalVolume};
    Changed(i);
  }
}

void StockListModel::ClearQuotes() {
  for (size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].itemData = kNeutralStockCode;
    rows_[i].quote = {};
    Changed(i);
  }
}

void StockListModel::ClearQuoteTexts() {
  for (size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].quote = {};
    Changed(i);
  }
}

std::string StockListModel::CellText(int32_t row, int32_t column) const {
  if (row < 0 || row >= RowCount()) return {};
  const StockRow& r = rows_[static_cast<size_t>(row)];
  switch (column) {
    case kStockCode: return r.code;
    case kStockName: return r.name;
    default: break;
  }
  if (column >= kStockBid && column < kStockListColumns)
    return r.quote[static_cast<size_t>(column - kStockBid)];
  return {};
}

int32_t StockListModel::ItemData(int32_t row) const {
  if (row < 0 || row >= RowCount()) return kNeutralStockCode;
  return rows_[static_cast<size_t>(row)].itemData;
}

void StockListModel::Changed(size_t row) {
  if (observer_) observer_->RowChanged(static_cast<int32_t>(row));
}

}  // namespace kestrel
