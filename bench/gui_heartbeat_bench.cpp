// The main window on a generated full day, offscreen: every heartbeat at 32x
// with the tick list repainted (p50/p99/max), and a whole day's fast playback
// with the tick list. Prints figures; asserts nothing.
#include <QApplication>
#include <QPixmap>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "DayFiles.h"
#include "LoadedDay.h"
#include "MarketModel.h"
#include "app/AppConfig.h"
#include "app/MainFrame.h"
#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "panels/RightDownView.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrel;
using Steady = std::chrono::steady_clock;

double Ms(Steady::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

TradingDay GeneratedDay(const fs::path&) {
  return *daygen::LoadGeneratedDay(2024, {2013, 5, 6}, daygen::Pattern::Random);
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

struct Window {
  Window(const fs::path& work, const TradingDay& loaded, int scrollType) {
    AppConfig config = DefaultAppConfig(Folders::FromWork(work));
    config.folders.CreateAll();
    config.settings.SCROLLTYPE = scrollType;
    prompter.fallback = PromptAnswer::Ok;
    frame = std::make_unique<CMainFrame>(std::move(config),
                                         FrameServices{&time, &sleeper, &prompter, 1920});
    frame->resize(1600, 900);
    frame->show();
    QApplication::processEvents();
    TrainerContext& ctx = frame->Context();
    *ctx.day = loaded;
    ctx.stockList.Refill(*ctx.day);
    frame->RunCommand(kCmdSpeed32);
  }
  ManualClock time{0};
  RecordingSleeper sleeper;
  ScriptedPrompter prompter;
  std::unique_ptr<CMainFrame> frame;
};

void HeartbeatDay(const fs::path& work, const TradingDay& loaded, int scrollType) {
  Window w(work, loaded, scrollType);
  TrainerContext& ctx = w.frame->Context();
  w.frame->RunCommand(kCmdOpenSession);
  // Driven by hand on the manual clock; the real timer stays out of it.
  w.frame->StopHeartbeatTimer();
  std::vector<double> ms;
  while (ctx.clock.sessionRunning && !ctx.clock.sessionPaused) {
    w.time.Advance(10);
    const auto t0 = Steady::now();
    ctx.engine.Heartbeat();
    QApplication::processEvents();  // the repaint of what changed
    ms.push_back(Ms(Steady::now() - t0));
  }
  std::printf("heartbeat 32x %-9s %zu heartbeats, %d rows: p50 %.3f ms  p99 %.3f ms  max %.3f ms\n",
              scrollType == 1 ? "bottom-up" : "top-down", ms.size(), ctx.tickList.RowCount(),
              Percentile(ms, 0.5), Percentile(ms, 0.99), Percentile(ms, 1.0));
}

void FastPlaybackDay(const fs::path& work, const TradingDay& loaded, int scrollType) {
  Window w(work, loaded, scrollType);
  TrainerContext& ctx = w.frame->Context();
  const auto t0 = Steady::now();
  w.frame->RunCommand(kCmdFastPlayback);
  QApplication::processEvents();
  const double ms = Ms(Steady::now() - t0);
  // KESTREL_BENCH_SHOT=file.png keeps a picture of the window after the playback.
  if (const QByteArray shot = qgetenv("KESTREL_BENCH_SHOT"); !shot.isEmpty() && scrollType == 0)
    w.frame->grab().save(QString::fromUtf8(shot));
  std::printf("fast playback %-9s %d rows: %.0f ms\n", scrollType == 1 ? "bottom-up" : "top-down",
              ctx.tickList.RowCount(), ms);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path root =
      fs::temp_directory_path() / ("kestrel-gui-bench-" + std::to_string(::getpid()));
  const TradingDay loaded = GeneratedDay(root);
  std::printf("day: %zu ticks\n", loaded.tickLines.size());
  for (int scrollType : {0, 1}) HeartbeatDay(root / "work", loaded, scrollType);
  for (int scrollType : {0, 1}) FastPlaybackDay(root / "work", loaded, scrollType);
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}
