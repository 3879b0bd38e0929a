#include "app/SettingsWriteBack.h"

#include "charts/ColourSchemes.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"

namespace kestrel {

namespace {

struct WriteBackKey {
  const char* section;
  const char* key;  // a leading '*' marks a key whose value is not a plain field
};

// The close flow's order of writes.
constexpr WriteBackKey kOrder[] = {
    {"UI", "SCROLLTYPE"},
    {"ACCOUNT", "*ID"},
    {"ACCOUNT", "*SAVEACCOUNT"},
    {"UI", "DRAW2_FTXNOVOL"},
    {"UI", "DRAW2_TXNOVOL"},
    {"UI", "DRAW2_MIXNOVOL"},
    {"UI", "DRAW2_STOCKNOVOL"},
    {"UI", "DRAW2_KLINENOVOL"},
    {"UI", "DRAW2_FTXVOLRATIO"},
    {"UI", "DRAW2_TXVOLRATIO"},
    {"UI", "DRAW2_MIXVOLRATIO"},
    {"UI", "DRAW2_STOCKVOLRATIO"},
    {"UI", "DRAW2_KLINEVOLRATIO"},
    {"UI", "DRAW1_FTXNOVOL"},
    {"UI", "DRAW1_TXNOVOL"},
    {"UI", "DRAW1_MIXNOVOL"},
    {"UI", "DRAW1_STOCKNOVOL"},
    {"UI", "DRAW1_KLINENOVOL"},
    {"UI", "DRAW1_FTXVOLRATIO"},
    {"UI", "DRAW1_TXVOLRATIO"},
    {"UI", "DRAW1_MIXVOLRATIO"},
    {"UI", "DRAW1_STOCKVOLRATIO"},
    {"UI", "DRAW1_KLINEVOLRATIO"},
    {"UI", "DRAW1_DAYK_KSCALE"},
    {"UI", "DRAW1_DAYK_KSCALE_HIGH"},
    {"UI", "DRAW1_DAYK_KSCALE_LOW"},
    {"UI", "DRAW1_MIN1_KSCALE"},
    {"UI", "DRAW1_MIN1_KSCALE_HIGH"},
    {"UI", "DRAW1_MIN1_KSCALE_LOW"},
    {"UI", "DRAW1_MIN5_KSCALE"},
    {"UI", "DRAW1_MIN5_KSCALE_HIGH"},
    {"UI", "DRAW1_MIN5_KSCALE_LOW"},
    {"UI", "DRAW2_DAYK_KSCALE"},
    {"UI", "DRAW2_DAYK_KSCALE_HIGH"},
    {"UI", "DRAW2_DAYK_KSCALE_LOW"},
    {"UI", "DRAW2_MIN1_KSCALE"},
    {"UI", "DRAW2_MIN1_KSCALE_HIGH"},
    {"UI", "DRAW2_MIN1_KSCALE_LOW"},
    {"UI", "DRAW2_MIN5_KSCALE"},
    {"UI", "DRAW2_MIN5_KSCALE_HIGH"},
    {"UI", "DRAW2_MIN5_KSCALE_LOW"},
    {"UI", "VIEW_STOCKLIST"},
    {"UI", "VIEW_DRAW1"},
    {"UI", "VIEW_ORDER"},
    {"UI", "VIEW_BIAS"},
    {"UI", "*VIEW_STOCKLIST_HIGH"},
    {"UI", "*VIEW_DRAW1_HIGH"},
    {"UI", "*VIEW_BIAS_HIGH"},
    {"UI", "*VIEW_ORDER_HIGH"},
    {"UI", "DRAW1_VIEWMODE"},
    {"UI", "DRAW2_VIEWMODE"},
    {"UI", "DRAW1_LINEQUERY"},
    {"UI", "DRAW1_LINEVERTICAL"},
    {"UI", "DRAW1_LINEHORIZONTAL"},
    {"UI", "DRAW1_LINEHORAUTO"},
    {"UI", "LINEQUERY_FONTSIZE"},
    {"UI", "DRAW2_LINEQUERY"},
    {"UI", "DRAW2_LINEVERTICAL"},
    {"UI", "DRAW2_LINEHORIZONTAL"},
    {"UI", "DRAW2_LINEHORAUTO"},
    {"UI", "DRAW1_KLINE_TRADE"},
    {"UI", "DRAW2_KLINE_TRADE"},
    {"UI", "FAST_TRADE_X"},
    {"UI", "FAST_TRADE_Y"},
    {"UI", "FAST_TRADE_WIDTH"},
    {"UI", "FAST_TRADE_HEIGHT"},
    {"UI", "FAST_TRADE_BIGUI"},
    {"UI", "MY_ACCOUNT_X"},
    {"UI", "MY_ACCOUNT_Y"},
    {"UI", "MY_ACCOUNT_WIDTH"},
    {"UI", "MY_ACCOUNT_HEIGHT"},
    {"UI", "KUP_COLOR"},
    {"UI", "KDOWN_COLOR"},
    {"UI", "TECH_VIEWMODE"},
    {"UI", "RUN_SPEED"},
    {"UI", "SETRANGE"},
    {"UI", "SETRANGE_START"},
    {"UI", "SETRANGE_END"},
    {"UI", "SAFE_DOWNLOAD"},
    {"UI", "REAL_5B"},
    {"TECH", "DAYK_AVG1_USE"},
    {"TECH", "DAYK_AVG1_PARA"},
    {"TECH", "DAYK_AVG1_COLOR"},
    {"TECH", "DAYK_AVG2_USE"},
    {"TECH", "DAYK_AVG2_PARA"},
    {"TECH", "DAYK_AVG2_COLOR"},
    {"TECH", "DAYK_AVG3_USE"},
    {"TECH", "DAYK_AVG3_PARA"},
    {"TECH", "DAYK_AVG3_COLOR"},
    {"TECH", "MIN1K_AVG1_USE"},
    {"TECH", "MIN1K_AVG1_PARA"},
    {"TECH", "MIN1K_AVG1_COLOR"},
    {"TECH", "MIN1K_AVG2_USE"},
    {"TECH", "MIN1K_AVG2_PARA"},
    {"TECH", "MIN1K_AVG2_COLOR"},
    {"TECH", "MIN1K_AVG3_USE"},
    {"TECH", "MIN1K_AVG3_PARA"},
    {"TECH", "MIN1K_AVG3_COLOR"},
    {"TECH", "MIN5K_AVG1_USE"},
    {"TECH", "MIN5K_AVG1_PARA"},
    {"TECH", "MIN5K_AVG1_COLOR"},
    {"TECH", "MIN5K_AVG2_USE"},
    {"TECH", "MIN5K_AVG2_PARA"},
    {"TECH", "MIN5K_AVG2_COLOR"},
    {"TECH", "MIN5K_AVG3_USE"},
    {"TECH", "MIN5K_AVG3_PARA"},
    {"TECH", "MIN5K_AVG3_COLOR"},
    {"TECH", "MIN30K_AVG1_USE"},
    {"TECH", "MIN30K_AVG1_PARA"},
    {"TECH", "MIN30K_AVG1_COLOR"},
    {"TECH", "MIN30K_AVG2_USE"},
    {"TECH", "MIN30K_AVG2_PARA"},
    {"TECH", "MIN30K_AVG2_COLOR"},
    {"TECH", "MIN30K_AVG3_USE"},
    {"TECH", "MIN30K_AVG3_PARA"},
    {"TECH", "MIN30K_AVG3_COLOR"},
    {"TECH", "DAYK_KD_PARA"},
    {"TECH", "MIN1K_KD_PARA"},
    {"TECH", "MIN5K_KD_PARA"},
    {"TECH", "MIN30K_KD_PARA"},
    {"TECH", "DAYK_MACD_DIF1"},
    {"TECH", "DAYK_MACD_DIF2"},
    {"TECH", "DAYK_MACD_PARA"},
    {"TECH", "MIN1K_MACD_DIF1"},
    {"TECH", "MIN1K_MACD_DIF2"},
    {"TECH", "MIN1K_MACD_PARA"},
    {"TECH", "MIN5K_MACD_DIF1"},
    {"TECH", "MIN5K_MACD_DIF2"},
    {"TECH", "MIN5K_MACD_PARA"},
    {"TECH", "MIN30K_MACD_DIF1"},
    {"TECH", "MIN30K_MACD_DIF2"},
    {"TECH", "MIN30K_MACD_PARA"},
    {"TECH", "DRAW1_PIVOT"},
    {"TECH", "DRAW2_PIVOT"},
    {"ACCOUNT", "BIGFEE"},
    {"ACCOUNT", "SMALLFEE"},
    {"ACCOUNT", "*TRADE"},
};

// Height of a pane while its flag is 1; nothing while hidden.
bool PaneHeight(std::string_view key, const AppSettings& s, const WriteBackInputs& in,
                int32_t* height) {
  struct Pane {
    std::string_view key;
    int32_t shown;
    int32_t height;
  };
  const Pane panes[] = {{"VIEW_STOCKLIST_HIGH", s.VIEW_STOCKLIST, in.stockListHeight},
                        {"VIEW_DRAW1_HIGH", s.VIEW_DRAW1, in.draw1Height},
                        {"VIEW_BIAS_HIGH", s.VIEW_BIAS, in.biasHeight},
                        {"VIEW_ORDER_HIGH", s.VIEW_ORDER, in.orderHeight}};
  for (const Pane& p : panes) {
    if (p.key != key) continue;
    *height = p.height;
    return p.shown == 1;
  }
  return false;
}

}  // namespace

void WriteBackSettings(const AppSettings& settings, const WriteBackInputs& inputs,
                       const ColourSettings& colours, ProfileFile& file) {
  for (const WriteBackKey& entry : kOrder) {
    const std::string_view key = entry.key;
    if (key.front() != '*') {
      const SettingKey* k = FindSettingKey(key);
      if (k->intField != nullptr) {
        file.SetInt(entry.section, key, settings.*k->intField);
      } else {
        file.Set(entry.section, key, settings.*k->textField);
      }
      continue;
    }
    const std::string_view name = key.substr(1);
    if (name == "ID") {
      if (!inputs.userId.empty()) file.Set(entry.section, name, inputs.userId);
    } else if (name == "SAVEACCOUNT") {
      file.Set(entry.section, name, inputs.rememberAccount ? "1" : "0");
    } else if (name == "TRADE") {
      file.SetInt(entry.section, name, inputs.isLarge);
    } else {
      int32_t height = 0;
      if (PaneHeight(name, settings, inputs, &height)) file.SetInt(entry.section, name, height);
    }
  }
  SaveColourSettings(colours, file);
}

std::string SaveSettingsFile(const std::filesystem::path& setupIni, const AppSettings& settings,
                             const WriteBackInputs& inputs, const ColourSettings& colours) {
  MakeWritable(setupIni);
  ProfileFile file = ProfileFile::Load(setupIni);
  WriteBackSettings(settings, inputs, colours, file);
  return file.Save();
}

}  // namespace kestrel
