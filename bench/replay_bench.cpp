// The replay engine on a generated full day: heartbeats at 32x on a manual
// clock, fast playback, and the time rewind with its waits off.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "DayFiles.h"
#include "HeadlessTrainer.h"
#include "LoadedDay.h"
#include "MarketModel.h"
#include "app/AppConfig.h"
#include "app/AppSettings.h"
#include "app/TrainerContext.h"
#include "charts/ChartViewState.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
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

namespace {

namespace fs = std::filesystem;
using namespace kestrel;
using Clock = std::chrono::steady_clock;

// The generated day, loaded once through the trainer's own loader.
const TradingDay& LoadedDay() {
  static const std::unique_ptr<TradingDay> day =
      daygen::LoadGeneratedDay(2024, {2013, 5, 6}, daygen::Pattern::Random);
  return *day;
}

using Replayer = daygen::HeadlessTrainer;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// CPU time of this thread: what a heartbeat costs without the machine's other
// work (preemption) counted in.
double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The whole day through Heartbeat at 32x, every heartbeat timed on its own.
void BM_HeartbeatDayAt32x(benchmark::State& state) {
  const TradingDay& loaded = LoadedDay();
  double worstUs = 0;
  double worstCpuUs = 0;
  double engineSeconds = 0;
  int64_t heartbeats = 0;
  int64_t over1ms = 0;
  for (auto _ : state) {
    Replayer r(loaded);
    r.engine.SetSpeed(32);
    r.engine.OpenSession();
    double total = 0;
    while (r.clock.sessionRunning && !r.clock.sessionPaused) {
      r.time.Advance(10);
      const double c0 = ThreadCpuSeconds();
      const auto t0 = Clock::now();
      r.engine.Heartbeat();
      const auto t1 = Clock::now();
      const double c1 = ThreadCpuSeconds();
      total += Seconds(t1 - t0);
      worstUs = std::max(worstUs, Seconds(t1 - t0) * 1e6);
      worstCpuUs = std::max(worstCpuUs, (c1 - c0) * 1e6);
      if (Seconds(t1 - t0) > 1e-3) ++over1ms;
      ++heartbeats;
    }
    state.SetIterationTime(total);
    engineSeconds += total;
  }
  const double ticks =
      static_cast<double>(loaded.tickLines.size()) * static_cast<double>(state.iterations());
  state.counters["ticks_per_s"] = ticks / engineSeconds;
  state.counters["worst_heartbeat_us"] = worstUs;
  state.counters["worst_heartbeat_cpu_us"] = worstCpuUs;
  state.counters["heartbeats_over_1ms"] = static_cast<double>(over1ms);
  state.counters["mean_heartbeat_us"] = engineSeconds * 1e6 / static_cast<double>(heartbeats);
  state.counters["ticks"] = static_cast<double>(loaded.tickLines.size());
}
BENCHMARK(BM_HeartbeatDayAt32x)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The whole day through fast playback at normal speed and at 32x.
void BM_FastPlayback(benchmark::State& state) {
  const TradingDay& loaded = LoadedDay();
  double engineSeconds = 0;
  for (auto _ : state) {
    Replayer r(loaded);
    r.engine.SetSpeed(static_cast<int32_t>(state.range(0)));
    const auto t0 = Clock::now();
    r.engine.FastPlayback();
    const auto t1 = Clock::now();
    state.SetIterationTime(Seconds(t1 - t0));
    engineSeconds += Seconds(t1 - t0);
  }
  state.counters["ticks_per_s"] = static_cast<double>(loaded.tickLines.size()) *
                                  static_cast<double>(state.iterations()) / engineSeconds;
}
BENCHMARK(BM_FastPlayback)
    ->Arg(1)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// A rewind from late in the day to the morning, its fixed waits off.
void BM_TimeRewind(benchmark::State& state) {
  const TradingDay& loaded = LoadedDay();
  RecordingSleeper sleeper;
  int64_t removedRows = 0;
  for (auto _ : state) {
    Replayer r(loaded);
    r.engine.SetSpeed(32);
    r.engine.OpenSession();
    r.Run([&r] { return r.clock.clockText >= "13:30:00"; });
    const RewindDialogStart start = r.engine.BeginTimeRewind();
    const int32_t rowsBefore = r.tickList.RowCount();
    const auto t0 = Clock::now();
    const RewindCheck check = r.engine.ConfirmTimeRewind("9", "05", start.currentMinute, sleeper);
    const auto t1 = Clock::now();
    if (!check.ok) state.SkipWithError(check.message.c_str());
    state.SetIterationTime(Seconds(t1 - t0));
    removedRows += rowsBefore - r.tickList.RowCount();
  }
  state.counters["rows_removed"] =
      static_cast<double>(removedRows) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TimeRewind)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
