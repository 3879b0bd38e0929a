#include "panels/TickListModel.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

#include "common/Decimal.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace {

constexpr const char* kBlankCell = "  ";

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// True when `text` is exactly what "%d" writes for `value`.
bool IsPlainNumber(std::string_view text, int32_t value) {
  char buf[16];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  return text == std::string_view(buf, static_cast<size_t>(end - buf));
}

std::string NumberText(int32_t value) {
  char buf[16];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  return std::string(buf, end);
}

// "%02d:%02d:%02d" of an HHMMSS number.
std::string HmsText(int32_t hhmmss) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hhmmss / 10000, hhmmss / 100 % 100,
                hhmmss % 100);
  return buf;
}

bool IsSixDigits(std::string_view text) {
  if (text.size() != 6) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// A time cell's text with its colons removed, read as a number.
int32_t TimeNumber(std::string_view shown) {
  std::string digits;
  digits.reserve(shown.size());
  for (char c : shown)
    if (c != ':') digits += c;
  return ParseDecimal(digits);
}

}  // namespace

std::string SecondKeyText(std::string_view key) {
  std::string out;
  out.reserve(8);
  for (size_t at = 0; at < key.size() && at < 6; at += 2) {
    if (at > 0) out += ':';
    out += key.substr(at, 2);
  }
  return out;
}

int32_t TickPriceClass(int32_t value, int32_t reference) {
  const auto v = static_cast<uint32_t>(value);
  const auto r = static_cast<uint32_t>(reference);
  if (v > r) return 2;
  if (v < r) return 1;
  return 0;
}

int32_t TickSideClass(int32_t price, int32_t bid, int32_t ask) {
  const auto p = static_cast<uint32_t>(price);
  if (p <= static_cast<uint32_t>(bid)) return 0;
  if (p >= static_cast<uint32_t>(ask)) return 1;
  return 2;
}

int32_t FillSideClass(int32_t price, int32_t bid, int32_t ask) {
  if (price == bid) return 0;
  if (price == ask) return 1;
  return 2;
}

int32_t TickColourCode(int32_t side, int32_t bidClass, int32_t askClass, int32_t priceClass) {
  return side | bidClass << 2 | askClass << 4 | priceClass << 6;
}

TickListModel::TickListModel() {
  ResetTickList();
}

void TickListModel::SetBottomUp(bool bottomUp) {
  if (bottomUp == bottomUp_) return;
  if (observer_) observer_->BeginReset();
  bottomUp_ = bottomUp;
  if (observer_) observer_->EndReset();
}

void TickListModel::InsertTickRow(TradingDay& day, std::string_view secondKey, std::string_view bid,
                                  std::string_view ask, std::string_view price,
                                  std::string_view volume, bool redrawAfter) {
  TickTexts tick{secondKey, bid, ask, price, volume};
  tick.bidValue = ParseDecimal(bid);
  tick.askValue = ParseDecimal(ask);
  tick.priceValue = ParseDecimal(price);
  tick.volumeValue = ParseDecimal(volume);
  InsertTickRow(day, tick, redrawAfter);
}

void TickListModel::InsertTickRow(TradingDay& day, const TickTexts& tick, bool redrawAfter) {
  Row row;
  row.kind = Kind::Tick;
  row.bid = tick.bidValue;
  row.ask = tick.askValue;
  row.price = tick.priceValue;
  row.volume = tick.volumeValue;
  const int32_t reference = day.futuresReference;
  const int32_t side = TickSideClass(row.price, row.bid, row.ask);
  row.code = static_cast<uint8_t>(TickColourCode(side, TickPriceClass(row.bid, reference),
                                                 TickPriceClass(row.ask, reference),
                                                 TickPriceClass(row.price, reference)));

  AddToRunningTotal(day, row.volume);
  if (side == 0) day.stepInnerVolume = Saturate(int64_t{day.stepInnerVolume} + row.volume);
  if (side == 1) day.stepOuterVolume = Saturate(int64_t{day.stepOuterVolume} + row.volume);
  row.total = runningTotal_;

  // A key of six digits shows as the "%02d:%02d:%02d" of its number; any
  // other key keeps its own text.
  const bool plainKey = IsSixDigits(tick.secondKey);
  std::string shownTime;
  if (plainKey) {
    row.time = ParseDecimal(tick.secondKey);
  } else {
    shownTime = SecondKeyText(tick.secondKey);
    row.time = TimeNumber(shownTime);
  }
  Redraw(false);
  if (plainKey && IsPlainNumber(tick.bid, row.bid) && IsPlainNumber(tick.ask, row.ask) &&
      IsPlainNumber(tick.price, row.price) && IsPlainNumber(tick.volume, row.volume)) {
    Append(row, nullptr);
  } else {
    if (plainKey) shownTime = SecondKeyText(tick.secondKey);
    const Texts texts{{shownTime, std::string(tick.bid), std::string(tick.ask),
                       std::string(tick.price), std::string(tick.volume)}};
    Append(row, &texts);
  }
  if (redrawAfter) Redraw(true);
}

