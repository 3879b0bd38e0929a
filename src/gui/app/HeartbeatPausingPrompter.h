#pragma once

#include <functional>

#include "common/Prompter.h"

namespace kestrel {

// Passes prompts on to another prompter with the heartbeat timer stopped, so
// the message box's own event loop cannot run heartbeats; the timer comes back
// afterwards when the session still wants it.
class HeartbeatPausingPrompter final : public Prompter {
 public:
  HeartbeatPausingPrompter(Prompter& next, std::function<bool()> stop, std::function<void()> resume)
      : next_(next), stop_(std::move(stop)), resume_(std::move(resume)) {}

  void Message(const std::string& text, const std::string& caption) override {
    const bool wasRunning = stop_();
    next_.Message(text, caption);
    if (wasRunning) resume_();
  }
  PromptAnswer Ask(const std::string& text, const std::string& caption,
                   PromptButtons buttons) override {
    const bool wasRunning = stop_();
    const PromptAnswer answer = next_.Ask(text, caption, buttons);
    if (wasRunning) resume_();
    return answer;
  }

 private:
  Prompter& next_;
  std::function<bool()> stop_;  // stops the timer; true when it was running
  std::function<void()> resume_;
};

}  // namespace kestrel
