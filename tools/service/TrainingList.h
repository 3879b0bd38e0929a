#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "service/DateText.h"

namespace kestrel::service {

// One prepared training day: the day, its notes file in DB/ and what it teaches.
struct TrainingDay {
  Date date;
  std::string notesFile;
  std::string description;  // UTF-8, may hold commas, never '|'
};

// The training list file, UTF-8, one day per line: date,notes file,description
// (the description runs to the end of the line). Blank lines and lines starting
// with '#' are skipped; malformed lines are skipped with a warning.
std::vector<TrainingDay> ParseTrainingList(std::string_view text,
                                           std::vector<std::string>* warnings = nullptr);

// The list reply: "date,file,description|" per day, or "EMPTY".
std::string FormatTrainingList(const std::vector<TrainingDay>& days);

}  // namespace kestrel::service
