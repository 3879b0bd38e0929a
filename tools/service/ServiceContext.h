#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>

#include "service/AccountStore.h"
#include "service/Classroom.h"
#include "service/DataFolder.h"
#include "service/DateText.h"
#include "service/PictureCache.h"
#include "service/Reply.h"
#include "service/RequestTarget.h"

namespace kestrel::service {

// What the pages work on. The clock and the random pick are seams for tests.
struct ServiceContext {
  DataFolder& data;
  AccountStore& accounts;
  Classroom& classroom;
  PictureCache& pictures;
  std::function<Date()> today = Today;
  // A uniformly random index below `count` (count > 0).
  std::function<size_t(size_t count)> randomIndex;
};

using Page = std::function<Reply(const RequestTarget&)>;
// Page path ("/net_Login_Future.php") to its handler.
using PageTable = std::unordered_map<std::string, Page>;

}  // namespace kestrel::service
