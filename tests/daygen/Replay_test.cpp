// A generated day replayed on the clock ends up where fast playback puts it.
#include <gtest/gtest.h>

#include <bit>
#include <memory>

#include "DayFiles.h"
#include "HeadlessTrainer.h"
#include "LoadedDay.h"
#include "MarketModel.h"
#include "TestDir.h"
#include "app/AppConfig.h"
#include "app/AppSettings.h"
#include "app/TrainerContext.h"
#include "charts/ChartViewState.h"
#include "common/Clock.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "panels/StockListModel.h"
#include "panels/TickListModel.h"
#include "panels/TickListTradeSink.h"
#include "replay/ReplayEngine.h"
#include "replay/TrainingNotes.h"
#include "trading/TradeContext.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"
#include "tradingday/KLineUpkeep.h"

namespace kestrel::daygen {
namespace {

namespace fs = std::filesystem;

// The clock starts just before its 32-bit wrap, which the replay must ride over.
struct Replayer : HeadlessTrainer {
  explicit Replayer(const TradingDay& loaded) : HeadlessTrainer(loaded, 0xFFFF0000u) {}
};

std::unique_ptr<TradingDay> LoadGeneratedDay() {
  return daygen::LoadGeneratedDay(7, {2013, 5, 6}, Pattern::Random);
}

::testing::AssertionResult SameSeries(const KLineSeries& a, const KLineSeries& b) {
  if (a.bars.size() != b.bars.size())
    return ::testing::AssertionFailure() << a.bars.size() << " bars against " << b.bars.size();
  for (size_t i = 0; i < a.bars.size(); ++i) {
    const _KLINEDATA& x = a.bars[i];
    const _KLINEDATA& y = b.bars[i];
    const bool same = x.time == y.time && x.open == y.open && x.high == y.high && x.low == y.low &&
                      x.close == y.close && x.volume == y.volume && x.ma1 == y.ma1 &&
                      x.ma2 == y.ma2 && x.ma3 == y.ma3 &&
                      std::bit_cast<uint32_t>(x.k) == std::bit_cast<uint32_t>(y.k) &&
                      std::bit_cast<uint32_t>(x.d) == std::bit_cast<uint32_t>(y.d) &&
                      std::bit_cast<uint32_t>(x.dif) == std::bit_cast<uint32_t>(y.dif) &&
                      std::bit_cast<uint32_t>(x.macd) == std::bit_cast<uint32_t>(y.macd) &&
                      x.pivot == y.pivot && x.r1 == y.r1 && x.s2 == y.s2;
    if (!same) return ::testing::AssertionFailure() << "bar " << i << " (" << x.time << ")";
  }
  if (a.historyCount != b.historyCount || a.firstBar[0] != b.firstBar[0] ||
      a.firstBar[1] != b.firstBar[1] || a.visibleBars[0] != b.visibleBars[0])
    return ::testing::AssertionFailure() << "history or windows differ";
  return ::testing::AssertionSuccess();
}

template <size_t N>
::testing::AssertionResult SameBuckets(const std::array<_PriceBucket, N>& a,
                                       const std::array<_PriceBucket, N>& b) {
  for (size_t i = 0; i < N; ++i) {
    if (a[i].high != b[i].high || a[i].low != b[i].low || a[i].close != b[i].close ||
        a[i].volume != b[i].volume || a[i].lastSecond != b[i].lastSecond)
      return ::testing::AssertionFailure() << "bucket " << i;
  }
  return ::testing::AssertionSuccess();
}

TEST(Replay, ClockAtTopSpeedMatchesFastPlayback) {
  const std::unique_ptr<TradingDay> loaded = LoadGeneratedDay();
  ASSERT_TRUE(loaded);
  ASSERT_GT(loaded->tickLines.size(), 30'000u);

  Replayer live(*loaded);
  live.engine.SetSpeed(32);
  live.engine.OpenSession();
  const int64_t heartbeats = live.Run();
  // The whole day at 32x: a little over 56,000 heartbeats, never lagging.
  EXPECT_EQ(live.clock.speed, 32);
  EXPECT_GT(heartbeats, 18'000'000 / 320);
  EXPECT_LT(heartbeats, 18'000'000 / 320 + 1'000);
  EXPECT_EQ(live.clock.clockText.substr(0, 4), "13:4");

  Replayer fast(*loaded);
  fast.engine.SetSpeed(32);
  ASSERT_TRUE(fast.engine.FastPlayback());

  for (Replayer* r : {&live, &fast}) {
    EXPECT_TRUE(r->clock.sessionPaused);
    EXPECT_EQ(r->day->tickCursor, static_cast<int32_t>(r->day->tickLines.size()));
  }
  const TradingDay& a = *live.day;
  const TradingDay& b = *fast.day;
  for (KPeriod p : kAllPeriods) {
    SCOPED_TRACE(static_cast<int>(p));
    EXPECT_TRUE(SameSeries(a.Series(p), b.Series(p)));
    EXPECT_GT(a.Series(p).bars.size(), static_cast<size_t>(a.Series(p).historyCount));
  }
  EXPECT_EQ(a.min1Bars.bars.size() - static_cast<size_t>(a.min1Bars.historyCount), 301u);
  EXPECT_TRUE(SameBuckets(a.minuteBuckets, b.minuteBuckets));
  EXPECT_TRUE(SameBuckets(a.twentySecondBuckets, b.twentySecondBuckets));
  EXPECT_EQ(a.minuteVolumeScale, b.minuteVolumeScale);
  EXPECT_EQ(a.totalVolume, b.totalVolume);
  EXPECT_GT(a.totalVolume, 0);
  EXPECT_EQ(live.tickList.RunningTotal(), a.totalVolume);
  EXPECT_EQ(fast.tickList.RunningTotal(), b.totalVolume);
  EXPECT_EQ(live.tickList.RowCount(), fast.tickList.RowCount());
  EXPECT_EQ(a.futuresTop, b.futuresTop);
  EXPECT_EQ(a.futuresBottom, b.futuresBottom);
  EXPECT_EQ(a.openPrice, b.openPrice);
  EXPECT_EQ(a.lastPrice, b.lastPrice);
  EXPECT_EQ(a.currentMinute, b.currentMinute);
  EXPECT_EQ(a.fiveMinuteCounter, b.fiveMinuteCounter);
  EXPECT_EQ(a.thirtyMinuteCounter, b.thirtyMinuteCounter);
  EXPECT_EQ(live.views.view[0].scrollMax, fast.views.view[0].scrollMax);
}

}  // namespace
}  // namespace kestrel::daygen
