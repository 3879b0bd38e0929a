#include "service/TrendPicture.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "service/GifEncoder.h"
#include "service/PixelCanvas.h"
#include "service/TextLines.h"

namespace kestrel::service {

namespace {

enum Colour : uint8_t {
  kBackground,
  kGrid,
  kLabel,
  kWhite,
  kPrice,
  kUp,
  kDown,
  kUpFill,
  kDownFill,
  kVolume,
  kReference,
  kTitleBand,
};

constexpr Palette16 kPalette = {{{0, 0, 0},
                                 {56, 56, 56},
                                 {170, 170, 170},
                                 {255, 255, 255},
                                 {255, 230, 0},
                                 {255, 70, 70},
                                 {70, 220, 70},
                                 {90, 20, 20},
                                 {20, 70, 20},
                                 {0, 150, 200},
                                 {200, 200, 200},
                                 {0, 0, 100},
                                 {0, 0, 0},
                                 {0, 0, 0},
                                 {0, 0, 0},
                                 {0, 0, 0}}};

constexpr int kSessionMinutes = 300;
constexpr int kLeft = 20, kRight = 850;
constexpr int kPriceTop = 52, kPriceBottom = 440;
constexpr int kVolumeTop = 456, kVolumeBottom = 590;
constexpr int kTimeLabelY = 598;

// 1, 2, 5 times a power of ten: the grid step at or above `raw`.
int64_t NiceStep(double raw) {
  int64_t base = 1;
  while (true) {
    for (int64_t factor : {1, 2, 5})
      if (static_cast<double>(base * factor) >= raw) return base * factor;
    base *= 10;
  }
}

int X(int minute) {
  return kLeft + minute * (kRight - kLeft) / kSessionMinutes;
}

std::string Signed(int64_t value) {
  return (value > 0 ? "+" : "") + std::to_string(value);
}

std::string Clock(int minute) {
  const int total = 8 * 60 + 45 + minute;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", total / 60, total % 60);
  return text;
}

}  // namespace

std::vector<TrendPoint> ParseTrendFile(std::string_view text) {
  std::map<int, TrendPoint> byMinute;
  for (std::string_view line : SplitLines(text)) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> fields = SplitFields(line, ',');
    if (fields.size() != 3 || fields[0].size() != 4) continue;
    const auto time = ParseInteger(fields[0]);
    const auto price = ParseInteger(fields[1]);
    const auto volume = ParseInteger(fields[2]);
    if (!time || !price || !volume || *time < 0 || *price <= 0 || *volume < 0) continue;
    const int hour = static_cast<int>(*time / 100), minuteOfHour = static_cast<int>(*time % 100);
    if (minuteOfHour > 59) continue;
    const int minute = hour * 60 + minuteOfHour - (8 * 60 + 45);
    if (minute < 1 || minute > kSessionMinutes) continue;
    byMinute[minute] = TrendPoint{minute, *price, *volume};
  }
  std::vector<TrendPoint> points;
  for (const auto& [minute, point] : byMinute) points.push_back(point);
  return points;
}

