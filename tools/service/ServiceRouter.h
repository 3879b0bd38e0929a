#pragma once

#include <string_view>

#include "service/AccountPages.h"
#include "service/ClassroomPages.h"
#include "service/DayPages.h"
#include "service/HelpPages.h"
#include "service/HistoryPages.h"
#include "service/ServiceContext.h"

namespace kestrel::service {

// Turns one GET request target into its reply: the pages by exact path, the
// file folders /DATA/, /TICKDATA/, /DB/ and /HISDATA_6631/, and a 404 page for
// everything else. Never throws: a database failure answers 500 "ERROR".
// Thread-safe.
class ServiceRouter {
 public:
  explicit ServiceRouter(ServiceContext& context, WarningSink log = nullptr,
                         TargetLimits limits = {});

  Reply Route(std::string_view rawTarget);

 private:
  Reply Dispatch(const RequestTarget& target);

  ServiceContext& context_;
  WarningSink log_;
  TargetLimits limits_;
  AccountPages accountPages_;
  DayPages dayPages_;
  HistoryPages historyPages_;
  ClassroomPages classroomPages_;
  HelpPages helpPages_;
  PageTable pages_;
};

}  // namespace kestrel::service
