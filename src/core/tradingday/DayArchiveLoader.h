#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tradingday/TradingDay.h"

namespace kestrel {

struct AppSettings;
class Prompter;
class Sleeper;

// The window effects of a successful load, called once the new day is in
// place, in this order. Every hook does nothing by default.
class DayLoadSink {
 public:
  virtual ~DayLoadSink() = default;
  virtual void RepaintStatusBar() {}
  virtual void ResetPriceLadder() {}
  // One row per stock in order: code, name, item data 2.
  virtual void RefillStockList(const TradingDay&) {}
  // Charts I and II in their current display modes.
  virtual void RedrawCharts() {}
  // The analysis pane's display mode; KD (2) and MACD (3) are issued again.
  virtual int AnalysisDisplayMode() const { return 0; }
  virtual void IssueAnalysisDisplay(int /*mode*/) {}
  virtual void ClearTrainingNotes() {}
  // Row height 155 with a recorded book, 0 (hidden) without.
  virtual void ShowBestFivePane(int /*rowHeight*/) {}
  virtual void LayoutMainWindow() {}
};

// What a load needs besides the day. Every file lives in the two folders; the
// process's current directory is never used.
struct DayLoadContext {
  std::filesystem::path cacheFolder;  // the archives, the book archive, MIN*.DAT leftovers
  std::filesystem::path dataFolder;   // K-line history
  const AppSettings& settings;        // indicator parameters
  Prompter& prompter;
  Sleeper& sleeper;
  DayLoadSink& sink;
};

// The day a day archive's file name stands for ("TICK_2011_01_17.zip").
struct ArchiveDate {
  int year = 0, month = 0, day = 0;
  std::string dateText;  // YYYY-MM-DD
  std::string dateKey;   // YYYY_MM_DD
  bool fineIndexData = false;
};

// Nothing when the file name holds no ".zip" or no valid date after its "_"s.
std::optional<ArchiveDate> ParseArchiveDate(const std::filesystem::path& path);

// Loads the day archive at `path` (absolute, or relative to the cache folder),
// with the book archive when `day.hasRealBook` is set. On success `day` is
// replaced by the new day, the archive files are deleted and true is returned.
// On failure a message has been shown, `day` and the files are unchanged and
// false is returned.
bool LoadDayArchive(TradingDay& day, const std::filesystem::path& path,
                    const DayLoadContext& context);

}  // namespace kestrel
