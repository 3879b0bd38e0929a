#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/PixelCanvas.h"

namespace kestrel::service {

struct Rgb {
  uint8_t r, g, b;
};
using Palette16 = std::array<Rgb, 16>;

// Encodes the canvas (colour indexes 0 to 15) as one still GIF89a image. When
// the result would be shorter than `minimumSize`, a comment block made of
// `comment` (and blanks) fills it up: the trainer takes any picture reply under
// 10 KiB for an error page. Returns nothing on an encoder failure.
std::string EncodeGif(const PixelCanvas& canvas, const Palette16& palette, std::string_view comment,
                      size_t minimumSize);

}  // namespace kestrel::service
