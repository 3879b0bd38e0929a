#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/ServiceEndpoints.h"
#include "online/AccountState.h"
#include "online/ChosenDay.h"
#include "online/Fetcher.h"

namespace kestrel {

class Sleeper;
struct DayLoadContext;
struct TradingDay;

// Status texts of the download dialog, in the order the sequence shows them.
inline constexpr const char* kDownRequesting = "正在要求檔案...";
inline constexpr const char* kDownNoConnection = "連線失敗，請稍後再試";
inline constexpr const char* kDownBadReply = "連線失敗，請重試";
inline constexpr const char* kDownDownloading = "資料下載中...";
inline constexpr const char* kDownFailed = "下載失敗";
inline constexpr const char* kDownNoData = "該日期無資料";
inline constexpr const char* kDownCompleting = "自動補齊K線...";
inline constexpr const char* kDownChecking = "資料檢查中... ";
inline constexpr const char* kDownKLinesDone = "K線下載成功";
inline constexpr const char* kDownLoading = "下載成功，正在載入資料...";
inline constexpr const char* kDownBook = "下載五檔資料...";

// A stored day archive below this size is a bad mirror copy.
inline constexpr size_t kMinDayArchiveBytes = 50000;
// A book archive must be larger than this to be used.
inline constexpr size_t kMinBookArchiveBytes = 20000;

// The download dialog: its status text and progress bar. Called on the thread
// that runs the download.
class DownloadView : public FetchProgress {
 public:
  virtual void SetStatus(const std::string& text) = 0;
};

// A view that shows nothing.
class SilentDownloadView final : public DownloadView {
 public:
  void SetStatus(const std::string&) override {}
  void SetRange(uint64_t) override {}
  void SetPosition(uint64_t) override {}
};

// What a download works with. Every file goes to the two folders given; the
// process's current directory is never used.
struct DownloadEnvironment {
  Fetcher& fetcher;
  Sleeper& sleeper;
  const ServiceBases& bases;
  const AccountState& account;
  std::filesystem::path cacheFolder;
  std::filesystem::path dataFolder;
  bool safeDownload = false;  // SAFE_DOWNLOAD: longer pauses around K-line archives
  bool realBook = false;      // REAL_5B: fetch the recorded book
};

struct DownloadResult {
  bool archiveDownloaded = false;
  std::string archiveToLoad;  // file name in the cache folder
  bool hasRealBook = false;
  bool usePrimaryHost = false;
  std::string status;  // the last status text shown
};

// The file-name reply codes "0" to "5" and their status texts; nullptr for any
// other reply.
const char* FileNameReplyStatus(std::string_view reply);

// The name a file-name reply is stored under: its first 15 characters plus
// ".zip". Nothing unless the reply holds ".zip", is a flat file name and starts
// with "TICK_" and a date of digits (YYYY_MM_DD).
std::optional<std::string> DayArchiveFileName(std::string_view reply);

// The whole download of one day: file name, day archive (mirror, then the
// primary host when the mirror copy is too small), K-line completion, book
// archive. Stops at the first failure with its status text.
DownloadResult RunDayDownload(const DownloadEnvironment& env, const ChosenDay& day,
                              DownloadView& view);

// Makes sure the K-line files of the trading days before `chosenDate` are in
// the data folder, fetching the missing ones. Failures skip a date silently.
void CompleteKLines(const DownloadEnvironment& env, const std::string& chosenDate,
                    bool usePrimaryHost, DownloadView& view);

// The hand-off to the loader: loads the downloaded archive with or without its
// book. False (a message shown by the loader) when nothing was downloaded or
// the load failed; `day` is then unchanged.
bool LoadDownloadedDay(TradingDay& day, const DownloadResult& download,
                       const DayLoadContext& context);

}  // namespace kestrel
