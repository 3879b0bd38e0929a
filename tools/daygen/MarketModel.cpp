#include "MarketModel.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestrel::daygen {

namespace {

constexpr int kSessionMinutes = 300;  // 08:45 to 13:45
constexpr int kHistoryBars = 130;     // daily bars before the first generated day

struct StockDef {
  const char* code;
  const char* name;
  double price;  // starting price
  double beta;   // sensitivity to the index
};

// Fictitious weighted stocks.
constexpr std::array<StockDef, 20> kStocks = {{
    {"1101", "東岳水泥", 38.5, 0.8},  {"1216", "福泰食品", 62.0, 0.6},
    {"1301", "台興塑膠", 81.3, 0.9},  {"1303", "南嶺化工", 70.8, 0.9},
    {"2002", "中鋼鐵業", 26.4, 0.7},  {"2105", "正泰輪胎", 45.6, 0.8},
    {"2303", "聯晶電子", 14.2, 1.3},  {"2308", "台光電機", 92.5, 1.1},
    {"2317", "鴻圖精密", 88.0, 1.2},  {"2330", "台積晶圓", 102.5, 1.1},
    {"2354", "鴻準科技", 71.4, 1.2},  {"2412", "中原電信", 96.3, 0.4},
    {"2454", "聯達科技", 356.0, 1.3}, {"2498", "宏遠通訊", 512.0, 1.4},
    {"2881", "富邦金控", 42.7, 0.9},  {"2882", "國泰金控", 38.9, 0.9},
    {"2886", "兆豐金控", 24.1, 0.8},  {"2891", "中信金控", 18.6, 0.9},
    {"3045", "台灣大通", 101.0, 0.4}, {"6505", "台塑石化", 77.2, 0.7},
}};

// Tick size of a stock price.
double StockTick(double price) {
  if (price < 10) return 0.01;
  if (price < 50) return 0.05;
  if (price < 100) return 0.1;
  if (price < 500) return 0.5;
  if (price < 1000) return 1;
  return 5;
}

double RoundToTick(double price) {
  const double tick = StockTick(price);
  return std::round(price / tick) * tick;
}

// Shape of a day as key points (minute, fraction of the day's amplitude).
struct KeyPoint {
  double minute, level;
};

std::vector<KeyPoint> ShapeOf(Pattern p, Rng& rng) {
  switch (p) {
    case Pattern::Rising: return {{0, 0}, {60, 0.3}, {150, 0.45}, {240, 0.8}, {299, 1.0}};
    case Pattern::Falling: return {{0, 0}, {60, -0.3}, {150, -0.45}, {240, -0.8}, {299, -1.0}};
    case Pattern::Oscillating:
      return {{0, 0}, {40, 0.6}, {100, -0.55}, {160, 0.6}, {220, -0.55}, {270, 0.3}, {299, 0.03}};
    case Pattern::LongSqueeze: return {{0, 0}, {110, 0.8}, {170, 0.55}, {230, -0.2}, {299, -0.65}};
    case Pattern::ShortSqueeze: return {{0, 0}, {110, -0.8}, {170, -0.55}, {230, 0.2}, {299, 0.65}};
    case Pattern::Random: break;
  }
  std::vector<KeyPoint> points = {{0, 0}};
  double level = 0;
  for (double m = 50; m < 300; m += 50) {
    level = std::clamp(level + rng.Normal(0, 0.35), -0.9, 0.9);
    points.push_back({m, level});
  }
  points.push_back({299, std::clamp(level + rng.Normal(0, 0.2), -1.0, 1.0)});
  return points;
}

double ShapeAt(const std::vector<KeyPoint>& shape, double minute) {
  for (size_t i = 1; i < shape.size(); ++i) {
    if (minute <= shape[i].minute) {
      const KeyPoint& a = shape[i - 1];
      const KeyPoint& b = shape[i];
      // Smooth step between key points so turns are not sharp corners.
      double t = (minute - a.minute) / (b.minute - a.minute);
      t = t * t * (3 - 2 * t);
      return a.level + (b.level - a.level) * t;
    }
  }
  return shape.back().level;
}

// Relative tick intensity through the session: high at the open and the close.
double Intensity(double minute) {
  return 1.0 + 3.5 * std::exp(-minute / 20.0) + 2.8 * std::exp(-(299.0 - minute) / 18.0);
}

int32_t ClockTime(int minuteOfSession, int centiseconds) {
  const int total = 8 * 60 + 45 + minuteOfSession;
  const int hh = total / 60, mm = total % 60;
  const int ss = centiseconds / 100, cc = centiseconds % 100;
  return ((hh * 100 + mm) * 100 + ss) * 100 + cc;
}

int TickVolume(Rng& rng) {
  if (rng.Chance(0.012)) return rng.Int(20, 150);
  static const double kWeights[] = {0.42, 0.22, 0.14, 0.12, 0.10};
  double r = rng.Uniform();
  for (int v = 1; v <= 5; ++v) {
    if (r < kWeights[v - 1]) return v;
    r -= kWeights[v - 1];
  }
  return 5;
}

// Seconds after 08:45:00 of an HHMMSS time.
int SecondsOf(int32_t hhmmss) {
  return (hhmmss / 10000) * 3600 + (hhmmss / 100 % 100) * 60 + hhmmss % 100 - 31500;
}

int32_t HhmmssAt(int secondsAfterOpen) {
  const int s = secondsAfterOpen + 31500;
  return (s / 3600) * 10000 + (s / 60 % 60) * 100 + s % 60;
}

}  // namespace

