#include "service/Classroom.h"

namespace kestrel::service {

namespace {

constexpr const char* kError = "ERROR";

bool WaitsForDate(int state) {
  return state == kNotInClass || state == kWaitingForDate || state == kEnded;
}

bool Assigned(int phase) {
  return phase == kAssigned || phase == kOpen;
}

}  // namespace

Classroom::ClassRow Classroom::ReadClass(const std::string& name) {
  {
    Statement insert = db_.Prepare("INSERT OR IGNORE INTO classes (name) VALUES (?1)");
    insert.Bind(1, name);
    insert.Step();
  }
  Statement select = db_.Prepare("SELECT day, assignment, phase FROM classes WHERE name = ?1");
  select.Bind(1, name);
  ClassRow row;
  if (select.Step()) {
    row.day = select.Text(0);
    row.assignment = select.Int(1);
    row.phase = static_cast<int>(select.Int(2));
  }
  return row;
}

Classroom::StudentRow Classroom::ReadStudent(const std::string& id) {
  Statement select = db_.Prepare("SELECT state, assignment FROM accounts WHERE id = ?1");
  select.Bind(1, id);
  StudentRow row;
  if (select.Step()) {
    row.state = static_cast<int>(select.Int(0));
    row.assignment = select.Int(1);
  }
  return row;
}

void Classroom::SetState(const std::string& id, int state) {
  Statement update = db_.Prepare("UPDATE accounts SET state = ?2 WHERE id = ?1");
  update.Bind(1, id).Bind(2, int64_t{state});
  update.Step();
}

std::string Classroom::Enter(const Account& student) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  // Forgetting the acknowledged assignment lets a student who restarts mid-lesson
  // fetch the current day again.
  Statement update = db_.Prepare("UPDATE accounts SET state = ?2, assignment = 0 WHERE id = ?1");
  update.Bind(1, student.id).Bind(2, int64_t{kWaitingForDate});
  update.Step();
  return "OK";
}

std::string Classroom::Leave(const Account& student) {
  auto lock = db_.Lock();
  SetState(student.id, kNotInClass);
  return "OK";
}

std::string Classroom::PollDate(const Account& student) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  StudentRow me = ReadStudent(student.id);
  if (!WaitsForDate(me.state)) return kError;
  const ClassRow room = ReadClass(student.className);
  if (me.state == kNotInClass) {
    // Polling shows the student is there even if the enter page was missed.
    me.state = kWaitingForDate;
    SetState(student.id, me.state);
  }
  transaction.Commit();
  if (Assigned(room.phase) && me.assignment != room.assignment) return room.day;
  return std::to_string(me.state);
}

std::string Classroom::AckDate(const Account& student) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  const StudentRow me = ReadStudent(student.id);
  const ClassRow room = ReadClass(student.className);
  if (me.state == kDownloaded && me.assignment == room.assignment) return "";
  if (!WaitsForDate(me.state) || !Assigned(room.phase)) return kError;
  {
    Statement update = db_.Prepare(
        "UPDATE accounts SET state = ?2, assignment = ?3, day = ?4, lots = 0, result = 0 "
        "WHERE id = ?1");
    update.Bind(1, student.id).Bind(2, int64_t{kDownloaded}).Bind(3, room.assignment);
    update.Bind(4, room.day);
    update.Step();
  }
  transaction.Commit();
  return "";
}

std::string Classroom::PollOpen(const Account& student) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  const StudentRow me = ReadStudent(student.id);
  if (me.state != kDownloaded) return kError;
  const ClassRow room = ReadClass(student.className);
  transaction.Commit();
  return room.phase == kOpen ? "3" : "2";
}

std::string Classroom::AckOpen(const Account& student) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  const StudentRow me = ReadStudent(student.id);
  if (me.state == kRunning || me.state == kClosing) return "";
  if (me.state != kDownloaded) return kError;
  const ClassRow room = ReadClass(student.className);
  // Closed between the open signal and this page: the next poll ends the session.
  SetState(student.id, room.phase == kOpen ? kRunning : kClosing);
  transaction.Commit();
  return "";
}

