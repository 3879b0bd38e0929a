#include "online/ServiceLogout.h"

#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"
#include "trading/AccountFigures.h"
#include "trading/TradeState.h"

namespace kestrel {

namespace {

constexpr int kEndOfSessionLogoutTries = 5;
constexpr const char* kStudentInOut = "net_StudentInOut.asp";

}  // namespace

LogoutReply SendLogout(Fetcher& fetcher, const ServiceBases& bases, const AccountState& account) {
  std::string buffer;
  if (!fetcher.Fetch(AccountUrl(bases.primary, ServiceEndpoints::kLogout, account), buffer))
    return LogoutReply::NoConnection;
  return ReplyText(buffer) == "0" ? LogoutReply::LoggedOut : LogoutReply::Refused;
}

bool SendLeaveStudentMode(Fetcher& fetcher, const ServiceBases& bases,
                          const AccountState& account) {
  ServiceUrl url = AccountUrl(bases.primary, kStudentInOut, account);
  url.Param("mode", "out");
  std::string ignored;
  return fetcher.Fetch(url, ignored);
}

CloseOutcome RunCloseRequest(const CloseEnvironment& env, const AccountState& account,
                             bool studentMode, bool endOfSystemSession, AccountFigures& figures) {
  CloseOutcome outcome;
  if (!account.loggedIn) {
    outcome.close = true;
    return outcome;
  }

  if (endOfSystemSession) {
    // The system is going down: try, but close whatever the service says.
    for (int i = 0; i < kEndOfSessionLogoutTries; ++i)
      if (SendLogout(env.fetcher, env.bases, account) == LogoutReply::LoggedOut) break;
    if (studentMode) SendLeaveStudentMode(env.fetcher, env.bases, account);
  } else {
    if (env.prompter.Ask(kConfirmLogout, kCaptionNotice, PromptButtons::YesNo) != PromptAnswer::Yes)
      return outcome;
    switch (SendLogout(env.fetcher, env.bases, account)) {
      case LogoutReply::NoConnection:
        env.prompter.Message(kLogoutNoConnection, kCaptionWarning);
        return outcome;
      case LogoutReply::Refused:
        env.prompter.Message(kLogoutRefused, kCaptionWarning);
        return outcome;
      case LogoutReply::LoggedOut: break;
    }
    if (studentMode) SendLeaveStudentMode(env.fetcher, env.bases, account);
  }

  FoldDayIntoBalance(figures);
  MakeWritable(env.setupIni);
  WriteProfileString(env.setupIni, "ACCOUNT", "MARGIN",
                     std::to_string(Saturate32(figures.marginBalance)));
  outcome.close = true;
  outcome.showLogoutDialog = true;
  return outcome;
}

}  // namespace kestrel
