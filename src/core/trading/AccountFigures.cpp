#include "trading/AccountFigures.h"

#include "app/AppSettings.h"
#include "trading/TradeState.h"

namespace kestrel {

AccountFigures AccountFiguresFromSettings(const AppSettings& settings) {
  AccountFigures a;
  a.bigFee = settings.BIGFEE;
  a.smallFee = settings.SMALLFEE;
  a.marginBalance = settings.MARGIN;
  const ContractFigures c = DeriveContract(settings);
  SelectContract(a, c.isLarge == 1);
  return a;
}

void SelectContract(AccountFigures& account, bool large) {
  account.isLarge = large ? 1 : 0;
  account.productName = large ? "大台指" : "小台指";
  account.pointValue = large ? 200 : 50;
  account.feePerLot = large ? account.bigFee : account.smallFee;
}

uint32_t TaxPerLot(int32_t fillPrice, int32_t pointValue) {
  return static_cast<uint32_t>(fillPrice) * static_cast<uint32_t>(pointValue) * 2u / 100000u;
}

int64_t FillCost(const AccountFigures& account, int32_t fillPrice, int32_t qty) {
  const int64_t perLot =
      static_cast<int64_t>(TaxPerLot(fillPrice, account.pointValue)) + account.feePerLot;
  return perLot * qty;
}

void BookFillCost(AccountFigures& account, const _Orders& deal) {
  const int64_t cost = FillCost(account, deal.fillPrice, deal.qty);
  account.totalCost += cost;
  account.realisedPnl -= cost;
}

void FoldDayIntoBalance(AccountFigures& account) {
  account.marginBalance += account.realisedPnl + account.floatingPnl;
}

}  // namespace kestrel
