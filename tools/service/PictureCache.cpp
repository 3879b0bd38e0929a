#include "service/PictureCache.h"

#include <sys/stat.h>

#include "common/FileUtil.h"
#include "service/TrendPicture.h"

namespace kestrel::service {

std::shared_ptr<const std::string> PictureCache::Get(const Date& date) {
  const std::filesystem::path trend = data_.TrendFile(date);
  struct stat info {};
  if (::stat(trend.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  const int64_t stamp = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec +
                        static_cast<int64_t>(info.st_size);

  // One lock over rendering too: a picture takes milliseconds and is made once.
  std::lock_guard lock(mutex_);
  auto it = entries_.find(date);
  if (it != entries_.end() && it->second.stamp == stamp) {
    recent_.splice(recent_.begin(), recent_, it->second.use);
    return it->second.gif;
  }
  const std::optional<std::string> text = ReadWholeFile(trend);
  if (!text) return nullptr;
  const std::shared_ptr<const Catalogue> catalogue = data_.catalogue();
  std::string gif = RenderTrendPicture(date, ParseTrendFile(*text), catalogue->Find(date));
  if (gif.empty()) return nullptr;

  if (it != entries_.end()) {
    recent_.erase(it->second.use);
    entries_.erase(it);
  }
  while (entries_.size() >= capacity_ && !recent_.empty()) {
    entries_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(date);
  Entry entry{stamp, std::make_shared<const std::string>(std::move(gif)), recent_.begin()};
  return entries_.emplace(date, std::move(entry)).first->second.gif;
}

}  // namespace kestrel::service
