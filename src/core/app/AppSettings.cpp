#include "app/AppSettings.h"

#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"

namespace kestrel {

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = {
#define SETTING_INT(section, key, rule, def) \
  {#section, #key, SettingRule::rule, def, &AppSettings::key, nullptr},
#define SETTING_TEXT(section, key, rule, def) \
  {#section, #key, SettingRule::rule, def, nullptr, &AppSettings::key},
#include "app/SettingsKeys.def"
#undef SETTING_INT
#undef SETTING_TEXT
  };
  return keys;
}

const SettingKey* FindSettingKey(std::string_view key) {
  for (const SettingKey& k : SettingKeys())
    if (EqualsIgnoreCase(k.key, key)) return &k;
  return nullptr;
}

int32_t ConvertSetting(SettingRule rule, std::string_view text, std::string_view defaultText) {
  switch (rule) {
    case SettingRule::N:
      return ParseDecimal(text.empty() ? defaultText : text);
    case SettingRule::Z:
      return ParseDecimal(text.empty() || text == "0" ? defaultText : text);
    case SettingRule::P: {
      const int32_t v = ParseDecimal(text);
      return v <= 0 ? ParseDecimal(defaultText) : v;
    }
    case SettingRule::T:
      break;
  }
  return ParseDecimal(text.empty() ? defaultText : text);
}

std::string ConvertTextSetting(std::string_view text, std::string_view defaultText) {
  return std::string(text.empty() ? defaultText : text);
}

AppSettings ReadAppSettings(const ProfileFile& file) {
  AppSettings s;
  for (const SettingKey& k : SettingKeys()) {
    const std::string text = file.Get(k.section, k.key);
    if (k.intField != nullptr) {
      s.*k.intField = ConvertSetting(k.rule, text, k.defaultText);
    } else {
      s.*k.textField = ConvertTextSetting(text, k.defaultText);
    }
  }
  if (s.RUN_SPEED < 1 || s.RUN_SPEED > 32) s.RUN_SPEED = 1;
  return s;
}

ContractFigures ContractFor(bool large, const AppSettings& settings) {
  ContractFigures c;
  c.isLarge = large ? 1 : 0;
  c.productName = large ? "大台指" : "小台指";
  c.pointValue = large ? 200 : 50;
  c.feePerLot = large ? settings.BIGFEE : settings.SMALLFEE;
  return c;
}

ContractFigures DeriveContract(const AppSettings& settings) {
  return ContractFor(settings.TRADE != "0", settings);
}

}  // namespace kestrel
