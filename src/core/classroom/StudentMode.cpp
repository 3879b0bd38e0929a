#include "classroom/StudentMode.h"

#include "common/Prompter.h"
#include "online/Fetcher.h"
#include "online/ServiceUrl.h"

namespace kestrel {

StudentMode::StudentMode(StudentConfig config, Fetcher& commandFetcher, Fetcher& pollFetcher,
                         InterruptibleSleeper& sleeper, StudentWindow& window, Prompter& prompter)
    : config_(config),
      commandFetcher_(commandFetcher),
      prompter_(prompter),
      poller_(std::move(config), pollFetcher, sleeper, window) {}

bool StudentMode::SendInOut(const char* mode) {
  ServiceUrl url = AccountUrl(config_.bases.primary, "net_StudentInOut.asp", config_.account);
  url.Param("mode", mode);
  std::string ignored;
  return commandFetcher_.Fetch(url, ignored);
}

std::optional<std::string> StudentMode::Toggle() {
  if (!active()) {
    if (!SendInOut("in")) {
      prompter_.Message(kStudentNoDatabase, kCaptionError);
      return std::nullopt;
    }
    prompter_.Message(kStudentEntered, kCaptionNotice);
    active_ = true;
    poller_.Start();
    return std::string(kStudentEnteredPane);
  }
  if (prompter_.Ask(kStudentLeaveQuestion, kCaptionWarning, PromptButtons::YesNo) !=
      PromptAnswer::Yes)
    return std::nullopt;
  if (!SendInOut("out")) {
    prompter_.Message(kStudentNoDatabase, kCaptionError);
    return std::nullopt;
  }
  prompter_.Message(kStudentLeft, kCaptionNotice);
  active_ = false;
  poller_.Leave();
  return std::string(kStudentLeftPane);
}

}  // namespace kestrel
