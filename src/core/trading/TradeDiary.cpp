#include "trading/TradeDiary.h"

#include "common/FileUtil.h"
#include "common/TextCodec.h"
#include "trading/TradeText.h"

namespace kestrel {

std::filesystem::path DiaryPath(const std::filesystem::path& diaryFolder,
                                const std::string& dateText) {
  return diaryFolder / (dateText + ".DAT");
}

std::string LoadDiary(const std::filesystem::path& diaryFolder, const std::string& dateText) {
  std::error_code ec;
  std::filesystem::create_directories(diaryFolder, ec);
  const std::optional<std::string> bytes = ReadWholeFile(DiaryPath(diaryFolder, dateText));
  if (!bytes) return kDiaryPlaceholder;
  std::string text;
  for (std::string_view line : SplitLines(*bytes)) {
    // A CR LF pair counts as one LF; a CR before it is part of the line.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    text += Cp950ToUtf8(line);
    text += '\n';
  }
  return text;
}

UserMessage SaveDiary(const std::filesystem::path& diaryFolder, const std::string& dateText,
                      const std::string& text) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::error_code ec;
  std::filesystem::create_directories(diaryFolder, ec);
  if (!WriteFileAtomically(DiaryPath(diaryFolder, dateText), Utf8ToCp950(crlf)).empty())
    return {"無法儲存檔案請回報該問題", kDiaryCaption};
  return {"成功儲存", kDiaryCaption};
}

}  // namespace kestrel
