#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>

#include "service/AccountStore.h"
#include "service/Classroom.h"
#include "service/DataFolder.h"
#include "service/Database.h"
#include "service/PasswordHasher.h"
#include "service/PictureCache.h"
#include "service/ServiceContext.h"
#include "service/ServiceRouter.h"

namespace kestrel::service {

struct ServiceOptions {
  PasswordHasher::Cost hashCost = PasswordHasher::Cost::kInteractive;
  std::function<Date()> today;         // empty: the local calendar
  std::optional<uint32_t> randomSeed;  // empty: seeded from the system
  WarningSink log;                     // empty: standard error
  bool createDatabase = false;         // otherwise the database must exist
};

// Everything one data folder's service is made of, wired together: the
// database, accounts, classroom, pictures and the request router.
class PracticeService {
 public:
  static std::unique_ptr<PracticeService> Open(const std::filesystem::path& folder,
                                               ServiceOptions options, std::string* error);

  DataFolder& data() { return data_; }
  Database& database() { return *database_; }
  AccountStore& accounts() { return *accounts_; }
  Classroom& classroom() { return *classroom_; }
  ServiceRouter& router() { return *router_; }
  const WarningSink& log() const { return log_; }

 private:
  PracticeService(const std::filesystem::path& folder, ServiceOptions options);
  size_t RandomIndex(size_t count);

  WarningSink log_;
  DataFolder data_;
  PasswordHasher hasher_;
  std::unique_ptr<Database> database_;
  std::unique_ptr<AccountStore> accounts_;
  std::unique_ptr<Classroom> classroom_;
  std::unique_ptr<PictureCache> pictures_;
  std::unique_ptr<ServiceContext> context_;
  std::unique_ptr<ServiceRouter> router_;
  std::mutex randomMutex_;
  std::mt19937 random_;
};

}  // namespace kestrel::service
