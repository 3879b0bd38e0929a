#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tradingday/TradingDay.h"

namespace kestrel {

// Day bars from the lines of "DAYK.DAT": every line but the last becomes a bar.
void BuildDayBars(TradingDay& day, const std::vector<std::string>& lines);

// Minute history of the previous days from the data folder (2 files for the
// 1-minute series, 10 for the 5-minute, 28 for the 30-minute, looked for up to
// 29 calendar days back), or the placeholder bar when none was read.
void LoadMinuteHistory(TradingDay& day, KPeriod period, const std::filesystem::path& dataFolder);

}  // namespace kestrel
