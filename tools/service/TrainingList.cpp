#include "service/TrainingList.h"

#include "service/FileNames.h"
#include "service/TextLines.h"

namespace kestrel::service {

std::vector<TrainingDay> ParseTrainingList(std::string_view text,
                                           std::vector<std::string>* warnings) {
  std::vector<TrainingDay> days;
  size_t number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    const size_t first = line.find(',');
    const size_t second = first == std::string_view::npos ? first : line.find(',', first + 1);
    std::string problem;
    TrainingDay day;
    if (second == std::string_view::npos) {
      problem = "expected date,notes file,description";
    } else if (auto date = ParseDate(Trim(line.substr(0, first)))) {
      day.date = *date;
      day.notesFile = std::string(Trim(line.substr(first + 1, second - first - 1)));
      day.description = std::string(Trim(line.substr(second + 1)));
      if (!IsSafeFileName(day.notesFile)) problem = "bad notes file name";
      if (day.description.find('|') != std::string::npos) problem = "'|' in the description";
    } else {
      problem = "bad date";
    }
    if (!problem.empty()) {
      if (warnings != nullptr)
        warnings->push_back("line " + std::to_string(number) + ": " + problem);
      continue;
    }
    days.push_back(std::move(day));
  }
  return days;
}

std::string FormatTrainingList(const std::vector<TrainingDay>& days) {
  if (days.empty()) return "EMPTY";
  std::string reply;
  for (const TrainingDay& day : days)
    reply += FormatDate(day.date) + "," + day.notesFile + "," + day.description + "|";
  return reply;
}

}  // namespace kestrel::service
