#pragma once

#include "common/Prompter.h"

class QWidget;

namespace kestrel {

// Prompts as modal message boxes owned by a window (or none before one exists).
class MessageBoxPrompter final : public Prompter {
 public:
  explicit MessageBoxPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  void Message(const std::string& text, const std::string& caption) override;
  PromptAnswer Ask(const std::string& text, const std::string& caption,
                   PromptButtons buttons) override;

 private:
  QWidget* owner_;
};

}  // namespace kestrel