const char* PatternName(Pattern p) {
  static const char* kNames[] = {"random",      "rising",       "falling",
                                 "oscillating", "long-squeeze", "short-squeeze"};
  return kNames[static_cast<int>(p)];
}

bool ParsePattern(const std::string& name, Pattern* p) {
  for (int i = 0; i < 6; ++i) {
    if (name == PatternName(static_cast<Pattern>(i))) {
      *p = static_cast<Pattern>(i);
      return true;
    }
  }
  return false;
}

std::vector<MinuteBar> MinuteBars(const std::vector<Tick>& ticks, int period) {
  std::vector<MinuteBar> bars;
  int currentSlot = -1;
  for (const Tick& t : ticks) {
    const int seconds = SecondsOf(t.time / 100);
    int minute = seconds / 60;
    if (minute >= kSessionMinutes) minute = kSessionMinutes - 1;  // the closing tick
    const int slot = minute / period;
    if (slot != currentSlot) {
      currentSlot = slot;
      bars.push_back({HhmmssAt(slot * period * 60), t.price, t.price, t.price, t.price, 0});
    }
    MinuteBar& b = bars.back();
    b.high = std::max(b.high, t.price);
    b.low = std::min(b.low, t.price);
    b.close = t.price;
    b.volume += t.volume;
  }
  return bars;
}

MarketModel::MarketModel(uint64_t seed) : seed_(seed) {
  Rng rng(seed ^ 0x5EED5EEDull);
  futuresClose_ = 7600 + rng.Int(0, 800);
  indexClose_ = futuresClose_ + rng.Uniform(-20, 30);
  electronicClose_ = 300 + rng.Uniform(-20, 20);
  financialClose_ = 900 + rng.Uniform(-60, 60);
  for (const StockDef& s : kStocks)
    stockCloses_.push_back(RoundToTick(s.price * rng.Uniform(0.9, 1.1)));

  // Daily bars before the first day: a plain random walk ending at the close.
  std::vector<DailyBar> back;
  double close = futuresClose_;
  for (int i = 0; i < kHistoryBars; ++i) {
    const double open = close * (1 - rng.Normal(0, 0.006));
    const double high = std::max(open, close) * (1 + std::abs(rng.Normal(0, 0.004)));
    const double low = std::min(open, close) * (1 - std::abs(rng.Normal(0, 0.004)));
    back.push_back({0, static_cast<int32_t>(std::lround(open)),
                    static_cast<int32_t>(std::lround(high)), static_cast<int32_t>(std::lround(low)),
                    static_cast<int32_t>(std::lround(close)), rng.Int(60000, 140000)});
    close = open * (1 + rng.Normal(0, 0.003));
  }
  std::reverse(back.begin(), back.end());
  history_ = back;  // dates are filled in when the first day is generated
}

