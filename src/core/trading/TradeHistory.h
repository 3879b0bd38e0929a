#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "trading/AccountStatistics.h"
#include "trading/LocalDateTime.h"
#include "trading/UserMessage.h"

namespace kestrel {

class Prompter;

inline constexpr const char* kTradeHistoryFileName = "TradeHistory.DAT";
inline constexpr const char* kHistoryExportName = "歷史交易記錄.csv";

// One row of the history window: its "編號" as shown when the window opened, the
// ten fields of a history line, and its check box. Plain value; not
// thread-safe.
struct HistoryRow {
  std::string number;
  std::array<std::string, 10> fields;
  bool checked = false;
};

// The history file in the Diary folder.
std::filesystem::path TradeHistoryPath(const std::filesystem::path& diaryFolder);

// The win-rate field: "N/A", "0%" or "%.1f%".
std::string HistoryWinRateText(const AccountStatistics& stats);

// One history line: ten fields each followed by ",", then CR LF (UTF-8).
std::string HistoryRecordLine(const AccountStatistics& stats, const std::string& dateText,
                              const LocalDateTime& endedAt);

// The end-of-day record: appends the line for a day with deals, creating the
// folder and file as needed. False when nothing was written (no deals, or the
// file could not be opened, which is not reported). Not thread-safe.
bool WriteHistoryRecord(const std::filesystem::path& diaryFolder, const AccountStatistics& stats,
                        const std::string& dateText, const LocalDateTime& endedAt);

// The history window's rows, read from the file (created empty when missing);
// a line with fewer fields reads the missing ones as empty.
std::vector<HistoryRow> ReadTradeHistory(const std::filesystem::path& diaryFolder);

// "刪除選取": asks, then drops the ticked rows and rewrites the file from the
// rest. Returns a message when the file cannot be written.
std::optional<UserMessage> DeleteSelectedHistory(Prompter& prompter,
                                                 const std::filesystem::path& diaryFolder,
                                                 std::vector<HistoryRow>& rows);

// "刪除全部": asks, then empties the list and truncates the file.
std::optional<UserMessage> DeleteAllHistory(Prompter& prompter,
                                            const std::filesystem::path& diaryFolder,
                                            std::vector<HistoryRow>& rows);

// "匯出記錄": the header and every row (ticked or not) into `path`, CP950.
std::string HistoryExportText(const std::vector<HistoryRow>& rows);
std::optional<UserMessage> ExportTradeHistory(const std::filesystem::path& path,
                                              const std::vector<HistoryRow>& rows);

}  // namespace kestrel
