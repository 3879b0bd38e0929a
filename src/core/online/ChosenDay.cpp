#include "online/ChosenDay.h"

#include <cstdio>

#include "tradingday/ZipReader.h"

namespace kestrel {

namespace {

constexpr int kRepublicEraOffset = 1911;

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

int Number(std::string_view digits) {
  int value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool IsDateSeparator(char c) {
  return c == '/' || c == '-';
}

ChosenDay Names(int year, int month, int day) {
  ChosenDay chosen;
  chosen.year = year;
  chosen.month = month;
  chosen.day = day;
  char text[48];
  std::snprintf(text, sizeof text, "%4d/%02d/%02d", year, month, day);
  chosen.chosenDate = text;
  const int era = year - kRepublicEraOffset;
  std::snprintf(text, sizeof text, "TICK_%03d_%02d_%02d.zip", era, month, day);
  chosen.bookArchiveName = text;
  std::snprintf(text, sizeof text, "%03d_%02d_%02d", era, month, day);
  chosen.shortDayLabel = text;
  return chosen;
}

}  // namespace

bool IsValidCalendarDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = month == 2 && leap ? 29 : kDays[month - 1];
  return day <= last;
}

std::optional<ChosenDay> ChooseDay(int year, int month, int day) {
  if (!IsValidCalendarDate(year, month, day) || year <= kRepublicEraOffset) return std::nullopt;
  return Names(year, month, day);
}

std::optional<ChosenDay> ChooseDayFromText(std::string_view text) {
  if (text.size() != 10 || !IsDigits(text.substr(0, 4)) || !IsDateSeparator(text[4]) ||
      !IsDigits(text.substr(5, 2)) || !IsDateSeparator(text[7]) || !IsDigits(text.substr(8, 2)))
    return std::nullopt;
  auto chosen =
      ChooseDay(Number(text.substr(0, 4)), Number(text.substr(5, 2)), Number(text.substr(8, 2)));
  if (chosen) chosen->chosenDate = std::string(text);
  return chosen;
}

std::vector<std::string> SplitTradingDays(std::string_view reply) {
  std::vector<std::string> days;
  size_t start = 0;
  while (start < reply.size()) {
    size_t comma = reply.find(',', start);
    if (comma == std::string_view::npos) comma = reply.size();
    if (comma > start) days.emplace_back(reply.substr(start, comma - start));
    start = comma + 1;
  }
  return days;
}

bool IsFlatFileName(std::string_view name) {
  if (!IsSafeMemberName(name)) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace kestrel