GeneratedDay MarketModel::Generate(const Date& date, std::optional<Pattern> pattern) {
  Rng rng(seed_ * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(date.Key()));
  GeneratedDay day;
  day.date = date;
  day.fineIndexData = date.Key() >= 20110117;
  day.futuresReference = futuresClose_;
  day.indexReference = std::round(indexClose_ * 100) / 100;
  day.electronicReference = std::round(electronicClose_ * 100) / 100;
  day.financialReference = std::round(financialClose_ * 100) / 100;

  // History dates: the trading days before this one (only the first day needs them).
  if (!history_.empty() && history_.back().date == 0) {
    const std::vector<Date> before = TradingDaysBefore(date, static_cast<int>(history_.size()));
    for (size_t i = 0; i < history_.size(); ++i) history_[i].date = before[i].Key();
  }
  day.history = history_;

  Pattern shapeKind = pattern.value_or(static_cast<Pattern>(rng.Int(0, 5)));
  day.pattern = shapeKind;
  std::vector<KeyPoint> shape = ShapeOf(shapeKind, rng);

  const int32_t ref = day.futuresReference;
  const int32_t limitUp = day.LimitUp(), limitDown = day.LimitDown();
  const double gap = rng.Normal(0, 0.004);
  const int32_t open =
      std::clamp(static_cast<int32_t>(std::lround(ref * (1 + gap))), limitDown + 1, limitUp);
  const double amplitude = open * rng.Uniform(0.008, 0.018);
  const double baseRate = rng.Uniform(110, 240);  // ticks per minute at midday

  // Futures ticks.
  std::vector<Tick>& ticks = day.ticks;
  ticks.reserve(static_cast<size_t>(baseRate * 420));
  ticks.push_back({8450000, open - 1, open, open, rng.Int(200, 800)});  // opening auction
  double noise = 0, lastFair = open;
  std::vector<int> offsets;
  for (int m = 0; m < kSessionMinutes; ++m) {
    offsets.clear();
    const int n = rng.Poisson(baseRate * Intensity(m));
    for (int i = 0; i < n; ++i) {
      const int cs = rng.Int(m == 0 ? 100 : 0, 5999);
      offsets.push_back(cs);
      if (rng.Chance(0.03)) {  // a burst: several trades in the same second
        const int extra = rng.Int(2, 6);
        for (int k = 0; k < extra; ++k) offsets.push_back(cs / 100 * 100 + rng.Int(0, 99));
      }
    }
    std::sort(offsets.begin(), offsets.end());
    for (int cs : offsets) {
      const double minute = m + cs / 6000.0;
      noise = noise * 0.997 + rng.Normal(0, 0.55);
      const double fair = open + amplitude * ShapeAt(shape, minute) + noise;
      // Best bid below best ask, mostly one point apart, inside the limits.
      int32_t bid = std::clamp(static_cast<int32_t>(std::floor(fair)), limitDown, limitUp - 1);
      const int32_t ask = std::min(bid + (rng.Chance(0.92) ? 1 : 2), limitUp);
      const bool outer = (fair >= lastFair) ? rng.Chance(0.7) : rng.Chance(0.3);
      lastFair = fair;
      ticks.push_back({ClockTime(m, cs), bid, ask, outer ? ask : bid, TickVolume(rng)});
    }
  }
  {
    const Tick& last = ticks.back();
    ticks.push_back({13450000, last.bid, last.ask, last.price, rng.Int(100, 400)});  // close
  }

  // Daily bar.
  DailyBar& bar = day.bar;
  bar.date = date.Key();
  bar.open = open;
  bar.high = bar.low = open;
  bar.volume = 0;
  for (const Tick& t : ticks) {
    bar.high = std::max(bar.high, t.price);
    bar.low = std::min(bar.low, t.price);
    bar.volume += t.volume;
  }
  bar.close = ticks.back().price;

  // Weighted index, sectors: derived from the futures with a slowly moving spread.
  const double spreadBase = rng.Uniform(-35, 15);
  double spread = spreadBase + rng.Normal(0, 5);
  const double eBeta = 1.15, fBeta = 0.8;
  double eNoise = 0, fNoise = 0;
  double cum[7] = {0, 0, 0, 0, 0, 0, 0};
  const int step = day.fineIndexData ? 5 : 60;
  size_t tickAt = 0;
  for (int s = 15 * 60; s <= 285 * 60; s += step) {  // 09:00:00 to 13:30:00
    while (tickAt + 1 < ticks.size() && SecondsOf(ticks[tickAt + 1].time / 100) <= s) ++tickAt;
    spread += rng.Normal(0, 0.9) - 0.02 * (spread - spreadBase);
    const double value = ticks[tickAt].price - spread + rng.Normal(0, 0.4);
    const double intensity = Intensity(s / 60.0) * step / 5.0;
    const double trades = intensity * rng.Uniform(80, 140);
    cum[0] += intensity * rng.Uniform(150, 260);   // buy orders
    cum[1] += intensity * rng.Uniform(900, 1500);  // buy quantity
    cum[2] += intensity * rng.Uniform(150, 260);   // sell orders
    cum[3] += intensity * rng.Uniform(900, 1500);  // sell quantity
    cum[4] += trades;
    cum[5] += trades * rng.Uniform(5, 9);
    cum[6] += intensity * rng.Uniform(20, 36);  // traded value, millions
    const int32_t time = day.fineIndexData ? HhmmssAt(s) : HhmmssAt(s) / 100;
    day.index.push_back({time, std::round(value * 100) / 100, std::round(cum[0]),
                         std::round(cum[1]), std::round(cum[2]), std::round(cum[3]),
                         std::round(cum[4]), std::round(cum[5]), std::round(cum[6] * 100) / 100});
    const double r = value / day.indexReference - 1;
    eNoise = eNoise * 0.995 + rng.Normal(0, 0.0003);
    fNoise = fNoise * 0.995 + rng.Normal(0, 0.0003);
    day.electronic.push_back(
        {time, std::round(day.electronicReference * (1 + eBeta * r + eNoise) * 100) / 100});
    day.financial.push_back(
        {time, std::round(day.financialReference * (1 + fBeta * r + fNoise) * 100) / 100});
  }

  // Weighted stocks follow the index with a beta and noise of their own.
  std::vector<int> indexSeconds;
  for (const IndexRecord& r : day.index)
    indexSeconds.push_back(SecondsOf(day.fineIndexData ? r.time : r.time * 100));
  for (size_t i = 0; i < kStocks.size(); ++i) {
    StockDay stock;
    stock.code = kStocks[i].code;
    stock.name = kStocks[i].name;
    stock.reference = stockCloses_[i];
    const double refTick = StockTick(stock.reference);
    stock.limitUp = std::floor(stock.reference * 1.1 / refTick + 1e-9) * refTick;
    stock.limitDown = std::ceil(stock.reference * 0.9 / refTick - 1e-9) * refTick;
    double own = 0;
    int total = 0;
    size_t indexAt = 0;
    for (int s = 15 * 60 + rng.Int(0, 20); s <= 285 * 60; s += rng.Int(4, 30)) {
      while (indexAt + 1 < day.index.size() && indexSeconds[indexAt + 1] <= s) ++indexAt;
      own = own * 0.99 + rng.Normal(0, 0.0015);
      const double r = day.index[indexAt].value / day.indexReference - 1;
      double price = RoundToTick(stock.reference * (1 + kStocks[i].beta * r + own));
      price = std::clamp(price, stock.limitDown, stock.limitUp);
      const double tick = StockTick(price);
      double bid = price - (rng.Chance(0.5) ? tick : 0);
      double ask = bid + tick;
      if (price >= stock.limitUp - 1e-9 || rng.Chance(0.01)) ask = 0;
      if (price <= stock.limitDown + 1e-9 || rng.Chance(0.01)) bid = 0;
      const int volume = rng.Int(1, 60);
      total += volume;
      stock.quotes.push_back({HhmmssAt(s), bid, ask, price, volume, total});
    }
    if (!stock.quotes.empty()) stockCloses_[i] = stock.quotes.back().price;
    day.stocks.push_back(std::move(stock));
  }

  // The recorded five-level book, one snapshot per tick.
  day.book.reserve(ticks.size());
  for (const Tick& t : ticks) {
    BookSnapshot b{};
    b.time = t.time;
    for (int l = 0; l < 5; ++l) {
      b.bid[l] = {t.bid - l, rng.Int(3, 60 + 20 * l)};
      b.ask[l] = {t.ask + l, rng.Int(3, 60 + 20 * l)};
    }
    day.book.push_back(b);
  }

  // Carry the closes to the next day.
  futuresClose_ = bar.close;
  indexClose_ = day.index.back().value;
  electronicClose_ = day.electronic.back().value;
  financialClose_ = day.financial.back().value;
  history_.push_back(bar);
  if (history_.size() > 400) history_.erase(history_.begin(), history_.begin() + 100);
  return day;
}

}  // namespace kestrel::daygen

