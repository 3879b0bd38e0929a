#pragma once

#include <string>

namespace kestrel {

// The service account of this run. Plain value owned by the application
// context (user-interface thread); a classroom thread works on its own copy.
struct AccountState {
  std::string userId;
  std::string password;  // typed at login; kept in memory only, never stored
  bool loggedIn = false;
  bool rememberAccount = false;
  std::string rights;      // "3" student, "4" instructor, otherwise an ordinary user
  std::string expiryDate;  // shown in the About box

  bool IsStudent() const { return rights == "3"; }
  bool IsInstructor() const { return rights == "4"; }
};

}  // namespace kestrel
