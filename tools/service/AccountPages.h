#pragma once

#include "service/ServiceContext.h"

namespace kestrel::service {

// Login, session code, user data, logout and unlock.
//
// Login replies: "3" accepted; "0" id or password missing or wrong; "1" the
// account is held under another session code; "2" locked after too many wrong
// passwords; "4" expired; "5" a session code that is not six digits.
class AccountPages {
 public:
  explicit AccountPages(ServiceContext& context) : context_(context) {}
  void Register(PageTable& pages);

  Reply Login(const RequestTarget& request);
  Reply WriteValidCode(const RequestTarget& request);
  Reply UserData(const RequestTarget& request);
  Reply Logout(const RequestTarget& request);
  Reply Unlock(const RequestTarget& request);

 private:
  ServiceContext& context_;
};

}  // namespace kestrel::service
