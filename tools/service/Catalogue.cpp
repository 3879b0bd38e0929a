#include "service/Catalogue.h"

#include <algorithm>

#include "service/TextLines.h"

namespace kestrel::service {

namespace {

constexpr std::string_view kMainNames[] = {"", "上漲盤", "下跌盤", "震盪盤", "殺多盤", "軋空盤"};
constexpr std::string_view kSecondaryNames[kSecondaryPatternCount] = {
    "無",       "開高走高", "開高走低", "開低走高", "開低走低",
    "尾盤拉升", "尾盤急殺", "窄幅整理", "V型反轉",  "倒V反轉"};

}  // namespace

std::string_view MainPatternName(int code) {
  return code >= kRising && code <= kShortSqueeze ? kMainNames[code] : std::string_view();
}

std::string_view SecondaryPatternName(int code) {
  return code >= 0 && code < kSecondaryPatternCount ? kSecondaryNames[code] : std::string_view();
}

Catalogue Catalogue::Parse(std::string_view text, std::vector<std::string>* warnings) {
  Catalogue catalogue;
  auto warn = [&](size_t line, const std::string& what) {
    if (warnings != nullptr) warnings->push_back("line " + std::to_string(line) + ": " + what);
  };
  size_t number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> fields = SplitFields(line, ',');
    if (fields.size() != 10) {
      warn(number, "expected 10 fields");
      continue;
    }
    CatalogueDay day;
    const auto date = ParseDate(fields[0]);
    if (!date) {
      warn(number, "bad date");
      continue;
    }
    day.date = *date;
    int64_t* numbers[] = {&day.open,   &day.high,   &day.low,  &day.close,
                          &day.volume, &day.change, &day.range};
    bool ok = true;
    for (size_t i = 0; i < 7 && ok; ++i) {
      const auto value = ParseInteger(fields[i + 1]);
      ok = value.has_value() && (i == 5 || *value >= 0);
      if (ok) *numbers[i] = *value;
    }
    const auto main = ParseInteger(fields[8]);
    const auto secondary = ParseInteger(fields[9]);
    if (!ok || !main || !secondary || MainPatternName(static_cast<int>(*main)).empty() ||
        SecondaryPatternName(static_cast<int>(*secondary)).empty()) {
      warn(number, "bad number or pattern code");
      continue;
    }
    day.mainPattern = static_cast<int>(*main);
    day.secondaryPattern = static_cast<int>(*secondary);
    catalogue.days_.push_back(day);
  }
  // Keep the first line of a repeated day.
  std::stable_sort(catalogue.days_.begin(), catalogue.days_.end(),
                   [](const CatalogueDay& a, const CatalogueDay& b) { return a.date < b.date; });
  auto repeated =
      std::unique(catalogue.days_.begin(), catalogue.days_.end(),
                  [](const CatalogueDay& a, const CatalogueDay& b) { return a.date == b.date; });
  if (repeated != catalogue.days_.end()) {
    for (auto it = repeated; it != catalogue.days_.end(); ++it)
      if (warnings != nullptr) warnings->push_back("repeated day " + FormatDate(it->date));
    catalogue.days_.erase(repeated, catalogue.days_.end());
  }
  return catalogue;
}

const CatalogueDay* Catalogue::Find(const Date& date) const {
  auto it = std::lower_bound(days_.begin(), days_.end(), date,
                             [](const CatalogueDay& d, const Date& key) { return d.date < key; });
  return it != days_.end() && it->date == date ? &*it : nullptr;
}

std::vector<int> Catalogue::Years() const {
  std::vector<int> years;
  for (auto it = days_.rbegin(); it != days_.rend(); ++it)
    if (years.empty() || years.back() != it->date.year) years.push_back(it->date.year);
  return years;
}

std::optional<std::pair<Date, Date>> Catalogue::Span() const {
  if (days_.empty()) return std::nullopt;
  return std::make_pair(days_.front().date, days_.back().date);
}

std::vector<CatalogueDay> Catalogue::Month(int year, int month) const {
  std::vector<CatalogueDay> result;
  for (const CatalogueDay& day : days_)
    if (day.date.year == year && day.date.month == month) result.push_back(day);
  return result;
}

std::vector<Date> Catalogue::Matching(int type, std::optional<Date> from,
                                      std::optional<Date> to) const {
  std::vector<Date> result;
  for (const CatalogueDay& day : days_) {
    if (from && day.date < *from) continue;
    if (to && *to < day.date) continue;
    if (type != 0 && day.mainPattern != type) continue;
    result.push_back(day.date);
  }
  return result;
}

}  // namespace kestrel::service
