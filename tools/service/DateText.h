#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::service {

// A calendar day as requests, the catalogue and archive names write it.
struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  auto operator<=>(const Date&) const = default;
};

// "YYYY/MM/DD" or "YYYY-MM-DD": exactly ten characters naming a real day from
// 1912 on (book archives count years from 1911).
std::optional<Date> ParseDate(std::string_view text);
bool IsValidDate(int year, int month, int day);

// "2013/05/06", or with another separator.
std::string FormatDate(const Date& date, char separator = '/');
// "2013_05_06": the key of the per-day files.
std::string DateKey(const Date& date);

std::string DayArchiveName(const Date& date);    // TICK_2013_05_06.zip
std::string KLineArchiveName(const Date& date);  // K_2013_05_06.zip
std::string BookArchiveName(const Date& date);   // TICK_102_05_06.zip (Republic of China year)

// The local calendar day.
Date Today();

}  // namespace kestrel::service
