#include "service/AccountStore.h"

namespace kestrel::service {

namespace {

bool AllOf(std::string_view text, bool (*allowed)(char)) {
  for (char c : text)
    if (!allowed(c)) return false;
  return true;
}

bool IsAlnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

constexpr const char* kSelectAccount =
    "SELECT id, rights, expiry, class, session_code, logged_in, locked, pwhash "
    "FROM accounts WHERE id = ?1";

Account ReadAccount(const Statement& row) {
  Account account;
  account.id = row.Text(0);
  account.rights = row.Text(1);
  account.expiry = row.Text(2);
  account.className = row.Text(3);
  account.sessionCode = row.Text(4);
  account.loggedIn = row.Int(5) != 0;
  account.locked = row.Int(6) != 0;
  return account;
}

}  // namespace

bool Account::ExpiredOn(const Date& today) const {
  const auto last = ParseDate(expiry);
  return !last || *last < today;
}

bool AccountStore::IsValidId(std::string_view id) {
  return !id.empty() && id.size() <= 32 && AllOf(id, [](char c) {
    return IsAlnum(c) || c == '_' || c == '-' || c == '.' || c == '@';
  });
}

bool AccountStore::IsValidPassword(std::string_view password) {
  return !password.empty() && password.size() <= 64 && AllOf(password, [](char c) {
    return c > ' ' && c < 0x7F && c != '&' && c != '#' && c != '%';
  });
}

bool AccountStore::IsValidRights(std::string_view rights) {
  return rights.size() == 1 && IsAlnum(rights[0]);
}

bool AccountStore::IsValidClassName(std::string_view name) {
  return name.size() <= 32 &&
         AllOf(name, [](char c) { return IsAlnum(c) || c == '_' || c == '-'; });
}

std::string AccountStore::Add(std::string_view id, std::string_view password,
                              std::string_view rights, std::string_view expiry,
                              std::string_view className) {
  if (!IsValidId(id)) return "invalid account id (1-32 of A-Z a-z 0-9 _ - . @)";
  if (!IsValidPassword(password))
    return "invalid password (1-64 printable ASCII characters, no blank, &, # or %)";
  if (!IsValidRights(rights)) return "invalid rights code (one letter or digit)";
  const auto date = ParseDate(expiry);
  if (!date) return "invalid expiry date (YYYY/MM/DD)";
  if (!IsValidClassName(className)) return "invalid class name (0-32 of A-Z a-z 0-9 _ -)";
  const std::string hash = hasher_.Hash(password);
  if (hash.empty()) return "cannot hash the password (out of memory)";
  auto lock = db_.Lock();
  Statement insert = db_.Prepare(
      "INSERT OR IGNORE INTO accounts (id, pwhash, rights, expiry, class) "
      "VALUES (?1, ?2, ?3, ?4, ?5)");
  insert.Bind(1, id).Bind(2, hash).Bind(3, rights).Bind(4, FormatDate(*date)).Bind(5, className);
  insert.Step();
  if (db_.Changes() == 0) return "account " + std::string(id) + " exists already";
  return {};
}

bool AccountStore::UpdateOne(const char* sql, std::string_view id,
                             std::optional<std::string_view> value) {
  auto lock = db_.Lock();
  Statement update = db_.Prepare(sql);
  update.Bind(1, id);
  if (value) update.Bind(2, *value);
  update.Step();
  return db_.Changes() > 0;
}

std::string AccountStore::SetPassword(std::string_view id, std::string_view password) {
  if (!IsValidPassword(password))
    return "invalid password (1-64 printable ASCII characters, no blank, &, # or %)";
  const std::string hash = hasher_.Hash(password);
  if (hash.empty()) return "cannot hash the password (out of memory)";
  if (!UpdateOne("UPDATE accounts SET pwhash = ?2 WHERE id = ?1", id, hash))
    return "no account " + std::string(id);
  return {};
}

std::string AccountStore::SetRights(std::string_view id, std::string_view rights) {
  if (!IsValidRights(rights)) return "invalid rights code (one letter or digit)";
  if (!UpdateOne("UPDATE accounts SET rights = ?2 WHERE id = ?1", id, rights))
    return "no account " + std::string(id);
  return {};
}

std::string AccountStore::SetClass(std::string_view id, std::string_view className) {
  if (!IsValidClassName(className)) return "invalid class name (0-32 of A-Z a-z 0-9 _ -)";
  if (!UpdateOne("UPDATE accounts SET class = ?2 WHERE id = ?1", id, className))
    return "no account " + std::string(id);
  return {};
}

std::string AccountStore::SetExpiry(std::string_view id, std::string_view expiry) {
  const auto date = ParseDate(expiry);
  if (!date) return "invalid expiry date (YYYY/MM/DD)";
  if (!UpdateOne("UPDATE accounts SET expiry = ?2 WHERE id = ?1", id, FormatDate(*date)))
    return "no account " + std::string(id);
  return {};
}

bool AccountStore::Unlock(std::string_view id) {
  return UpdateOne(
      "UPDATE accounts SET locked = 0, failed_logins = 0, logged_in = 0, session_code = '' "
      "WHERE id = ?1",
      id);
}

std::optional<Account> AccountStore::Find(std::string_view id) {
  auto lock = db_.Lock();
  Statement select = db_.Prepare(kSelectAccount);
  select.Bind(1, id);
  if (!select.Step()) return std::nullopt;
  return ReadAccount(select);
}

std::vector<Account> AccountStore::List() {
  auto lock = db_.Lock();
  Statement select = db_.Prepare(
      "SELECT id, rights, expiry, class, session_code, logged_in, locked FROM accounts "
      "ORDER BY id");
  std::vector<Account> accounts;
  while (select.Step()) accounts.push_back(ReadAccount(select));
  return accounts;
}

int AccountStore::SeedPracticeAccounts() {
  struct Seed {
    const char* id;
    const char* password;
    const char* rights;
    const char* className;
  };
  static constexpr Seed kSeeds[] = {
      {"demo", "demo", "1", ""},         {"teacher", "teacher", "4", "A"},
      {"student1", "student", "3", "A"}, {"student2", "student", "3", "A"},
      {"student3", "student", "3", "A"},
  };
  int added = 0;
  for (const Seed& seed : kSeeds) {
    if (Find(seed.id)) continue;
    if (Add(seed.id, seed.password, seed.rights, "2099/12/31", seed.className).empty()) ++added;
  }
  return added;
}

Auth AccountStore::Authenticate(std::string_view id, std::string_view password) {
  Auth auth;
  if (id.empty() || password.empty()) return auth;
  std::string stored;
  {
    auto lock = db_.Lock();
    Statement select = db_.Prepare(kSelectAccount);
    select.Bind(1, id);
    if (select.Step()) {
      auth.account = ReadAccount(select);
      stored = select.Text(7);
    }
  }
  if (stored.empty()) {
    hasher_.VerifyNothing(password);
    auth.status = AuthStatus::kUnknown;
    return auth;
  }
  if (auth.account.locked) {
    auth.status = AuthStatus::kLocked;
    return auth;
  }
  const bool ok = hasher_.Verify(stored, password);
  auto lock = db_.Lock();
  if (!ok) {
    Statement fail = db_.Prepare(
        "UPDATE accounts SET failed_logins = failed_logins + 1, "
        "locked = (failed_logins + 1 >= ?2) WHERE id = ?1");
    fail.Bind(1, id).Bind(2, int64_t{kMaxFailedLogins});
    fail.Step();
    auth.status = AuthStatus::kWrongPassword;
    return auth;
  }
  Statement reset =
      db_.Prepare("UPDATE accounts SET failed_logins = 0 WHERE id = ?1 AND failed_logins <> 0");
  reset.Bind(1, id);
  reset.Step();
  auth.status = AuthStatus::kOk;
  return auth;
}

LoginOutcome AccountStore::Login(std::string_view id, std::string_view code) {
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  {
    Statement select = db_.Prepare(kSelectAccount);
    select.Bind(1, id);
    if (!select.Step()) return LoginOutcome::kHeldElsewhere;
    const Account account = ReadAccount(select);
    if (account.loggedIn && !account.sessionCode.empty() && account.sessionCode != code)
      return LoginOutcome::kHeldElsewhere;
  }
  {
    Statement update =
        db_.Prepare("UPDATE accounts SET logged_in = 1, session_code = ?2 WHERE id = ?1");
    update.Bind(1, id).Bind(2, code);
    update.Step();
  }
  transaction.Commit();
  return LoginOutcome::kAccepted;
}

bool AccountStore::WriteSessionCode(std::string_view id, std::string_view code) {
  return UpdateOne("UPDATE accounts SET session_code = ?2 WHERE id = ?1 AND logged_in = 1", id,
                   code);
}

void AccountStore::Logout(std::string_view id) {
  UpdateOne("UPDATE accounts SET logged_in = 0 WHERE id = ?1", id);
}

}  // namespace kestrel::service
