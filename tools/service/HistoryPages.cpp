#include "service/HistoryPages.h"

#include "service/TextLines.h"

namespace kestrel::service {

void HistoryPages::Register(PageTable& pages) {
  pages["/net_GetHisYear.asp"] = [this](const RequestTarget& r) { return Years(r); };
  pages["/net_GetHisRange.asp"] = [this](const RequestTarget& r) { return Range(r); };
  pages["/net_GetHisMonthData.asp"] = [this](const RequestTarget& r) { return Month(r); };
}

Reply HistoryPages::Years(const RequestTarget&) {
  std::string reply;
  for (int year : context_.data.catalogue()->Years()) reply += std::to_string(year) + ",";
  return Reply::Text(reply);
}

Reply HistoryPages::Range(const RequestTarget&) {
  const auto span = context_.data.catalogue()->Span();
  if (!span) return Reply::Text("EMPTY");
  return Reply::Text(FormatDate(span->first) + " ~ " + FormatDate(span->second));
}

Reply HistoryPages::Month(const RequestTarget& request) {
  const std::string yearText = request.Get("theYear"), monthText = request.Get("theMonth");
  const auto year = ParseInteger(yearText);
  const auto month = ParseInteger(monthText);
  const bool digitsOnly = !yearText.empty() && !monthText.empty() &&
                          yearText.find_first_not_of("0123456789") == std::string::npos &&
                          monthText.find_first_not_of("0123456789") == std::string::npos;
  if (!digitsOnly || yearText.size() != 4 || monthText.size() > 2 || !year || !month ||
      *month < 1 || *month > 12)
    return Reply::Text("ERROR");
  std::string reply;
  for (const CatalogueDay& day :
       context_.data.catalogue()->Month(static_cast<int>(*year), static_cast<int>(*month))) {
    reply += FormatDate(day.date) + "," + std::to_string(day.open) + "," +
             std::to_string(day.high) + "," + std::to_string(day.low) + "," +
             std::to_string(day.close) + "," + std::to_string(day.volume) + "," +
             std::to_string(day.change) + "," + std::to_string(day.range) + "," +
             std::string(MainPatternName(day.mainPattern)) + "," +
             std::string(SecondaryPatternName(day.secondaryPattern)) + "|";
  }
  return Reply::Text(reply.empty() ? "EMPTY" : reply);
}

Reply HistoryPages::Picture(std::string_view fileName) {
  constexpr std::string_view kSuffix = ".gif";
  if (fileName.size() != 10 + kSuffix.size() || fileName.substr(10) != kSuffix ||
      fileName[4] != '-')
    return Reply::NotFound();
  const auto date = ParseDate(fileName.substr(0, 10));
  if (!date) return Reply::NotFound();
  const auto gif = context_.pictures.Get(*date);
  if (!gif) return Reply::NotFound();
  Reply reply;
  reply.contentType = "image/gif";
  reply.body = *gif;
  return reply;
}

}  // namespace kestrel::service
