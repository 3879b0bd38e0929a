#include "service/Database.h"

#include <sqlite3.h>

namespace kestrel::service {

namespace {

// Students' classroom figures live beside the account; a class row holds what
// the instructor last did.
constexpr const char* kSchema = R"sql(
BEGIN IMMEDIATE;
CREATE TABLE IF NOT EXISTS accounts (
  id            TEXT PRIMARY KEY,
  pwhash        TEXT NOT NULL,
  rights        TEXT NOT NULL DEFAULT '1',
  expiry        TEXT NOT NULL DEFAULT '2099/12/31',
  class         TEXT NOT NULL DEFAULT '',
  session_code  TEXT NOT NULL DEFAULT '',
  logged_in     INTEGER NOT NULL DEFAULT 0,
  locked        INTEGER NOT NULL DEFAULT 0,
  failed_logins INTEGER NOT NULL DEFAULT 0,
  state         INTEGER NOT NULL DEFAULT 0,
  day           TEXT NOT NULL DEFAULT '',
  assignment    INTEGER NOT NULL DEFAULT 0,
  lots          INTEGER NOT NULL DEFAULT 0,
  result        INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS accounts_by_class ON accounts(class);
CREATE TABLE IF NOT EXISTS classes (
  name        TEXT PRIMARY KEY,
  day         TEXT NOT NULL DEFAULT '',
  assignment  INTEGER NOT NULL DEFAULT 0,
  phase       INTEGER NOT NULL DEFAULT 0
);
PRAGMA user_version = 1;
COMMIT;
)sql";

}  // namespace

std::unique_ptr<Database> Database::Open(const std::filesystem::path& file, std::string* error) {
  sqlite3* handle = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(file.c_str(), &handle, flags, nullptr) != SQLITE_OK) {
    if (error != nullptr)
      *error = "cannot open database " + file.string() + ": " +
               (handle != nullptr ? sqlite3_errmsg(handle) : "out of memory");
    sqlite3_close(handle);
    return nullptr;
  }
  std::unique_ptr<Database> db(new Database(handle));
  sqlite3_busy_timeout(handle, 5000);
  try {
    // WAL keeps committed transactions through a crash of the process; NORMAL
    // syncs at checkpoints only, which is enough for that.
    db->Execute("PRAGMA journal_mode=WAL");
    db->Execute("PRAGMA synchronous=NORMAL");
    // Checkpoints run in the background; this is only the safety net.
    db->Execute("PRAGMA wal_autocheckpoint=20000");
    db->Execute("PRAGMA foreign_keys=ON");
    Statement version = db->Prepare("PRAGMA user_version");
    const bool current = version.Step() && version.Int(0) >= 1;
    if (!current) db->Execute(kSchema);
  } catch (const DatabaseError& e) {
    if (error != nullptr) *error = e.what();
    return nullptr;
  }
  db->StartCheckpoints(file);
  return db;
}

void Database::StartCheckpoints(const std::filesystem::path& file) {
  checkpointer_ = std::thread([this, file] {
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(file.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      sqlite3_close(handle);
      return;
    }
    sqlite3_busy_timeout(handle, 1000);
    std::unique_lock lock(checkpointMutex_);
    while (!checkpointWake_.wait_for(lock, std::chrono::milliseconds(500),
                                     [this] { return stopping_; })) {
      lock.unlock();
      // PASSIVE never blocks the service's writers.
      sqlite3_wal_checkpoint_v2(handle, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
      lock.lock();
    }
    sqlite3_close(handle);
  });
}

Database::~Database() {
  {
    std::lock_guard lock(checkpointMutex_);
    stopping_ = true;
  }
  checkpointWake_.notify_all();
  if (checkpointer_.joinable()) checkpointer_.join();
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  sqlite3_close(handle_);
}

void Database::Fail(std::string_view what) const {
  throw DatabaseError(std::string(what) + ": " + sqlite3_errmsg(handle_));
}

Statement Database::Prepare(const char* sql) {
  auto [it, inserted] = statements_.try_emplace(sql, nullptr);
  if (inserted) {
    if (sqlite3_prepare_v2(handle_, sql, -1, &it->second, nullptr) != SQLITE_OK) {
      statements_.erase(it);
      Fail("prepare");
    }
  }
  return Statement(*this, it->second);
}

void Database::Execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(handle_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "unknown error";
    sqlite3_free(message);
    throw DatabaseError(text);
  }
}

int Database::Changes() const {
  return sqlite3_changes(handle_);
}

std::string Database::IntegrityCheck() {
  auto lock = Lock();
  Statement check = Prepare("PRAGMA integrity_check");
  std::string result;
  while (check.Step()) result += (result.empty() ? "" : "; ") + check.Text(0);
  return result;
}

Database::Transaction::Transaction(Database& db) : db_(db) {
  db_.Execute("BEGIN IMMEDIATE");
}

Database::Transaction::~Transaction() {
  if (!done_) sqlite3_exec(db_.handle_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::Transaction::Commit() {
  db_.Execute("COMMIT");
  done_ = true;
}

// Resetting ends the statement's read, so no snapshot outlives its use.
Statement::~Statement() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    db_.Fail("bind");
  return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.Fail("bind");
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.Fail("step");
}

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return text != nullptr
             ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
}

int64_t Statement::Int(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

}  // namespace kestrel::service
