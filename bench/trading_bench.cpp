// The trading engine under load: a generated full day through the heartbeat
// at 32x with 200 resting limit orders and 50 trigger orders spread around the
// price, beside the same day with no orders. Figures only, never pass/fail.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "DayFiles.h"
#include "HeadlessTrainer.h"
#include "LoadedDay.h"
#include "MarketModel.h"
#include "app/AppConfig.h"
#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "trading/OrderEntry.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrel;
using Clock = std::chrono::steady_clock;

constexpr int kLimitOrders = 200;   // half buys below the price, half sells above
constexpr int kTriggerOrders = 50;  // half buy triggers above, half sell triggers below
constexpr int32_t kLimitStep = 2;   // points between neighbouring limit orders
constexpr int32_t kTriggerStep = 5;

// The generated day, loaded once through the trainer's own loader.
const TradingDay& LoadedDay() {
  static const std::unique_ptr<TradingDay> day =
      daygen::LoadGeneratedDay(2024, {2013, 5, 6}, daygen::Pattern::Random);
  return *day;
}

using Trainer = daygen::HeadlessTrainer;

// Resting limit orders on both sides of the reference and trigger orders
// beyond them, one lot each, entered at the open as the panels would.
void PlaceOrders(TrainerContext& ctx) {
  const int32_t ref = ctx.day->futuresReference;
  EntryInput input;
  input.lotsText = "1";
  input.simpleProductText = ctx.account.productName;
  input.clockText = ctx.clock.clockText;
  for (int k = 1; k <= kLimitOrders / 2; ++k) {
    PlaceLimit(ctx.trade, input, kSideBuy, std::to_string(ref - k * kLimitStep));
    PlaceLimit(ctx.trade, input, kSideSell, std::to_string(ref + k * kLimitStep));
  }
  for (int k = 1; k <= kTriggerOrders / 2; ++k) {
    PlaceTrigger(ctx.trade, input, kSideBuy, ref + k * kTriggerStep);
    PlaceTrigger(ctx.trade, input, kSideSell, ref - k * kTriggerStep);
  }
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// CPU time of this thread, to tell the engine's cost from preemption on a busy
// machine.
double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A trainer at the open of the day at 32x, with or without the orders.
std::unique_ptr<Trainer> OpenDay(const TradingDay& loaded, bool withOrders) {
  auto t = std::make_unique<Trainer>(loaded);
  t->ctx.engine.SetSpeed(32);
  t->ctx.engine.OpenSession();
  if (withOrders) PlaceOrders(t->ctx);
  return t;
}

// The whole day at 32x. Each iteration runs it twice: once timed as a whole for
// the throughput (a clock read costs about as much as a quiet heartbeat on a
// virtual machine), and once with every heartbeat timed on its own for the
// worst one. Arg 1 places the orders, arg 0 runs the same day without any.
void BM_TradingDayAt32x(benchmark::State& state) {
  const TradingDay& loaded = LoadedDay();
  const bool withOrders = state.range(0) != 0;
  double engineSeconds = 0, worstUs = 0, worstCpuUs = 0;
  int64_t heartbeats = 0, over1ms = 0, deals = 0, fired = 0, stillPending = 0, worstDeals = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<Trainer> whole = OpenDay(loaded, withOrders);
    state.ResumeTiming();
    const ReplayClock& clock = whole->ctx.clock;
    const auto start = Clock::now();
    while (clock.sessionRunning && !clock.sessionPaused) {
      whole->time.Advance(10);
      whole->ctx.engine.Heartbeat();
      ++heartbeats;
    }
    const double total = Seconds(Clock::now() - start);
    state.SetIterationTime(total);
    engineSeconds += total;
    deals += static_cast<int64_t>(whole->ctx.trades.DealRecords.size());
    fired += kTriggerOrders - static_cast<int64_t>(whole->ctx.trades.TriggerOrders.size());
    stillPending += static_cast<int64_t>(whole->ctx.trades.PendingOrders.size());

    state.PauseTiming();
    std::unique_ptr<Trainer> each = OpenDay(loaded, withOrders);
    while (each->ctx.clock.sessionRunning && !each->ctx.clock.sessionPaused) {
      each->time.Advance(10);
      const size_t dealsBefore = each->ctx.trades.DealRecords.size();
      const double c0 = ThreadCpuSeconds();
      const auto t0 = Clock::now();
      each->ctx.engine.Heartbeat();
      const auto t1 = Clock::now();
      const double c1 = ThreadCpuSeconds();
      const double s = Seconds(t1 - t0);
      worstUs = std::max(worstUs, s * 1e6);
      // The deals made by the costliest heartbeat in CPU time, which preemption
      // does not inflate.
      if ((c1 - c0) * 1e6 > worstCpuUs) {
        worstCpuUs = (c1 - c0) * 1e6;
        worstDeals = static_cast<int64_t>(each->ctx.trades.DealRecords.size() - dealsBefore);
      }
      if (s > 1e-3) ++over1ms;
    }
    state.ResumeTiming();
  }
  const double iterations = static_cast<double>(state.iterations());
  const double ticks = static_cast<double>(loaded.tickLines.size());
  state.counters["ticks"] = ticks;
  state.counters["ticks_per_s"] = ticks * iterations / engineSeconds;
  state.counters["mean_heartbeat_us"] = engineSeconds * 1e6 / static_cast<double>(heartbeats);
  state.counters["worst_heartbeat_us"] = worstUs;
  state.counters["worst_heartbeat_cpu_us"] = worstCpuUs;
  state.counters["heartbeats_over_1ms"] = static_cast<double>(over1ms);
  if (withOrders) {
    state.counters["deals"] = static_cast<double>(deals) / iterations;
    state.counters["triggers_fired"] = static_cast<double>(fired) / iterations;
    state.counters["orders_left"] = static_cast<double>(stillPending) / iterations;
    state.counters["worst_cpu_heartbeat_deals"] = static_cast<double>(worstDeals);
  }
}
BENCHMARK(BM_TradingDayAt32x)
    ->ArgName("orders")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
