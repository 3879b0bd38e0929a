#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct TradingDay;
struct _StockInfo;
struct _StockRecord;

// Columns of the weighted stock list.
enum StockListColumn {
  kStockMarker,
  kStockCode,
  kStockName,
  kStockBid,
  kStockAsk,
  kStockPrice,
  kStockChange,
  kStockVolume,
  kStockTotal,
  kStockListColumns
};

// The neutral row code of rows just created and of the session end.
inline constexpr int32_t kNeutralStockCode = 2;

// Row colour code: bits 0-1 trade side (1 at or above the ask, 0 at or below
// the bid, 2 between), 2-3 bid, 4-5 ask and 6-7 last price against the
// reference (2 above, 1 below, 0 equal), 8-9 price limit (2 at the upper price
// while above the reference, 1 at the lower while below). Values within 0.001
// count as equal.
int32_t StockQuoteCode(double upper, double lower, double bid, double ask, double reference,
                       double last);

// A price text shortened by its size: below 50 as it is, below 500 one
// character less, from 500 three less; never cuts into the whole part.
std::string TrimStockPrice(std::string_view price);

// "--" at the reference, else "▲" or "▼" with the distance, "%.1f" from 10 up
// and "%.2f" below.
std::string FormatStockChange(double reference, double last);

// Rows of the weighted stock list heard by the list view. Every hook does
// nothing by default.
class StockListObserver {
 public:
  virtual ~StockListObserver() = default;
  virtual void BeginReset() {}
  virtual void EndReset() {}
  virtual void RowChanged(int32_t /*row*/) {}
};

// One row: code, name, the six quote texts (columns 3 to 8) and the row code.
struct StockRow {
  std::string code;
  std::string name;
  std::array<std::string, 6> quote;
  int32_t itemData = kNeutralStockCode;
};

// The weighted stock list's texts, one row per stock of the day. Not
// thread-safe (user-interface thread only).
class StockListModel {
 public:
  void SetObserver(StockListObserver* observer) { observer_ = observer; }

  // One row per stock in order: code, name, neutral code, empty quotes.
  void Refill(const TradingDay& day);

  // The row update of a stock trade, applied to every row showing `stock`.
  void ApplyRecord(const _StockInfo& stock, const _StockRecord& record);

  // Session end: empty quote texts and the neutral code on every row.
  void ClearQuotes();
  // Rewind before the cash open: empty quote texts, codes kept.
  void ClearQuoteTexts();

  int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
  const StockRow& Row(int32_t row) const { return rows_[static_cast<size_t>(row)]; }
  std::string CellText(int32_t row, int32_t column) const;
  int32_t ItemData(int32_t row) const;

 private:
  void Changed(size_t row);

  std::vector<StockRow> rows_;
  StockListObserver* observer_ = nullptr;
};

}  // namespace kestrel
