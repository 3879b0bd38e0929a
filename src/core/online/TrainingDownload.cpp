#include "online/TrainingDownload.h"

#include "common/FileUtil.h"
#include "common/TextCodec.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace fs = std::filesystem;

std::vector<TrainingRow> ParseTrainingList(std::string_view utf8) {
  std::vector<TrainingRow> rows;
  size_t start = 0;
  for (size_t bar = utf8.find('|'); bar != std::string_view::npos;
       start = bar + 1, bar = utf8.find('|', start)) {
    const std::string_view record = utf8.substr(start, bar - start);
    const size_t first = record.find(',');
    if (first == std::string_view::npos) continue;
    TrainingRow row;
    row.date = std::string(record.substr(0, first));
    const size_t second = record.find(',', first + 1);
    if (second == std::string_view::npos) {
      row.fileName = std::string(record.substr(first + 1));
    } else {
      row.fileName = std::string(record.substr(first + 1, second - first - 1));
      row.description = std::string(record.substr(second + 1));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TrainingList FetchTrainingList(Fetcher& fetcher, const ServiceBases& bases) {
  TrainingList list;
  std::string buffer;
  if (!fetcher.Fetch(ServiceUrl(bases.secondary, kTrainingListPath), buffer)) {
    list.caption = "訓練盤型 (網路連線中斷...)";
    return list;
  }
  const std::string reply = Utf8ReplyText(buffer);
  if (reply == "EMPTY" || reply == "ERROR") {
    list.caption = "訓練盤型 (查無資料...)";
    return list;
  }
  list.caption = "訓練盤型";
  list.rows = ParseTrainingList(reply);
  return list;
}

DayPick PickTrainingDay(const TrainingRow* selected, bool sessionRunning) {
  DayPick pick;
  if (selected == nullptr) {
    pick.message = UserMessage{"請用滑鼠選擇下載日期", kCaptionNotice};
  } else if (sessionRunning) {
    pick.message = UserMessage{"目前盤勢進行中，請先結束盤勢", kCaptionWarning};
  } else if (!(pick.day = ChooseDayFromText(selected->date))) {
    pick.message = UserMessage{kTrainingNotesMissing, kCaptionWarning};
  }
  return pick;
}

std::optional<UserMessage> FetchTrainingNotes(
    Fetcher& fetcher, const ServiceBases& bases, const std::string& fileName,
    const fs::path& cacheFolder, const std::function<void(const fs::path&)>& loadNotes) {
  const UserMessage missing{kTrainingNotesMissing, kCaptionWarning};
  if (!IsFlatFileName(fileName)) return missing;
  FetchOptions options;
  options.maxBytes = kMaxFileBytes;
  std::string buffer;
  if (!fetcher.Fetch(FileUrl(bases.primary, "/DB/", fileName), buffer, options)) return missing;
  const std::string text = Utf8ReplyText(buffer);
  if (text.empty() || ReplyText(buffer).find("Page Not Found") != std::string::npos) return missing;

  const fs::path notes = cacheFolder / kTrainingNotesFile;
  std::error_code ec;
  fs::create_directories(cacheFolder, ec);
  fs::remove(notes, ec);
  const std::string bytes = std::string(kUtf16LeBom) + Utf8ToUtf16Le(text);
  if (!WriteFileAtomically(notes, bytes).empty()) return missing;
  loadNotes(notes);
  fs::remove(notes, ec);
  return std::nullopt;
}

}  // namespace kestrel
