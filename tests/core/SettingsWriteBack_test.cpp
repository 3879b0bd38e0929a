#include "app/SettingsWriteBack.h"

#include <gtest/gtest.h>

#include <set>

#include "TestDir.h"
#include "app/AppConfig.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::ReadFile;
using test::WriteFile;

AppConfig Load(const std::filesystem::path& dir) {
  ScriptedPrompter prompter;
  auto config = ConstructApp(Folders::FromWork(dir), prompter);
  EXPECT_TRUE(config.has_value());
  return *config;
}

WriteBackInputs InputsFor(const AppConfig& c) {
  WriteBackInputs in;
  in.isLarge = c.contract.isLarge;
  in.stockListHeight = c.settings.VIEW_STOCKLIST_HIGH;
  in.draw1Height = c.settings.VIEW_DRAW1_HIGH;
  in.biasHeight = c.settings.VIEW_BIAS_HIGH;
  in.orderHeight = c.settings.VIEW_ORDER_HIGH;
  return in;
}

// Keys of a profile text in order of appearance, as "SECTION/KEY".
std::vector<std::string> KeysOf(const std::string& text) {
  std::vector<std::string> keys;
  std::string section;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find("\r\n", pos);
    if (nl == std::string::npos) nl = text.size();
    const std::string line = text.substr(pos, nl - pos);
    pos = nl + 2;
    if (line.empty()) continue;
    if (line.front() == '[') {
      section = line.substr(1, line.size() - 2);
    } else {
      keys.push_back(section + "/" + line.substr(0, line.find('=')));
    }
  }
  return keys;
}

TEST(SettingsWriteBack, FirstExitWritesACompleteFileThatReadsBackTheSame) {
  const auto dir = FreshDir();
  WriteFile(dir / "Version.ini", "[VER]\r\nVERSION=1\r\n");
  const AppConfig first = Load(dir);
  ASSERT_EQ(SaveSettingsFile(dir / "setup.ini", first.settings, InputsFor(first), first.colours),
            "");
  const std::string text = ReadFile(dir / "setup.ini");
  const auto keys = KeysOf(text);

  // Every key saved at exit, except the pane heights of hidden panes, ID (no
  // user), and MARGIN (only after a logout).
  std::set<std::string> expected;
  for (const SettingKey& k : SettingKeys()) {
    const std::string name = k.key;
    if (name == "MARGIN" || (name.ends_with("_HIGH") && name.starts_with("VIEW_"))) continue;
    expected.insert(std::string(k.section) + "/" + name);
  }
  expected.insert("ACCOUNT/SAVEACCOUNT");
  for (const ColourKey& k : ColourKeys()) expected.insert(std::string(k.section) + "/" + k.key);
  EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()), expected);
  EXPECT_EQ(keys.size(), expected.size()) << "a key was written twice";

  // Order: SCROLLTYPE first, then ID/SAVEACCOUNT, ..., fees and TRADE last before
  // the colours, which start with KLINECOLOR and end with SHAPECOLOR.
  EXPECT_EQ(keys.front(), "UI/SCROLLTYPE");
  EXPECT_EQ(text.substr(0, 27), "[UI]\r\nSCROLLTYPE=0\r\nDRAW2_F");
  EXPECT_NE(text.find("[ACCOUNT]\r\nSAVEACCOUNT=0\r\nBIGFEE=200\r\nSMALLFEE=200\r\nTRADE=0\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[TECH]\r\nDAYK_AVG1_USE=0\r\nDAYK_AVG1_PARA=6\r\nDAYK_AVG1_COLOR=255\r\n"
                      "DAYK_AVG2_USE=0\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("MIN30K_KD_PARA=9\r\nDAYK_MACD_DIF1=12\r\nDAYK_MACD_DIF2=24\r\n"
                      "DAYK_MACD_PARA=9\r\nMIN1K_MACD_DIF1=12\r\n"),
            std::string::npos);
  EXPECT_LT(text.find("[KLINECOLOR]"), text.find("[WAVECOLOR]"));
  EXPECT_LT(text.find("[TECHCOLOR]"), text.find("[SHAPECOLOR]"));
  EXPECT_NE(text.find("SETRANGE_START=2013/01/01\r\n"), std::string::npos);

  // Read back: the same values.
  const AppConfig second = Load(dir);
  for (const SettingKey& k : SettingKeys()) {
    if (k.intField != nullptr) {
      EXPECT_EQ(second.settings.*k.intField, first.settings.*k.intField) << k.key;
    } else {
      EXPECT_EQ(second.settings.*k.textField, first.settings.*k.textField) << k.key;
    }
  }
  for (const ColourKey& k : ColourKeys())
    EXPECT_EQ(second.colours.*k.field, first.colours.*k.field) << k.key;
}

