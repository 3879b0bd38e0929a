#pragma once

#include <string_view>

#include "service/ServiceContext.h"

namespace kestrel::service {

// The historical query: years, data range, a month of the catalogue and the
// day pictures.
//
// Years: "2013,2012," (newest first, each followed by a comma), "" when the
// catalogue is empty. Range: "2012/01/02 ~ 2013/12/31" or "EMPTY". Month:
// "date,open,high,low,close,volume,change,range,main,secondary|" per day with
// the pattern names, "EMPTY" for a month without days, "ERROR" for a missing
// or malformed year or month.
class HistoryPages {
 public:
  explicit HistoryPages(ServiceContext& context) : context_(context) {}
  void Register(PageTable& pages);

  Reply Years(const RequestTarget& request);
  Reply Range(const RequestTarget& request);
  Reply Month(const RequestTarget& request);
  // "2013-05-06.gif" of the picture folder; 404 for any other name or a day
  // without a trend file.
  Reply Picture(std::string_view fileName);

 private:
  ServiceContext& context_;
};

}  // namespace kestrel::service
