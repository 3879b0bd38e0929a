#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

struct AccountFigures;
struct TradeState;

// The derived figures of the account window, the detailed export and the
// end-of-day record, taken from the current figures. A plain value; computing
// it changes nothing. Not thread-safe (user-interface thread only).
struct AccountStatistics {
  int64_t balanceShown = 0;  // marginBalance + realisedPnl (floating not included)
  int32_t lotsTraded = 0;    // dealQty
  int64_t net = 0;           // realisedPnl + floatingPnl
  int64_t gross = 0;         // net + totalCost
  int64_t cost = 0;          // totalCost
  int32_t winCount = 0;
  int32_t lossCount = 0;
  bool hasWinRate = false;    // false when no closing deal had a result
  double winRate = 0;         // percent
  float averageGross = 0;     // per lot traded; 0 when no lots
  float averageNet = 0;       // per lot traded; 0 when no lots
  bool hasCostShare = false;  // false when net is 0
  double costShare = 0;       // cost as a percentage of |net|

  std::string WinRateText() const;       // "%.1f%" or "N/A"
  std::string AverageGrossText() const;  // "%.0f"
  std::string AverageNetText() const;    // "%.0f"
  std::string CostShareText() const;     // "%.2f" or empty
};

AccountStatistics ComputeAccountStatistics(const AccountFigures& account, const TradeState& state);

// "%6d" of a money figure, saturated to 32 bits.
std::string MoneyText6(int64_t value);

// The margin-account tab's text, LF line ends.
std::string MarginAccountText(const AccountStatistics& stats, const std::string& dateText);

}  // namespace kestrel
