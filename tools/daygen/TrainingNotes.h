#pragma once

#include <string>
#include <vector>

#include "MarketModel.h"

namespace kestrel::daygen {

// One instructor's note: a time of day HHMMSS and its text (UTF-8, lines
// separated by "\n").
struct TrainingNote {
  int32_t time;
  std::string text;
};

// Notes written from what happens in the day: the opening gap, the first break
// of the opening range, the day's high and low, the largest reversal and the
// close against the open — each at the time it happens, in time order.
std::vector<TrainingNote> WriteTrainingNotes(const GeneratedDay& day);

// The notes file: "[#] HHMMSS", the text lines, "[#END]" (UTF-8, CR LF).
std::string FormatTrainingNotes(const std::vector<TrainingNote>& notes);

// A one-line description of the day for the training list.
std::string DescribeTrainingDay(const GeneratedDay& day);

}  // namespace kestrel::daygen
