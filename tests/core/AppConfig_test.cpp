#include "app/AppConfig.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "common/InstanceLock.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::WriteFile;

// A working folder with a valid Version.ini and the given setup.ini text.
Folders WorkFolder(const std::string* setup) {
  const auto dir = FreshDir();
  WriteFile(dir / "Version.ini", "[VER]\r\nVERSION=105\r\n");
  if (setup != nullptr) WriteFile(dir / "setup.ini", *setup);
  return Folders::FromWork(dir);
}

std::optional<AppConfig> Construct(const std::string& setup, ScriptedPrompter* prompter) {
  return ConstructApp(WorkFolder(&setup), *prompter);
}

TEST(AppConfig, FirstStartWithoutSetupIni) {
  ScriptedPrompter prompter;
  const auto config = ConstructApp(WorkFolder(nullptr), prompter);
  ASSERT_TRUE(config.has_value());
  EXPECT_TRUE(prompter.shown.empty());
  const AppSettings& s = config->settings;
  EXPECT_EQ(config->contract.productName, "小台指");
  EXPECT_EQ(config->contract.isLarge, 0);
  EXPECT_EQ(config->contract.pointValue, 50);
  EXPECT_EQ(config->contract.feePerLot, 200);
  EXPECT_EQ(s.MARGIN, 100000);
  EXPECT_EQ(s.RUN_SPEED, 1);
  EXPECT_EQ(s.DRAW1_VIEWMODE, 1);
  EXPECT_EQ(s.DRAW2_VIEWMODE, 1);
  EXPECT_EQ(s.VIEW_STOCKLIST + s.VIEW_ORDER + s.VIEW_DRAW1 + s.VIEW_BIAS, 0);
  EXPECT_EQ(s.VIEW_STOCKLIST_HIGH, 130);
  EXPECT_EQ(s.VIEW_DRAW1_HIGH, 216);
  EXPECT_EQ(s.VIEW_BIAS_HIGH, 100);
  EXPECT_EQ(s.VIEW_ORDER_HIGH, 169);
  EXPECT_EQ(s.SETRANGE, "0");
  EXPECT_EQ(s.SETRANGE_START, "2013/01/01");
  EXPECT_EQ(s.SETRANGE_END, "2013/12/31");
  EXPECT_EQ(s.FAST_TRADE_WIDTH, 274);
  EXPECT_EQ(s.MY_ACCOUNT_HEIGHT, 320);
  EXPECT_EQ(s.KDOWN_COLOR, 65280);
  EXPECT_EQ(s.MIN30K_MACD_DIF2, 24);
  EXPECT_EQ(s.DAYK_AVG3_COLOR, 255);
  EXPECT_EQ(s.DRAW2_MIN5_KSCALE_LOW, 4000);
  EXPECT_EQ(config->installedVersion, "105");
  EXPECT_EQ(config->bases.primary, "http://127.0.0.1:18631");
  EXPECT_EQ(config->bases.mirror, "http://127.0.0.1:18631");
}

TEST(AppConfig, ContractFromTrade) {
  const struct {
    const char* line;
    bool large;
  } cases[] = {{"TRADE=1\r\n", true},
               {"TRADE=abc\r\n", true},
               {"TRADE=0\r\n", false},
               {"", false},
               {"TRADE=\r\n", false}};
  for (const auto& c : cases) {
    ScriptedPrompter prompter;
    const auto config = Construct(
        std::string("[ACCOUNT]\r\nBIGFEE=120\r\nSMALLFEE=45\r\n") + c.line, &prompter);
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->contract.isLarge, c.large ? 1 : 0) << c.line;
    EXPECT_EQ(config->contract.productName, c.large ? "大台指" : "小台指");
    EXPECT_EQ(config->contract.pointValue, c.large ? 200 : 50);
    EXPECT_EQ(config->contract.feePerLot, c.large ? 120 : 45);
  }
}

