#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "service/AccountStore.h"
#include "service/Database.h"

namespace kestrel::service {

// Student states as stored and as the instructor's list shows them.
enum StudentState : int {
  kNotInClass = 0,
  kWaitingForDate = 1,
  kDownloaded = 2,
  kRunning = 3,
  kClosing = 4,  // the instructor closed; the student has not ended yet
  kEnded = 5,
};

// What the instructor last did to the class.
enum ClassPhase : int { kIdle = 0, kAssigned = 1, kOpen = 2, kClosed = 3 };

// The classroom state machine. The instructor's assignment, open and close
// change what the students' polls answer; each student's state moves
// 1 → 2 → 3 (→ 4) → 5 → 2 … as their program acknowledges each step. Every
// operation is one transaction, so concurrent polls never lose a result.
// Replies are the exact texts the pages answer. Thread-safe.
class Classroom {
 public:
  explicit Classroom(Database& db) : db_(db) {}

  // Student pages; `student` is authenticated and has student rights.
  std::string Enter(const Account& student);
  std::string Leave(const Account& student);
  std::string PollDate(const Account& student);  // S1: the date, or the state
  std::string AckDate(const Account& student);   // S1END
  std::string PollOpen(const Account& student);  // S2: "3" once open, or "2"
  std::string AckOpen(const Account& student);   // S2END
  std::string PollClose(const Account& student, int64_t lots, int64_t result);  // S3
  std::string AckClose(const Account& student);                                 // S3END

  // Instructor pages; `instructor` is authenticated and has instructor rights.
  std::string List(const Account& instructor, bool sortByResult);
  std::string AssignDate(const Account& instructor, const std::string& date);
  std::string Open(const Account& instructor);
  std::string Close(const Account& instructor);

 private:
  struct ClassRow {
    std::string day;
    int64_t assignment = 0;
    int phase = kIdle;
  };
  struct StudentRow {
    int state = kNotInClass;
    int64_t assignment = 0;
  };
  ClassRow ReadClass(const std::string& name);
  StudentRow ReadStudent(const std::string& id);
  void SetState(const std::string& id, int state);

  Database& db_;
};

}  // namespace kestrel::service
