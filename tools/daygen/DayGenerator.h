#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "Calendar.h"
#include "MarketModel.h"

namespace kestrel::daygen {

struct GenerateRequest {
  Date from, to;
  uint64_t seed = 0;
  std::filesystem::path out;
  std::optional<Pattern> pattern;
  int training = 0;  // how many of the days become training days
};

// Checks the command-line options; returns an error text, empty when valid.
std::string ParseGenerateRequest(const std::map<std::string, std::string>& options,
                                 GenerateRequest* request);

// Trading days before `from` whose K-line archives are written too, so that the
// K-line completion and the minute history of the first days find them.
inline constexpr int kWarmUpDays = 30;

// Writes every trading day of the range into the data folder: DATA/ (day and
// K-line archives), TICKDATA/ (book archives), the catalogue, and for training
// days DB/ notes and the training list. Returns an error text, empty on success.
std::string Generate(const GenerateRequest& request);

}  // namespace kestrel::daygen
