#pragma once

#include <string>
#include <vector>

#include "MarketModel.h"
#include "tradingday/ArchiveWriter.h"

namespace kestrel::daygen {

// The text members of a day, formatted as the loader reads them (CR LF lines;
// stock names in CP950).
std::vector<ArchiveMember> DayMembers(const GeneratedDay& day);

// "TX00_…DAT" (ticks with the pre-open 08:44 lines and -9999 markers) and
// "TX00_….B5" (five-level snapshots) of the book archive.
std::vector<ArchiveMember> BookMembers(const GeneratedDay& day);

// "MIN1K.DAT", "MIN5K.DAT", "MIN30K.DAT" of the K-line archive.
std::vector<ArchiveMember> KLineMembers(const GeneratedDay& day);

}  // namespace kestrel::daygen
