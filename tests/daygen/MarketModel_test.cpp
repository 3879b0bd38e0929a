#include "MarketModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "TrainingNotes.h"

namespace kestrel::daygen {
namespace {

// One model day per pattern, generated once for the whole suite.
const GeneratedDay& DayOf(Pattern p) {
  static std::map<Pattern, GeneratedDay> days;
  auto it = days.find(p);
  if (it == days.end()) {
    MarketModel model(42 + static_cast<int>(p));
    it = days.emplace(p, model.Generate({2013, 5, 6}, p)).first;
  }
  return it->second;
}

int Seconds(int32_t hhmmss) {
  return hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100;
}

TEST(MarketModel, FuturesTicksLookLikeAnIndexFuturesDay) {
  for (int p = 0; p < 6; ++p) {
    const GeneratedDay& day = DayOf(static_cast<Pattern>(p));
    const auto& ticks = day.ticks;
    SCOPED_TRACE(PatternName(static_cast<Pattern>(p)));
    ASSERT_GE(ticks.size(), 40000u);
    ASSERT_LE(ticks.size(), 120000u);
    EXPECT_EQ(ticks.front().time, 8450000);
    EXPECT_EQ(ticks.back().time, 13450000);
    int onePoint = 0, smallLots = 0, blocks = 0;
    for (size_t i = 0; i < ticks.size(); ++i) {
      const Tick& t = ticks[i];
      if (i > 0) {
        ASSERT_LE(ticks[i - 1].time, t.time);
      }
      ASSERT_LT(t.bid, t.ask);
      ASSERT_GE(t.bid, day.LimitDown());
      ASSERT_LE(t.ask, day.LimitUp());
      ASSERT_TRUE(t.price >= t.bid && t.price <= t.ask);
      ASSERT_GT(t.volume, 0);
      onePoint += t.ask - t.bid == 1;
      smallLots += t.volume <= 5;
      blocks += t.volume >= 20;
    }
    EXPECT_GT(onePoint, ticks.size() * 0.85);
    EXPECT_GT(smallLots, ticks.size() * 0.9);
    EXPECT_GT(blocks, 0);
  }
}

TEST(MarketModel, VolumeIsUShapedWithBursts) {
  const GeneratedDay& day = DayOf(Pattern::Random);
  double open = 0, close = 0, noon = 0;
  std::map<int, int> perSecond;
  for (const Tick& t : day.ticks) {
    const int s = Seconds(t.time / 100);
    if (s < Seconds(91500)) open += t.volume;
    if (s >= Seconds(131500) && s < Seconds(134500)) close += t.volume;
    if (s >= Seconds(110000) && s < Seconds(120000)) noon += t.volume;
    ++perSecond[s];
  }
  EXPECT_GE(open / 30, 2 * noon / 60);
  EXPECT_GE(close / 30, 2 * noon / 60);
  const int busiest = std::max_element(perSecond.begin(), perSecond.end(), [](auto& a, auto& b) {
                        return a.second < b.second;
                      })->second;
  EXPECT_GE(busiest, 4);
}

TEST(MarketModel, IndexAndSectorsFollowTheFutures) {
  const GeneratedDay& day = DayOf(Pattern::Rising);
  ASSERT_EQ(day.index.size(), 3241u);  // 09:00:00 to 13:30:00 every 5 s
  EXPECT_EQ(day.index.front().time, 90000);
  EXPECT_EQ(day.index.back().time, 133000);
  size_t within = 0, tick = 0;
  for (size_t i = 0; i < day.index.size(); ++i) {
    const IndexRecord& r = day.index[i];
    if (i > 0) {
      const IndexRecord& p = day.index[i - 1];
      EXPECT_EQ(Seconds(r.time) - Seconds(p.time), 5);
      for (double IndexRecord::*f :
           {&IndexRecord::buyCount, &IndexRecord::buyQuantity, &IndexRecord::sellCount,
            &IndexRecord::sellQuantity, &IndexRecord::tradeCount, &IndexRecord::tradeQuantity,
            &IndexRecord::tradeValue})
        ASSERT_GE(r.*f, p.*f);
    }
    while (tick + 1 < day.ticks.size() && day.ticks[tick + 1].time / 100 <= r.time) ++tick;
    within += std::abs(day.ticks[tick].price - r.value) <= 60;
  }
  EXPECT_GT(within, day.index.size() * 0.95);
  // Both sectors move with the index over the day.
  const double indexMove = day.index.back().value - day.index.front().value;
  const double eMove = day.electronic.back().value - day.electronic.front().value;
  const double fMove = day.financial.back().value - day.financial.front().value;
  EXPECT_GT(indexMove * eMove, 0);
  EXPECT_GT(indexMove * fMove, 0);
}

TEST(MarketModel, OlderDaysHaveOneIndexRecordPerMinute) {
  MarketModel model(3);
  const GeneratedDay day = model.Generate({2010, 12, 31}, std::nullopt);
  EXPECT_FALSE(day.fineIndexData);
  ASSERT_EQ(day.index.size(), 271u);
  EXPECT_EQ(day.index.front().time, 900);
  EXPECT_EQ(day.index.back().time, 1330);
}

TEST(MarketModel, TwentyStocksWithLimitsAndMissingQuotes) {
  const GeneratedDay& day = DayOf(Pattern::Falling);
  ASSERT_EQ(day.stocks.size(), 20u);
  int zeroSides = 0;
  for (const StockDay& s : day.stocks) {
    EXPECT_FALSE(s.name.empty());
    EXPECT_NEAR(s.limitUp / s.reference, 1.1, 0.01) << s.code;
    EXPECT_NEAR(s.limitDown / s.reference, 0.9, 0.01) << s.code;
    ASSERT_FALSE(s.quotes.empty());
    int total = 0;
    for (const StockQuote& q : s.quotes) {
      total += q.volume;
      EXPECT_EQ(q.totalVolume, total);
      EXPECT_TRUE(q.price >= s.limitDown - 1e-9 && q.price <= s.limitUp + 1e-9);
      zeroSides += q.bid == 0 || q.ask == 0;
    }
  }
  EXPECT_GT(zeroSides, 0);
}

TEST(MarketModel, PatternsAreRecognisable) {
  struct Case {
    Pattern pattern;
    bool (*holds)(const GeneratedDay&);
  };
  const Case cases[] = {
      {Pattern::Rising,
       [](const GeneratedDay& d) {
         return d.bar.close - d.bar.open > 0.5 * (d.bar.high - d.bar.low);
       }},
      {Pattern::Falling,
       [](const GeneratedDay& d) {
         return d.bar.open - d.bar.close > 0.5 * (d.bar.high - d.bar.low);
       }},
      {Pattern::Oscillating,
       [](const GeneratedDay& d) {
         return std::abs(d.bar.close - d.bar.open) < 0.3 * (d.bar.high - d.bar.low) &&
                d.bar.high - d.bar.low > d.futuresReference / 200;
       }},
      {Pattern::LongSqueeze,
       [](const GeneratedDay& d) {
         return d.bar.high > d.bar.open + 30 && d.bar.close < d.bar.open;
       }},
      {Pattern::ShortSqueeze,
       [](const GeneratedDay& d) {
         return d.bar.low < d.bar.open - 30 && d.bar.close > d.bar.open;
       }},
  };
  for (const Case& c : cases) {
    for (uint64_t seed = 1; seed <= 5; ++seed) {
      MarketModel model(seed);
      const GeneratedDay day = model.Generate({2014, 3, 3}, c.pattern);
      EXPECT_TRUE(c.holds(day)) << PatternName(c.pattern) << " seed " << seed;
      EXPECT_EQ(ClassifyDay(day), c.pattern) << PatternName(c.pattern) << " seed " << seed;
    }
  }
}

TEST(MarketModel, EachDayStartsFromThePreviousClose) {
  MarketModel model(9);
  const GeneratedDay first = model.Generate({2013, 5, 6}, std::nullopt);
  const GeneratedDay second = model.Generate({2013, 5, 7}, std::nullopt);
  EXPECT_EQ(second.futuresReference, first.bar.close);
  EXPECT_DOUBLE_EQ(second.indexReference, std::round(first.index.back().value * 100) / 100);
  EXPECT_EQ(second.stocks[0].reference, first.stocks[0].quotes.back().price);
  ASSERT_GE(second.history.size(), 120u);
  EXPECT_EQ(second.history.back().date, 20130506);
  EXPECT_LT(second.history[second.history.size() - 2].date, 20130506);
}

TEST(TrainingNotes, FollowTheDayInTimeOrder) {
  const GeneratedDay& day = DayOf(Pattern::LongSqueeze);
  const auto notes = WriteTrainingNotes(day);
  ASSERT_GE(notes.size(), 5u);
  EXPECT_EQ(notes.front().time, 84500);
  for (size_t i = 1; i < notes.size(); ++i) EXPECT_LE(notes[i - 1].time, notes[i].time);
  bool mentionsHigh = false;
  for (const auto& n : notes)
    mentionsHigh |= n.text.find(std::to_string(day.bar.high)) != std::string::npos;
  EXPECT_TRUE(mentionsHigh);
  const std::string file = FormatTrainingNotes({{93055, "第一行\n第二行"}});
  EXPECT_EQ(file, "[#] 093055\r\n第一行\r\n第二行\r\n[#END]\r\n");
}

}  // namespace
}  // namespace kestrel::daygen
