#include "trading/TradingSettings.h"

#include "app/AppSettings.h"
#include "common/Decimal.h"
#include "common/ProfileFile.h"
#include "trading/AccountFigures.h"
#include "trading/TradeState.h"

namespace kestrel {

namespace {

constexpr const char* kSection = "ACCOUNT";

std::string OrDefault(std::string text, const char* fallback) {
  return text.empty() ? std::string(fallback) : text;
}

UserMessage Warning(const char* text) {
  return {text, kCaptionWarning};
}

}  // namespace

TradingSettingsForm LoadTradingSettingsForm(const std::filesystem::path& setupIni,
                                            const AccountFigures& account) {
  const ProfileFile file = ProfileFile::Load(setupIni);
  TradingSettingsForm form;
  form.bigFeeText = OrDefault(file.Get(kSection, "BIGFEE"), "200");
  form.smallFeeText = OrDefault(file.Get(kSection, "SMALLFEE"), "50");
  form.large = OrDefault(file.Get(kSection, "TRADE"), "0") != "0";
  form.marginText = IntText(account.marginBalance);
  form.setMargin = false;
  return form;
}

TradingSettingsSave SaveTradingSettings(const std::filesystem::path& setupIni,
                                        const TradingSettingsForm& form, AccountFigures& account,
                                        AppSettings& settings) {
  // A file that cannot be written loses the change silently, as every profile
  // write of the program does; the figures in memory still change.
  TradingSettingsSave result;
  const int32_t bigFee = ParseDecimal(form.bigFeeText);
  if (bigFee <= 0) {
    result.refusal = Warning("請設定大台手續費");
    return result;
  }
  account.bigFee = settings.BIGFEE = bigFee;
  WriteProfileString(setupIni, kSection, "BIGFEE", form.bigFeeText);

  const int32_t smallFee = ParseDecimal(form.smallFeeText);
  if (smallFee <= 0) {
    result.refusal = Warning("請設定小台手續費");
    return result;
  }
  account.smallFee = settings.SMALLFEE = smallFee;
  WriteProfileString(setupIni, kSection, "SMALLFEE", form.smallFeeText);

  if (form.setMargin) {
    const int32_t margin = ParseDecimal(form.marginText);
    if (margin <= 0) {
      result.refusal = Warning("請設定保證金");
      return result;
    }
    account.marginBalance = settings.MARGIN = margin;
    WriteProfileString(setupIni, kSection, "MARGIN", form.marginText);
  }

  SelectContract(account, form.large);
  settings.TRADE = std::string(form.large ? "1" : "0");
  WriteProfileString(setupIni, kSection, "TRADE", settings.TRADE);
  result.saved = true;
  result.productName = account.productName;
  return result;
}

}  // namespace kestrel
