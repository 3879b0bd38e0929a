#pragma once

#include <string>
#include <vector>

namespace kestrel {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Message boxes and questions. The GUI shows modal boxes; tests script the
// answers and record the texts. Called on the thread that owns the window.
class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void Message(const std::string& text, const std::string& caption) = 0;
  virtual PromptAnswer Ask(const std::string& text, const std::string& caption,
                           PromptButtons buttons) = 0;
};

// Records every prompt and answers questions from a script (then a default).
class ScriptedPrompter final : public Prompter {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    bool question = false;
  };

  void Message(const std::string& text, const std::string& caption) override {
    shown.push_back({text, caption, false});
  }
  PromptAnswer Ask(const std::string& text, const std::string& caption,
                   PromptButtons) override {
    shown.push_back({text, caption, true});
    if (next < answers.size()) return answers[next++];
    return fallback;
  }

  std::vector<Shown> shown;
  std::vector<PromptAnswer> answers;
  size_t next = 0;
  PromptAnswer fallback = PromptAnswer::Yes;
};

// Standard captions.
inline constexpr const char* kCaptionError = "錯誤";
inline constexpr const char* kCaptionWarning = "警告";
inline constexpr const char* kCaptionNotice = "提示";

}  // namespace kestrel
