#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace kestrel::service::load {

struct LoadOptions {
  int port = 0;
  int students = 200;
  std::chrono::milliseconds pollInterval{100};
  std::chrono::milliseconds tradingTime{3000};  // from the open to the close
  std::chrono::seconds timeLimit{120};
  int64_t requestLimit = 2000000;
  std::vector<std::string> lessonDays;  // the day of each lesson, YYYY/MM/DD
  bool clientWaits = true;              // the trainer's fixed waits inside a download
};

// Where the lesson stands when a request is sent.
enum Phase { kJoining, kAssigned, kOpening, kTrading, kClosing, kPhaseCount };
inline constexpr const char* kPhaseNames[kPhaseCount] = {"joining", "assigned, downloading",
                                                         "opening", "trading", "closing"};

// What one client saw.
struct Tally {
  std::vector<double> pageMs;  // page requests
  std::vector<double> pagePhaseMs[kPhaseCount];
  std::vector<double> downloadMs;  // archive downloads
  int64_t downloadedBytes = 0;
  int64_t errors = 0;
  std::vector<std::string> errorSamples;
};

struct LoadReport {
  double seconds = 0;
  int64_t requests = 0;
  int64_t pages = 0;
  int64_t downloads = 0;
  int64_t downloadedBytes = 0;
  double pageP50 = 0, pageP99 = 0, pageMax = 0;
  int64_t phasePages[kPhaseCount] = {};
  double phaseP50[kPhaseCount] = {}, phaseP99[kPhaseCount] = {};
  double downloadP50 = 0, downloadP99 = 0;
  int64_t errors = 0;
  int64_t lostResults = 0;
  int lessonsCompleted = 0;
  bool timedOut = false;
  std::vector<std::string> errorSamples;
};

// One instructor and `students` students (accounts "teacher" and s001, s002 …
// of one class) playing the whole classroom protocol over HTTP, as the trainer
// does: every request on a new connection, students polling every
// `pollInterval`, the instructor assigning, opening and closing each lesson and
// checking that every result a student reported appears in the class list.
LoadReport RunClassroom(const LoadOptions& options);

}  // namespace kestrel::service::load
