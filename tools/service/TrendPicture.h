#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/Catalogue.h"
#include "service/DateText.h"

namespace kestrel::service {

// One minute of a day's futures trend.
struct TrendPoint {
  int minute = 0;  // minutes after 08:45, 1 to 300 (08:46 to 13:45)
  int64_t price = 0;
  int64_t volume = 0;
};

// The per-day trend file, ASCII, one minute per line: HHMM,price,volume (the
// price at the end of the minute, the lots traded in it), 0846 to 1345. Blank
// lines, '#' lines and malformed lines are skipped; points come out in time
// order, one per minute (the last line of a minute wins).
std::vector<TrendPoint> ParseTrendFile(std::string_view text);

// The historical query's day picture: a 945 × 633 GIF of the futures trend
// against the previous close, the minute volumes below and the day's figures
// on top. `figures` is the day's catalogue line when there is one (its close
// minus its change is the previous close; without it the first price is).
// Nothing when there are fewer than two points.
std::string RenderTrendPicture(const Date& date, const std::vector<TrendPoint>& points,
                               const CatalogueDay* figures);

inline constexpr int kPictureWidth = 945;
inline constexpr int kPictureHeight = 633;
// The trainer rejects picture replies under 10,240 bytes.
inline constexpr size_t kPictureMinimumSize = 12288;

}  // namespace kestrel::service
