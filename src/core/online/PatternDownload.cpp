#include "online/PatternDownload.h"

#include "app/AppSettings.h"
#include "common/FileUtil.h"
#include "common/ProfileFile.h"
#include "common/TextCodec.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace {

constexpr const char* kStartFormat =
    "請使用正確日期格式\n\n2013/03/14或 2013-03-14\n\n月日小於十，前面請加 0";
constexpr const char* kEndFormat =
    "請使用正確日期格式\n\n2013/03/14 或 2013-03-14\n\n月日小於十，前面請加 0";
constexpr const char* kInvalidDate = "該日期可能無效，例如2月沒有29日";
constexpr const char* kDefaultStart = "2013/01/01";
constexpr const char* kDefaultEnd = "2013/12/31";

// Digits only: a letter never reads as part of a date.
int DigitsValue(std::string_view text) {
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<UserMessage> CheckRangeDate(const std::string& text, const char* formatMessage) {
  if (text.find_first_of("/-") == std::string::npos || Utf8Length(text) != 10)
    return UserMessage{formatMessage, kCaptionNotice};
  // Ten characters that are not all single bytes cannot hold a date.
  if (text.size() != 10 ||
      !IsValidCalendarDate(DigitsValue(text.substr(0, 4)), DigitsValue(text.substr(5, 2)),
                           DigitsValue(text.substr(8, 2))))
    return UserMessage{kInvalidDate, kCaptionNotice};
  return std::nullopt;
}

}  // namespace

std::string PatternDayUrl(const ServiceBases& bases, const AccountState& account, int type,
                          const AppSettings& settings) {
  ServiceUrl url = AccountUrl(bases.secondary, kPatternDayPath, account);
  url.Param("theType", type);
  if (settings.SETRANGE == "1")
    url.Param("startdate", settings.SETRANGE_START).Param("enddate", settings.SETRANGE_END);
  return url;
}

DayPick InterpretPatternReply(bool fetched, const std::string& reply) {
  DayPick pick;
  if (!fetched) {
    pick.message = UserMessage{"連線失敗，請稍後重試", kCaptionError};
    return pick;
  }
  if (reply == "0")
    pick.message = UserMessage{"無效的帳號密碼", kCaptionError};
  else if (reply == "1")
    pick.message = UserMessage{"尚未登入", kCaptionError};
  else if (reply == "2")
    pick.message = UserMessage{"目前資料庫查無該種盤型", kCaptionNotice};
  else if (reply == "3")
    pick.message = UserMessage{"帳號密碼空白", kCaptionError};
  else if (reply == "4")
    pick.message = UserMessage{"沒有指定盤型", kCaptionError};
  else if (reply.find('/') != std::string::npos && (pick.day = ChooseDayFromText(reply)))
    pick.hideDate = true;
  else
    pick.message = UserMessage{"未知錯誤，請重試", kCaptionError};
  return pick;
}

DayPick RequestPatternDay(Fetcher& fetcher, const ServiceBases& bases, const AccountState& account,
                          int type, const AppSettings& settings) {
  FetchOptions options;
  options.forceReload = true;
  std::string buffer;
  const bool fetched =
      fetcher.Fetch(PatternDayUrl(bases, account, type, settings), buffer, options);
  return InterpretPatternReply(fetched, fetched ? ReplyText(buffer) : std::string());
}

DateRangeForm OpenDateRangeDialog(const AppSettings& settings) {
  DateRangeForm form;
  form.apply = !(settings.SETRANGE.empty() || settings.SETRANGE == "0");
  form.start = settings.SETRANGE_START.empty() ? kDefaultStart : settings.SETRANGE_START;
  form.end = settings.SETRANGE_END.empty() ? kDefaultEnd : settings.SETRANGE_END;
  return form;
}

std::optional<UserMessage> ValidateDateRange(const DateRangeForm& form) {
  if (auto message = CheckRangeDate(form.start, kStartFormat)) return message;
  return CheckRangeDate(form.end, kEndFormat);
}

std::optional<UserMessage> ConfirmDateRange(const DateRangeForm& form, AppSettings& settings,
                                            const std::filesystem::path& setupIni) {
  settings.SETRANGE = std::string(form.apply ? "1" : "0");
  if (auto message = ValidateDateRange(form)) return message;
  settings.SETRANGE_START = form.start;
  settings.SETRANGE_END = form.end;
  MakeWritable(setupIni);
  WriteProfileString(setupIni, "UI", "SETRANGE", settings.SETRANGE);
  WriteProfileString(setupIni, "UI", "SETRANGE_START", settings.SETRANGE_START);
  WriteProfileString(setupIni, "UI", "SETRANGE_END", settings.SETRANGE_END);
  return std::nullopt;
}

}  // namespace kestrel
