#include "charts/ColourSchemes.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "common/ProfileFile.h"

namespace kestrel {
namespace {

TEST(ColourSchemes, DefaultsAreTheBlackSchemeButForPivotsAndSelection) {
  const ColourSettings loaded = LoadColourSettings(ProfileFile());
  ColourSettings black = loaded;
  ApplyPreset(black, ColourPreset::Black);
  for (const ColourKey& k : ColourKeys()) {
    const std::string key = k.key;
    const bool differs = key == "KLINE_COLOR_TSELECT" || key.starts_with("KLINE_COLOR_POVIT");
    if (key == "KLINE_COLOR_POVIT2") {
      EXPECT_EQ(loaded.*k.field, black.*k.field);  // 65535 in both
    } else {
      EXPECT_EQ(loaded.*k.field != black.*k.field, differs) << key;
    }
    if (differs) {
      EXPECT_EQ(loaded.*k.field, 65535) << key;
    }
  }
  EXPECT_EQ(loaded.SHAPE_COLOR_WIDTH, 1);
}

TEST(ColourSchemes, LoadParsesAndFallsBack) {
  const auto dir = test::FreshDir();
  test::WriteFile(dir / "s.ini",
                  "[TICKCOLOR]\r\nTICK_COLOR_BK=16580607\r\nTICK_COLOR_UP=\r\nTICK_COLOR_EQ=red\r\n");
  const ColourSettings c = LoadColourSettings(ProfileFile::Load(dir / "s.ini"));
  EXPECT_EQ(c.TICK_COLOR_BK, 16580607);
  EXPECT_EQ(c.TICK_COLOR_UP, 255);
  EXPECT_EQ(c.TICK_COLOR_EQ, 0);
}

TEST(ColourSchemes, WhitePresetLeavesShapesAlone) {
  ColourSettings c;
  c.SHAPE_COLOR_LINE = 12345;
  c.SHAPE_COLOR_WIDTH = 3;
  ApplyPreset(c, ColourPreset::White);
  EXPECT_EQ(c.TECH_COLOR_BK, 15532031);
  EXPECT_EQ(c.KLINE_COLOR_POVIT5, 16384);
  EXPECT_EQ(c.WAVE_COLOR_FVOL, 16711680);
  EXPECT_EQ(c.SHAPE_COLOR_LINE, 12345);
  ApplySectionPreset(c, "SHAPECOLOR", ColourPreset::White);
  EXPECT_EQ(c.SHAPE_COLOR_LINE, 33023);
  EXPECT_EQ(c.SHAPE_COLOR_RECT, 32768);
  EXPECT_EQ(c.SHAPE_COLOR_WIDTH, 3);
}

TEST(ColourSchemes, SaveOrderAndRoundTrip) {
  ColourSettings c;
  ApplyPreset(c, ColourPreset::White);
  ProfileFile file;
  SaveColourSettings(c, file);
  const std::string text = file.Serialize();
  EXPECT_EQ(text.rfind("[KLINECOLOR]\r\nKLINE_COLOR_BK=14478829\r\n", 0), 0u);
  EXPECT_LT(text.find("[TICKCOLOR]"), text.find("[TECHCOLOR]"));
  EXPECT_NE(text.find("[SHAPECOLOR]\r\nSHAPE_COLOR_LINE=65280\r\nSHAPE_COLOR_RECT=65535\r\n"
                      "SHAPE_COLOR_WIDTH=1\r\n"),
            std::string::npos);
  const auto dir = test::FreshDir();
  test::WriteFile(dir / "s.ini", text);
  const ColourSettings back = LoadColourSettings(ProfileFile::Load(dir / "s.ini"));
  for (const ColourKey& k : ColourKeys()) EXPECT_EQ(back.*k.field, c.*k.field) << k.key;
}

}  // namespace
}  // namespace kestrel
