#include "service/DateText.h"

#include <cstdio>
#include <ctime>

namespace kestrel::service {

namespace {

bool Digits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  if (year < 1912 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = month == 2 && leap ? 29 : kDays[month - 1];
  return day <= last;
}

std::optional<Date> ParseDate(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  const char separator = text[4];
  if ((separator != '/' && separator != '-') || text[7] != separator) return std::nullopt;
  const std::string_view y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
  if (!Digits(y) || !Digits(m) || !Digits(d)) return std::nullopt;
  Date date{Number(y), Number(m), Number(d)};
  if (!IsValidDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

std::string FormatDate(const Date& date, char separator) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%c%02d%c%02d", date.year, separator, date.month, separator,
                date.day);
  return text;
}

std::string DateKey(const Date& date) {
  return FormatDate(date, '_');
}

std::string DayArchiveName(const Date& date) {
  return "TICK_" + DateKey(date) + ".zip";
}

std::string KLineArchiveName(const Date& date) {
  return "K_" + DateKey(date) + ".zip";
}

std::string BookArchiveName(const Date& date) {
  char text[32];
  std::snprintf(text, sizeof text, "TICK_%03d_%02d_%02d.zip", date.year - 1911, date.month,
                date.day);
  return text;
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace kestrel::service