std::string Classroom::PollClose(const Account& student, int64_t lots, int64_t result) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  const StudentRow me = ReadStudent(student.id);
  if (me.state != kRunning && me.state != kClosing) return kError;
  const ClassRow room = ReadClass(student.className);
  const bool closing = me.state == kClosing || room.phase != kOpen;
  {
    // Most polls repeat the figures: write only what changed.
    Statement update = db_.Prepare(
        "UPDATE accounts SET state = ?2, lots = ?3, result = ?4 "
        "WHERE id = ?1 AND (state <> ?2 OR lots <> ?3 OR result <> ?4)");
    update.Bind(1, student.id).Bind(2, int64_t{closing ? kClosing : kRunning});
    update.Bind(3, lots).Bind(4, result);
    update.Step();
  }
  transaction.Commit();
  return closing ? "4" : "3";
}

std::string Classroom::AckClose(const Account& student) {
  if (student.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  const StudentRow me = ReadStudent(student.id);
  if (me.state == kEnded) return "";
  if (me.state != kRunning && me.state != kClosing) return kError;
  SetState(student.id, kEnded);
  transaction.Commit();
  return "";
}

std::string Classroom::List(const Account& instructor, bool sortByResult) {
  if (instructor.className.empty()) return kError;
  auto lock = db_.Lock();
  Statement select =
      db_.Prepare(sortByResult ? "SELECT id, state, day, lots, result FROM accounts "
                                 "WHERE class = ?1 AND rights = ?2 ORDER BY result DESC, id"
                               : "SELECT id, state, day, lots, result FROM accounts "
                                 "WHERE class = ?1 AND rights = ?2 ORDER BY id");
  select.Bind(1, instructor.className).Bind(2, kStudentRights);
  std::string reply;
  while (select.Step()) {
    reply += select.Text(0) + "," + std::to_string(select.Int(1)) + "," + select.Text(2) + "," +
             std::to_string(select.Int(3)) + "," + std::to_string(select.Int(4)) + "|";
  }
  return reply.empty() ? "EMPTY" : reply;
}

std::string Classroom::AssignDate(const Account& instructor, const std::string& date) {
  if (instructor.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  ReadClass(instructor.className);
  {
    Statement update = db_.Prepare(
        "UPDATE classes SET day = ?2, assignment = assignment + 1, phase = ?3 WHERE name = ?1");
    update.Bind(1, instructor.className).Bind(2, date).Bind(3, int64_t{kAssigned});
    update.Step();
  }
  transaction.Commit();
  return "";
}

std::string Classroom::Open(const Account& instructor) {
  if (instructor.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  const ClassRow room = ReadClass(instructor.className);
  // Opening needs a day the students could fetch: a new one after each close.
  if (!Assigned(room.phase)) return kError;
  {
    Statement update = db_.Prepare("UPDATE classes SET phase = ?2 WHERE name = ?1");
    update.Bind(1, instructor.className).Bind(2, int64_t{kOpen});
    update.Step();
  }
  transaction.Commit();
  return "";
}

std::string Classroom::Close(const Account& instructor) {
  if (instructor.className.empty()) return kError;
  auto lock = db_.Lock();
  Database::Transaction transaction(db_);
  ReadClass(instructor.className);
  {
    Statement update = db_.Prepare("UPDATE classes SET phase = ?2 WHERE name = ?1");
    update.Bind(1, instructor.className).Bind(2, int64_t{kClosed});
    update.Step();
  }
  {
    Statement students = db_.Prepare(
        "UPDATE accounts SET state = ?3 WHERE class = ?1 AND rights = ?2 AND state = ?4");
    students.Bind(1, instructor.className).Bind(2, kStudentRights);
    students.Bind(3, int64_t{kClosing}).Bind(4, int64_t{kRunning});
    students.Step();
  }
  transaction.Commit();
  return "";
}

}  // namespace kestrel::service
