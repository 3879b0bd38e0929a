#include "tradingday/DayMembers.h"

#include <charconv>
#include <cmath>

#include "common/Decimal.h"
#include "common/TextCodec.h"

namespace kestrel::day_members {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view FieldAt(const std::vector<std::string_view>& fields, size_t i) {
  return i < fields.size() ? fields[i] : std::string_view();
}

float FloatAt(const std::vector<std::string_view>& fields, size_t i) {
  return static_cast<float>(ParseFraction(FieldAt(fields, i)));
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
  for (size_t pos = text.find(what); pos != std::string::npos;
       pos = text.find(what, pos + with.size())) {
    text.replace(pos, what.size(), with);
  }
}

// Book lines stamped 08:44 are moved to the session's origin.
std::string Restamp0844(std::string_view line) {
  if (line.substr(0, 4) != "0844") return std::string(line);
  std::string out(line.substr(0, 2));
  out += "450000";
  if (line.size() > 8) out += line.substr(8);
  return out;
}

// Lines up to the first one that is empty after trimming, trimmed.
std::vector<std::string_view> LinesUntilBlank(std::string_view bytes) {
  std::vector<std::string_view> out;
  for (std::string_view line : SplitLines(bytes)) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty()) break;
    out.push_back(trimmed);
  }
  return out;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    std::string_view line =
        bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

double ParseFraction(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // from_chars would also take "inf" and "nan", which no data file means.
  const size_t digits = text.find_first_of("0123456789.");
  if (digits == std::string_view::npos || digits > 1) return 0;
  if (digits == 1 && text.front() != '-') return 0;
  double value = 0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

std::vector<std::string> ReadTickLines(std::string_view bytes) {
  std::vector<std::string> out;
  for (std::string_view line : LinesUntilBlank(bytes)) out.emplace_back(line);
  return out;
}

std::vector<std::string> ReadDayBarLines(std::string_view bytes) {
  std::vector<std::string> out;
  for (std::string_view line : SplitLines(bytes)) {
    if (Trim(line).empty()) break;
    out.emplace_back(line);
  }
  return out;
}

OpenValues ParseOpenValues(std::string_view bytes) {
  const auto lines = SplitLines(bytes);
  auto value = [&](size_t i) -> std::string_view {
    if (i >= lines.size()) return {};
    const std::string_view line = lines[i];
    const size_t comma = line.find(',');
    return comma == std::string_view::npos ? line : line.substr(comma + 1);
  };
  OpenValues v;
  v.indexReference = ParseDecimal(value(0));
  v.futuresReference = ParseDecimal(value(1));
  v.electronicReference = ParseFraction(value(2));
  v.financialReference = ParseFraction(value(3));
  return v;
}

std::string NormaliseIndexTime(std::string_view time) {
  std::string out(time);
  out += time.size() == 4 ? "0000" : "00";
  return out;
}

int32_t ParseIndexRecords(std::string_view bytes,
                          std::array<_IndexRecord, TradingDay::kIndexCapacity>& records) {
  size_t count = 0;
  for (std::string_view line : SplitLines(bytes)) {
    if (count == records.size()) break;
    const auto f = SplitFields(line);
    _IndexRecord& r = records[count++];
    r = _IndexRecord{};
    r.time = NormaliseIndexTime(FieldAt(f, 0));
    r.value = FloatAt(f, 1);
    r.buyOrderCount = FloatAt(f, 2);
    r.buyOrderQuantity = FloatAt(f, 3);
    r.sellOrderCount = FloatAt(f, 4);
    r.sellOrderQuantity = FloatAt(f, 5);
    r.tradeCount = FloatAt(f, 6);
    r.tradeQuantity = FloatAt(f, 7);
    r.tradeValue = FloatAt(f, 8);
  }
  return static_cast<int32_t>(count);
}

int32_t ParseSectorRecords(std::string_view bytes,
                           std::array<_SectorRecord, TradingDay::kIndexCapacity>& records) {
  size_t count = 0;
  for (std::string_view line : SplitLines(bytes)) {
    if (count == records.size()) break;
    const auto f = SplitFields(line);
    records[count++] = _SectorRecord{NormaliseIndexTime(FieldAt(f, 0)), FloatAt(f, 1)};
  }
  return static_cast<int32_t>(count);
}

bool IsValidStockCode(std::string_view code) {
  if (code.empty()) return false;
  for (char c : code) {
    const bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!ok) return false;
  }
  return true;
}

std::vector<_StockInfo> ParseStockList(std::string_view bytes, size_t capacity,
                                       std::string& error) {
  error.clear();
  std::vector<_StockInfo> stocks;
  const auto lines = SplitLines(bytes);
  for (size_t i = 0; i < lines.size() && stocks.size() < capacity; ++i) {
    if (Trim(lines[i]).empty()) continue;
    const auto f = SplitFields(lines[i]);
    const std::string_view code = FieldAt(f, 0);
    if (!IsValidStockCode(code)) {
      error = "股票清單第" + std::to_string(i + 1) + "行代號錯誤：" + Cp950ToUtf8(lines[i]);
      return {};
    }
    _StockInfo stock;
    stock.code = std::string(code);
    stock.name = Cp950ToUtf8(FieldAt(f, 1));
    stock.reference = FloatAt(f, 2);
    stock.limitUp = FloatAt(f, 3);
    stock.limitDown = FloatAt(f, 4);
    stocks.push_back(std::move(stock));
  }
  return stocks;
}

std::vector<_StockRecord> ParseStockRecords(std::string_view bytes) {
  std::vector<_StockRecord> records;
  for (std::string_view line : SplitLines(bytes)) {
    const auto f = SplitFields(line);
    records.push_back({std::string(FieldAt(f, 0)), std::string(FieldAt(f, 1)),
                       std::string(FieldAt(f, 2)), std::string(FieldAt(f, 3)),
                       std::string(FieldAt(f, 4)), std::string(FieldAt(f, 5))});
  }
  return records;
}

std::vector<std::string> ReadBookTicks(std::string_view bytes) {
  std::vector<std::string> ticks;
  for (std::string_view line : LinesUntilBlank(bytes)) {
    std::string tick = Restamp0844(line);
    if (ticks.empty()) ReplaceAll(tick, "-9999", "--");
    ticks.push_back(std::move(tick));
  }
  // The opening lines may lack a bid and ask; they take the traded price.
  constexpr size_t kOpeningLines = 300;
  if (ticks.size() >= kOpeningLines) {
    for (size_t i = 0; i < kOpeningLines; ++i) {
      const auto f = SplitFields(ticks[i]);
      if (FieldAt(f, 1).find("-9999") == std::string_view::npos) continue;
      const std::string price(FieldAt(f, 3));
      ReplaceAll(ticks[i], "-9999", price);
    }
  }
  return ticks;
}

std::vector<std::string> ReadBookSnapshots(std::string_view bytes) {
  std::vector<std::string> snapshots;
  for (std::string_view line : LinesUntilBlank(bytes)) {
    if (line.find("0,,0") != std::string_view::npos) continue;
    const std::string_view minute = line.substr(0, 4);
    if (minute == "0842" || minute == "0843") continue;
    snapshots.push_back(Restamp0844(line));
  }
  return snapshots;
}

}  // namespace kestrel::day_members
