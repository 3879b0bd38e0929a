#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrel {

class ProfileFile;

// The eight colour sections of setup.ini, one field per key, named after the key.
// A colour is 24-bit RGB with red in the lowest byte, as a decimal number.
struct ColourSettings {
#define COLOUR(section, key, label, def, black, white) int32_t key = def;
#include "charts/ColourKeys.def"
#undef COLOUR
};

struct ColourKey {
  const char* section;
  const char* key;
  const char* label;     // the swatch's label in the section's dialog
  int32_t defaultValue;
  int32_t black;         // preset values; -1 leaves the value unchanged
  int32_t white;
  int32_t ColourSettings::*field;
};

// Every colour key in load order (section by section).
const std::vector<ColourKey>& ColourKeys();

// The sections in the order they are loaded and in the order they are saved.
const std::vector<std::string_view>& ColourSectionsLoadOrder();
const std::vector<std::string_view>& ColourSectionsSaveOrder();

ColourSettings LoadColourSettings(const ProfileFile& file);
void SaveColourSettings(const ColourSettings& colours, ProfileFile& file);

enum class ColourPreset { Black, White };

// The whole-program preset: every section but SHAPECOLOR.
void ApplyPreset(ColourSettings& colours, ColourPreset preset);
// One section's preset, as its dialog's buttons load it.
void ApplySectionPreset(ColourSettings& colours, std::string_view section, ColourPreset preset);

}  // namespace kestrel
