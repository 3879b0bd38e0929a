#include "classroom/StudentPoller.h"

#include "classroom/InterruptibleSleeper.h"
#include "classroom/StudentWindow.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "online/DayDownload.h"
#include "online/Fetcher.h"
#include "online/ReplyText.h"
#include "online/ServiceUrl.h"

namespace kestrel {

namespace {

constexpr const char* kS1 = "net_StudentS1.asp";
constexpr const char* kS1Done = "net_StudentS1END.asp";
constexpr const char* kS2 = "net_StudentS2.asp";
constexpr const char* kS2Done = "net_StudentS2END.asp";
constexpr const char* kS3 = "net_StudentS3.asp";
constexpr const char* kS3Done = "net_StudentS3END.asp";
constexpr size_t kAssignedDateChars = 10;

}  // namespace

StudentPoller::StudentPoller(StudentConfig config, Fetcher& fetcher, InterruptibleSleeper& sleeper,
                             StudentWindow& window)
    : config_(std::move(config)), fetcher_(fetcher), sleeper_(sleeper), window_(window) {}

StudentPoller::~StudentPoller() {
  Stop();
}

void StudentPoller::NewSession(int state) {
  uint32_t word = word_.load();
  uint32_t next;
  do {
    next = (((word >> 8) + 1) << 8) | static_cast<uint32_t>(state);
  } while (!word_.compare_exchange_weak(word, next));
}

bool StudentPoller::Advance(uint32_t from, int to) {
  return word_.compare_exchange_strong(from, (from & ~kStateMask) | static_cast<uint32_t>(to));
}

void StudentPoller::SetStateForTest(int state) {
  NewSession(state);
}

void StudentPoller::Start() {
  std::lock_guard lock(mutex_);
  if (stopping_) return;
  NewSession(kStudentWaitingForDate);
  // A thread still finishing its last wait sees the new session and goes on.
  if (running_) return;
  if (thread_.joinable()) thread_.join();  // it has left its loop already
  running_ = true;
  thread_ = std::thread(&StudentPoller::Run, this);
}

void StudentPoller::Leave() {
  NewSession(kStudentOff);
}

void StudentPoller::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  NewSession(kStudentOff);
  sleeper_.Interrupt();
  fetcher_.Abort();
  window_.Abandon();
  std::thread finishing;
  {
    std::lock_guard lock(mutex_);
    finishing = std::move(thread_);
  }
  if (finishing.joinable()) finishing.join();
}

bool StudentPoller::ThreadRunning() const {
  std::lock_guard lock(mutex_);
  return running_;
}

void StudentPoller::Run() {
  for (;;) {
    Step();
    sleeper_.SleepMs(kStudentPollMs);
    std::lock_guard lock(mutex_);
    if (State() == kStudentOff || stopping_) {
      running_ = false;
      return;
    }
  }
}

void StudentPoller::Step() {
  const uint32_t word = word_.load();
  const int state = static_cast<int>(word & kStateMask);
  if (state == kStudentOff) return;
  if ((word >> 8) != seenSession_) {
    // Each session starts without a refused date.
    seenSession_ = word >> 8;
    lastRefused_.clear();
  }
  switch (state) {
    case kStudentWaitingForDate:
    case kStudentEnded: PollDate(word); break;
    case kStudentDownloaded: PollOpen(word); break;
    case kStudentRunning: PollClose(word); break;
    default: break;
  }
}

void StudentPoller::Error(uint32_t word, const char* text) {
  if (!StillIn(word)) return;  // left or closing: nothing to report
  window_.ShowMessage(text, kCaptionError);
  Advance(word, kStudentOff);
}

bool StudentPoller::Send(const char* path, std::string& reply, bool withFigures) {
  ServiceUrl url = AccountUrl(config_.bases.primary, path, config_.account);
  if (withFigures) url.Param("dealLot", reportLots_).Param("TotalLoss", reportResult_);
  std::string buffer;
  if (!fetcher_.Fetch(url, buffer)) return false;
  reply = ReplyText(buffer);
  return true;
}

bool StudentPoller::DownloadAndLoad(const ChosenDay& day) {
  const DownloadEnvironment env{fetcher_,
                                sleeper_,
                                config_.bases,
                                config_.account,
                                config_.cacheFolder,
                                config_.dataFolder,
                                config_.safeDownload,
                                config_.realBook};
  const DownloadResult download = RunDayDownload(env, day, window_.DownloadStatus());
  return download.archiveDownloaded && window_.LoadDay(download);
}

void StudentPoller::PollDate(uint32_t word) {
  std::string reply;
  if (!Send(kS1, reply)) return Error(word, kStudentNetworkError);
  if (Utf8Length(reply) != kAssignedDateChars || reply == lastRefused_) return;

  // Only a date of the expected shape becomes file names and a request.
  const std::optional<ChosenDay> day = ChooseDayFromText(reply);
  if (!day || !DownloadAndLoad(*day)) {
    if (!StillIn(word)) return;
    window_.ShowMessage(kStudentNoData, kCaptionError);
    lastRefused_ = reply;
    return;
  }
  if (!StillIn(word)) return;  // left while the day loaded
  std::string done;
  if (!Send(kS1Done, done)) return Error(word, kStudentNetworkError);
  lastRefused_.clear();
  if (!done.empty()) return Error(word, kStudentStateError);
  Advance(word, kStudentDownloaded);
}

void StudentPoller::PollOpen(uint32_t word) {
  std::string reply;
  if (!Send(kS2, reply)) return Error(word, kStudentNetworkError);
  if (reply != "3") return;
  // Without an open session the signal is taken again at the next poll.
  if (!window_.OpenSession() || !StillIn(word)) return;
  std::string done;
  if (!Send(kS2Done, done)) return Error(word, kStudentNetworkError);
  if (!done.empty()) return Error(word, kStudentOpenStateError);
  Advance(word, kStudentRunning);
}

void StudentPoller::PollClose(uint32_t word) {
  // The figures belong to the window's thread: read them there.
  const SessionFigures figures = window_.Figures();
  reportLots_ = figures.dealQty;
  reportResult_ = figures.realisedPnl;
  std::string reply;
  if (!Send(kS3, reply, true)) return Error(word, kStudentNetworkError);
  if (reply == "ERROR") return Error(word, kStudentStateError);
  if (reply != "4") return;
  // An end the student cancelled is asked again at the next "4".
  if (!window_.EndSession() || !StillIn(word)) return;
  std::string done;
  if (!Send(kS3Done, done)) return Error(word, kStudentNetworkError);
  if (!done.empty()) return Error(word, kStudentStateError);
  Advance(word, kStudentEnded);
}

}  // namespace kestrel
