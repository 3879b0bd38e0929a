#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace kestrel::service {

// A failure of the database itself (disk full, file damaged). Expected refusals
// never use it; the request router turns it into a 500 reply.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Database;

// One prepared statement of the connection's cache. Values are always bound,
// never pasted into SQL text.
class Statement {
 public:
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, int64_t value);
  // True while a row is available.
  bool Step();
  std::string Text(int column) const;
  int64_t Int(int column) const;

 private:
  friend class Database;
  Statement(Database& db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  Database& db_;
  sqlite3_stmt* stmt_;
};

// The service's SQLite database in WAL mode, so that a killed process never
// leaves it damaged and committed writes survive. One connection, used by one
// thread at a time through Lock(); statements are prepared once and cached.
// A second connection copies the log back into the database in the background,
// so that no request waits for a checkpoint's disk syncs.
class Database {
 public:
  // Opens or creates the file and its tables. Nothing and an error text on failure.
  static std::unique_ptr<Database> Open(const std::filesystem::path& file, std::string* error);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Exclusive use of the connection for the lifetime of the lock.
  [[nodiscard]] std::unique_lock<std::mutex> Lock() { return std::unique_lock(mutex_); }

  // A reset statement ready for binding; the caller holds the lock.
  Statement Prepare(const char* sql);
  void Execute(const char* sql);
  // Rows changed by the last INSERT, UPDATE or DELETE.
  int Changes() const;

  // BEGIN IMMEDIATE ... COMMIT; rolled back when destroyed uncommitted.
  class Transaction {
   public:
    explicit Transaction(Database& db);
    ~Transaction();
    void Commit();

   private:
    Database& db_;
    bool done_ = false;
  };

  // "ok", or the problems SQLite finds in the file. Takes the lock itself.
  std::string IntegrityCheck();

 private:
  friend class Statement;
  explicit Database(sqlite3* handle) : handle_(handle) {}
  [[noreturn]] void Fail(std::string_view what) const;
  void StartCheckpoints(const std::filesystem::path& file);

  sqlite3* handle_;
  std::mutex mutex_;
  std::unordered_map<const char*, sqlite3_stmt*> statements_;

  std::mutex checkpointMutex_;
  std::condition_variable checkpointWake_;
  bool stopping_ = false;
  std::thread checkpointer_;
};

}  // namespace kestrel::service