TEST(AppConfig, KeyRules) {
  const struct {
    const char* section;
    const char* line;
    int32_t AppSettings::*field;
    int32_t expected;
  } cases[] = {
      {"ACCOUNT", "BIGFEE=0", &AppSettings::BIGFEE, 200},
      {"ACCOUNT", "BIGFEE=-5", &AppSettings::BIGFEE, 200},
      {"ACCOUNT", "BIGFEE=75", &AppSettings::BIGFEE, 75},
      {"ACCOUNT", "MARGIN=abc", &AppSettings::MARGIN, 100000},
      {"ACCOUNT", "MARGIN=-1", &AppSettings::MARGIN, 100000},
      {"UI", "VIEW_BIAS_HIGH=0", &AppSettings::VIEW_BIAS_HIGH, 100},
      {"UI", "VIEW_BIAS_HIGH=abc", &AppSettings::VIEW_BIAS_HIGH, 0},
      {"UI", "VIEW_BIAS_HIGH=", &AppSettings::VIEW_BIAS_HIGH, 100},
      {"UI", "DRAW1_VIEWMODE=0", &AppSettings::DRAW1_VIEWMODE, 0},
      {"UI", "DRAW1_VIEWMODE=12abc", &AppSettings::DRAW1_VIEWMODE, 12},
      {"UI", "DRAW1_VIEWMODE=", &AppSettings::DRAW1_VIEWMODE, 1},
      {"UI", "FAST_TRADE_X=-40", &AppSettings::FAST_TRADE_X, -40},
      {"UI", "RUN_SPEED=0", &AppSettings::RUN_SPEED, 1},
      {"UI", "RUN_SPEED=33", &AppSettings::RUN_SPEED, 1},
      {"UI", "RUN_SPEED=-2", &AppSettings::RUN_SPEED, 1},
      {"UI", "RUN_SPEED=18", &AppSettings::RUN_SPEED, 18},
      {"UI", "RUN_SPEED=32", &AppSettings::RUN_SPEED, 32},
      {"TECH", "MIN5K_KD_PARA=0", &AppSettings::MIN5K_KD_PARA, 0},
      {"TECH", "MIN5K_KD_PARA=14", &AppSettings::MIN5K_KD_PARA, 14},
  };
  for (const auto& c : cases) {
    ScriptedPrompter prompter;
    const auto config =
        Construct(std::string("[") + c.section + "]\r\n" + c.line + "\r\n", &prompter);
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->settings.*c.field, c.expected) << c.line;
  }
}

TEST(AppConfig, TextKeys) {
  ScriptedPrompter prompter;
  const auto config =
      Construct("[UI]\r\nSETRANGE=1\r\nSETRANGE_START=2012/05/06\r\nSETRANGE_END=\r\n", &prompter);
  ASSERT_TRUE(config.has_value());
  EXPECT_EQ(config->settings.SETRANGE, "1");
  EXPECT_EQ(config->settings.SETRANGE_START, "2012/05/06");
  EXPECT_EQ(config->settings.SETRANGE_END, "2013/12/31");
}

TEST(AppConfig, FatalFileErrors) {
  const struct {
    const char* setup;
    const char* version;  // null: no Version.ini
    const char* message;
  } cases[] = {
      {"[SERVICE]\r\nPRIMARY=\r\n", "[VER]\r\nVERSION=1\r\n", kSetupIniError},
      {"[SERVICE]\r\nSECONDARY=  \r\n", "[VER]\r\nVERSION=1\r\n", kSetupIniError},
      {"", "VERSION=1\r\n", kVersionIniError},
      {"", "[VER]\r\nVERSION=\r\n", kVersionIniError},
      {"", nullptr, kVersionIniError},
  };
  for (const auto& c : cases) {
    const auto dir = FreshDir();
    WriteFile(dir / "setup.ini", c.setup);
    if (c.version != nullptr) WriteFile(dir / "Version.ini", c.version);
    ScriptedPrompter prompter;
    EXPECT_FALSE(ConstructApp(Folders::FromWork(dir), prompter).has_value()) << c.setup;
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, c.message);
    EXPECT_EQ(prompter.shown[0].caption, "錯誤");
  }
}

TEST(AppConfig, ServiceSectionOverridesTheBaseAddresses) {
  ScriptedPrompter prompter;
  const auto config = Construct(
      "[service]\r\nPRIMARY=http://10.1.1.1:80/\r\nSECONDARY=http://b\r\nMIRROR=\r\n", &prompter);
  ASSERT_TRUE(config.has_value());
  EXPECT_EQ(config->bases.primary, "http://10.1.1.1:80");
  EXPECT_EQ(config->bases.secondary, "http://b");
  EXPECT_EQ(config->bases.mirror, kAlternativeMirrorUrl);
}

TEST(AppConfig, FixedFileNamesAreFoundIgnoringCase) {
  const auto dir = FreshDir();
  WriteFile(dir / "VERSION.INI", "[VER]\r\nVERSION=7\r\n");
  WriteFile(dir / "SETUP.INI", "[ACCOUNT]\r\nTRADE=1\r\n");
  ScriptedPrompter prompter;
  const auto config = ConstructApp(Folders::FromWork(dir), prompter);
  ASSERT_TRUE(config.has_value());
  EXPECT_EQ(config->installedVersion, "7");
  EXPECT_EQ(config->contract.isLarge, 1);
}

TEST(InstanceLock, ASecondCopyFindsTheFirst) {
  const auto dir = FreshDir();
  const auto lockFile = dir / kInstanceLockName;
  {
    InstanceLock first(lockFile);
    EXPECT_FALSE(first.AlreadyRunning());
    InstanceLock second(lockFile);
    EXPECT_TRUE(second.AlreadyRunning());
  }
  InstanceLock afterwards(lockFile);
  EXPECT_FALSE(afterwards.AlreadyRunning());
}

}  // namespace
}  // namespace kestrel
