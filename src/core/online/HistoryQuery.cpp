#include "online/HistoryQuery.h"

#include "common/FileUtil.h"
#include "online/DayDownload.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace {

constexpr const char* kYearsPath = "net_GetHisYear.asp";
constexpr const char* kRangePath = "net_GetHisRange.asp";
constexpr const char* kMonthPath = "net_GetHisMonthData.asp";

}  // namespace

std::vector<std::string> SplitYears(std::string_view reply) {
  std::vector<std::string> years;
  size_t start = 0;
  for (size_t comma = reply.find(','); comma != std::string_view::npos;
       start = comma + 1, comma = reply.find(',', start))
    years.emplace_back(reply.substr(start, comma - start));
  return years;
}

std::vector<MonthRecord> ParseMonthRecords(std::string_view text) {
  std::vector<MonthRecord> records;
  size_t start = 0;
  for (size_t bar = text.find('|'); bar != std::string_view::npos;
       start = bar + 1, bar = text.find('|', start)) {
    std::string_view record = text.substr(start, bar - start);
    MonthRecord fields;
    for (size_t i = 0; i < fields.size(); ++i) {
      const size_t comma = i + 1 < fields.size() ? record.find(',') : std::string_view::npos;
      fields[i] = std::string(record.substr(0, comma));
      if (comma == std::string_view::npos) break;
      record.remove_prefix(comma + 1);
    }
    records.push_back(std::move(fields));
  }
  return records;
}

void HistoryCatalogue::Fill(Fetcher& fetcher, const ServiceBases& bases,
                            const std::function<void(const std::string&)>& setCaption) {
  if (filled_) return;
  setCaption(kHistoryFetching);
  std::string buffer;
  if (!fetcher.Fetch(ServiceUrl(bases.secondary, kYearsPath), buffer)) {
    setCaption(kHistoryOffline);
    return;
  }
  std::vector<std::string> years = SplitYears(ReplyText(buffer));
  setCaption(kHistoryRange);
  if (!fetcher.Fetch(ServiceUrl(bases.secondary, kRangePath), buffer)) {
    setCaption(kHistoryOffline);
    return;
  }
  years_ = std::move(years);
  rangeText_ = ReplyText(buffer);
  filled_ = true;
  setCaption(kHistoryCaption);
}

MonthQuery QueryMonth(Fetcher& fetcher, const ServiceBases& bases, const std::string& year,
                      const std::string& month) {
  MonthQuery query;
  ServiceUrl url(bases.secondary, kMonthPath);
  url.Param("theYear", year).Param("theMonth", month);
  std::string buffer;
  if (!fetcher.Fetch(url, buffer)) {
    query.caption = kHistoryOffline;
    return query;
  }
  const std::string reply = FullReplyText(buffer);
  if (reply == "EMPTY" || reply == "ERROR") {
    query.caption = kHistoryNoMonth;
    return query;
  }
  query.caption = kHistoryCaption;
  query.rows = ParseMonthRecords(reply);
  return query;
}

std::optional<std::string> PictureUrl(const ServiceBases& bases, const std::string& dayText) {
  if (!ChooseDayFromText(dayText)) return std::nullopt;
  std::string name = dayText;
  for (char& c : name)
    if (c == '/') c = '-';
  return FileUrl(bases.primary, "/HISDATA_6631/", name + ".gif");
}

bool FetchPicture(Fetcher& fetcher, const ServiceBases& bases, const std::string& dayText,
                  const std::filesystem::path& gifPath, FetchProgress* progress) {
  const std::optional<std::string> url = PictureUrl(bases, dayText);
  if (!url) return false;
  FetchOptions options;
  options.maxBytes = kMaxFileBytes;
  options.progress = progress;
  std::string buffer;
  if (!fetcher.Fetch(*url, buffer, options) || buffer.size() < kMinPictureBytes) return false;
  buffer.pop_back();  // the terminating zero is no part of the picture
  return WriteFileAtomically(gifPath, buffer).empty();
}

DayPick PickHistoryDay(const MonthRecord* selected, bool sessionRunning) {
  DayPick pick;
  if (selected == nullptr) {
    pick.message = UserMessage{kSelectDayFirst, kCaptionNotice};
  } else if (sessionRunning) {
    pick.message = UserMessage{"目前盤勢進行中，請先結束盤勢", kCaptionWarning};
  } else if (!(pick.day = ChooseDayFromText((*selected)[0]))) {
    pick.message = UserMessage{kDownNoData, kCaptionError};
  }
  return pick;
}

}  // namespace kestrel
