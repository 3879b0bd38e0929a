#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "trading/UserMessage.h"

namespace kestrel {

struct AccountFigures;
struct AppSettings;

// The trading settings dialog's boxes, as texts the user typed. Plain value;
// not thread-safe.
struct TradingSettingsForm {
  std::string bigFeeText;    // fee per lot, large contract
  std::string smallFeeText;  // fee per lot, mini contract
  bool large = false;        // "大台指" ticked, else "小台指"
  bool setMargin = false;    // "保證金設定" ticked
  std::string marginText;    // balance
};

// The outcome of "儲存": saved (the dialog closes, the simple panel's product
// box is refilled with `productName`), or refused with a warning while the
// steps before it stay done. Plain value; not thread-safe.
struct TradingSettingsSave {
  bool saved = false;
  std::optional<UserMessage> refusal;
  std::string productName;
};

// The boxes on opening: fees and contract from the settings file ("200" and
// "50" for an empty or missing fee, "0" for an empty TRADE), the balance from
// memory, the balance box unticked.
TradingSettingsForm LoadTradingSettingsForm(const std::filesystem::path& setupIni,
                                            const AccountFigures& account);

// "儲存", steps in order: large fee, mini fee, balance when ticked, contract.
// Each accepted step sets the figures (and the matching fields of `settings`,
// so the write-back at exit keeps them) and writes its key to [ACCOUNT] as the
// text was typed. Not thread-safe (user-interface thread only).
TradingSettingsSave SaveTradingSettings(const std::filesystem::path& setupIni,
                                        const TradingSettingsForm& form, AccountFigures& account,
                                        AppSettings& settings);

}  // namespace kestrel
