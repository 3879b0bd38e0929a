#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "trading/AccountStatistics.h"
#include "trading/AccountWindowRows.h"
#include "trading/LocalDateTime.h"
#include "trading/UserMessage.h"

namespace kestrel {

// The deals tab's two export buttons.
enum class DealExportKind { Deals, WithAccount };

inline constexpr const char* kDealExportName = "成交記錄.csv";
inline constexpr const char* kDetailedDealExportName = "詳細成交記錄.csv";
inline constexpr const char* kCsvFilter = "CSV Files (*.csv)|*.csv|";

// What an export writes: the deal rows as shown and the day's figures. Plain
// value; not thread-safe.
struct DealExportInput {
  DealExportKind kind = DealExportKind::Deals;
  const std::vector<AccountRow>* deals = nullptr;
  std::string dateText;  // the replayed day, YYYY-MM-DD
  LocalDateTime now;     // today's date goes in the first line
  int32_t dealQty = 0;
  AccountStatistics stats;
};

// The refusal when no replay is running (the day's deals are gone then).
std::optional<UserMessage> CheckDealExportAllowed(bool sessionRunning);

// The export's text (UTF-8, CR LF line ends) and its bytes in CP950.
std::string DealExportText(const DealExportInput& input);
std::string DealExportBytes(const DealExportInput& input);

// Creates or replaces `path` with the export; a message when it cannot.
std::optional<UserMessage> WriteDealExport(const std::filesystem::path& path,
                                           const DealExportInput& input);

}  // namespace kestrel
