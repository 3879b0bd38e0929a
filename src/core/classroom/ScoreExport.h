#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "classroom/ClassTable.h"
#include "trading/LocalDateTime.h"
#include "trading/UserMessage.h"

namespace kestrel {

inline constexpr const char* kScoreExtension = ".txt";
inline constexpr const char* kScoreFilter = "TXT Files (*.tx)|*.txt|";

// "匯出成績": the title line with today's date and an empty line, the column
// header between two lines of 52 "=", then one line per row formatted
// "%-12s%-16s%-16s%-s" from the number, account, lots and result. The
// widths count the bytes of the CP950 text. UTF-8 text with CR LF line ends.
std::string ScoreExportText(const std::vector<MonitorRow>& rows, const LocalDateTime& today);

// Creates or replaces `path` with the text in CP950; a message when it cannot.
std::optional<UserMessage> WriteScoreExport(const std::filesystem::path& path,
                                            const std::vector<MonitorRow>& rows,
                                            const LocalDateTime& today);

}  // namespace kestrel
