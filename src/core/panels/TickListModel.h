#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct TradingDay;

// Columns of the tick detail list; column 6 is a hidden second time column.
enum TickListColumn {
  kTickTime,
  kTickBid,
  kTickAsk,
  kTickPrice,
  kTickVolume,
  kTickTotal,
  kTickHidden,
  kTickListColumns
};

// A value against the futures reference: 2 above, 0 equal, 1 below (unsigned
// comparison, so a negative value counts as above).
int32_t TickPriceClass(int32_t value, int32_t reference);

// Side of a replayed trade: 0 inner (at or below the bid), 1 outer (at or above
// the ask), 2 between (unsigned comparisons, bid first).
int32_t TickSideClass(int32_t price, int32_t bid, int32_t ask);

// Side of a user fill: 0 at the bid, 1 at the ask, 2 anywhere else.
int32_t FillSideClass(int32_t price, int32_t bid, int32_t ask);

// HH:MM:SS of a second key HHMMSS, written pair by pair.
std::string SecondKeyText(std::string_view secondKey);

// Row colour code: side | bid << 2 | ask << 4 | price << 6.
int32_t TickColourCode(int32_t side, int32_t bidClass, int32_t askClass, int32_t priceClass);

// What the list view hears about changes, in display rows. Begin/End pairs
// bracket every change (the rows are changed between them). Every hook does
// nothing by default.
class TickListObserver {
 public:
  virtual ~TickListObserver() = default;
  virtual void BeginInsertRows(int32_t /*first*/, int32_t /*last*/) {}
  virtual void EndInsertRows() {}
  virtual void BeginRemoveRows(int32_t /*first*/, int32_t /*last*/) {}
  virtual void EndRemoveRows() {}
  virtual void BeginReset() {}
  virtual void EndReset() {}
  // Repainting off while rows go in; back on once per insert or per heartbeat.
  virtual void SetRedraw(bool /*on*/) {}
};

// The tick detail list's data: one row per replayed tick or user fill, the
// running total, and the scroll direction. Rows are kept in insertion order as
// numbers (texts only where a cell is not the plain "%d" of its number); the
// top-down mode shows them newest first. Not thread-safe (user-interface
// thread only).
class TickListModel {
 public:
  static constexpr int32_t kBlankRows = 50;

  TickListModel();

  void SetObserver(TickListObserver* observer) { observer_ = observer; }

  // Scroll mode: bottom-up (SCROLLTYPE 1) appends new rows at the end and
  // keeps the last row visible; top-down (0) puts them on top.
  void SetBottomUp(bool bottomUp);
  bool BottomUp() const { return bottomUp_; }

  // One replayed tick (texts as parsed from the tick line; `secondKey` is
  // HHMMSS). Adds the volume to the running total and to the day's step
  // inner or outer volume, and copies the total to `totalVolume`. Redrawing is
  // switched back on afterwards only when `redrawAfter`.
  void InsertTickRow(TradingDay& day, std::string_view secondKey, std::string_view bid,
                     std::string_view ask, std::string_view price, std::string_view volume,
                     bool redrawAfter);

  // The same with the numbers already read from the texts (the replay reads
  // them once per tick).
  struct TickTexts {
    std::string_view secondKey, bid, ask, price, volume;
    int32_t bidValue = 0, askValue = 0, priceValue = 0, volumeValue = 0;
  };
  void InsertTickRow(TradingDay& day, const TickTexts& tick, bool redrawAfter);

  // Room for this many more rows (a session's ticks), so that inserting never
  // has to move the list.
  void Reserve(size_t moreRows) { rows_.reserve(rows_.size() + moreRows); }

  // One fill of a user order, stamped with the clock text. The filled quantity
  // joins the running total; the step volumes are left alone.
  void InsertFillRow(TradingDay& day, const std::string& time, int32_t bid, int32_t ask,
                     int32_t price, int32_t volume);

  // Repainting back on after a heartbeat's inserts.
  void EnableRedraw() { Redraw(true); }

  // Every row removed, then 50 blank rows of two spaces.
  void ResetTickList();

  int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
  // Cell text as shown ("" outside the list; column 6 is never written).
  std::string CellText(int32_t row, int32_t column) const;
  int32_t ColourCode(int32_t row) const;
  // Time of a row with its colons removed, read as a number (blank rows 0).
  int32_t RowTime(int32_t row) const;

  int32_t RunningTotal() const { return runningTotal_; }
  void SetRunningTotal(int32_t total) { runningTotal_ = total; }

  // The row to keep visible after a heartbeat: the last in bottom-up mode,
  // the first in top-down mode (-1 for an empty list).
  int32_t ScrollRow() const;

  // Rewind: removes every row from the oldest whose time is at or after
  // `hhmmss` on (the tail in bottom-up mode, the head in top-down mode), in up
  // to ten slices; `tenth` hears 1..10 after each. Returns the rows removed.
  int32_t RemoveRowsFrom(int32_t hhmmss, const std::function<void(int32_t tenth)>& tenth = {});

 private:
  enum class Kind : uint8_t { Blank, Tick, Fill };

  struct Row {
    int32_t time = 0;  // HHMMSS as a number
    int32_t bid = 0, ask = 0, price = 0, volume = 0, total = 0;
    int32_t texts = -1;  // index into texts_ when a cell is not the "%d" of its number
    uint8_t code = 0;
    Kind kind = Kind::Blank;
  };
  struct Texts {
    std::string cells[5];  // time, bid, ask, price, volume as shown
  };

  size_t StorageIndex(int32_t displayRow) const;
  void Append(Row row, const Texts* texts);
  void AddToRunningTotal(TradingDay& day, int32_t volume);
  void Redraw(bool on);

  std::vector<Row> rows_;  // insertion order
  std::vector<Texts> texts_;
  int32_t runningTotal_ = 0;
  bool bottomUp_ = false;
  TickListObserver* observer_ = nullptr;
};

}  // namespace kestrel
