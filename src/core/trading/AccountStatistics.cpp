#include "trading/AccountStatistics.h"

#include <cstdio>

#include "trading/AccountFigures.h"
#include "trading/TradeState.h"

namespace kestrel {

namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

AccountStatistics ComputeAccountStatistics(const AccountFigures& account, const TradeState& state) {
  AccountStatistics s;
  s.balanceShown = account.marginBalance + account.realisedPnl;
  s.lotsTraded = state.dealQty;
  s.net = account.realisedPnl + account.floatingPnl;
  s.gross = s.net + account.totalCost;
  s.cost = account.totalCost;
  s.winCount = account.winCount;
  s.lossCount = account.lossCount;
  const int64_t closed = static_cast<int64_t>(account.winCount) + account.lossCount;
  s.hasWinRate = closed > 0;
  if (s.hasWinRate) s.winRate = static_cast<double>(account.winCount) / closed * 100.0;
  // Single precision as shown; no lots means no average rather than a NaN.
  if (state.dealQty != 0) {
    s.averageGross = static_cast<float>(s.gross) / static_cast<float>(state.dealQty);
    s.averageNet = static_cast<float>(s.net) / static_cast<float>(state.dealQty);
  }
  if (s.net > 0) {
    s.hasCostShare = true;
    s.costShare = static_cast<double>(s.cost) / static_cast<double>(s.net) * 100.0;
  } else if (s.net < 0) {
    s.hasCostShare = true;
    s.costShare = static_cast<double>(s.cost) / static_cast<double>(-s.net) * 100.0;
  }
  return s;
}

std::string AccountStatistics::WinRateText() const {
  return hasWinRate ? Format("%.1f", winRate) + "%" : "N/A";
}

std::string AccountStatistics::AverageGrossText() const {
  return Format("%.0f", averageGross);
}

std::string AccountStatistics::AverageNetText() const {
  return Format("%.0f", averageNet);
}

std::string AccountStatistics::CostShareText() const {
  return hasCostShare ? Format("%.2f", costShare) : "";
}

std::string MoneyText6(int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%6d", Saturate32(value));
  return text;
}

std::string MarginAccountText(const AccountStatistics& s, const std::string& dateText) {
  std::string t = " 日期：" + dateText + "\n\n";
  t += "　　　保證金餘額：" + IntText(s.balanceShown) + " 元\n";
  if (s.lotsTraded == 0) return t;
  t += "　　　　交易口數：" + IntText(s.lotsTraded) + "\n";
  t += "　　　　　　勝率：" + s.WinRateText() + "\n\n";
  t += "　　　　　總損益：" + MoneyText6(s.net) + "　(浮動+已實現)\n";
  t += "　　　　　毛損益：" + MoneyText6(s.gross) + "\n";
  t += "　　　　交易成本：" + MoneyText6(s.cost) + "　(佔整體損益：" + s.CostShareText() + "%)\n\n";
  t += "　平均每口毛損益：" + s.AverageGrossText() + " 元\n";
  t += "　平均每口淨損益：" + s.AverageNetText() + " 元\n\n";
  t += " 註解：\n";
  t += "　１. 總   損   益＝毛損益－手續費－期交稅\n";
  t += "　２. 交易成本＝手續費＋期交稅\n";
  return t;
}

}  // namespace kestrel
