#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/DateText.h"

namespace kestrel::service {

// Main pattern codes of the catalogue; they are also the pattern types 1 to 5
// of the pattern request (type 0 is any day).
enum MainPattern : int {
  kRising = 1,
  kFalling = 2,
  kSideways = 3,
  kLongSqueeze = 4,
  kShortSqueeze = 5,
};
inline constexpr int kSecondaryPatternCount = 10;  // codes 0 to 9

// Names shown by the historical query; empty for an unknown code.
std::string_view MainPatternName(int code);
std::string_view SecondaryPatternName(int code);

// One trading day of the catalogue.
struct CatalogueDay {
  Date date;
  int64_t open = 0, high = 0, low = 0, close = 0, volume = 0;
  int64_t change = 0;  // close minus the previous close, points
  int64_t range = 0;   // high minus low, points
  int mainPattern = 0;
  int secondaryPattern = 0;
};

// The list of trading days the service knows, sorted by date. Plain data: safe to
// share between threads once built.
class Catalogue {
 public:
  // One day per line: date,open,high,low,close,volume,change,range,main,secondary.
  // Blank lines and lines starting with '#' are skipped; a malformed or repeated
  // line is skipped with a warning naming its line number.
  static Catalogue Parse(std::string_view text, std::vector<std::string>* warnings = nullptr);

  const std::vector<CatalogueDay>& days() const { return days_; }
  const CatalogueDay* Find(const Date& date) const;

  // Years with data, newest first.
  std::vector<int> Years() const;
  std::optional<std::pair<Date, Date>> Span() const;
  std::vector<CatalogueDay> Month(int year, int month) const;
  // Days of a pattern type (0 any, 1 to 5 the main pattern) within the bounds.
  std::vector<Date> Matching(int type, std::optional<Date> from, std::optional<Date> to) const;

 private:
  std::vector<CatalogueDay> days_;
};

}  // namespace kestrel::service
