#include "SimScript.h"

#include <cstdio>
#include <optional>

#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "trading/TradeState.h"

namespace kestrel::sim {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The market-buy marker is no row of the ladder.
constexpr int32_t kHighestRowPrice = kMarketBuyPrice - 1;
constexpr size_t kMaxNumberDigits = 9;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = line.find(',', start);
    fields.push_back(Trim(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view s) {
  if (s.empty() || s.size() > kMaxNumberDigits) return false;
  for (char c : s)
    if (!IsDigit(c)) return false;
  return true;
}

// HH:MM:SS as seconds of the day.
std::optional<int32_t> ParseTime(std::string_view t) {
  if (t.size() != 8 || t[2] != ':' || t[5] != ':') return std::nullopt;
  for (size_t i : {0, 1, 3, 4, 6, 7})
    if (!IsDigit(t[i])) return std::nullopt;
  const int32_t h = ParseDecimal(t.substr(0, 2));
  const int32_t m = ParseDecimal(t.substr(3, 2));
  const int32_t s = ParseDecimal(t.substr(6, 2));
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return h * 3600 + m * 60 + s;
}

struct ActionWord {
  const char* word;
  SimActionKind kind;
  size_t fields;  // including the time and the action
  const char* form;
};

constexpr ActionWord kActions[] = {
    {"limit", SimActionKind::Limit, 5, "HH:MM:SS,limit,buy|sell,PRICE,LOTS"},
    {"market", SimActionKind::Market, 4, "HH:MM:SS,market,buy|sell,LOTS"},
    {"ladder", SimActionKind::Ladder, 5, "HH:MM:SS,ladder,buy|sell,PRICE,LOTS"},
    {"trigger", SimActionKind::Trigger, 5, "HH:MM:SS,trigger,buy|sell,PRICE,LOTS"},
    {"cancel", SimActionKind::Cancel, 3, "HH:MM:SS,cancel,NO"},
    {"cancel-all", SimActionKind::CancelAll, 2, "HH:MM:SS,cancel-all"},
    {"end", SimActionKind::End, 2, "HH:MM:SS,end"},
};

// Parses one non-blank, non-comment line; an error text when it is bad.
std::string ParseLine(std::string_view line, SimAction* a) {
  const std::vector<std::string_view> f = SplitFields(line);
  const std::optional<int32_t> second = ParseTime(f[0]);
  if (!second) return "time '" + std::string(f[0]) + "' is not HH:MM:SS";
  a->second = *second;
  a->timeText = std::string(f[0]);
  if (f.size() < 2 || f[1].empty()) return "missing action after the time";

  const ActionWord* word = nullptr;
  for (const ActionWord& w : kActions)
    if (EqualsIgnoreCase(f[1], w.word)) word = &w;
  if (word == nullptr)
    return "unknown action '" + std::string(f[1]) +
           "' (limit, market, ladder, trigger, cancel, cancel-all, end)";
  a->kind = word->kind;
  if (f.size() != word->fields) return std::string("expected ") + word->form;

  switch (a->kind) {
    case SimActionKind::Cancel:
      if (!AllDigits(f[2]) || ParseDecimal(f[2]) == 0)
        return "order number '" + std::string(f[2]) + "' is not a positive whole number";
      {
        char no[16];
        std::snprintf(no, sizeof no, "%04d", ParseDecimal(f[2]));
        a->orderNo = no;
      }
      return "";
    case SimActionKind::CancelAll:
    case SimActionKind::End: return "";
    default: break;
  }

  if (EqualsIgnoreCase(f[2], "buy")) {
    a->side = kSideBuy;
  } else if (EqualsIgnoreCase(f[2], "sell")) {
    a->side = kSideSell;
  } else {
    return "side '" + std::string(f[2]) + "' is neither buy nor sell";
  }
  a->lotsText = std::string(f.back());
  if (a->kind == SimActionKind::Limit) a->priceText = std::string(f[3]);
  if (a->kind == SimActionKind::Ladder || a->kind == SimActionKind::Trigger) {
    const int32_t price = AllDigits(f[3]) ? ParseDecimal(f[3]) : 0;
    if (price <= 0 || price > kHighestRowPrice)
      return "ladder price '" + std::string(f[3]) + "' is not a whole number from 1 to " +
             std::to_string(kHighestRowPrice);
    a->price = price;
  }
  return "";
}

}  // namespace

SimScript ParseSimScript(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  SimScript script;
  int lineNo = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++lineNo;
    if (line.empty() || line.front() == '#') continue;
    SimAction action;
    action.lineNo = lineNo;
    std::string error = ParseLine(line, &action);
    if (error.empty()) {
      script.actions.push_back(std::move(action));
    } else {
      script.errors.push_back({lineNo, std::move(error)});
    }
  }
  return script;
}

const char* ActionName(SimActionKind kind) {
  for (const ActionWord& w : kActions)
    if (w.kind == kind) return w.word;
  return "";
}

}  // namespace kestrel::sim
