#include "service/AccountPages.h"

namespace kestrel::service {

namespace {

bool IsSessionCode(const std::string& code) {
  if (code.size() != 6) return false;
  for (char c : code)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

void AccountPages::Register(PageTable& pages) {
  pages["/net_Login_Future.php"] = [this](const RequestTarget& r) { return Login(r); };
  pages["/net_WriteValidCode_Future.php"] = [this](const RequestTarget& r) {
    return WriteValidCode(r);
  };
  pages["/net_GetUserData_Future.php"] = [this](const RequestTarget& r) { return UserData(r); };
  pages["/net_Logout_Future.php"] = [this](const RequestTarget& r) { return Logout(r); };
  pages["/net_UnlockUser.asp"] = [this](const RequestTarget& r) { return Unlock(r); };
}

Reply AccountPages::Login(const RequestTarget& request) {
  const Auth auth = context_.accounts.Authenticate(request.Get("id"), request.Get("pwd"));
  if (auth.status == AuthStatus::kLocked) return Reply::Text("2");
  if (!auth.ok()) return Reply::Text("0");
  if (auth.account.ExpiredOn(context_.today())) return Reply::Text("4");
  // The first login on a computer sends an empty code.
  const std::string code = request.Get("code");
  if (!code.empty() && !IsSessionCode(code)) return Reply::Text("5");
  const LoginOutcome outcome = context_.accounts.Login(auth.account.id, code);
  return Reply::Text(outcome == LoginOutcome::kAccepted ? "3" : "1");
}

Reply AccountPages::WriteValidCode(const RequestTarget& request) {
  const Auth auth = context_.accounts.Authenticate(request.Get("id"), request.Get("pwd"));
  const std::string code = request.Get("code");
  if (!auth.ok() || !IsSessionCode(code)) return Reply::Text("ERROR");
  return Reply::Text(context_.accounts.WriteSessionCode(auth.account.id, code) ? "OK" : "ERROR");
}

Reply AccountPages::UserData(const RequestTarget& request) {
  const Auth auth = context_.accounts.Authenticate(request.Get("id"), request.Get("pwd"));
  if (!auth.ok()) return Reply::Text("ERROR");
  return Reply::Text(auth.account.rights + "," + auth.account.expiry);
}

Reply AccountPages::Logout(const RequestTarget& request) {
  const Auth auth = context_.accounts.Authenticate(request.Get("id"), request.Get("pwd"));
  if (!auth.ok()) return Reply::Text("ERROR");
  context_.accounts.Logout(auth.account.id);
  return Reply::Text("0");
}

Reply AccountPages::Unlock(const RequestTarget& request) {
  const std::string id = request.Get("ID");
  if (!AccountStore::IsValidId(id)) return Reply::Text("ERROR");
  return Reply::Text(context_.accounts.Unlock(id) ? "OK" : "ERROR");
}

}  // namespace kestrel::service
