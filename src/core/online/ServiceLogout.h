#pragma once

#include <filesystem>

#include "app/ServiceEndpoints.h"
#include "online/AccountState.h"

namespace kestrel {

class Fetcher;
class Prompter;
struct AccountFigures;

inline constexpr const char* kConfirmLogout = "確定登出並離開程式？";
inline constexpr const char* kLogoutNoConnection = "連線失敗，請稍後再試";
inline constexpr const char* kLogoutRefused = "登出失敗，請稍後再試";

// The logout request: "0" means logged out.
enum class LogoutReply { NoConnection, LoggedOut, Refused };
LogoutReply SendLogout(Fetcher& fetcher, const ServiceBases& bases, const AccountState& account);

// The leave-student-mode request; its reply is not examined. False when the
// fetch failed.
bool SendLeaveStudentMode(Fetcher& fetcher, const ServiceBases& bases, const AccountState& account);

struct CloseEnvironment {
  Fetcher& fetcher;
  Prompter& prompter;
  const ServiceBases& bases;
  std::filesystem::path setupIni;
};

struct CloseOutcome {
  bool close = false;             // the window closes now
  bool showLogoutDialog = false;  // after a logout, the short progress dialog
};

// The logout step of the close request, after the settings are written: with
// nobody logged in the window just closes; at the end of the system session
// the logout is tried up to five times without asking; otherwise the user
// confirms and one logout must succeed. After a logout the day's result is
// folded into the margin balance and [ACCOUNT] MARGIN is written.
CloseOutcome RunCloseRequest(const CloseEnvironment& env, const AccountState& account,
                             bool studentMode, bool endOfSystemSession, AccountFigures& figures);

}  // namespace kestrel