std::string RenderTrendPicture(const Date& date, const std::vector<TrendPoint>& points,
                               const CatalogueDay* figures) {
  if (points.size() < 2) return {};
  const int64_t reference =
      figures != nullptr ? figures->close - figures->change : points.front().price;
  int64_t high = reference, low = reference, maxVolume = 1;
  for (const TrendPoint& p : points) {
    high = std::max(high, p.price);
    low = std::min(low, p.price);
    maxVolume = std::max(maxVolume, p.volume);
  }
  // Symmetric about the previous close, as the trainer's own trend chart.
  const int64_t deviation = std::max<int64_t>({high - reference, reference - low, 1});
  const int64_t step = NiceStep(static_cast<double>(deviation) / 4.0);
  const int64_t half = step * ((deviation + step - 1) / step);
  auto Y = [&](int64_t price) {
    return kPriceTop +
           static_cast<int>((reference + half - price) * (kPriceBottom - kPriceTop) / (2 * half));
  };

  PixelCanvas canvas(kPictureWidth, kPictureHeight, kBackground);
  canvas.FillRect(0, 0, kPictureWidth - 1, 38, kTitleBand);
  int x = canvas.Text(14, 12, FormatDate(date), kWhite, 2);
  if (figures != nullptr) {
    const Colour tone = figures->change > 0 ? kUp : figures->change < 0 ? kDown : kWhite;
    x = canvas.Text(x + 24, 12, "O " + std::to_string(figures->open), kLabel, 2);
    x = canvas.Text(x + 18, 12, "H " + std::to_string(figures->high), kUp, 2);
    x = canvas.Text(x + 18, 12, "L " + std::to_string(figures->low), kDown, 2);
    x = canvas.Text(x + 18, 12, "C " + std::to_string(figures->close), tone, 2);
    x = canvas.Text(x + 18, 12, Signed(figures->change), tone, 2);
    canvas.Text(x + 18, 12, "V " + std::to_string(figures->volume), kVolume, 2);
  }

  // Grid, price labels and hour lines.
  for (int64_t level = -half; level <= half; level += step) {
    const int y = Y(reference + level);
    canvas.Line(kLeft, y, kRight, y, kGrid);
    const Colour tone = level > 0 ? kUp : level < 0 ? kDown : kWhite;
    canvas.Text(kRight + 8, y - 7, std::to_string(reference + level), tone, 2);
  }
  for (int minute = 15; minute < kSessionMinutes; minute += 60) {
    canvas.Line(X(minute), kPriceTop, X(minute), kVolumeBottom, kGrid);
    canvas.Text(X(minute) - PixelCanvas::TextWidth("00:00", 2) / 2, kTimeLabelY, Clock(minute),
                kLabel, 2);
  }
  canvas.Text(kLeft, kTimeLabelY, "08:45", kLabel, 2);

  // The area between the trend and the previous close, then the trend itself.
  const int yReference = Y(reference);
  for (size_t i = 1; i < points.size(); ++i) {
    const TrendPoint& a = points[i - 1];
    const TrendPoint& b = points[i];
    for (int column = X(a.minute); column <= X(b.minute); ++column) {
      const double t = X(b.minute) == X(a.minute) ? 1.0
                                                  : static_cast<double>(column - X(a.minute)) /
                                                        (X(b.minute) - X(a.minute));
      const int y = static_cast<int>(std::lround(Y(a.price) + t * (Y(b.price) - Y(a.price))));
      if (y < yReference) canvas.Line(column, y, column, yReference - 1, kUpFill);
      if (y > yReference) canvas.Line(column, yReference + 1, column, y, kDownFill);
    }
  }
  canvas.DashedHLine(kLeft, kRight, yReference, kReference, 6);
  for (size_t i = 1; i < points.size(); ++i) {
    const int x0 = X(points[i - 1].minute), x1 = X(points[i].minute);
    const int y0 = Y(points[i - 1].price), y1 = Y(points[i].price);
    canvas.Line(x0, y0, x1, y1, kPrice);
    canvas.Line(x0, y0 + 1, x1, y1 + 1, kPrice);
  }

  // Minute volumes.
  for (const TrendPoint& p : points) {
    const int height = static_cast<int>(p.volume * (kVolumeBottom - kVolumeTop - 4) / maxVolume);
    if (height > 0)
      canvas.FillRect(X(p.minute) - 1, kVolumeBottom - height, X(p.minute), kVolumeBottom, kVolume);
  }
  canvas.Text(kRight + 8, kVolumeTop, std::to_string(maxVolume), kVolume, 2);
  canvas.FrameRect(kLeft, kPriceTop, kRight, kPriceBottom, kLabel);
  canvas.FrameRect(kLeft, kVolumeTop, kRight, kVolumeBottom, kLabel);

  std::string comment = "Kestrel day picture " + FormatDate(date) + "\n";
  for (const TrendPoint& p : points)
    comment +=
        Clock(p.minute) + "," + std::to_string(p.price) + "," + std::to_string(p.volume) + "\n";
  return EncodeGif(canvas, kPalette, comment, kPictureMinimumSize);
}

}  // namespace kestrel::service
