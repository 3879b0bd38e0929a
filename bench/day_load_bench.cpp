// Loading a generated full day, beside the cost of just unzipping it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "DayFiles.h"
#include "DayGenerator.h"
#include "MarketModel.h"
#include "app/AppSettings.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"
#include "tradingday/DayMembers.h"
#include "tradingday/Scramble.h"
#include "tradingday/ZipReader.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrel;

struct Fixture {
  fs::path root;
  std::string archive;  // the stored bytes of one full day
  size_t ticks = 0;

  Fixture() {
    root = fs::temp_directory_path() / ("kestrel-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "cache");
    fs::create_directories(root / "data");
    daygen::MarketModel model(2024);
    const daygen::GeneratedDay day = model.Generate({2013, 5, 6}, daygen::Pattern::Random);
    ticks = day.ticks.size();
    archive = ArchiveWriter::DayArchive(daygen::DayMembers(day));
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  fs::path ArchivePath() const { return root / "cache" / "TICK_2013_05_06.zip"; }
};

Fixture& TheFixture() {
  static Fixture f;
  return f;
}

// Bytes the loaded model holds: the fixed arrays and every heap text.
size_t ModelBytes(const TradingDay& d) {
  auto text = [](const std::string& s) {
    return sizeof(std::string) + (s.capacity() > 15 ? s.capacity() + 1 : 0);
  };
  size_t bytes = sizeof(TradingDay);
  for (const auto& s : d.tickLines) bytes += text(s);
  for (const auto& s : d.bookLines) bytes += text(s);
  for (const auto& stock : d.stocks) {
    for (const auto& r : stock.records)
      bytes += text(r.time) + text(r.bid) + text(r.ask) + text(r.price) + text(r.volume) +
               text(r.totalVolume) - 6 * sizeof(std::string) + sizeof(_StockRecord);
  }
  for (KPeriod p : kAllPeriods) bytes += d.Series(p).bars.capacity() * sizeof(_KLINEDATA);
  return bytes;
}

// The floor: read the file, descramble it, inflate every member with minizip
// and split each into lines. Returns the number of lines.
size_t UnzipAndSplit(const fs::path& archive) {
  std::string bytes = ReadWholeFile(archive).value_or(std::string());
  Descramble(bytes);
  ZipReader zip;
  zip.Open(std::move(bytes));
  size_t lines = 0;
  zip.ForEachMember([&](const std::string&, std::optional<std::string> member) {
    if (member) lines += day_members::SplitLines(*member).size();
    return true;
  });
  return lines;
}

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Each iteration times the baseline and the load on the same file, so their
// ratio is not skewed by whatever else the machine is doing in between.
void BM_LoadDayArchive(benchmark::State& state) {
  Fixture& f = TheFixture();
  AppSettings settings = ReadAppSettings(ProfileFile());
  ScriptedPrompter prompter;
  RecordingSleeper sleeper;  // the fixed waits are not part of the work
  DayLoadSink sink;
  const DayLoadContext context{f.root / "cache", f.root / "data", settings,
                               prompter,         sleeper,         sink};
  auto day = std::make_unique<TradingDay>();
  std::vector<double> ratios;
  for (auto _ : state) {
    WriteFileAtomically(f.ArchivePath(), f.archive);
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(UnzipAndSplit(f.ArchivePath()));
    const auto t1 = std::chrono::steady_clock::now();
    if (!LoadDayArchive(*day, f.ArchivePath(), context)) state.SkipWithError("load failed");
    const auto t2 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    ratios.push_back(Ms(t2 - t1) / Ms(t1 - t0));
  }
  std::sort(ratios.begin(), ratios.end());
  state.counters["load_vs_unzip"] = ratios[ratios.size() / 2];
  state.counters["ticks"] = static_cast<double>(day->tickLines.size());
  state.counters["model_MB"] = ModelBytes(*day) / 1e6;
  state.counters["archive_MB"] = f.archive.size() / 1e6;
}
BENCHMARK(BM_LoadDayArchive)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15)
    ->Repetitions(3);

void BM_UnzipBaseline(benchmark::State& state) {
  Fixture& f = TheFixture();
  WriteFileAtomically(f.ArchivePath(), f.archive);
  size_t lines = 0;
  for (auto _ : state) benchmark::DoNotOptimize(lines = UnzipAndSplit(f.ArchivePath()));
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_UnzipBaseline)->Unit(benchmark::kMillisecond)->Iterations(15)->Repetitions(3);

// What ./run.sh does on a first start: 60 trading days of practice data.
void BM_Generate60Days(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    daygen::GenerateRequest request;
    request.from = {2013, 3, 1};
    request.to = {2013, 5, 28};  // 60 trading days
    request.seed = 1;
    request.out = f.root / "generated";
    request.training = 5;
    const std::string error = daygen::Generate(request);
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_Generate60Days)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
