#include "online/SoftwareUpdate.h"

#include <vector>

#include "common/Clock.h"
#include "common/Decimal.h"
#include "common/FileUtil.h"
#include "common/Prompter.h"
#include "online/ChosenDay.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"
#include "tradingday/ZipReader.h"

namespace kestrel {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kUpdatePauseMs = 100;
// All members together; a bigger archive is refused before anything is replaced.
constexpr size_t kMaxUnpackedBytes = size_t{256} << 20;

struct Member {
  std::string name;
  std::string bytes;
};

bool Fail(UpdateView& view) {
  view.SetStatus(kUpdateFailed);
  return false;
}

// Every member's name and bytes, or nothing when one is unsafe or unreadable.
std::optional<std::vector<Member>> ReadMembers(ZipReader& zip) {
  std::vector<Member> members;
  size_t total = 0;
  bool ok = true;
  const bool walked =
      zip.ForEachMember([&](const std::string& name, std::optional<std::string> bytes) {
        if (!IsSafeUpdateMember(name) || !bytes || (total += bytes->size()) > kMaxUnpackedBytes) {
          ok = false;
          return false;
        }
        members.push_back({name, std::move(*bytes)});
        return true;
      });
  if (!walked || !ok) return std::nullopt;
  return members;
}

// Replaces one file, its old version set aside under the backup name until the
// new one is written; on failure the old version is put back.
bool ReplaceMember(const fs::path& folder, const Member& member, Sleeper& sleeper) {
  const fs::path target = folder / member.name;
  const fs::path backup = folder / BackupName(member.name);
  std::error_code ec;
  MakeWritable(backup);
  fs::remove(backup, ec);
  fs::rename(target, backup, ec);  // a member without an existing file has nothing to set aside
  const bool hasBackup = !ec;
  if (hasBackup) MakeWritable(backup);
  sleeper.SleepMs(kUpdatePauseMs);

  if (!WriteFileAtomically(target, member.bytes).empty()) {
    if (hasBackup) {
      fs::remove(target, ec);
      fs::rename(backup, target, ec);
    }
    return false;
  }
  if (hasBackup) {
    MakeWritable(backup);
    fs::remove(backup, ec);
  }
  return true;
}

}  // namespace

std::optional<VersionReply> ParseVersionReply(std::string_view reply) {
  if (reply.find("zip") == std::string_view::npos) return std::nullopt;
  VersionReply parsed;
  const size_t comma = reply.find(',');
  if (comma == std::string_view::npos) {
    parsed.updateArchiveName = std::string(reply);
  } else {
    parsed.latestVersion = std::string(reply.substr(0, comma));
    parsed.updateArchiveName = std::string(reply.substr(comma + 1));
  }
  return parsed;
}

bool IsNewerVersion(std::string_view installed, std::string_view latest) {
  const int32_t newest = ParseDecimal(latest);
  return newest > 0 && newest > ParseDecimal(installed);
}

std::optional<VersionReply> CheckForUpdate(Fetcher& fetcher, const ServiceBases& bases,
                                           const std::string& installedVersion,
                                           Prompter& prompter) {
  std::string buffer;
  if (!fetcher.Fetch(ServiceUrl(bases.secondary, ServiceEndpoints::kSoftVer), buffer))
    return std::nullopt;
  std::optional<VersionReply> reply = ParseVersionReply(ReplyText(buffer));
  if (!reply || !IsNewerVersion(installedVersion, reply->latestVersion)) return std::nullopt;
  // The archive is stored under this name in the program folder.
  if (!IsFlatFileName(reply->updateArchiveName)) return std::nullopt;
  if (prompter.Ask(kUpdateQuestion, kCaptionNotice, PromptButtons::YesNo) != PromptAnswer::Yes)
    return std::nullopt;
  return reply;
}

std::string BackupName(std::string_view memberName) {
  if (memberName.size() <= 3) return std::string(memberName) + ".bak";
  return std::string(memberName.substr(0, memberName.size() - 3)) + "bak";
}

bool IsSafeUpdateMember(std::string_view name) {
  return IsFlatFileName(name);
}

bool RunUpdate(Fetcher& fetcher, Sleeper& sleeper, const ServiceBases& bases,
               const std::string& updateArchiveName, const fs::path& programFolder,
               UpdateView& view) {
  view.SetStatus(kUpdateDownloading);
  if (!IsFlatFileName(updateArchiveName)) return Fail(view);
  FetchOptions options;
  options.useCache = true;
  options.maxBytes = kMaxFileBytes;
  options.progress = &view;
  std::string buffer;
  if (!fetcher.Fetch(FileUrl(bases.secondary, "/DB/", updateArchiveName), buffer, options))
    return Fail(view);

  view.SetStatus(kUpdateInstalling);
  sleeper.SleepMs(kUpdatePauseMs);
  const fs::path archive = programFolder / updateArchiveName;
  if (!WriteFileAtomically(archive, buffer).empty()) return Fail(view);

  ZipReader zip;
  if (!zip.Open(std::move(buffer))) return Fail(view);
  const std::optional<std::vector<Member>> members = ReadMembers(zip);
  zip.Close();
  if (!members) return Fail(view);

  for (const Member& member : *members)
    if (!ReplaceMember(programFolder, member, sleeper)) return Fail(view);

  view.SetStatus(kUpdateDone);
  sleeper.SleepMs(kUpdatePauseMs);
  std::error_code ec;
  fs::remove(archive, ec);
  return true;
}

}  // namespace kestrel
