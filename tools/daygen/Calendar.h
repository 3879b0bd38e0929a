#pragma once

#include <string>
#include <vector>

namespace kestrel::daygen {

// A calendar date.
struct Date {
  int year = 0, month = 0, day = 0;

  int Key() const { return year * 10000 + month * 100 + day; }  // YYYYMMDD
  bool operator==(const Date&) const = default;
  bool operator<(const Date& o) const { return Key() < o.Key(); }

  Date Next() const;
  Date Previous() const;
  int Weekday() const;                     // 0 Sunday .. 6 Saturday
  std::string Text(char separator) const;  // e.g. "2013-05-06" with '-'

  static bool Parse(const std::string& text, Date* date);  // YYYY-MM-DD
};

int DaysInMonth(int year, int month);

// Weekdays that are not one of the fixed holidays.
bool IsTradingDay(const Date& d);

// Trading days from `from` to `to`, both included.
std::vector<Date> TradingDays(const Date& from, const Date& to);

// The `count` trading days before `date`, oldest first.
std::vector<Date> TradingDaysBefore(const Date& date, int count);

}  // namespace kestrel::daygen
