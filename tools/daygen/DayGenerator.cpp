#include "DayGenerator.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <deque>
#include <future>
#include <map>
#include <memory>

#include "DayFiles.h"
#include "TrainingNotes.h"
#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "tradingday/ArchiveWriter.h"

namespace kestrel::daygen {

namespace fs = std::filesystem;

namespace {

// The files the practice service reads.
constexpr const char* kCatalogueFile = "catalogue.txt";
constexpr const char* kTrainingFile = "training.txt";

std::string Slashed(const Date& d) {
  return d.Text('/');
}

std::string CatalogueLine(const GeneratedDay& day) {
  const DailyBar& b = day.bar;
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s,%d,%d,%d,%d,%" PRId64 ",%d,%d,", Slashed(day.date).c_str(),
                b.open, b.high, b.low, b.close, b.volume, b.close - day.futuresReference,
                b.high - b.low);
  return buf + std::to_string(MainPatternCode(ClassifyDay(day))) + "," +
         std::to_string(SecondaryPatternCode(day));
}

// The minute trend the service draws its day pictures from: "HHMM,price,volume"
// with the price at the end of each minute, 08:46 to 13:45.
std::string TrendFile(const GeneratedDay& day) {
  std::string text;
  for (const MinuteBar& b : MinuteBars(day.ticks, 1)) {
    const int start = b.time / 100;  // HHMM of the minute's start
    int hh = start / 100, mm = start % 100 + 1;
    if (mm == 60) {
      mm = 0;
      ++hh;
    }
    char line[64];
    std::snprintf(line, sizeof line, "%02d%02d,%d,%d\n", hh, mm, b.close, b.volume);
    text += line;
  }
  return text;
}

// Lines of a date-keyed list file, merged with new ones (same date replaced),
// written back in date order.
std::string MergeByDate(const fs::path& file, const std::map<std::string, std::string>& lines) {
  std::map<std::string, std::string> all;
  if (auto old = ReadWholeFile(file)) {
    size_t start = 0;
    while (start < old->size()) {
      size_t end = old->find('\n', start);
      if (end == std::string::npos) end = old->size();
      std::string line = old->substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) all[line.substr(0, line.find(','))] = line;
      start = end + 1;
    }
  }
  for (const auto& [date, line] : lines) all[date] = line;
  std::string text;
  for (const auto& [date, line] : all) text += line + "\n";
  return WriteFileAtomically(file, text);
}

std::string WriteArchive(const fs::path& path, const std::string& bytes) {
  if (bytes.empty()) return "cannot build " + path.string();
  return WriteFileAtomically(path, bytes);
}

// The archives of one day and, for a training day, its notes.
std::string WriteDay(const GeneratedDay& day, const fs::path& out, const std::string& notesFile) {
  const Date& d = day.date;
  std::string error =
      WriteArchive(out / "DATA" / ArchiveWriter::DayArchiveName(d.year, d.month, d.day),
                   ArchiveWriter::DayArchive(DayMembers(day)));
  if (error.empty())
    error = WriteArchive(out / "DATA" / ArchiveWriter::KLineArchiveName(d.year, d.month, d.day),
                         ArchiveWriter::KLineArchive(KLineMembers(day)));
  if (error.empty())
    error = WriteArchive(out / "TICKDATA" / ArchiveWriter::BookArchiveName(d.year, d.month, d.day),
                         ArchiveWriter::BookArchive(BookMembers(day)));
  if (error.empty())
    error = WriteFileAtomically(out / "TREND" / (d.Text('_') + ".txt"), TrendFile(day));
  if (error.empty() && !notesFile.empty())
    error =
        WriteFileAtomically(out / "DB" / notesFile, FormatTrainingNotes(WriteTrainingNotes(day)));
  return error;
}

}  // namespace

std::string ParseGenerateRequest(const std::map<std::string, std::string>& o, GenerateRequest* r) {
  for (const char* key : {"from", "to", "seed", "out"})
    if (!o.count(key)) return std::string("missing --") + key;
  if (!Date::Parse(o.at("from"), &r->from)) return "bad --from date (YYYY-MM-DD): " + o.at("from");
  if (!Date::Parse(o.at("to"), &r->to)) return "bad --to date (YYYY-MM-DD): " + o.at("to");
  if (r->to < r->from) return "--to is before --from";
  const std::string& seed = o.at("seed");
  if (seed.empty() || seed.find_first_not_of("0123456789") != std::string::npos)
    return "bad --seed (a whole number): " + seed;
  r->seed = static_cast<uint64_t>(ParseDecimal64(seed));
  r->out = o.at("out");
  if (o.count("pattern")) {
    Pattern p;
    if (!ParsePattern(o.at("pattern"), &p)) return "unknown --pattern " + o.at("pattern");
    r->pattern = p;
  }
  if (o.count("training")) {
    const std::string& n = o.at("training");
    if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos)
      return "bad --training (a whole number): " + n;
    r->training = ParseDecimal(n);
  }
  return {};
}

std::string Generate(const GenerateRequest& request) {
  const std::vector<Date> days = TradingDays(request.from, request.to);
  if (days.empty()) return "no trading day between the two dates";
  std::error_code ec;
  for (const char* sub : {"DATA", "TICKDATA", "DB", "TREND"}) {
    fs::create_directories(request.out / sub, ec);
    if (ec) return "cannot create " + (request.out / sub).string() + ": " + ec.message();
  }

  // Training days spread evenly over the range.
  std::vector<bool> training(days.size(), false);
  const int n = std::min<int>(request.training, static_cast<int>(days.size()));
  for (int i = 0; i < n; ++i) training[static_cast<size_t>(i) * days.size() / n] = true;

  MarketModel model(request.seed);
  for (const Date& d : TradingDaysBefore(days.front(), kWarmUpDays)) {
    const GeneratedDay day = model.Generate(d, std::nullopt);
    const std::string error =
        WriteArchive(request.out / "DATA" / ArchiveWriter::KLineArchiveName(d.year, d.month, d.day),
                     ArchiveWriter::KLineArchive(KLineMembers(day)));
    if (!error.empty()) return error;
  }

  // The market model runs day after day on this thread; formatting, zipping and
  // writing a day (most of the work) run beside it, at most two days at a time.
  std::map<std::string, std::string> catalogue, trainingList;
  std::deque<std::future<std::string>> writing;
  auto finishOldest = [&writing]() {
    std::string error = writing.front().get();
    writing.pop_front();
    return error;
  };
  for (size_t i = 0; i < days.size(); ++i) {
    const Date d = days[i];
    auto day = std::make_shared<const GeneratedDay>(model.Generate(d, request.pattern));
    catalogue[Slashed(d)] = CatalogueLine(*day);
    std::string notesFile;
    if (training[i]) {
      notesFile = "TRAIN_" + d.Text('_') + ".txt";
      trainingList[Slashed(d)] = Slashed(d) + "," + notesFile + "," + DescribeTrainingDay(*day);
    }
    if (writing.size() >= 2) {
      const std::string error = finishOldest();
      if (!error.empty()) return error;
    }
    writing.push_back(std::async(std::launch::async, [day, notesFile, &request]() {
      return WriteDay(*day, request.out, notesFile);
    }));
  }
  while (!writing.empty()) {
    const std::string error = finishOldest();
    if (!error.empty()) return error;
  }
  std::string error = MergeByDate(request.out / kCatalogueFile, catalogue);
  if (error.empty() && !trainingList.empty())
    error = MergeByDate(request.out / kTrainingFile, trainingList);
  return error;
}

}  // namespace kestrel::daygen
