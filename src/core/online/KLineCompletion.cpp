// The K-line completion of the day download: the minute history of the
// trading days before the chosen one, fetched where it is missing.
#include <cstdio>
#include <fstream>

#include "common/Clock.h"
#include "common/FileUtil.h"
#include "online/DayDownload.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"
#include "tradingday/Scramble.h"
#include "tradingday/ZipReader.h"

namespace kestrel {

namespace fs = std::filesystem;

namespace {

constexpr int kTradingDaysBefore = 15;
constexpr uint32_t kSafePauseMs = 300;
constexpr uint32_t kQuickPauseMs = 50;
constexpr const char* kHistoryMembers[] = {"MIN1K.DAT", "MIN5K.DAT", "MIN30K.DAT"};

std::string DayPrefix(const ChosenDay& day) {
  char text[32];
  std::snprintf(text, sizeof text, "%4d_%02d_%02d_", day.year, day.month, day.day);
  return text;
}

bool CanOpen(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return in.good();
}

}  // namespace

void CompleteKLines(const DownloadEnvironment& env, const std::string& chosenDate,
                    bool usePrimaryHost, DownloadView& view) {
  ServiceUrl daysUrl = AccountUrl(env.bases.primary, ServiceEndpoints::kFileDate, env.account);
  daysUrl.Param("SelDate", chosenDate).Param("SelDays", kTradingDaysBefore);
  std::string buffer;
  if (!env.fetcher.Fetch(daysUrl, buffer)) return;

  const std::vector<std::string> dates = SplitTradingDays(ReplyText(buffer));
  view.SetStatus(kDownChecking);
  view.SetPosition(0);
  view.SetRange(dates.empty() ? 0 : dates.size() - 1);

  const std::string& host = usePrimaryHost ? env.bases.primary : env.bases.mirror;
  const uint32_t pause = env.safeDownload ? kSafePauseMs : kQuickPauseMs;
  FetchOptions file;
  file.maxBytes = kMaxFileBytes;
  for (size_t i = 0; i < dates.size(); ++i) {
    view.SetPosition(i);
    // Only dates of the expected shape become file names.
    const std::optional<ChosenDay> day = ChooseDayFromText(dates[i]);
    if (!day) continue;
    const std::string prefix = DayPrefix(*day);
    if (CanOpen(FindCaseInsensitive(env.dataFolder, prefix + "MIN5K.DAT"))) continue;

    char name[32];
    std::snprintf(name, sizeof name, "K_%4d_%02d_%02d.zip", day->year, day->month, day->day);
    if (!env.fetcher.Fetch(FileUrl(host, "/DATA/", name), buffer, file)) continue;
    env.sleeper.SleepMs(pause);
    const fs::path stored = env.cacheFolder / name;
    const bool written = WriteFileAtomically(stored, buffer).empty();
    env.sleeper.SleepMs(pause);
    if (!written) continue;
    Descramble(buffer);
    env.sleeper.SleepMs(kQuickPauseMs);

    ZipReader zip;
    if (zip.Open(std::move(buffer))) {
      zip.ForEachMember([&](const std::string& member, std::optional<std::string> bytes) {
        for (const char* wanted : kHistoryMembers) {
          if (member == wanted && bytes)
            WriteFileAtomically(env.dataFolder / (prefix + member), *bytes);
        }
        return true;
      });
    }
    std::error_code ec;
    fs::remove(stored, ec);
    buffer.clear();
  }
  view.SetStatus(kDownKLinesDone);
}

}  // namespace kestrel
