#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

struct AppSettings;
struct _Orders;

// The money side of trading: contract, fees, balance and the day's figures.
// Money is kept in 64 bits and shown saturated to 32. Plain data owned by the
// application context; not thread-safe (user-interface thread only).
struct AccountFigures {
  int32_t isLarge = 0;                 // 1 大台指, 0 小台指
  std::string productName = "小台指";  // follows isLarge
  int32_t pointValue = 50;             // NT$ per index point
  int32_t bigFee = 200;                // per lot per fill, large contract
  int32_t smallFee = 200;              // per lot per fill, mini contract
  int32_t feePerLot = 200;             // the fee in use

  int64_t marginBalance = 100000;  // carries over from day to day
  int64_t realisedPnl = 0;         // net of fees and tax
  int64_t totalCost = 0;           // fees plus tax of the day
  int32_t winCount = 0;            // closing deals with a positive gross result
  int32_t lossCount = 0;           // closing deals with a negative gross result
  int64_t floatingPnl = 0;         // gross result of the open lots at the last price
};

// Start-up figures from the settings read at start (fees and balance already
// fall back to 200, 200 and 100000; TRADE "0" selects the mini contract).
AccountFigures AccountFiguresFromSettings(const AppSettings& settings);

// Sets isLarge, productName, pointValue and feePerLot for one contract.
void SelectContract(AccountFigures& account, bool large);

// Futures transaction tax of one lot at `fillPrice`: two in a hundred thousand
// of the contract value, in unsigned 32-bit arithmetic, rounded down.
uint32_t TaxPerLot(int32_t fillPrice, int32_t pointValue);

// Fee plus tax of `qty` lots filled at `fillPrice`.
int64_t FillCost(const AccountFigures& account, int32_t fillPrice, int32_t qty);

// Books the fee and tax of one deal into totalCost and realisedPnl.
void BookFillCost(AccountFigures& account, const _Orders& deal);

// The fold applied at day end and at program exit: the day's realised and
// floating result moves into the balance.
void FoldDayIntoBalance(AccountFigures& account);

}  // namespace kestrel
