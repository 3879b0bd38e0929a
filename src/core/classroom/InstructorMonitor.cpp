#include "classroom/InstructorMonitor.h"

#include "classroom/HandOffQueue.h"
#include "classroom/InterruptibleSleeper.h"
#include "common/Clock.h"
#include "common/Prompter.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace {

constexpr const char* kMasterRead = "net_MasterRead.asp";
constexpr const char* kMasterSelDate = "net_MasterSelDate.asp";
constexpr const char* kMasterOpen = "net_MasterOpen.asp";
constexpr const char* kMasterClose = "net_MasterClose.asp";
constexpr const char* kUnlockUser = "net_UnlockUser.asp";

}  // namespace

InstructorMonitor::InstructorMonitor(MonitorConfig config, Fetcher& fetcher, MonotonicClock& clock,
                                     InterruptibleSleeper& sleeper, MonitorWindow& window)
    : config_(std::move(config)),
      fetcher_(fetcher),
      clock_(clock),
      sleeper_(sleeper),
      window_(window) {}

InstructorMonitor::~InstructorMonitor() {
  Stop();
}

void InstructorMonitor::Start() {
  std::lock_guard lock(threadMutex_);
  if (thread_.joinable() || stopping_.load()) return;
  thread_ = std::thread(&InstructorMonitor::Run, this);
}

void InstructorMonitor::Stop() {
  stopping_ = true;
  sleeper_.Interrupt();
  fetcher_.Abort();
  window_.Abandon();
  std::thread finishing;
  {
    std::lock_guard lock(threadMutex_);
    finishing = std::move(thread_);
  }
  if (finishing.joinable()) finishing.join();
}

bool InstructorMonitor::Running() const {
  std::lock_guard lock(threadMutex_);
  return thread_.joinable() && !stopping_.load();
}

void InstructorMonitor::Run() {
  while (!stopping_.load()) {
    Pass();
    sleeper_.SleepMs(kMonitorStepMs);
  }
}

void InstructorMonitor::Pass() {
  // Taken, not read and reset later: a press during the send is kept.
  switch (request_.exchange(kRequestNone)) {
    case kRequestNone: Refresh(); break;
    case kRequestAssign:
      if (!AssignedDate().empty()) SendRequest(kMasterSelDate, true, kMonitorDateFailed);
      break;
    case kRequestOpen: SendRequest(kMasterOpen, false, kMonitorStateFailed); break;
    case kRequestClose: SendRequest(kMasterClose, false, kMonitorStateFailed); break;
    default: break;
  }
  window_.AdvanceTitle();
}

void InstructorMonitor::Refresh() {
  const uint32_t now = clock_.NowMs();
  if (refreshed_ && now - lastRefresh_ <= kMonitorRefreshMs) return;
  ServiceUrl url = AccountUrl(config_.bases.primary, kMasterRead, config_.account);
  url.Param("sort", sortByResult_.load() ? "1" : "0");
  FetchOptions options;
  options.maxBytes = kMaxFileBytes;
  std::string buffer;
  if (!fetcher_.Fetch(url, buffer, options)) {
    if (!stopping_.load()) window_.ShowMessage(kMonitorOffline, kCaptionError);
    return;
  }
  const std::string reply = FullReplyText(buffer);
  if (reply.find("ERROR") == std::string::npos)
    window_.Refill(ParseClassReply(reply), clearList_.exchange(false));
  refreshed_ = true;
  lastRefresh_ = now;
}

void InstructorMonitor::SendRequest(const char* path, bool withDate, const char* refused) {
  ServiceUrl url = AccountUrl(config_.bases.primary, path, config_.account);
  if (withDate) url.Param("theDate", AssignedDate());
  std::string buffer;
  if (!fetcher_.Fetch(url, buffer)) {
    if (!stopping_.load()) window_.ShowMessage(kMonitorOffline, kCaptionError);
    return;
  }
  if (!ReplyText(buffer).empty()) window_.ShowMessage(refused, kCaptionError);
}

void InstructorMonitor::PressAssign(Prompter& prompter,
                                    const std::function<std::optional<ChosenDay>()>& pickDay) {
  if (prompter.Ask(kConfirmAssign, kCaptionNotice, PromptButtons::YesNo) != PromptAnswer::Yes)
    return;
  const std::optional<ChosenDay> day = pickDay();
  if (!day) return;
  {
    std::lock_guard lock(dateMutex_);
    assignedDate_ = day->chosenDate;
  }
  request_ = kRequestAssign;
}

void InstructorMonitor::PressOpen(Prompter& prompter) {
  if (prompter.Ask(kConfirmOpen, kCaptionNotice, PromptButtons::YesNo) == PromptAnswer::Yes)
    request_ = kRequestOpen;
}

void InstructorMonitor::PressClose(Prompter& prompter) {
  if (prompter.Ask(kConfirmClose, kCaptionNotice, PromptButtons::YesNo) == PromptAnswer::Yes)
    request_ = kRequestClose;
}

void InstructorMonitor::SetSortByResult(bool sort) {
  sortByResult_ = sort;
  clearList_ = true;
}

std::string InstructorMonitor::AssignedDate() const {
  std::lock_guard lock(dateMutex_);
  return assignedDate_;
}

void QueuedMonitorWindow::Refill(const std::vector<ClassRecord>& records, bool) {
  // The table follows the reply whatever the flag; the flag only matters to a
  // view that keeps rows of its own.
  queue_.Call([&] { table_.Refill(records); });
}

void QueuedMonitorWindow::AdvanceTitle() {
  queue_.Call([&] {
    const std::string title = MonitorTitle(titleStep_++);
    if (setTitle_) setTitle_(title);
  });
}

void QueuedMonitorWindow::ShowMessage(const std::string& text, const std::string& caption) {
  queue_.Call([&] { prompter_.Message(text, caption); });
}

void QueuedMonitorWindow::Abandon() {
  queue_.Abandon();
}

void PressUnlock(Fetcher& fetcher, const ServiceBases& bases, const std::string* selectedAccount,
                 Prompter& prompter) {
  if (selectedAccount == nullptr) {
    prompter.Message("請使用滑鼠選擇一個使用者", kCaptionNotice);
    return;
  }
  const std::string& name = *selectedAccount;
  if (prompter.Ask("確定解除使用者" + name + " 鎖定狀態？", kCaptionNotice, PromptButtons::YesNo) !=
      PromptAnswer::Yes)
    return;
  ServiceUrl url(bases.secondary, kUnlockUser);
  url.Param("ID", name);
  std::string buffer;
  if (!fetcher.Fetch(url, buffer)) {
    prompter.Message("網路連線中斷...重稍後重試", kCaptionNotice);
    return;
  }
  const std::string reply = FullReplyText(buffer);
  if (reply == "ERROR")
    prompter.Message("網路連線中斷...請稍後重試", kCaptionNotice);
  else if (reply == "OK")
    prompter.Message("已解除鎖定，請使用者 " + name + " 重新登入", kCaptionNotice);
  else
    prompter.Message("無法解除鎖定，請稍後再試", kCaptionNotice);
}

}  // namespace kestrel
