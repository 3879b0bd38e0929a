#include "trading/TradeHistory.h"

#include <cstdio>
#include <fstream>

#include "common/FileUtil.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "trading/TradeState.h"
#include "trading/TradeText.h"

namespace kestrel {

namespace {

std::string RowsFileText(const std::vector<HistoryRow>& rows) {
  std::string text;
  for (const HistoryRow& row : rows) {
    for (size_t k = 0; k < row.fields.size(); ++k) {
      if (k > 0) text += ",";
      text += row.fields[k];
    }
    text += ",\r\n";
  }
  return text;
}

std::optional<UserMessage> Rewrite(const std::filesystem::path& diaryFolder,
                                   const std::vector<HistoryRow>& rows) {
  if (WriteFileAtomically(TradeHistoryPath(diaryFolder), Utf8ToCp950(RowsFileText(rows))).empty())
    return std::nullopt;
  return UserMessage{"無法寫入歷史交易記錄檔，請確認 Diary 資料夾可以寫入。", kCaptionError};
}

}  // namespace

std::filesystem::path TradeHistoryPath(const std::filesystem::path& diaryFolder) {
  return FindCaseInsensitive(diaryFolder, kTradeHistoryFileName);
}

std::string HistoryWinRateText(const AccountStatistics& stats) {
  if (!stats.hasWinRate) return "N/A";
  if (stats.winCount == 0) return "0%";
  return stats.WinRateText();
}

std::string HistoryRecordLine(const AccountStatistics& s, const std::string& dateText,
                              const LocalDateTime& t) {
  char ended[64];
  std::snprintf(ended, sizeof ended, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  const std::string fields[] = {ended,
                                dateText,
                                IntText(s.lotsTraded),
                                HistoryWinRateText(s),
                                IntText(s.gross),
                                IntText(s.cost),
                                IntText(s.net),
                                s.AverageGrossText(),
                                s.AverageNetText(),
                                IntText(s.balanceShown)};
  std::string line;
  for (const std::string& f : fields) line += f + ",";
  return line + "\r\n";
}

bool WriteHistoryRecord(const std::filesystem::path& diaryFolder, const AccountStatistics& stats,
                        const std::string& dateText, const LocalDateTime& endedAt) {
  if (stats.lotsTraded == 0) return false;
  std::error_code ec;
  std::filesystem::create_directories(diaryFolder, ec);
  std::ofstream out(TradeHistoryPath(diaryFolder), std::ios::binary | std::ios::app);
  if (!out) return false;
  out << Utf8ToCp950(HistoryRecordLine(stats, dateText, endedAt));
  return static_cast<bool>(out.flush());
}

std::vector<HistoryRow> ReadTradeHistory(const std::filesystem::path& diaryFolder) {
  const std::filesystem::path path = TradeHistoryPath(diaryFolder);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    std::filesystem::create_directories(diaryFolder, ec);
    std::ofstream(path, std::ios::binary | std::ios::app);
  }
  std::vector<HistoryRow> rows;
  const std::string text = Cp950ToUtf8(ReadWholeFile(path).value_or(""));
  for (std::string_view line : SplitLines(text)) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto parts = SplitFields(line, ',');
    HistoryRow row;
    row.number = std::to_string(rows.size() + 1);
    for (size_t k = 0; k < row.fields.size(); ++k) row.fields[k] = FieldAt(parts, k);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<UserMessage> DeleteSelectedHistory(Prompter& prompter,
                                                 const std::filesystem::path& diaryFolder,
                                                 std::vector<HistoryRow>& rows) {
  if (prompter.Ask("要刪除選取的紀錄嗎?", kCaptionWarning, PromptButtons::YesNo) !=
      PromptAnswer::Yes)
    return std::nullopt;
  std::erase_if(rows, [](const HistoryRow& r) { return r.checked; });
  return Rewrite(diaryFolder, rows);
}

std::optional<UserMessage> DeleteAllHistory(Prompter& prompter,
                                            const std::filesystem::path& diaryFolder,
                                            std::vector<HistoryRow>& rows) {
  if (prompter.Ask("要刪除全部紀錄嗎?", kCaptionWarning, PromptButtons::YesNo) != PromptAnswer::Yes)
    return std::nullopt;
  rows.clear();
  return Rewrite(diaryFolder, rows);
}

std::string HistoryExportText(const std::vector<HistoryRow>& rows) {
  std::string text =
      "訓練日期,復盤日期,交易口數,勝率,毛損益,交易成本,總損益,平均每口毛損,平均每口淨損,"
      "保證金餘額\r\n";
  for (const HistoryRow& row : rows) {
    for (size_t k = 0; k < row.fields.size(); ++k) {
      if (k > 0) text += ",";
      text += row.fields[k];
    }
    text += "\r\n";
  }
  return text;
}

std::optional<UserMessage> ExportTradeHistory(const std::filesystem::path& path,
                                              const std::vector<HistoryRow>& rows) {
  if (WriteFileAtomically(path, Utf8ToCp950(HistoryExportText(rows))).empty()) return std::nullopt;
  return UserMessage{kExportFileFailed, kCaptionError};
}

}  // namespace kestrel
