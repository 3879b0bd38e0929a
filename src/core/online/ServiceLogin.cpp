#include "online/ServiceLogin.h"

#include <cstdio>

#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Rand15.h"
#include "common/TextCodec.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace {

constexpr uint32_t kLoginPauseMs = 200;

void WriteAccountKey(const std::filesystem::path& setupIni, std::string_view key,
                     std::string_view value) {
  // A file that cannot be written loses the change silently, as every profile write.
  MakeWritable(setupIni);
  WriteProfileString(setupIni, "ACCOUNT", key, value);
}

}  // namespace

LoginDialogStart OpenLoginDialog(const std::filesystem::path& setupIni, AccountState& account) {
  LoginDialogStart start;
  if (ReadProfileString(setupIni, "ACCOUNT", "SAVEACCOUNT") != "1") return start;
  start.remember = true;
  start.userId = ReadProfileString(setupIni, "ACCOUNT", "ID");
  account.userId = start.userId;
  account.rememberAccount = true;
  return start;
}

LoginReply ClassifyLoginReply(std::string_view reply) {
  const std::string code = WithoutLineFeeds(reply);
  if (code == "0") return LoginReply::Invalid;
  if (code == "3") return LoginReply::Accepted;
  return LoginReply::Rejected;
}

std::string MakeSessionCode(uint32_t seed) {
  Rand15 random(seed);
  const int64_t r = random.Next();
  // r × 899999 needs more than 32 bits.
  const int64_t code = 100000 + r * 899999 / Rand15::kMax;
  char text[16];
  std::snprintf(text, sizeof text, "%06lld", static_cast<long long>(code));
  return text;
}

std::optional<UserData> ParseUserData(std::string_view reply) {
  if (reply.find("ERROR") != std::string_view::npos) return std::nullopt;
  UserData data;
  data.rights = std::string(Utf8Prefix(reply, 1));
  const size_t skip = Utf8Prefix(reply, 2).size();
  data.expiryDate = std::string(reply.substr(skip));
  return data;
}

LoginResult PressLogin(const LoginEnvironment& env, const LoginInput& input, AccountState& account,
                       LoginView& view) {
  LoginResult result;
  view.ShowStatus("");
  if (input.id.empty() || input.password.empty()) {
    view.ShowStatus(kLoginNeedsBoth);
    return result;
  }

  const std::string storedCode = ReadProfileString(env.setupIni, "ACCOUNT", "MARGIM");
  view.ShowStatus(kLoginConnecting);
  AccountState typed;
  typed.userId = input.id;
  typed.password = input.password;
  ServiceUrl url = AccountUrl(env.bases.primary, ServiceEndpoints::kLogin, typed);
  url.Param("code", storedCode);
  std::string buffer;
  const bool fetched = env.fetcher.Fetch(url, buffer);
  view.ShowStatus(fetched ? kLoginChecking : kLoginNoConnection);
  env.sleeper.SleepMs(kLoginPauseMs);
  if (!fetched) {
    view.ShowStatus(kLoginNoConnection);
    return result;
  }

  switch (ClassifyLoginReply(ReplyText(buffer))) {
    case LoginReply::Invalid: view.ShowStatus(kLoginInvalid); return result;
    case LoginReply::Rejected: view.ShowStatus(kLoginRejected); return result;
    case LoginReply::Accepted: break;
  }

  view.ShowStatus(kLoginAccepted);
  account.userId = input.id;
  account.password = input.password;
  account.loggedIn = true;

  // The service lets an account in from one place at a time by this code.
  const std::string code = MakeSessionCode(input.nowSeconds);
  ServiceUrl codeUrl = AccountUrl(env.bases.primary, ServiceEndpoints::kWriteValidCode, account);
  codeUrl.Param("code", code);
  std::string ignored;
  env.fetcher.Fetch(codeUrl, ignored);
  WriteAccountKey(env.setupIni, "MARGIM", code);

  result.loggedIn = true;
  result.windowTitle = "Kestrel( 已登入: " + account.userId + " )";

  account.rememberAccount = input.remember;
  WriteAccountKey(env.setupIni, "ID", input.remember ? account.userId : "");
  WriteAccountKey(env.setupIni, "SAVEACCOUNT", input.remember ? "1" : "0");
  result.statusPane0 = kLoginWelcome;

  std::string userData;
  const bool gotData = env.fetcher.Fetch(
      AccountUrl(env.bases.primary, ServiceEndpoints::kUserData, account), userData);
  const std::optional<UserData> data = gotData ? ParseUserData(ReplyText(userData)) : std::nullopt;
  if (data) {
    account.rights = data->rights;
    account.expiryDate = data->expiryDate;
  } else {
    account.rights.clear();
    account.expiryDate.clear();
    view.ShowStatus(kLoginNoRights);
  }
  env.sleeper.SleepMs(kLoginPauseMs);
  return result;
}

std::string HomePageUrl(const ServiceBases& bases) {
  return bases.primary;
}

// Base and page are joined with a backslash; browsers take it as a slash.
std::string ManualUrl(const ServiceBases& bases) {
  return bases.primary + "\\" + ServiceEndpoints::kSoftwareDoc;
}

std::string UpdateHistoryUrl(const ServiceBases& bases) {
  return bases.primary + "\\" + ServiceEndpoints::kSoftwareHistory;
}

std::string AboutText(const AccountState& account) {
  return "使用者: " + account.userId + "\n\n" + "到期日: " + account.expiryDate;
}

}  // namespace kestrel
