#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/Catalogue.h"
#include "service/DateText.h"
#include "service/ServiceConfig.h"
#include "service/TrainingList.h"

namespace kestrel::service {

// Folders whose files are served as they are.
enum class ServedFolder { kDayData, kBookData, kTrainingAndUpdates };

using WarningSink = std::function<void(const std::string&)>;

// The data folder: the day generator's archives, catalogue, training list and
// trend files, the service's configuration and its database. The text files
// are read again whenever they change on disk, so a running service picks up
// newly generated days. Thread-safe.
class DataFolder {
 public:
  static constexpr const char* kDatabaseName = "kestrel.db";
  static constexpr const char* kCatalogueName = "catalogue.txt";
  static constexpr const char* kTrainingName = "training.txt";
  static constexpr const char* kConfigName = "service.conf";

  explicit DataFolder(std::filesystem::path root, WarningSink warn = nullptr);
  ~DataFolder();

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path DatabaseFile() const { return root_ / kDatabaseName; }
  std::filesystem::path FolderPath(ServedFolder folder) const;
  std::filesystem::path TrendFile(const Date& date) const;

  // The named file of a served folder when the name is a plain, safe file name
  // and a regular file of that name exists.
  std::optional<std::filesystem::path> ServedFile(ServedFolder folder, std::string_view name) const;
  bool HasDayArchive(const Date& date) const;

  std::shared_ptr<const Catalogue> catalogue();
  // The trading days the service knows, sorted: the catalogue's days and the
  // days with a K-line archive in DATA/ (the generator writes those for the
  // days before its first day too, for the trainer's K-line completion).
  std::shared_ptr<const std::vector<Date>> TradingDays();
  std::shared_ptr<const std::vector<TrainingDay>> training();
  std::shared_ptr<const ServiceConfig> config();

 private:
  template <class T>
  struct Watched;

  std::filesystem::path root_;
  WarningSink warn_;
  std::unique_ptr<Watched<Catalogue>> catalogue_;
  std::unique_ptr<Watched<std::vector<TrainingDay>>> training_;
  std::unique_ptr<Watched<ServiceConfig>> config_;

  std::mutex daysMutex_;
  std::shared_ptr<const Catalogue> daysCatalogue_;
  int64_t daysFolderStamp_ = -1;
  std::shared_ptr<const std::vector<Date>> days_;
};

}  // namespace kestrel::service
