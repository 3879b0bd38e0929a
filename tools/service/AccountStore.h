#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/Database.h"
#include "service/DateText.h"
#include "service/PasswordHasher.h"

namespace kestrel::service {

inline constexpr std::string_view kStudentRights = "3";
inline constexpr std::string_view kInstructorRights = "4";

// An account as the pages see it (never the password hash).
struct Account {
  std::string id;
  std::string rights;  // one character: "3" student, "4" instructor, else ordinary
  std::string expiry;  // YYYY/MM/DD
  std::string className;
  std::string sessionCode;
  bool loggedIn = false;
  bool locked = false;

  bool ExpiredOn(const Date& today) const;
};

enum class AuthStatus { kOk, kBlank, kUnknown, kWrongPassword, kLocked };

struct Auth {
  AuthStatus status = AuthStatus::kBlank;
  Account account;
  bool ok() const { return status == AuthStatus::kOk; }
};

enum class LoginOutcome { kAccepted, kHeldElsewhere };

// Accounts in the database: administration, password checks, the session code
// rule and the lock. Thread-safe (every call takes the database lock itself).
class AccountStore {
 public:
  // Wrong passwords in a row that lock an account until it is unlocked.
  static constexpr int kMaxFailedLogins = 5;

  AccountStore(Database& db, PasswordHasher& hasher) : db_(db), hasher_(hasher) {}

  // Administration. Each returns an error text for the console, empty on success.
  std::string Add(std::string_view id, std::string_view password, std::string_view rights,
                  std::string_view expiry, std::string_view className);
  std::string SetPassword(std::string_view id, std::string_view password);
  std::string SetRights(std::string_view id, std::string_view rights);
  std::string SetClass(std::string_view id, std::string_view className);
  std::string SetExpiry(std::string_view id, std::string_view expiry);
  // Clears the lock, the failed count and the session hold; false when there is
  // no such account.
  bool Unlock(std::string_view id);
  std::optional<Account> Find(std::string_view id);
  std::vector<Account> List();
  // Adds the practice accounts that are missing; returns how many were added.
  int SeedPracticeAccounts();

  // Checks id and password. A wrong password counts towards the lock.
  Auth Authenticate(std::string_view id, std::string_view password);

  // The one-place rule: an account held under another session code is refused.
  LoginOutcome Login(std::string_view id, std::string_view code);
  // Stores the session code the client made after logging in; false when the
  // account is not logged in.
  bool WriteSessionCode(std::string_view id, std::string_view code);
  void Logout(std::string_view id);

  static bool IsValidId(std::string_view id);
  // Printable ASCII without blanks and without the characters that would break
  // the client's unescaped query: & # %.
  static bool IsValidPassword(std::string_view password);
  static bool IsValidRights(std::string_view rights);
  static bool IsValidClassName(std::string_view name);

 private:
  // Runs an UPDATE of one account (?1 the id, ?2 the value); false when no row changed.
  bool UpdateOne(const char* sql, std::string_view id,
                 std::optional<std::string_view> value = std::nullopt);

  Database& db_;
  PasswordHasher& hasher_;
};

}  // namespace kestrel::service