TEST(SettingsWriteBack, ChangedValuesAndAccountKeys) {
  const auto dir = FreshDir();
  WriteFile(dir / "Version.ini", "[VER]\r\nVERSION=1\r\n");
  AppConfig c = Load(dir);
  c.settings.RUN_SPEED = 30;  // lowered automatically at 32x: saved as it is
  c.settings.SETRANGE_START = "2012/02/03";
  c.settings.DRAW2_VIEWMODE = 9;
  c.colours.TICK_COLOR_BK = 16580607;
  WriteBackInputs in = InputsFor(c);
  in.userId = "demo";
  in.rememberAccount = true;
  in.isLarge = 1;
  ASSERT_EQ(SaveSettingsFile(dir / "setup.ini", c.settings, in, c.colours), "");
  const ProfileFile f = ProfileFile::Load(dir / "setup.ini");
  EXPECT_EQ(f.Get("UI", "RUN_SPEED"), "30");
  EXPECT_EQ(f.Get("UI", "SETRANGE_START"), "2012/02/03");
  EXPECT_EQ(f.Get("UI", "DRAW2_VIEWMODE"), "9");
  EXPECT_EQ(f.Get("TICKCOLOR", "TICK_COLOR_BK"), "16580607");
  EXPECT_EQ(f.Get("ACCOUNT", "ID"), "demo");
  EXPECT_EQ(f.Get("ACCOUNT", "SAVEACCOUNT"), "1");
  EXPECT_EQ(f.Get("ACCOUNT", "TRADE"), "1");
  EXPECT_FALSE(f.Has("ACCOUNT", "MARGIN"));
}

TEST(SettingsWriteBack, HiddenPaneHeightsKeepTheirStoredValue) {
  const auto dir = FreshDir();
  WriteFile(dir / "Version.ini", "[VER]\r\nVERSION=1\r\n");
  WriteFile(dir / "setup.ini",
            "[UI]\r\nVIEW_BIAS=0\r\nVIEW_BIAS_HIGH=77\r\nVIEW_ORDER=1\r\nVIEW_ORDER_HIGH=150\r\n");
  AppConfig c = Load(dir);
  WriteBackInputs in = InputsFor(c);
  in.biasHeight = 333;   // hidden: not written
  in.orderHeight = 222;  // shown: its current height
  ASSERT_EQ(SaveSettingsFile(dir / "setup.ini", c.settings, in, c.colours), "");
  const ProfileFile f = ProfileFile::Load(dir / "setup.ini");
  EXPECT_EQ(f.Get("UI", "VIEW_BIAS"), "0");
  EXPECT_EQ(f.Get("UI", "VIEW_BIAS_HIGH"), "77");
  EXPECT_EQ(f.Get("UI", "VIEW_ORDER_HIGH"), "222");
  EXPECT_FALSE(f.Has("UI", "VIEW_DRAW1_HIGH"));
}

TEST(SettingsWriteBack, HandEditedFileKeepsCommentsAndUnknownKeys) {
  const auto dir = FreshDir();
  WriteFile(dir / "Version.ini", "[VER]\r\nVERSION=1\r\n");
  WriteFile(dir / "setup.ini",
            "; my trainer settings\r\n"
            "[SERVICE]\r\nPRIMARY=http://127.0.0.1:18631\r\n"
            "[UI]\r\n; speed I like\r\nRUN_SPEED=8\r\nMY_OWN_KEY=hello\r\n");
  AppConfig c = Load(dir);
  ASSERT_EQ(SaveSettingsFile(dir / "setup.ini", c.settings, InputsFor(c), c.colours), "");
  const std::string text = ReadFile(dir / "setup.ini");
  EXPECT_EQ(text.rfind("; my trainer settings\r\n[SERVICE]\r\nPRIMARY=http://127.0.0.1:18631\r\n"
                       "[UI]\r\n; speed I like\r\nRUN_SPEED=8\r\nMY_OWN_KEY=hello\r\n",
                       0),
            0u);
  const ProfileFile f = ProfileFile::Load(dir / "setup.ini");
  EXPECT_EQ(f.Get("UI", "MY_OWN_KEY"), "hello");
  EXPECT_EQ(f.Get("UI", "RUN_SPEED"), "8");
}

}  // namespace
}  // namespace kestrel