namespace kestrel::daygen {

Pattern ClassifyDay(const GeneratedDay& day) {
  const DailyBar& b = day.bar;
  const double range = std::max(1, b.high - b.low);
  const double change = b.close - b.open;
  size_t highAt = 0, lowAt = 0;
  for (size_t i = 0; i < day.ticks.size(); ++i) {
    if (day.ticks[i].price == b.high && highAt == 0) highAt = i;
    if (day.ticks[i].price == b.low && lowAt == 0) lowAt = i;
  }
  if (highAt < lowAt && b.high - b.open > 0.3 * range && b.close < b.open)
    return Pattern::LongSqueeze;
  if (lowAt < highAt && b.open - b.low > 0.3 * range && b.close > b.open)
    return Pattern::ShortSqueeze;
  if (change > 0.4 * range) return Pattern::Rising;
  if (change < -0.4 * range) return Pattern::Falling;
  return Pattern::Oscillating;
}

int MainPatternCode(Pattern p) {
  switch (p) {
    case Pattern::Rising: return 1;
    case Pattern::Falling: return 2;
    case Pattern::Oscillating: return 3;
    case Pattern::LongSqueeze: return 4;
    case Pattern::ShortSqueeze: return 5;
    case Pattern::Random: break;
  }
  return 3;
}

int SecondaryPatternCode(const GeneratedDay& day) {
  const DailyBar& b = day.bar;
  const int range = std::max(1, b.high - b.low);
  if (range < day.futuresReference * 6 / 1000) return 7;  // narrow range

  // Where the extremes fall, as fractions of the session.
  size_t highAt = 0, lowAt = 0;
  for (size_t i = 0; i < day.ticks.size(); ++i) {
    if (day.ticks[i].price == b.high && highAt == 0) highAt = i;
    if (day.ticks[i].price == b.low && lowAt == 0) lowAt = i;
  }
  const double n = static_cast<double>(day.ticks.size());
  const bool lowMid = lowAt > n * 0.25 && lowAt < n * 0.75;
  const bool highMid = highAt > n * 0.25 && highAt < n * 0.75;
  if (lowMid && b.open - b.low > 0.6 * range && b.close - b.low > 0.6 * range) return 8;
  if (highMid && b.high - b.open > 0.6 * range && b.high - b.close > 0.6 * range) return 9;

  // The last half hour.
  int32_t at1315 = b.close;
  for (const Tick& t : day.ticks) {
    if (t.time >= 13150000) break;
    at1315 = t.price;
  }
  const int lastMove = b.close - at1315;
  if (lastMove > 0.35 * range) return 5;
  if (lastMove < -0.35 * range) return 6;

  const int threshold = std::max(5, day.futuresReference / 500);  // 0.2 %
  const int gap = b.open - day.futuresReference;
  const int change = b.close - b.open;
  if (gap > threshold) return change >= 0 ? 1 : 2;
  if (gap < -threshold) return change >= 0 ? 3 : 4;
  return 0;
}

}  // namespace kestrel::daygen