void TickListModel::InsertFillRow(TradingDay& day, const std::string& time, int32_t bid,
                                  int32_t ask, int32_t price, int32_t volume) {
  Row row;
  row.kind = Kind::Fill;
  row.bid = bid;
  row.ask = ask;
  row.price = price;
  row.volume = volume;
  const int32_t reference = day.futuresReference;
  row.code = static_cast<uint8_t>(
      TickColourCode(FillSideClass(price, bid, ask), TickPriceClass(bid, reference),
                     TickPriceClass(ask, reference), TickPriceClass(price, reference)));
  AddToRunningTotal(day, volume);
  row.total = runningTotal_;
  row.time = TimeNumber(time);
  Redraw(false);
  if (time == HmsText(row.time)) {
    Append(row, nullptr);
  } else {
    const Texts texts{
        {time, NumberText(bid), NumberText(ask), NumberText(price), NumberText(volume)}};
    Append(row, &texts);
  }
  Redraw(true);
}

void TickListModel::ResetTickList() {
  if (observer_) observer_->BeginReset();
  rows_.clear();
  texts_.clear();
  rows_.resize(kBlankRows);
  if (observer_) observer_->EndReset();
}

std::string TickListModel::CellText(int32_t displayRow, int32_t column) const {
  if (displayRow < 0 || displayRow >= RowCount() || column < 0 || column >= kTickListColumns)
    return {};
  if (column == kTickHidden) return {};
  const Row& row = rows_[StorageIndex(displayRow)];
  if (row.kind == Kind::Blank) return kBlankCell;
  if (column == kTickTotal) return NumberText(row.total);
  if (row.texts >= 0) return texts_[static_cast<size_t>(row.texts)].cells[column];
  switch (column) {
    case kTickTime: return HmsText(row.time);
    case kTickBid: return NumberText(row.bid);
    case kTickAsk: return NumberText(row.ask);
    case kTickPrice: return NumberText(row.price);
    case kTickVolume: return NumberText(row.volume);
    default: return {};
  }
}

int32_t TickListModel::ColourCode(int32_t displayRow) const {
  if (displayRow < 0 || displayRow >= RowCount()) return 0;
  return rows_[StorageIndex(displayRow)].code;
}

int32_t TickListModel::RowTime(int32_t displayRow) const {
  if (displayRow < 0 || displayRow >= RowCount()) return 0;
  return rows_[StorageIndex(displayRow)].time;
}

int32_t TickListModel::ScrollRow() const {
  if (rows_.empty()) return -1;
  return bottomUp_ ? RowCount() - 1 : 0;
}

int32_t TickListModel::RemoveRowsFrom(int32_t hhmmss,
                                      const std::function<void(int32_t tenth)>& tenth) {
  // Oldest first in storage: the first such row in bottom-up order, and the
  // last such row counted from the top in top-down order, are the same row.
  size_t from = rows_.size();
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].time >= hhmmss) {
      from = i;
      break;
    }
  }
  const size_t removing = rows_.size() - from;
  if (removing == 0) return 0;
  Redraw(false);
  const size_t slice = (removing + 9) / 10;
  int32_t step = 0;
  while (rows_.size() > from) {
    const size_t size = rows_.size();
    const size_t first = std::max(from, size - std::min(slice, size - from));
    // The slice is the newest rows: the bottom in bottom-up mode, the top otherwise.
    const auto last = static_cast<int32_t>(size - 1);
    const auto span = static_cast<int32_t>(size - first);
    if (observer_) {
      if (bottomUp_)
        observer_->BeginRemoveRows(last - span + 1, last);
      else
        observer_->BeginRemoveRows(0, span - 1);
    }
    for (size_t i = first; i < size; ++i) {
      if (rows_[i].texts >= 0) {
        texts_.resize(static_cast<size_t>(rows_[i].texts));
        break;
      }
    }
    rows_.resize(first);
    if (observer_) observer_->EndRemoveRows();
    if (tenth) tenth(++step);
  }
  Redraw(true);
  return static_cast<int32_t>(removing);
}

size_t TickListModel::StorageIndex(int32_t displayRow) const {
  const auto row = static_cast<size_t>(displayRow);
  return bottomUp_ ? row : rows_.size() - 1 - row;
}

void TickListModel::Append(Row row, const Texts* texts) {
  // The new row's display position: the end in bottom-up mode, the top otherwise.
  const int32_t at = bottomUp_ ? RowCount() : 0;
  if (observer_) observer_->BeginInsertRows(at, at);
  if (texts) {
    row.texts = static_cast<int32_t>(texts_.size());
    texts_.push_back(*texts);
  }
  rows_.push_back(row);
  if (observer_) observer_->EndInsertRows();
}

void TickListModel::AddToRunningTotal(TradingDay& day, int32_t volume) {
  runningTotal_ = Saturate(int64_t{runningTotal_} + volume);
  day.totalVolume = runningTotal_;
}

void TickListModel::Redraw(bool on) {
  if (observer_) observer_->SetRedraw(on);
}

}  // namespace kestrel
