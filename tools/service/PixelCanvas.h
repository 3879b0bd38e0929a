#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrel::service {

// An 8-bit indexed picture with the few drawing operations the day picture
// needs, and a built-in 5×7 font for digits, capital letters and / : - + . , %.
// Drawing outside the picture is clipped.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height, uint8_t background = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  uint8_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

  void Set(int x, int y, uint8_t colour);
  void FillRect(int x0, int y0, int x1, int y1, uint8_t colour);  // inclusive corners
  void FrameRect(int x0, int y0, int x1, int y1, uint8_t colour);
  void Line(int x0, int y0, int x1, int y1, uint8_t colour);
  void DashedHLine(int x0, int x1, int y, uint8_t colour, int dash = 4);
  // Text at (x, y) top left, each font pixel drawn as scale × scale; returns the
  // x after the last character. Characters without a glyph draw as blanks.
  int Text(int x, int y, std::string_view text, uint8_t colour, int scale = 1);
  static int TextWidth(std::string_view text, int scale = 1);

 private:
  int width_;
  int height_;
  std::vector<uint8_t> pixels_;
};

}  // namespace kestrel::service
