#include "replay/TrainingNotes.h"

#include "common/Clock.h"
#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "common/TextCodec.h"
#include "replay/ReplayContext.h"
#include "replay/SessionControl.h"

namespace kestrel {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string UpperLatin(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string WithoutColons(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ':') out += c;
  return out;
}

}  // namespace

std::vector<_TrainDataList> ParseTrainingNotes(std::string_view text) {
  std::vector<_TrainDataList> notes;
  bool inNote = false;
  _TrainDataList current;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string line = UpperLatin(raw);

    if (inNote) {
      if (line.find("[#END]") != std::string::npos) {
        notes.push_back(std::move(current));
        current = {};
        inNote = false;
      } else {
        current.note += line;
        current.note += "\r\n";
      }
      continue;
    }
    const std::string_view trimmed = Trim(line);
    if (trimmed.find("[#]") == std::string_view::npos) continue;
    const size_t space = trimmed.find(' ');
    current = {};
    if (space != std::string_view::npos) current.time = std::string(Trim(trimmed.substr(space)));
    inNote = true;
  }
  return notes;
}

std::string DecodeTrainingFile(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
    return std::string(bytes.substr(kUtf8Bom.size()));
  return DecodeAnsiOrUtf16(bytes);
}

bool LoadTrainingNotes(TrainingSchedule& schedule, const std::filesystem::path& path) {
  ClearTrainingNotes(schedule);
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return false;
  schedule.entries = ParseTrainingNotes(DecodeTrainingFile(*bytes));
  return true;
}

void ClearTrainingNotes(TrainingSchedule& schedule) {
  schedule.entries.clear();
  schedule.nextIndex = 0;
}

const _TrainDataList* DueTrainingNote(const TrainingSchedule& schedule,
                                      std::string_view clockText) {
  const int32_t next = schedule.nextIndex;
  if (next < 0 || static_cast<size_t>(next) >= schedule.entries.size()) return nullptr;
  const _TrainDataList& entry = schedule.entries[static_cast<size_t>(next)];
  const int32_t now = ParseDecimal(WithoutColons(clockText));
  const int32_t due = ParseDecimal(entry.time);
  return now < due ? nullptr : &entry;
}

std::string NextNoteText(const TrainingSchedule& schedule, int32_t shown) {
  const auto following = static_cast<size_t>(shown) + 1;
  if (shown < 0 || following >= schedule.entries.size()) return "下次提示時間:已到結尾";
  const std::string& t = schedule.entries[following].time;
  auto pair = [&t](size_t at) { return at < t.size() ? t.substr(at, 2) : std::string(); };
  return "下次提示時間:" + pair(0) + ":" + pair(2) + ":" + pair(4);
}

bool CheckTrainingNote(ReplayContext& ctx) {
  const _TrainDataList* due = DueTrainingNote(ctx.notes, ctx.clock.clockText);
  if (due == nullptr) return false;
  const std::string note = due->note;
  const int32_t shown = ctx.notes.nextIndex;
  const std::string next = NextNoteText(ctx.notes, shown);
  // Paused first: the dialog's own message loop must not run heartbeats.
  PauseSession(ctx);
  ctx.sink.ShowTrainingNote(note, next);
  ctx.notes.nextIndex = shown + 1;
  // Re-anchored at every speed, so a lowered speed does not jump ahead by the
  // time the dialog was open.
  ReAnchor(ctx.clock, ctx.time.NowMs());
  ctx.sink.StartHeartbeat();
  ctx.clock.sessionPaused = false;
  return true;
}

}  // namespace kestrel
