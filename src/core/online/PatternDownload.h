#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/ServiceEndpoints.h"
#include "online/AccountState.h"
#include "online/ChosenDay.h"
#include "trading/UserMessage.h"

namespace kestrel {

class Fetcher;
struct AppSettings;

// The pattern commands: type, command number, menu text.
struct PatternKind {
  int type;
  int command;
  const char* text;
};
inline constexpr PatternKind kPatternKinds[] = {
    {0, 32878, "隨機日期"}, {1, 32879, "上漲盤型"}, {2, 32880, "下跌盤型"},
    {3, 32881, "震盪盤型"}, {4, 32882, "殺多盤型"}, {5, 32883, "軋空盤型"},
};

inline constexpr const char* kPatternDayPath = "net_GetFileNameFromType.asp";

// The pattern-day request, with the date range when SETRANGE is "1".
std::string PatternDayUrl(const ServiceBases& bases, const AccountState& account, int type,
                          const AppSettings& settings);

// A day the service picked, or the message to show instead.
struct DayPick {
  std::optional<ChosenDay> day;
  std::optional<UserMessage> message;
  bool hideDate = false;  // pattern days are replayed with their date hidden
};

// The pattern reply (fetch failure, a code, or a date) as the command reads it.
DayPick InterpretPatternReply(bool fetched, const std::string& reply);

// Sends the pattern-day request (with force reload) and reads the reply.
DayPick RequestPatternDay(Fetcher& fetcher, const ServiceBases& bases, const AccountState& account,
                          int type, const AppSettings& settings);

// The date-range dialog.
struct DateRangeForm {
  bool apply = false;  // "指定區間"
  std::string start;
  std::string end;
};

// What the dialog shows when it opens.
DateRangeForm OpenDateRangeDialog(const AppSettings& settings);

// The first failing check of the two dates, start first.
std::optional<UserMessage> ValidateDateRange(const DateRangeForm& form);

// "確定": SETRANGE follows the box; when both dates pass, the texts are stored
// as typed and the three keys are written to the settings file. The message
// keeps the dialog open.
std::optional<UserMessage> ConfirmDateRange(const DateRangeForm& form, AppSettings& settings,
                                            const std::filesystem::path& setupIni);

}  // namespace kestrel
