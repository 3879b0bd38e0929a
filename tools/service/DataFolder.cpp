#include "service/DataFolder.h"

#include <sys/stat.h>

#include <algorithm>

#include "common/FileUtil.h"
#include "service/FileNames.h"

namespace kestrel::service {

namespace fs = std::filesystem;

// A parsed text file, parsed again when its size or modification time changes.
template <class T>
struct DataFolder::Watched {
  using Parser = std::function<T(std::string_view, std::vector<std::string>*)>;

  Watched(fs::path file, Parser parse) : path(std::move(file)), parser(std::move(parse)) {}

  std::shared_ptr<const T> Get(const WarningSink& warn) {
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    const int64_t stamp = exists ? info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec : -1;
    const int64_t size = exists ? static_cast<int64_t>(info.st_size) : -1;
    std::lock_guard lock(mutex);
    if (value && stamp == lastStamp && size == lastSize) return value;
    std::vector<std::string> warnings;
    const std::optional<std::string> text = exists ? ReadWholeFile(path) : std::nullopt;
    value = std::make_shared<const T>(parser(text.value_or(""), &warnings));
    lastStamp = stamp;
    lastSize = size;
    if (warn)
      for (const std::string& w : warnings) warn(path.filename().string() + " " + w);
    return value;
  }

  fs::path path;
  Parser parser;
  std::mutex mutex;
  std::shared_ptr<const T> value;
  int64_t lastStamp = -2;
  int64_t lastSize = -2;
};

DataFolder::DataFolder(fs::path root, WarningSink warn)
    : root_(std::move(root)), warn_(std::move(warn)) {
  catalogue_ = std::make_unique<Watched<Catalogue>>(
      root_ / kCatalogueName,
      [](std::string_view text, std::vector<std::string>* w) { return Catalogue::Parse(text, w); });
  training_ = std::make_unique<Watched<std::vector<TrainingDay>>>(
      root_ / kTrainingName, [](std::string_view text, std::vector<std::string>* w) {
        return ParseTrainingList(text, w);
      });
  config_ = std::make_unique<Watched<ServiceConfig>>(
      root_ / kConfigName, [](std::string_view text, std::vector<std::string>* w) {
        return ServiceConfig::Parse(text, w);
      });
}

DataFolder::~DataFolder() = default;

fs::path DataFolder::FolderPath(ServedFolder folder) const {
  switch (folder) {
    case ServedFolder::kDayData: return root_ / "DATA";
    case ServedFolder::kBookData: return root_ / "TICKDATA";
    case ServedFolder::kTrainingAndUpdates: return root_ / "DB";
  }
  return root_ / "DATA";
}

fs::path DataFolder::TrendFile(const Date& date) const {
  return root_ / "TREND" / (DateKey(date) + ".txt");
}

std::optional<fs::path> DataFolder::ServedFile(ServedFolder folder, std::string_view name) const {
  if (!IsSafeFileName(name)) return std::nullopt;
  fs::path path = FolderPath(folder) / std::string(name);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  return path;
}

bool DataFolder::HasDayArchive(const Date& date) const {
  return ServedFile(ServedFolder::kDayData, DayArchiveName(date)).has_value();
}

std::shared_ptr<const Catalogue> DataFolder::catalogue() {
  return catalogue_->Get(warn_);
}

std::shared_ptr<const std::vector<Date>> DataFolder::TradingDays() {
  std::shared_ptr<const Catalogue> current = catalogue();
  const fs::path folder = FolderPath(ServedFolder::kDayData);
  struct stat info {};
  const int64_t stamp = ::stat(folder.c_str(), &info) == 0
                            ? info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec
                            : -1;
  std::lock_guard lock(daysMutex_);
  // A file added to or removed from DATA/ changes the folder's time.
  if (days_ && current == daysCatalogue_ && stamp == daysFolderStamp_) return days_;
  std::vector<Date> days;
  for (const CatalogueDay& day : current->days()) days.push_back(day.date);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    // K_YYYY_MM_DD.zip
    if (name.size() != 16 || name.compare(0, 2, "K_") != 0 || name.compare(12, 4, ".zip") != 0)
      continue;
    std::string text = name.substr(2, 10);
    if (text[4] != '_' || text[7] != '_') continue;
    text[4] = text[7] = '/';
    if (auto date = ParseDate(text)) days.push_back(*date);
  }
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  days_ = std::make_shared<const std::vector<Date>>(std::move(days));
  daysCatalogue_ = std::move(current);
  daysFolderStamp_ = stamp;
  return days_;
}

std::shared_ptr<const std::vector<TrainingDay>> DataFolder::training() {
  return training_->Get(warn_);
}

std::shared_ptr<const ServiceConfig> DataFolder::config() {
  return config_->Get(warn_);
}

}  // namespace kestrel::service
