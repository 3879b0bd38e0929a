#include "Simulator.h"

#include <filesystem>
#include <memory>
#include <string>

#include "SimScript.h"
#include "SimSession.h"
#include "SimWorkspace.h"
#include "app/AppConfig.h"
#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"

namespace kestrel::sim {

namespace {

namespace fs = std::filesystem;

// The loaded day's stocks go into the stock list, as the trainer's window does,
// so the heartbeat updates their rows as it would on screen.
class StockListLoadSink final : public DayLoadSink {
 public:
  explicit StockListLoadSink(StockListModel& list) : list_(list) {}
  void RefillStockList(const TradingDay& day) override { list_.Refill(day); }

 private:
  StockListModel& list_;
};

int Fail(std::ostream& err, const std::string& text) {
  err << "kestrel-sim: " << text << "\n";
  return kExitFailed;
}

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

// Every file named on the command line, before anything is copied or loaded.
std::string CheckFiles(const SimOptions& o) {
  if (!IsFile(o.archive)) return "no such archive: " + o.archive.string();
  if (o.book && !IsFile(*o.book)) return "no such book archive: " + o.book->string();
  if (o.settings && !IsFile(*o.settings)) return "no such settings file: " + o.settings->string();
  if (o.orders && !IsFile(*o.orders)) return "no such order script: " + o.orders->string();
  if (o.data && !IsFolder(*o.data)) return "no such data folder: " + o.data->string();
  return "";
}

}  // namespace

int RunSimulator(const SimOptions& o, std::ostream& out, std::ostream& err) {
  if (const std::string missing = CheckFiles(o); !missing.empty()) return Fail(err, missing);

  SimScript script;
  if (o.orders) {
    const std::optional<std::string> text = ReadWholeFile(*o.orders);
    if (!text) return Fail(err, "cannot read the order script " + o.orders->string());
    script = ParseSimScript(*text);
    for (const SimScriptError& e : script.errors)
      err << "kestrel-sim: " << o.orders->string() << " line " << e.lineNo << ": " << e.message
          << "\n";
    if (!script.errors.empty()) return kExitFailed;
  }

  // A missing key reads as its default; so does every key without a file.
  const AppSettings settings =
      ReadAppSettings(o.settings ? ProfileFile::Load(*o.settings) : ProfileFile());

  std::string error;
  const std::unique_ptr<SimWorkspace> workspace = SimWorkspace::Create(&error);
  if (!workspace) return Fail(err, error);

  const std::string archiveName = o.archive.filename().string();
  error = workspace->CopyIntoCache(o.archive, archiveName);
  if (!error.empty()) return Fail(err, error);
  // The loader finds the book beside the day under the name the download gives
  // it. A day whose name holds no date is refused by the loader below.
  if (o.book) {
    if (const std::optional<ArchiveDate> date = ParseArchiveDate(archiveName)) {
      const std::string bookName =
          ArchiveWriter::BookArchiveName(date->year, date->month, date->day);
      error = workspace->CopyIntoCache(*o.book, bookName);
      if (!error.empty()) return Fail(err, error);
    }
  }

  AppConfig config;
  config.folders = Folders::FromWork(workspace->Root());
  config.folders.cache = workspace->Cache();
  config.folders.data = o.data ? *o.data : workspace->Data();
  config.settings = settings;
  config.contract = DeriveContract(settings);
  ManualClock time;
  TrainerContext ctx(std::move(config), time);

  ScriptedPrompter loadMessages;
  RecordingSleeper noWaits;
  StockListLoadSink loadSink(ctx.stockList);
  ctx.day->hasRealBook = o.book.has_value();
  const bool loaded = LoadDayArchive(*ctx.day, archiveName,
                                     {ctx.config.folders.cache, ctx.config.folders.data,
                                      ctx.settings, loadMessages, noWaits, loadSink});
  for (const ScriptedPrompter::Shown& m : loadMessages.shown)
    err << "kestrel-sim: " << m.caption << ": " << m.text << "\n";
  if (!loaded) return kExitFailed;

  if (o.speed) ctx.engine.SetSpeed(*o.speed);
  if (o.smooth && !ctx.engine.SetSmoothMode(true))
    return Fail(
        err, "--smooth runs at normal speed only; the speed is " + std::to_string(ctx.clock.speed));

  SimSession session(ctx, time, o.student, err);
  const SimReport report = session.Run(std::move(script.actions));
  // One empty line between the export and the margin-account text.
  out << report.dealExport << "\n" << report.marginText;
  out.flush();
  if (!out) return Fail(err, "cannot write the report");
  return kExitOk;
}

}  // namespace kestrel::sim
