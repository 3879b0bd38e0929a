#include "trading/TradingSettings.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "TradeFixture.h"
#include "app/AppSettings.h"
#include "common/ProfileFile.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::TradeFixture;
using test::WriteFile;

class TradingSettings : public TradeFixture {
 protected:
  TradingSettings() : ini(FreshDir() / "setup.ini") {}

  std::string Key(const char* key) const { return ReadProfileString(ini, "ACCOUNT", key); }

  std::filesystem::path ini;
  AppSettings settings;
};

TEST_F(TradingSettings, OpeningShowsTheFileWithItsOwnDefaults) {
  WriteFile(ini, "[ACCOUNT]\r\nBIGFEE=120\r\nTRADE=\r\n");
  account.marginBalance = 123456;
  const TradingSettingsForm form = LoadTradingSettingsForm(ini, account);
  EXPECT_EQ(form.bigFeeText, "120");
  EXPECT_EQ(form.smallFeeText, "50");  // start-up would use 200 for the same file
  EXPECT_FALSE(form.large);
  EXPECT_EQ(form.marginText, "123456");
  EXPECT_FALSE(form.setMargin);

  WriteFile(ini, "[ACCOUNT]\r\nSMALLFEE=\r\nTRADE=x\r\n");
  const TradingSettingsForm other = LoadTradingSettingsForm(ini, account);
  EXPECT_EQ(other.bigFeeText, "200");
  EXPECT_EQ(other.smallFeeText, "50");
  EXPECT_TRUE(other.large);
}

TEST_F(TradingSettings, SavingWritesTheTextsAsTypedAndAppliesThem) {
  WriteFile(ini, "[ACCOUNT]\r\nMARGIN=5000\r\n");
  TradingSettingsForm form{"150元", "50", false, false, "999"};
  const TradingSettingsSave saved = SaveTradingSettings(ini, form, account, settings);
  EXPECT_TRUE(saved.saved);
  EXPECT_FALSE(saved.refusal.has_value());
  EXPECT_EQ(saved.productName, "小台指");
  EXPECT_EQ(account.bigFee, 150);
  EXPECT_EQ(settings.BIGFEE, 150);
  EXPECT_EQ(Key("BIGFEE"), "150元");
  EXPECT_EQ(Key("SMALLFEE"), "50");
  EXPECT_EQ(Key("TRADE"), "0");
  // The balance box is ignored while unticked.
  EXPECT_EQ(Key("MARGIN"), "5000");
  EXPECT_EQ(account.marginBalance, 100000);

  // The next fill uses the mini contract's point value and fee.
  EXPECT_EQ(account.pointValue, 50);
  EXPECT_EQ(account.feePerLot, 50);
  SetQuote(8000, 7999, 8000);
  Market(kSideBuy);
  MatchAtQuote(ctx, "09:00:00");
  EXPECT_EQ(account.totalCost, 8 + 50);

  form.large = true;
  form.setMargin = true;
  form.marginText = "250000";
  ASSERT_TRUE(SaveTradingSettings(ini, form, account, settings).saved);
  EXPECT_EQ(account.marginBalance, 250000);
  EXPECT_EQ(Key("MARGIN"), "250000");
  EXPECT_EQ(Key("TRADE"), "1");
  EXPECT_EQ(settings.TRADE, "1");
  EXPECT_EQ(account.productName, "大台指");
  EXPECT_EQ(account.feePerLot, 150);
}

TEST_F(TradingSettings, RefusalsStopWithTheEarlierStepsDone) {
  struct Case {
    const char* name;
    TradingSettingsForm form;
    const char* message;
    const char* bigFeeWritten;
    const char* smallFeeWritten;
  };
  const Case cases[] = {
      {"large fee 0", {"0", "50", true, false, ""}, "請設定大台手續費", "", ""},
      {"large fee text", {"abc", "50", true, false, ""}, "請設定大台手續費", "", ""},
      {"mini fee negative", {"100", "-5", true, false, ""}, "請設定小台手續費", "100", ""},
      {"balance empty", {"100", "40", true, true, ""}, "請設定保證金", "100", "40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(ini);
    account = {};
    const TradingSettingsSave r = SaveTradingSettings(ini, c.form, account, settings);
    EXPECT_FALSE(r.saved);
    ASSERT_TRUE(r.refusal.has_value());
    EXPECT_EQ(*r.refusal, (UserMessage{c.message, "警告"}));
    EXPECT_EQ(Key("BIGFEE"), c.bigFeeWritten);
    EXPECT_EQ(Key("SMALLFEE"), c.smallFeeWritten);
    EXPECT_EQ(Key("TRADE"), "");
    EXPECT_EQ(account.productName, "小台指");  // the contract step was not reached
  }
}

}  // namespace
}  // namespace kestrel
