#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// A day to download and the names derived from it. Plain value.
struct ChosenDay {
  int year = 0, month = 0, day = 0;
  std::string chosenDate;       // as sent to the service: "%4d/%02d/%02d" from the calendar
  std::string bookArchiveName;  // "TICK_%03d_%02d_%02d.zip", year of the Republic of China era
  std::string shortDayLabel;    // "%03d_%02d_%02d", the same three numbers
};

bool IsValidCalendarDate(int year, int month, int day);

// A day picked on the calendar; nothing for an impossible date or a year
// before the Republic of China era.
std::optional<ChosenDay> ChooseDay(int year, int month, int day);

// A day named by the service or a list row: exactly ten characters, four
// digits, a "/" or "-", two digits, a "/" or "-", two digits, forming a real
// date. The chosen date keeps the text as given. Nothing for any other text
// (a date that would make a bad file name is never used).
std::optional<ChosenDay> ChooseDayFromText(std::string_view text);

// The trading-days reply split at its commas. A last date without a comma is
// kept; empty items are dropped.
std::vector<std::string> SplitTradingDays(std::string_view reply);

// A text as a file name of one folder: not empty, no path separator, no "..",
// no drive, no control character.
bool IsFlatFileName(std::string_view name);

}  // namespace kestrel
