#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/ServiceEndpoints.h"
#include "online/AccountState.h"

namespace kestrel {

class Fetcher;
class Sleeper;

// Texts of the login dialog's status line and of the account commands.
inline constexpr const char* kLoginNeedsBoth = "請輸入帳號密碼";
inline constexpr const char* kLoginConnecting = "連線中...";
inline constexpr const char* kLoginChecking = "檢核帳號...";
inline constexpr const char* kLoginNoConnection = "連線失敗，請稍後再試";
inline constexpr const char* kLoginInvalid = "無效的帳號密碼";
inline constexpr const char* kLoginAccepted = "登入成功";
inline constexpr const char* kLoginRejected = "檢核錯誤，請重新登入";
inline constexpr const char* kLoginNoRights = "無法抓取使用者權限";
inline constexpr const char* kLoginWelcome = " 歡迎使用Kestrel，您已正常登入。";
inline constexpr const char* kProductLine = "Kestrel 2.49 版";
inline constexpr const char* kFeedbackCaption = "意見反應";
inline constexpr const char* kFeedbackText =
    "請點選功能表最右邊「說明」->「連到首頁」\n\n在首頁左下角「聯絡我們」填寫留言。";

// What the login dialog shows when it opens: the remembered account, if any.
struct LoginDialogStart {
  bool remember = false;
  std::string userId;
};

// Reads [ACCOUNT] SAVEACCOUNT and ID; a remembered id becomes the user id.
LoginDialogStart OpenLoginDialog(const std::filesystem::path& setupIni, AccountState& account);

// The login reply, with every line feed removed, as the dialog reads it.
enum class LoginReply { Invalid, Accepted, Rejected };
LoginReply ClassifyLoginReply(std::string_view reply);

// A six-digit session code 100000..999999 from one draw of the program's
// generator seeded with `seed` (the time in seconds).
std::string MakeSessionCode(uint32_t seed);

// The user-data reply: nothing when it contains "ERROR"; otherwise character 1
// is the rights code and characters 3 to the end the expiry date.
struct UserData {
  std::string rights;
  std::string expiryDate;
};
std::optional<UserData> ParseUserData(std::string_view reply);

// The dialog's status line.
class LoginView {
 public:
  virtual ~LoginView() = default;
  virtual void ShowStatus(const std::string& text) = 0;
};

struct LoginEnvironment {
  Fetcher& fetcher;
  Sleeper& sleeper;
  const ServiceBases& bases;
  std::filesystem::path setupIni;
};

struct LoginInput {
  std::string id;
  std::string password;
  bool remember = false;
  uint32_t nowSeconds = 0;  // seeds the session code
};

// After "登入": when logged in, the dialog closes and the main window takes the
// title and status pane text.
struct LoginResult {
  bool loggedIn = false;
  std::string windowTitle;
  std::string statusPane0;
};

// The "登入" button: the login request with the stored session code, the new
// session code, the remembered account and the user data; every status text
// goes to `view`, the waits to the sleeper.
LoginResult PressLogin(const LoginEnvironment& env, const LoginInput& input, AccountState& account,
                       LoginView& view);

// The help links (opened in the browser) and the About box text.
std::string HomePageUrl(const ServiceBases& bases);
std::string ManualUrl(const ServiceBases& bases);
std::string UpdateHistoryUrl(const ServiceBases& bases);
std::string AboutText(const AccountState& account);

}  // namespace kestrel
