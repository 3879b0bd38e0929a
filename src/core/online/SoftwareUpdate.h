#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/ServiceEndpoints.h"
#include "online/Fetcher.h"

namespace kestrel {

class Prompter;
class Sleeper;

inline constexpr const char* kUpdateQuestion = "軟體有新版本，是否要更新？";
inline constexpr const char* kUpdateDownloading = "資料下載中...";
inline constexpr const char* kUpdateInstalling = "下載成功，正在進行更新...";
inline constexpr const char* kUpdateFailed = "更新檔有錯誤，請聯絡軟體管理員...";
inline constexpr const char* kUpdateDone = "更新成功，請關閉軟體，重新啟動程式。";

// The version reply: `LatestVersion` before the first comma (empty without
// one), `UpdateArchiveName` after it (the whole reply without one).
struct VersionReply {
  std::string latestVersion;
  std::string updateArchiveName;
};

// Nothing when the reply holds no "zip".
std::optional<VersionReply> ParseVersionReply(std::string_view reply);

// Both read as decimal integers; a latest version of 0 or less is never newer.
bool IsNewerVersion(std::string_view installed, std::string_view latest);

// The check after the start-up login: asks the question when the service has
// a newer version with an archive of a plain file name. The reply when the
// user chose to update; nothing otherwise (no message in any case).
std::optional<VersionReply> CheckForUpdate(Fetcher& fetcher, const ServiceBases& bases,
                                           const std::string& installedVersion, Prompter& prompter);

// A member's backup: its name without the last 3 characters, then "bak"
// ("Kestrel.exe" → "Kestrel.bak").
std::string BackupName(std::string_view memberName);

// A member name that may be written into the program folder: a plain file name
// (no folder, no "..", no drive, no control character).
bool IsSafeUpdateMember(std::string_view name);

// The update dialog's status text and progress bar.
class UpdateView : public FetchProgress {
 public:
  virtual void SetStatus(const std::string& text) = 0;
};

// The update dialog's one pass: downloads the archive into the program folder
// and replaces each member's file, keeping the old file under its backup name
// until the new one is written. Every member is checked before anything is
// replaced; a member that cannot be written gets its old file back. True when
// every member was replaced.
bool RunUpdate(Fetcher& fetcher, Sleeper& sleeper, const ServiceBases& bases,
               const std::string& updateArchiveName, const std::filesystem::path& programFolder,
               UpdateView& view);

}  // namespace kestrel
