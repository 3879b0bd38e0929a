#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ServiceEndpoints.h"
#include "online/PatternDownload.h"
#include "trading/UserMessage.h"

namespace kestrel {

class Fetcher;

inline constexpr const char* kTrainingListPath = "net_GetTrainData_U.asp";
inline constexpr const char* kTrainingNotesFile = "train.dat";
inline constexpr const char* kTrainingNotesMissing = "訓練盤資料不存在，請聯絡軟體開發商！";

// One row of the training list.
struct TrainingRow {
  std::string date;
  std::string fileName;
  std::string description;
};

// The list reply: records ended by "|" (text after the last one is ignored),
// each "date,file name,description" with the description running to the end.
// A record without a comma is skipped.
std::vector<TrainingRow> ParseTrainingList(std::string_view utf8);

struct TrainingList {
  std::string caption;  // the dialog's caption after the request
  std::vector<TrainingRow> rows;
};

// The training-list request, decoded as UTF-8.
TrainingList FetchTrainingList(Fetcher& fetcher, const ServiceBases& bases);

// "下載訓練盤": the day of the selected row, or the refusal to show.
DayPick PickTrainingDay(const TrainingRow* selected, bool sessionRunning);

// After the training day has loaded: fetches the row's notes, writes them as
// "train.dat" (UTF-16LE with BOM) in the cache folder, hands the file to
// `loadNotes` and deletes it. The message when the notes are missing.
std::optional<UserMessage> FetchTrainingNotes(
    Fetcher& fetcher, const ServiceBases& bases, const std::string& fileName,
    const std::filesystem::path& cacheFolder,
    const std::function<void(const std::filesystem::path&)>& loadNotes);

}  // namespace kestrel
