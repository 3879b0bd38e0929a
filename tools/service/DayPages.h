#pragma once

#include <optional>
#include <string>

#include "service/ServiceContext.h"

namespace kestrel::service {

// Day file names, the trading days before a day, pattern days, the training
// list and the software version.
//
// File-name replies: the archive name, or "3" id or password missing, "0" wrong,
// "1" not logged in, "4" no date, "5" account expired, "2" no archive of that day.
// Pattern replies: a date, or "3", "0", "1" as above, "4" no valid type, "2" no
// day of that type in the range (or a malformed range).
class DayPages {
 public:
  // At most this many days fit the 400 bytes the client reads of the reply.
  static constexpr size_t kMaxDaysBefore = 36;

  explicit DayPages(ServiceContext& context) : context_(context) {}
  void Register(PageTable& pages);

  Reply FileName(const RequestTarget& request);
  Reply FileDates(const RequestTarget& request);
  Reply PatternDay(const RequestTarget& request);
  Reply TrainingList(const RequestTarget& request);
  Reply SoftwareVersion(const RequestTarget& request);

 private:
  // The refusal code of a download request ("3", "0" or "1"), or nothing when
  // the account may download (then `account` receives it when given).
  std::optional<std::string> Refusal(const RequestTarget& request, Account* account = nullptr);

  ServiceContext& context_;
};

}  // namespace kestrel::service
