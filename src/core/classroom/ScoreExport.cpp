#include "classroom/ScoreExport.h"

#include <cstdio>

#include "common/FileUtil.h"
#include "common/TextCodec.h"

namespace kestrel {

namespace {

constexpr const char* kEol = "\r\n";

// "%-Ns" as the program's ANSI text: padded to `width` bytes of CP950.
std::string PadAnsi(const std::string& utf8, size_t width) {
  const size_t bytes = Utf8ToCp950(utf8).size();
  return bytes >= width ? utf8 : utf8 + std::string(width - bytes, ' ');
}

}  // namespace

std::string ScoreExportText(const std::vector<MonitorRow>& rows, const LocalDateTime& today) {
  char title[96];
  std::snprintf(title, sizeof title, "學員模擬交易成績(%04d/%02d/%02d)", today.year, today.month,
                today.day);
  const std::string rule(52, '=');
  std::string text = std::string(title) + kEol + kEol;
  text += rule + kEol;
  text += std::string("序號        帳號名稱        交易口數        交易損益") + kEol;
  text += rule + kEol;
  for (const MonitorRow& row : rows)
    text += PadAnsi(row.number, 12) + PadAnsi(row.account, 16) + PadAnsi(row.lots, 16) +
            row.result + kEol;
  return text;
}

std::optional<UserMessage> WriteScoreExport(const std::filesystem::path& path,
                                            const std::vector<MonitorRow>& rows,
                                            const LocalDateTime& today) {
  if (!WriteFileAtomically(path, Utf8ToCp950(ScoreExportText(rows, today))).empty())
    return UserMessage{kExportFileFailed, kCaptionError};
  return std::nullopt;
}

}  // namespace kestrel
