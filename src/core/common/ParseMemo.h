#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// The value of the last text read. A replay reads the same waiting record's
// time on every heartbeat until it is due; the memo parses it once per text.
template <int32_t (*Parse)(std::string_view)>
class ParseMemo {
 public:
  int32_t operator()(std::string_view text) {
    if (!valid_ || text != key_) {
      key_.assign(text);
      value_ = Parse(text);
      valid_ = true;
    }
    return value_;
  }

 private:
  std::string key_;
  int32_t value_ = 0;
  bool valid_ = false;
};

}  // namespace kestrel
