#include "service/ClassroomPages.h"

#include "service/TextLines.h"

namespace kestrel::service {

namespace {

Reply Error() {
  return Reply::Text("ERROR");
}

}  // namespace

std::optional<Account> ClassroomPages::Member(const RequestTarget& request,
                                              std::string_view rights) {
  const Auth auth = context_.accounts.Authenticate(request.Get("id"), request.Get("pwd"));
  if (!auth.ok() || auth.account.rights != rights) return std::nullopt;
  return auth.account;
}

void ClassroomPages::Register(PageTable& pages) {
  Classroom& room = context_.classroom;
  pages["/net_StudentInOut.asp"] = [this](const RequestTarget& r) { return StudentInOut(r); };
  pages["/net_StudentS3.asp"] = [this](const RequestTarget& r) { return StudentPoll(r); };

  using StudentStep = std::string (Classroom::*)(const Account&);
  const std::pair<const char*, StudentStep> steps[] = {
      {"/net_StudentS1.asp", &Classroom::PollDate},
      {"/net_StudentS1END.asp", &Classroom::AckDate},
      {"/net_StudentS2.asp", &Classroom::PollOpen},
      {"/net_StudentS2END.asp", &Classroom::AckOpen},
      {"/net_StudentS3END.asp", &Classroom::AckClose},
  };
  for (const auto& [path, step] : steps) {
    pages[path] = [this, &room, step = step](const RequestTarget& r) {
      const auto student = Member(r, kStudentRights);
      return student ? Reply::Text((room.*step)(*student)) : Error();
    };
  }

  pages["/net_MasterRead.asp"] = [this](const RequestTarget& r) { return MasterRead(r); };
  pages["/net_MasterSelDate.asp"] = [this](const RequestTarget& r) { return MasterSelDate(r); };
  pages["/net_MasterOpen.asp"] = [this, &room](const RequestTarget& r) {
    const auto instructor = Member(r, kInstructorRights);
    return instructor ? Reply::Text(room.Open(*instructor)) : Error();
  };
  pages["/net_MasterClose.asp"] = [this, &room](const RequestTarget& r) {
    const auto instructor = Member(r, kInstructorRights);
    return instructor ? Reply::Text(room.Close(*instructor)) : Error();
  };
}

Reply ClassroomPages::StudentInOut(const RequestTarget& request) {
  const auto student = Member(request, kStudentRights);
  if (!student) return Error();
  const std::string mode = request.Get("mode");
  if (mode == "in") return Reply::Text(context_.classroom.Enter(*student));
  if (mode == "out") return Reply::Text(context_.classroom.Leave(*student));
  return Error();
}

Reply ClassroomPages::StudentPoll(const RequestTarget& request) {
  const auto student = Member(request, kStudentRights);
  if (!student) return Error();
  const auto lots = ParseInteger(request.Get("dealLot"));
  const auto result = ParseInteger(request.Get("TotalLoss"));
  if (!lots || !result || *lots < 0) return Error();
  return Reply::Text(context_.classroom.PollClose(*student, *lots, *result));
}

Reply ClassroomPages::MasterRead(const RequestTarget& request) {
  const auto instructor = Member(request, kInstructorRights);
  if (!instructor) return Error();
  return Reply::Text(context_.classroom.List(*instructor, request.Get("sort") == "1"));
}

Reply ClassroomPages::MasterSelDate(const RequestTarget& request) {
  const auto instructor = Member(request, kInstructorRights);
  if (!instructor) return Error();
  const auto date = ParseDate(request.Get("theDate"));
  if (!date) return Error();
  return Reply::Text(context_.classroom.AssignDate(*instructor, FormatDate(*date)));
}

}  // namespace kestrel::service
