#include "charts/ColourSchemes.h"

#include <string>

#include "common/Decimal.h"
#include "common/ProfileFile.h"

namespace kestrel {

const std::vector<ColourKey>& ColourKeys() {
  static const std::vector<ColourKey> keys = {
#define COLOUR(section, key, label, def, black, white) \
  {#section, #key, label, def, black, white, &ColourSettings::key},
#include "charts/ColourKeys.def"
#undef COLOUR
  };
  return keys;
}

const std::vector<std::string_view>& ColourSectionsLoadOrder() {
  static const std::vector<std::string_view> order = {
      "TECHCOLOR", "TICKCOLOR", "TRADECOLOR", "STOCKCOLOR",
      "INDEXCOLOR", "WAVECOLOR", "KLINECOLOR", "SHAPECOLOR"};
  return order;
}

const std::vector<std::string_view>& ColourSectionsSaveOrder() {
  static const std::vector<std::string_view> order = {
      "KLINECOLOR", "WAVECOLOR", "INDEXCOLOR", "STOCKCOLOR",
      "TRADECOLOR", "TICKCOLOR", "TECHCOLOR", "SHAPECOLOR"};
  return order;
}

ColourSettings LoadColourSettings(const ProfileFile& file) {
  ColourSettings colours;
  for (std::string_view section : ColourSectionsLoadOrder()) {
    for (const ColourKey& k : ColourKeys()) {
      if (section != k.section) continue;
      std::string text = file.Get(k.section, k.key);
      if (text.empty()) text = std::to_string(k.defaultValue);
      colours.*k.field = ParseDecimal(text);
    }
  }
  return colours;
}

void SaveColourSettings(const ColourSettings& colours, ProfileFile& file) {
  for (std::string_view section : ColourSectionsSaveOrder()) {
    for (const ColourKey& k : ColourKeys()) {
      if (section == k.section) file.SetInt(k.section, k.key, colours.*k.field);
    }
  }
}

void ApplySectionPreset(ColourSettings& colours, std::string_view section, ColourPreset preset) {
  for (const ColourKey& k : ColourKeys()) {
    if (section != k.section) continue;
    const int32_t value = preset == ColourPreset::Black ? k.black : k.white;
    if (value >= 0) colours.*k.field = value;
  }
}

void ApplyPreset(ColourSettings& colours, ColourPreset preset) {
  for (std::string_view section : ColourSectionsSaveOrder()) {
    if (section != "SHAPECOLOR") ApplySectionPreset(colours, section, preset);
  }
}

}  // namespace kestrel
