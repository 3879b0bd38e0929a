#pragma once

#include <optional>

#include "service/ServiceContext.h"

namespace kestrel::service {

// The students' and the instructor's classroom pages. Each checks id and
// password and the rights ("3" for the student pages, "4" for the instructor's)
// and answers "ERROR" otherwise; the rest is the classroom state machine.
class ClassroomPages {
 public:
  explicit ClassroomPages(ServiceContext& context) : context_(context) {}
  void Register(PageTable& pages);

 private:
  std::optional<Account> Member(const RequestTarget& request, std::string_view rights);
  Reply StudentInOut(const RequestTarget& request);
  Reply StudentPoll(const RequestTarget& request);
  Reply MasterRead(const RequestTarget& request);
  Reply MasterSelDate(const RequestTarget& request);

  ServiceContext& context_;
};

}  // namespace kestrel::service
