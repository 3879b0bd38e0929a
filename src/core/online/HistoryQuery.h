#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ServiceEndpoints.h"
#include "online/PatternDownload.h"

namespace kestrel {

class Fetcher;
class FetchProgress;

inline constexpr const char* kHistoryCaption = "歷史盤型查詢";
inline constexpr const char* kHistoryFetching = "歷史盤型查詢 (取得資料中...)";
inline constexpr const char* kHistoryOffline = "歷史盤型查詢 (網路連線中斷...)";
inline constexpr const char* kHistoryRange = "歷史盤型查詢 (取得資料區間...)";
inline constexpr const char* kHistoryQuerying = "歷史盤型查詢 (查詢月資料...)";
inline constexpr const char* kHistoryNoMonth = "歷史盤型查詢 (該月份無資料...)";
inline constexpr const char* kPictureFile = "tmp.gif";
// A picture below this size is an error page.
inline constexpr size_t kMinPictureBytes = 10240;

// The years reply split at its commas; an item after the last comma is dropped.
std::vector<std::string> SplitYears(std::string_view reply);

// One day of the month reply: date, open, high, low, close, volume, change,
// range, main pattern, secondary pattern (the last runs to the end of the
// record), all as received.
using MonthRecord = std::array<std::string, 10>;

// Records ended by "|" (text after the last one is ignored); missing fields
// stay empty.
std::vector<MonthRecord> ParseMonthRecords(std::string_view text);

// The years and the data range, fetched by the first opening of the dialog and
// kept for the run; a failed fetch leaves it empty so the next opening tries
// again. Not thread-safe (user-interface thread).
class HistoryCatalogue {
 public:
  // Fills the cache when empty; every caption goes to `setCaption`.
  void Fill(Fetcher& fetcher, const ServiceBases& bases,
            const std::function<void(const std::string&)>& setCaption);

  bool filled() const { return filled_; }
  const std::vector<std::string>& years() const { return years_; }
  const std::string& rangeText() const { return rangeText_; }

 private:
  bool filled_ = false;
  std::vector<std::string> years_;
  std::string rangeText_;
};

struct MonthQuery {
  std::string caption;
  std::vector<MonthRecord> rows;
};

// "查詢" for a year text and a two-digit month.
MonthQuery QueryMonth(Fetcher& fetcher, const ServiceBases& bases, const std::string& year,
                      const std::string& month);

// The picture of a day "YYYY/MM/DD": every "/" becomes "-", then ".gif";
// nothing for a text that is not a date.
std::optional<std::string> PictureUrl(const ServiceBases& bases, const std::string& dayText);

// Fetches the picture and writes it to `gifPath` when the reply holds at least
// kMinPictureBytes; false means "找不到圖檔".
bool FetchPicture(Fetcher& fetcher, const ServiceBases& bases, const std::string& dayText,
                  const std::filesystem::path& gifPath, FetchProgress* progress);

inline constexpr const char* kPictureMissing = "找不到圖檔";
inline constexpr const char* kSelectDayFirst = "請用滑鼠選擇日期查看";

// "載入盤勢": the day of the selected row, or the refusal to show.
DayPick PickHistoryDay(const MonthRecord* selected, bool sessionRunning);

}  // namespace kestrel
