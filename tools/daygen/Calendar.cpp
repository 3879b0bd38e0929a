#include "Calendar.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::daygen {

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

Date Date::Next() const {
  Date d = *this;
  if (++d.day > DaysInMonth(d.year, d.month)) {
    d.day = 1;
    if (++d.month > 12) {
      d.month = 1;
      ++d.year;
    }
  }
  return d;
}

Date Date::Previous() const {
  Date d = *this;
  if (--d.day < 1) {
    if (--d.month < 1) {
      d.month = 12;
      --d.year;
    }
    d.day = DaysInMonth(d.year, d.month);
  }
  return d;
}

int Date::Weekday() const {
  // Sakamoto's method.
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = year - (month < 3 ? 1 : 0);
  return (y + y / 4 - y / 100 + y / 400 + t[month - 1] + day) % 7;
}

std::string Date::Text(char separator) const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%c%02d%c%02d", year, separator, month, separator, day);
  return buf;
}

bool Date::Parse(const std::string& text, Date* date) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3)
    return false;
  if (y < 1990 || y > 2100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
  *date = {y, m, d};
  return true;
}

bool IsTradingDay(const Date& d) {
  const int wd = d.Weekday();
  if (wd == 0 || wd == 6) return false;
  // New Year, Peace Memorial Day, Children's and Tomb-Sweeping Days, Labour Day,
  // National Day.
  static const int kHolidays[][2] = {{1, 1}, {2, 28}, {4, 4}, {4, 5}, {5, 1}, {10, 10}};
  for (const auto& h : kHolidays)
    if (d.month == h[0] && d.day == h[1]) return false;
  return true;
}

std::vector<Date> TradingDays(const Date& from, const Date& to) {
  std::vector<Date> days;
  for (Date d = from; !(to < d); d = d.Next())
    if (IsTradingDay(d)) days.push_back(d);
  return days;
}

std::vector<Date> TradingDaysBefore(const Date& date, int count) {
  std::vector<Date> days;
  for (Date d = date.Previous(); static_cast<int>(days.size()) < count; d = d.Previous())
    if (IsTradingDay(d)) days.push_back(d);
  std::reverse(days.begin(), days.end());
  return days;
}

}  // namespace kestrel::daygen
