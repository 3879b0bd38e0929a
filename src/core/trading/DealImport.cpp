#include "trading/DealImport.h"

#include <algorithm>
#include <cstdio>
#include <deque>

#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "common/TextCodec.h"
#include "trading/TradeText.h"

namespace kestrel {

namespace {

// The field messages of each format, in the order the fields are checked.
struct FieldMessages {
  const char* time;
  const char* side;
  const char* price;
  const char* lots;
};

constexpr FieldMessages kOwnMessages = {"第三個欄位(時間)資料格式錯誤，必須是 XX：XX：XX",
                                        "第五個欄位(買賣別)資料錯誤", "第七個欄位(成交價)資料錯誤",
                                        "第八個欄位(成交量)資料錯誤"};
constexpr FieldMessages kPlainMessages = {
    "第五個欄位(時間)資料格式錯誤，必須是 XX：XX：XX", "第二個欄位(買賣別)資料錯誤",
    "第三個欄位(成交價)資料錯誤", "第四個欄位(成交量)資料錯誤"};

struct RawDeal {
  std::string_view product, side, price, lots, time;
};

// Plain line: four separated fields, then the time as everything after the
// fourth separator. Missing fields read empty.
RawDeal SplitPlain(std::string_view line) {
  const char sep = line.find(',') != std::string_view::npos ? ',' : ' ';
  std::string_view parts[5];
  std::string_view rest = line;
  for (int k = 0; k < 4; ++k) {
    const size_t at = rest.find(sep);
    if (at == std::string_view::npos) {
      parts[k] = rest;
      rest = {};
      break;
    }
    parts[k] = rest.substr(0, at);
    rest = rest.substr(at + 1);
    if (k == 3) parts[4] = rest;
  }
  return {parts[0], parts[1], parts[2], parts[3], parts[4]};
}

RawDeal SplitOwn(std::string_view line) {
  const auto f = SplitFields(line, ',');
  return {FieldAt(f, 3), FieldAt(f, 4), FieldAt(f, 6), FieldAt(f, 7), FieldAt(f, 2)};
}

std::string PlainSide(std::string_view side) {
  if (side == "b" || side == "B") return "買進";
  if (side == "s" || side == "S") return "賣出";
  return std::string(side);
}

std::string LineMessage(size_t lineNo) {
  char text[64];
  std::snprintf(text, sizeof text, "請檢查檔案第 %zu 列", lineNo);
  return text;
}

// Checks and normalises one data line; the field's message on a fault.
std::optional<std::string> ReadDeal(const RawDeal& raw, DealFileFormat format, _DEALDATA* d) {
  const FieldMessages& m = format == DealFileFormat::Own ? kOwnMessages : kPlainMessages;
  d->product = TrimSpaces(raw.product);
  const std::string_view side = TrimSpaces(raw.side);
  d->side = format == DealFileFormat::Plain ? PlainSide(side) : std::string(side);
  d->price = TrimSpaces(raw.price);
  d->lots = TrimSpaces(raw.lots);
  const std::optional<std::string> time = NormaliseDealTime(raw.time);
  if (!time) return m.time;
  d->time = *time;
  if (d->side.find("買") == std::string::npos && d->side.find("賣") == std::string::npos)
    return m.side;
  if (ParseDecimal(d->price) == 0) return m.price;
  if (ParseDecimal(d->lots) == 0) return m.lots;
  return std::nullopt;
}

// One to two characters, a single one prefixed with "0".
std::optional<std::string> TimePart(std::string_view part) {
  part = TrimSpaces(part);
  const size_t length = Utf8Length(part);
  if (length == 1) {
    std::string padded = "0";
    padded.append(part);
    return padded;
  }
  if (length == 2) return std::string(part);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> NormaliseDealTime(std::string_view text) {
  text = TrimSpaces(text);
  const size_t first = text.find(':');
  if (first == std::string_view::npos || first < 1) return std::nullopt;
  const size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto h = TimePart(text.substr(0, first));
  const auto m = TimePart(text.substr(first + 1, second - first - 1));
  const auto s = TimePart(text.substr(second + 1));
  if (!h || !m || !s || ParseDecimal(*h) == 0) return std::nullopt;
  std::string time = *h + ":" + *m + ":" + *s;
  if (Utf8Length(time) != 8) return std::nullopt;
  return time;
}

DealFileParse ParseDealFile(std::string_view bytes) {
  DealFileParse result;
  const std::string text = DecodeAnsiOrUtf16(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);
  if (!lines.empty() && lines.front().find("演練時間") != std::string_view::npos)
    result.format = DealFileFormat::Own;

  std::deque<_DEALDATA> list;
  int64_t firstKey = 0;
  bool descending = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string owned(lines[i]);
    std::replace(owned.begin(), owned.end(), '\t', ' ');
    const std::string_view line = TrimSpaces(owned);
    if (line.empty() || line.find('#') != std::string_view::npos) continue;

    RawDeal raw;
    if (result.format == DealFileFormat::Own) {
      // Title, header and summary lines do not start with a deal number.
      if (ParseDecimal(Utf8Prefix(line, 4)) == 0) continue;
      const size_t comma = line.find(',');
      if (comma == std::string_view::npos || comma < 1) {
        result.messages = {{LineMessage(i + 1), kCaptionError}};
        return result;
      }
      raw = SplitOwn(line);
    } else {
      raw = SplitPlain(line);
    }

    _DEALDATA d;
    if (const auto fault = ReadDeal(raw, result.format, &d)) {
      result.messages = {{*fault, kCaptionError}, {LineMessage(i + 1), kCaptionError}};
      return result;
    }
    std::string digits = d.time;
    std::erase(digits, ':');
    const int64_t key = ParseDecimal64(digits);
    if (list.empty()) {
      firstKey = key;
      list.push_back(std::move(d));
      continue;
    }
    if (list.size() == 1) descending = !(firstKey < key);
    if (descending) {
      list.push_front(std::move(d));
    } else {
      list.push_back(std::move(d));
    }
  }
  result.deals.assign(list.begin(), list.end());
  result.ok = true;
  return result;
}

std::optional<UserMessage> CheckDealImportAllowed(bool sessionRunning) {
  if (sessionRunning) return std::nullopt;
  return UserMessage{"請開盤後再載入資料", kCaptionError};
}

void ApplyImportedDeals(TradeContext& ctx, const std::vector<_DEALDATA>& deals) {
  ctx.state.DealRecords.clear();
  ctx.state.quietQuote.reset();
  ctx.rows.deals.clear();
  for (size_t k = 0; k < deals.size(); ++k) {
    const _DEALDATA& d = deals[k];
    char no[32];
    std::snprintf(no, sizeof no, "%04zu", k + 1);
    AccountRow row;
    row.cells.assign(kDealColumns, "");
    row.cells[kDealNo] = no;
    row.cells[kDealFillTime] = d.time;
    row.cells[kDealProduct] = d.product;
    row.cells[kDealSide] = d.side;
    row.cells[kDealFillPrice] = d.price;
    row.cells[kDealQty] = d.lots;
    ctx.rows.deals.push_back(std::move(row));

    _Orders record;
    record.no = no;
    record.product = d.product;
    record.fillTime = d.time;
    record.qty = ParseDecimal(d.lots);
    record.side = d.side == "買進" ? kSideBuy : kSideSell;
    ctx.state.DealRecords.push_back(std::move(record));
  }
  ctx.sink.AccountRowsChanged(AccountList::Deals, RowChange::Reset, -1);
  ctx.sink.ShowFirstDeal();
  ctx.sink.DealRecordsReplaced();
}

std::vector<UserMessage> ImportDeals(TradeContext& ctx, const std::filesystem::path& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return {{"CFT Error: file not found", ""}};
  const DealFileParse parsed = ParseDealFile(*bytes);
  ApplyImportedDeals(ctx, parsed.ok ? parsed.deals : std::vector<_DEALDATA>{});
  return parsed.messages;
}

}  // namespace kestrel
