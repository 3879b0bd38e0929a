#pragma once

namespace kestrel {

// A local calendar date and wall-clock time, as the computer's clock shows it.
// Plain value; not thread-safe.
struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// The computer's local date and time now.
LocalDateTime LocalNow();

}  // namespace kestrel
