#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "service/DataFolder.h"
#include "service/DateText.h"

namespace kestrel::service {

// Day pictures rendered from the trend files on first request and kept in
// memory (a trend file that changes is rendered again). Thread-safe.
class PictureCache {
 public:
  explicit PictureCache(DataFolder& data, size_t capacity = 256)
      : data_(data), capacity_(capacity) {}

  // The GIF of the day, or nullptr when the day has no usable trend file.
  std::shared_ptr<const std::string> Get(const Date& date);

 private:
  struct Entry {
    int64_t stamp = 0;
    std::shared_ptr<const std::string> gif;
    std::list<Date>::iterator use;
  };

  DataFolder& data_;
  size_t capacity_;
  std::mutex mutex_;
  std::map<Date, Entry> entries_;
  std::list<Date> recent_;  // most recently used first
};

}  // namespace kestrel::service
