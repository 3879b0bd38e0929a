#include "online/DayDownload.h"

#include "common/Clock.h"
#include "common/FileUtil.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"
#include "tradingday/DayArchiveLoader.h"
#include "tradingday/TradingDay.h"

namespace kestrel {

namespace fs = std::filesystem;

namespace {

constexpr size_t kStoredStemChars = 15;  // "TICK_YYYY_MM_DD"
constexpr uint32_t kStepPauseMs = 200;
constexpr uint32_t kShortPauseMs = 100;

bool IsDigitRun(std::string_view text) {
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

bool Store(const fs::path& path, const std::string& bytes) {
  return WriteFileAtomically(path, bytes).empty();
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// Records the stop and its status text.
DownloadResult Stop(DownloadResult result, DownloadView& view, const char* status) {
  view.SetStatus(status);
  result.status = status;
  return result;
}

}  // namespace

const char* FileNameReplyStatus(std::string_view reply) {
  static constexpr const char* kTexts[] = {"無效的帳號密碼", "尚未登入", "該日期無資料",
                                           "帳號密碼空白",   "日期空白", "帳號無使用該日期的權限"};
  if (reply.size() == 1 && reply[0] >= '0' && reply[0] <= '5') return kTexts[reply[0] - '0'];
  return nullptr;
}

std::optional<std::string> DayArchiveFileName(std::string_view reply) {
  if (reply.find(".zip") == std::string_view::npos || !IsFlatFileName(reply) ||
      reply.size() < kStoredStemChars)
    return std::nullopt;
  const std::string_view stem = reply.substr(0, kStoredStemChars);
  if (stem.substr(0, 5) != "TICK_" || !IsDigitRun(stem.substr(5, 4)) || stem[9] != '_' ||
      !IsDigitRun(stem.substr(10, 2)) || stem[12] != '_' || !IsDigitRun(stem.substr(13, 2)))
    return std::nullopt;
  return std::string(stem) + ".zip";
}

DownloadResult RunDayDownload(const DownloadEnvironment& env, const ChosenDay& day,
                              DownloadView& view) {
  DownloadResult result;
  std::error_code ec;
  fs::create_directories(env.cacheFolder, ec);
  fs::create_directories(env.dataFolder, ec);

  view.SetStatus(kDownRequesting);
  ServiceUrl nameUrl = AccountUrl(env.bases.primary, ServiceEndpoints::kFileName, env.account);
  nameUrl.Param("SelDate", day.chosenDate);
  std::string buffer;
  if (!env.fetcher.Fetch(nameUrl, buffer)) return Stop(result, view, kDownNoConnection);
  const std::string reply = ReplyText(buffer);
  if (const char* status = FileNameReplyStatus(reply)) return Stop(result, view, status);
  const std::optional<std::string> storedName = DayArchiveFileName(reply);
  if (!storedName) return Stop(result, view, kDownBadReply);

  view.SetStatus(kDownDownloading);
  FetchOptions file;
  file.maxBytes = kMaxFileBytes;
  file.progress = &view;
  if (!env.fetcher.Fetch(FileUrl(env.bases.mirror, "/DATA/", reply), buffer, file))
    return Stop(result, view, kDownFailed);

  result.archiveDownloaded = true;
  env.sleeper.SleepMs(kStepPauseMs);
  const fs::path stored = env.cacheFolder / *storedName;
  if (!Store(stored, buffer)) {
    result.archiveDownloaded = false;
    return Stop(result, view, kDownFailed);
  }
  result.archiveToLoad = *storedName;

  if (buffer.size() < kMinDayArchiveBytes) {
    // A bad mirror copy: the primary host has the original.
    const bool fetched =
        env.fetcher.Fetch(FileUrl(env.bases.primary, "/DATA/", reply), buffer, file);
    env.sleeper.SleepMs(kShortPauseMs);
    if (!fetched || !Store(stored, buffer)) {
      RemoveQuietly(stored);
      result.archiveDownloaded = false;
      result.archiveToLoad.clear();
      return Stop(result, view, kDownFailed);
    }
    if (buffer.size() < kMinDayArchiveBytes) {
      RemoveQuietly(stored);
      result.archiveDownloaded = false;
      result.archiveToLoad.clear();
      return Stop(result, view, kDownNoData);
    }
    result.usePrimaryHost = true;
  }

  view.SetStatus(kDownCompleting);
  env.sleeper.SleepMs(kStepPauseMs);
  CompleteKLines(env, day.chosenDate, result.usePrimaryHost, view);

  view.SetStatus(kDownLoading);
  result.status = kDownLoading;
  env.sleeper.SleepMs(kStepPauseMs);

  result.hasRealBook = false;
  if (env.realBook) {
    view.SetStatus(kDownBook);
    result.status = kDownBook;
    const std::string& host = result.usePrimaryHost ? env.bases.primary : env.bases.mirror;
    if (env.fetcher.Fetch(FileUrl(host, "/TICKDATA/", day.bookArchiveName), buffer, file) &&
        buffer.size() > kMinBookArchiveBytes &&
        Store(env.cacheFolder / day.bookArchiveName, buffer)) {
      result.hasRealBook = true;
      env.sleeper.SleepMs(kShortPauseMs);
    }
  }
  return result;
}

bool LoadDownloadedDay(TradingDay& day, const DownloadResult& download,
                       const DayLoadContext& context) {
  if (!download.archiveDownloaded || download.archiveToLoad.empty()) return false;
  const bool previousBook = day.hasRealBook;
  day.hasRealBook = download.hasRealBook;
  if (LoadDayArchive(day, context.cacheFolder / download.archiveToLoad, context)) return true;
  day.hasRealBook = previousBook;
  return false;
}

}  // namespace kestrel
