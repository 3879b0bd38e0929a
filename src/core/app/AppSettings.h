#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

class ProfileFile;

// Conversion rule of a setting (see SettingsKeys.def).
enum class SettingRule { N, Z, P, T };

// Every setting of setup.ini outside the colour sections, one field per key,
// named after the key. Plain state owned by the application context.
struct AppSettings {
#define SETTING_INT(section, key, rule, def) int32_t key = 0;
#define SETTING_TEXT(section, key, rule, def) std::string key;
#include "app/SettingsKeys.def"
#undef SETTING_INT
#undef SETTING_TEXT
};

// One row of the key table.
struct SettingKey {
  const char* section;
  const char* key;
  SettingRule rule;
  const char* defaultText;
  int32_t AppSettings::*intField;       // null for text keys
  std::string AppSettings::*textField;  // null for number keys
};

// The key table in reading order.
const std::vector<SettingKey>& SettingKeys();
const SettingKey* FindSettingKey(std::string_view key);

// Applies a rule to the raw text of a key.
int32_t ConvertSetting(SettingRule rule, std::string_view text, std::string_view defaultText);
std::string ConvertTextSetting(std::string_view text, std::string_view defaultText);

// Reads every key in table order, applying its rule. RUN_SPEED outside 1..32 is
// taken as 1 (it divides every time conversion).
AppSettings ReadAppSettings(const ProfileFile& file);

// Values derived from [ACCOUNT] TRADE and the fees.
struct ContractFigures {
  std::string productName;  // "小台指" or "大台指"
  int32_t isLarge = 0;
  int32_t pointValue = 50;
  int32_t feePerLot = 0;
};
ContractFigures DeriveContract(const AppSettings& settings);
ContractFigures ContractFor(bool large, const AppSettings& settings);

}  // namespace kestrel
