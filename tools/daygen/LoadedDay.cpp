#include "LoadedDay.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "DayFiles.h"
#include "app/AppSettings.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"

namespace kestrel::daygen {

namespace fs = std::filesystem;

std::unique_ptr<TradingDay> LoadGeneratedDay(uint64_t seed, const Date& date, Pattern pattern) {
  static std::atomic<int> serial{0};
  const fs::path root = fs::temp_directory_path() / ("kestrel-day-" + std::to_string(::getpid()) +
                                                     "-" + std::to_string(serial++));
  std::error_code ec;
  fs::create_directories(root / "cache", ec);
  fs::create_directories(root / "data", ec);
  MarketModel model(seed);
  const GeneratedDay generated = model.Generate(date, pattern);
  const std::string name = ArchiveWriter::DayArchiveName(date.year, date.month, date.day);
  auto day = std::make_unique<TradingDay>();
  if (WriteFileAtomically(root / "cache" / name, ArchiveWriter::DayArchive(DayMembers(generated)))
          .empty()) {
    const AppSettings settings = ReadAppSettings(ProfileFile());
    ScriptedPrompter prompter;
    RecordingSleeper sleeper;
    DayLoadSink sink;
    if (!LoadDayArchive(*day, name,
                        {root / "cache", root / "data", settings, prompter, sleeper, sink}))
      day.reset();
  } else {
    day.reset();
  }
  fs::remove_all(root, ec);
  return day;
}

}  // namespace kestrel::daygen
