#pragma once

#include <array>

namespace kestrel {

// A shared font: system default face, given pixel height and weight; the pitch
// and family byte of the font request (0x10: roman family).
struct FontSpec {
  int height;
  int weight;
  int pitchAndFamily;
};

// The thirteen shared fonts, numbered 1..13 as index 0..12.
inline constexpr std::array<FontSpec, 13> kAppFonts = {{
    {19, 700, 0x10},  // 1 order report list, tick list
    {15, 400, 0x10},  // 2 tool bar
    {19, 400, 0x10},  // 3 market summary, best five, chart views
    {20, 400, 0x10},  // 4 weighted stock list
    {18, 700, 0x10},  // 5 status bar
    {14, 400, 0x10},  // 6 account window, four tabs
    {13, 500, 0},     // 7 spare
    {16, 700, 0x10},  // 8 account window, fifth tab
    {13, 500, 0},     // 9 price ladder
    {18, 500, 0},     // 10 price ladder
    {16, 500, 0},     // 11 price ladder
    {15, 500, 0},     // 12 price query label, normal
    {21, 500, 0},     // 13 price query label, large
}};

inline constexpr const FontSpec& AppFont(int number) { return kAppFonts[number - 1]; }

}  // namespace kestrel
