#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Calendar.h"
#include "Rng.h"

namespace kestrel::daygen {

// Shapes of a day. The numeric order is the order of the command-line names.
enum class Pattern { Random, Rising, Falling, Oscillating, LongSqueeze, ShortSqueeze };
const char* PatternName(Pattern p);  // "random", "rising", ...
bool ParsePattern(const std::string& name, Pattern* p);

struct Tick {
  int32_t time;  // HHMMSScc
  int32_t bid, ask, price, volume;
};

struct IndexRecord {
  int32_t time;  // HHMMSS (fine data) or HHMM (older data)
  double value;
  double buyCount, buyQuantity, sellCount, sellQuantity, tradeCount, tradeQuantity, tradeValue;
};

struct SectorRecord {
  int32_t time;
  double value;
};

struct StockQuote {
  int32_t time;            // HHMMSS
  double bid, ask, price;  // 0 bid or ask: no quote on that side
  int32_t volume, totalVolume;
};

struct StockDay {
  std::string code;
  std::string name;  // UTF-8
  double reference, limitUp, limitDown;
  std::vector<StockQuote> quotes;
};

struct BookLevel {
  int32_t price, volume;
};

struct BookSnapshot {
  int32_t time;  // HHMMSScc
  BookLevel bid[5], ask[5];
};

struct DailyBar {
  int32_t date;  // YYYYMMDD
  int32_t open, high, low, close;
  int64_t volume;
};

struct MinuteBar {
  int32_t time;  // HHMMSS of the bar's start
  int32_t open, high, low, close, volume;
};

// Everything one generated trading day holds.
struct GeneratedDay {
  Date date;
  Pattern pattern = Pattern::Random;  // the shape the day was drawn with
  bool fineIndexData = true;
  int32_t futuresReference = 0;
  double indexReference = 0, electronicReference = 0, financialReference = 0;
  std::vector<Tick> ticks;  // 08:45:00 to 13:45:00
  std::vector<IndexRecord> index;
  std::vector<SectorRecord> electronic, financial;
  std::vector<StockDay> stocks;
  std::vector<BookSnapshot> book;
  DailyBar bar{};
  std::vector<DailyBar> history;  // previous daily bars, oldest first (not the day itself)

  int32_t LimitUp() const { return futuresReference + futuresReference / 10; }
  int32_t LimitDown() const { return futuresReference - futuresReference / 10; }
};

// Minute bars of a day's ticks: period 1, 5 or 30 minutes, bars at the session
// boundaries counted from 08:45.
std::vector<MinuteBar> MinuteBars(const std::vector<Tick>& ticks, int period);

// A market that goes on from day to day: each day's references are the previous
// day's closes. Deterministic for a seed and a sequence of dates.
class MarketModel {
 public:
  explicit MarketModel(uint64_t seed);

  // Generates the next day (dates must increase). Without a pattern the shape
  // is drawn from the seed.
  GeneratedDay Generate(const Date& date, std::optional<Pattern> pattern);

 private:
  uint64_t seed_;
  int32_t futuresClose_;
  double indexClose_, electronicClose_, financialClose_;
  std::vector<double> stockCloses_;
  std::vector<DailyBar> history_;
};

}  // namespace kestrel::daygen

namespace kestrel::daygen {

// The shape a finished day shows, from its ticks: never Random.
Pattern ClassifyDay(const GeneratedDay& day);

// The catalogue's pattern codes: main 1 rising, 2 falling, 3 sideways, 4 long
// squeeze, 5 short squeeze; secondary 0 none, 1 開高走高, 2 開高走低,
// 3 開低走高, 4 開低走低, 5 尾盤拉升, 6 尾盤急殺, 7 窄幅整理, 8 V型反轉, 9 倒V反轉.
int MainPatternCode(Pattern p);
int SecondaryPatternCode(const GeneratedDay& day);

}  // namespace kestrel::daygen
