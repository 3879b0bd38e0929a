#pragma once

#include <cstdint>
#include <memory>

#include "Calendar.h"
#include "MarketModel.h"
#include "tradingday/TradingDay.h"

namespace kestrel::daygen {

// A generated day written as its archive and read back through the trainer's
// own loader (in a temporary folder that is removed again), for benchmarks
// and tests. Null when the load fails.
std::unique_ptr<TradingDay> LoadGeneratedDay(uint64_t seed, const Date& date, Pattern pattern);

}  // namespace kestrel::daygen
