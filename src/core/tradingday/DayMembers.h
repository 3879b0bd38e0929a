#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tradingday/TradingDay.h"

namespace kestrel {

// Parsers for the text members of the day and book archives. Each takes the
// member's plain (descrambled) bytes; none touches a file.
namespace day_members {

// Lines ending at LF, a CR before the LF dropped; text after the last LF is a
// last line when not empty.
std::vector<std::string_view> SplitLines(std::string_view bytes);
std::vector<std::string_view> SplitFields(std::string_view line);
std::string_view Trim(std::string_view text);

// A decimal fraction as the data files write it ("8512.37", "-0.5"); leading
// white space allowed, the longest number prefix taken, anything else 0.
double ParseFraction(std::string_view text);

// "FTX.DAT" and the book's tick member: trimmed lines up to the first blank one.
std::vector<std::string> ReadTickLines(std::string_view bytes);

// "DAYK.DAT": lines up to the first blank one (the K-line code drops the last).
std::vector<std::string> ReadDayBarLines(std::string_view bytes);

struct OpenValues {
  int32_t indexReference = 0;
  int32_t futuresReference = 0;
  double electronicReference = 0;
  double financialReference = 0;
};
// "OPEN.DAT": the text after the first comma of lines 1 to 4.
OpenValues ParseOpenValues(std::string_view bytes);

// "0000" after a 4-character minute key, "00" after any other time.
std::string NormaliseIndexTime(std::string_view time);

// "TX.DAT" into the array from index 0, empty lines included; returns the number
// of records read. Lines beyond the capacity are dropped.
int32_t ParseIndexRecords(std::string_view bytes,
                          std::array<_IndexRecord, TradingDay::kIndexCapacity>& records);

// "TXE.DAT" / "TXF.DAT", likewise.
int32_t ParseSectorRecords(std::string_view bytes,
                           std::array<_SectorRecord, TradingDay::kIndexCapacity>& records);

// True for a stock code of ASCII letters and digits only.
bool IsValidStockCode(std::string_view code);

// "StockPrice.Dat": the non-empty lines, at most `capacity` of them, as stocks
// (code, name decoded from CP950, reference, limits). A code that is not
// letters and digits stops the parse: `error` then holds the message.
std::vector<_StockInfo> ParseStockList(std::string_view bytes, size_t capacity, std::string& error);

// A stock's quote member: one record of six texts per line.
std::vector<_StockRecord> ParseStockRecords(std::string_view bytes);

// The book's tick member with the 08:44 and "-9999" rewrites.
std::vector<std::string> ReadBookTicks(std::string_view bytes);

// The book's ".B5" member: snapshots without the empty-quote and pre-08:44 lines,
// 08:44 lines restamped 08:45.
std::vector<std::string> ReadBookSnapshots(std::string_view bytes);

}  // namespace day_members
}  // namespace kestrel
