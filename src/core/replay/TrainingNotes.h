#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct ReplayContext;

// One instructor's note: its time of day (a second key HHMMSS) and its text,
// every line ended by "\r\n".
struct _TrainDataList {
  std::string time;
  std::string note;

  bool operator==(const _TrainDataList&) const = default;
};

// The notes of the loaded training day and the position of the next one to
// show. Plain data owned by the application context; not thread-safe
// (user-interface thread only).
struct TrainingSchedule {
  std::vector<_TrainDataList> entries;
  int32_t nextIndex = 0;
  // Where the note dialog was last moved to, while the program runs.
  int32_t dialogLeft = 0;
  int32_t dialogTop = 0;
};

inline constexpr const char* kTrainingNoteFileName = "train.dat";
inline constexpr const char* kTrainingNoteCaption = "訓練盤說明";
inline constexpr const char* kTrainingNoteButton = "繼續盤勢";

// The notes of a note file's text (UTF-8). Every line is upper-cased (Latin
// letters). A line holding "[#]" starts a note timed by the text after its
// first space; the lines up to one holding "[#END]" are its text. A note
// without its end line is dropped.
std::vector<_TrainDataList> ParseTrainingNotes(std::string_view text);

// A note file's bytes as text: UTF-16LE with its byte-order mark (as the
// training download writes it), UTF-8 with its mark, otherwise CP950.
std::string DecodeTrainingFile(std::string_view bytes);

// Empties the schedule, then fills it from the file. False when the file
// cannot be read (the schedule stays empty).
bool LoadTrainingNotes(TrainingSchedule& schedule, const std::filesystem::path& path);

// Every load of a day empties the schedule.
void ClearTrainingNotes(TrainingSchedule& schedule);

// The note due at the clock text (its colons removed, read as a number), or
// null when none is.
const _TrainDataList* DueTrainingNote(const TrainingSchedule& schedule, std::string_view clockText);

// The dialog's line for the note at `shown`: "下次提示時間:" and the next note's
// time as HH:MM:SS, or "下次提示時間:已到結尾" after the last.
std::string NextNoteText(const TrainingSchedule& schedule, int32_t shown);

// The heartbeat's note check: a due note pauses the session, is shown, and
// the session resumes from the latest released batch. True when a note was
// shown (the heartbeat then ends).
bool CheckTrainingNote(ReplayContext& ctx);

}  // namespace kestrel
