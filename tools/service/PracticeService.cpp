#include "service/PracticeService.h"

#include <iostream>

namespace kestrel::service {

namespace fs = std::filesystem;

namespace {

WarningSink StandardError() {
  return [](const std::string& text) { std::cerr << "kestrel-service: " << text << std::endl; };
}

}  // namespace

PracticeService::PracticeService(const fs::path& folder, ServiceOptions options)
    : log_(options.log ? options.log : StandardError()),
      data_(folder, log_),
      hasher_(options.hashCost) {
  if (options.randomSeed) {
    random_.seed(*options.randomSeed);
  } else {
    std::random_device device;
    random_.seed(device());
  }
}

std::unique_ptr<PracticeService> PracticeService::Open(const fs::path& folder,
                                                       ServiceOptions options, std::string* error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    if (error != nullptr) *error = "no data folder " + folder.string();
    return nullptr;
  }
  const fs::path file = folder / DataFolder::kDatabaseName;
  if (!options.createDatabase && !fs::exists(file, ec)) {
    if (error != nullptr)
      *error = "no database in " + folder.string() + ": run \"kestrel-service init --data " +
               folder.string() + "\" first";
    return nullptr;
  }
  std::unique_ptr<PracticeService> service(new PracticeService(folder, options));
  service->database_ = Database::Open(file, error);
  if (!service->database_) return nullptr;
  service->accounts_ = std::make_unique<AccountStore>(*service->database_, service->hasher_);
  service->classroom_ = std::make_unique<Classroom>(*service->database_);
  service->pictures_ = std::make_unique<PictureCache>(service->data_);
  PracticeService* self = service.get();
  service->context_ = std::make_unique<ServiceContext>(
      ServiceContext{service->data_, *service->accounts_, *service->classroom_, *service->pictures_,
                     options.today ? options.today : std::function<Date()>(Today),
                     [self](size_t count) { return self->RandomIndex(count); }});
  service->router_ = std::make_unique<ServiceRouter>(*service->context_, service->log_);
  return service;
}

size_t PracticeService::RandomIndex(size_t count) {
  std::lock_guard lock(randomMutex_);
  return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
}

}  // namespace kestrel::service
