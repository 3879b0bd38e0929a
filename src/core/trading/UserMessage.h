#pragma once

#include <string>
#include <vector>

#include "common/Prompter.h"

namespace kestrel {

// A message for the user that an operation returns instead of showing it: an
// expected refusal or a notice, with the caption of its box. Plain value; not
// thread-safe.
struct UserMessage {
  std::string text;
  std::string caption;

  bool operator==(const UserMessage&) const = default;
};

// An export file that cannot be created.
inline constexpr const char* kExportFileFailed =
    "無法建立匯出檔案，請確認資料夾可以寫入且檔案未被其他程式開啟。";

// Shows the messages in order, each as a box with one OK button.
inline void ShowMessages(Prompter& prompter, const std::vector<UserMessage>& messages) {
  for (const UserMessage& m : messages) prompter.Message(m.text, m.caption);
}

}  // namespace kestrel
