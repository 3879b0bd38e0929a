#include "service/DayPages.h"

#include <algorithm>

#include "service/TextLines.h"

namespace kestrel::service {

void DayPages::Register(PageTable& pages) {
  pages["/net_GetFileName_Future.php"] = [this](const RequestTarget& r) { return FileName(r); };
  pages["/net_GetFileDate_Future.php"] = [this](const RequestTarget& r) { return FileDates(r); };
  pages["/net_GetFileNameFromType.asp"] = [this](const RequestTarget& r) { return PatternDay(r); };
  pages["/net_GetTrainData_U.asp"] = [this](const RequestTarget& r) { return TrainingList(r); };
  pages["/net_GetSoftVer_Future.php"] = [this](const RequestTarget& r) {
    return SoftwareVersion(r);
  };
}

std::optional<std::string> DayPages::Refusal(const RequestTarget& request, Account* account) {
  const std::string id = request.Get("id"), password = request.Get("pwd");
  if (id.empty() || password.empty()) return "3";
  const Auth auth = context_.accounts.Authenticate(id, password);
  if (!auth.ok()) return "0";
  if (!auth.account.loggedIn) return "1";
  if (account != nullptr) *account = auth.account;
  return std::nullopt;
}

Reply DayPages::FileName(const RequestTarget& request) {
  Account account;
  if (auto refusal = Refusal(request, &account)) return Reply::Text(*refusal);
  const std::string text = request.Get("SelDate");
  if (text.empty()) return Reply::Text("4");
  if (account.ExpiredOn(context_.today())) return Reply::Text("5");
  const auto date = ParseDate(text);
  if (!date || !context_.data.HasDayArchive(*date)) return Reply::Text("2");
  return Reply::Text(DayArchiveName(*date));
}

Reply DayPages::FileDates(const RequestTarget& request) {
  if (Refusal(request)) return Reply::Text("ERROR");
  const auto date = ParseDate(request.Get("SelDate"));
  const std::string countText = request.Get("SelDays");
  const auto wanted = countText.empty() ? std::optional<int64_t>(15) : ParseInteger(countText);
  if (!date || !wanted || *wanted <= 0) return Reply::Text("ERROR");
  const auto count =
      static_cast<std::ptrdiff_t>(std::min<size_t>(static_cast<size_t>(*wanted), kMaxDaysBefore));
  const auto days = context_.data.TradingDays();
  const auto end = std::lower_bound(days->begin(), days->end(), *date);
  const auto begin = end - std::min(count, end - days->begin());
  std::string reply;
  for (auto it = begin; it != end; ++it) reply += FormatDate(*it) + ",";
  return Reply::Text(reply);
}

Reply DayPages::PatternDay(const RequestTarget& request) {
  if (auto refusal = Refusal(request)) return Reply::Text(*refusal);
  const auto type = ParseInteger(request.Get("theType"));
  if (!type || *type < 0 || *type > kShortSqueeze) return Reply::Text("4");
  std::optional<Date> from, to;
  const std::string start = request.Get("startdate"), end = request.Get("enddate");
  if (!start.empty() && !(from = ParseDate(start))) return Reply::Text("2");
  if (!end.empty() && !(to = ParseDate(end))) return Reply::Text("2");
  // The client does not check the order of the two dates.
  if (from && to && *to < *from) std::swap(from, to);
  std::vector<Date> candidates =
      context_.data.catalogue()->Matching(static_cast<int>(*type), from, to);
  // Only days that can be downloaded.
  while (!candidates.empty()) {
    const size_t pick = context_.randomIndex(candidates.size());
    if (context_.data.HasDayArchive(candidates[pick]))
      return Reply::Text(FormatDate(candidates[pick]));
    candidates[pick] = candidates.back();
    candidates.pop_back();
  }
  return Reply::Text("2");
}

Reply DayPages::TrainingList(const RequestTarget&) {
  return Reply::Utf8Text(FormatTrainingList(*context_.data.training()));
}

Reply DayPages::SoftwareVersion(const RequestTarget&) {
  return Reply::Text(context_.data.config()->VersionReply());
}

}  // namespace kestrel::service
