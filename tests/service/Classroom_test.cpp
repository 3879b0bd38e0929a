// The classroom through the pages: the instructor's actions change what the
// students' polls answer, and every reported result reaches the instructor.
#include <gtest/gtest.h>

#include "ServiceFixture.h"

namespace kestrel::service::test {
namespace {

class ClassroomTest : public ServiceFixture {
 protected:
  void SetUp() override {
    ServiceFixture::SetUp();
    LogIn("teacher", "teacher", "111111");
    for (const char* student : {"student1", "student2", "student3"}) LogIn(student, "student");
  }

  std::string Student(const std::string& id, const std::string& page,
                      const std::string& extra = "") {
    return Body("/net_Student" + page + ".asp?id=" + id + "&pwd=student" + extra);
  }
  std::string Master(const std::string& page, const std::string& extra = "") {
    return Body("/net_Master" + page + ".asp?id=teacher&pwd=teacher" + extra);
  }
  std::string Report(const std::string& id, int lots, int result) {
    return Student(id, "S3",
                   "&dealLot=" + std::to_string(lots) + "&TotalLoss=" + std::to_string(result));
  }
  // What a student's program does once S1 names a day: fetch it, then acknowledge.
  void Download(const std::string& id, const std::string& day) {
    const std::string name =
        Body("/net_GetFileName_Future.php?id=" + id + "&pwd=student&SelDate=" + day);
    ASSERT_NE(name.find(".zip"), std::string::npos) << name;
    ASSERT_EQ(Get("/DATA/" + name).status, 200);
    ASSERT_EQ(Student(id, "S1END"), "");
  }
};

TEST_F(ClassroomTest, AssignDownloadOpenTradeCloseAndList) {
  for (const char* id : {"student1", "student2", "student3"}) {
    ASSERT_EQ(Student(id, "InOut", "&mode=in"), "OK");
    EXPECT_EQ(Student(id, "S1"), "1");
  }
  EXPECT_EQ(Master("Read", "&sort=0"), "student1,1,,0,0|student2,1,,0,0|student3,1,,0,0|");

  // Assign: every waiting student is offered the day, downloads and acknowledges.
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/06"), "");
  for (const char* id : {"student1", "student2", "student3"}) {
    ASSERT_EQ(Student(id, "S1"), "2013/05/06");
    Download(id, "2013/05/06");
    EXPECT_EQ(Student(id, "S2"), "2");
  }
  EXPECT_EQ(Master("Read", "&sort=0"),
            "student1,2,2013/05/06,0,0|student2,2,2013/05/06,0,0|student3,2,2013/05/06,0,0|");

  // Open: the next S2 answers "3" and the students run.
  ASSERT_EQ(Master("Open"), "");
  for (const char* id : {"student1", "student2", "student3"}) {
    ASSERT_EQ(Student(id, "S2"), "3");
    ASSERT_EQ(Student(id, "S2END"), "");
  }
  EXPECT_EQ(Report("student1", 4, 1200), "3");
  EXPECT_EQ(Report("student2", 2, -800), "3");
  EXPECT_EQ(Report("student3", 6, 3000), "3");
  EXPECT_EQ(Master("Read", "&sort=1"),
            "student3,3,2013/05/06,6,3000|student1,3,2013/05/06,4,1200|"
            "student2,3,2013/05/06,2,-800|");

  // Close: students still running show as closing until their next poll.
  ASSERT_EQ(Master("Close"), "");
  EXPECT_EQ(Master("Read", "&sort=0"),
            "student1,4,2013/05/06,4,1200|student2,4,2013/05/06,2,-800|"
            "student3,4,2013/05/06,6,3000|");
  EXPECT_EQ(Report("student1", 5, 1500), "4");
  EXPECT_EQ(Report("student2", 2, -800), "4");
  EXPECT_EQ(Report("student3", 7, 2950), "4");
  for (const char* id : {"student1", "student2", "student3"}) ASSERT_EQ(Student(id, "S3END"), "");

  EXPECT_EQ(Master("Read", "&sort=1"),
            "student3,5,2013/05/06,7,2950|student1,5,2013/05/06,5,1500|"
            "student2,5,2013/05/06,2,-800|");
  EXPECT_EQ(Master("Read", "&sort=0"),
            "student1,5,2013/05/06,5,1500|student2,5,2013/05/06,2,-800|"
            "student3,5,2013/05/06,7,2950|");

  // The next lesson starts from the ended state.
  EXPECT_EQ(Student("student1", "S1"), "5");
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/03"), "");
  EXPECT_EQ(Student("student1", "S1"), "2013/05/03");
  Download("student1", "2013/05/03");
  EXPECT_EQ(Master("Read", "&sort=0"),
            "student1,2,2013/05/03,0,0|student2,5,2013/05/06,2,-800|"
            "student3,5,2013/05/06,7,2950|");
}

TEST_F(ClassroomTest, StepsRepeatedByTheClientAreHarmless) {
  ASSERT_EQ(Student("student1", "InOut", "&mode=in"), "OK");
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/06"), "");
  Download("student1", "2013/05/06");
  EXPECT_EQ(Student("student1", "S1END"), "");
  ASSERT_EQ(Master("Open"), "");
  EXPECT_EQ(Master("Open"), "");
  ASSERT_EQ(Student("student1", "S2END"), "");
  EXPECT_EQ(Student("student1", "S2END"), "");
  ASSERT_EQ(Master("Close"), "");
  EXPECT_EQ(Report("student1", 1, 100), "4");
  ASSERT_EQ(Student("student1", "S3END"), "");
  EXPECT_EQ(Student("student1", "S3END"), "");
  // Closed: opening again needs a new day first.
  EXPECT_EQ(Master("Open"), "ERROR");
}

TEST_F(ClassroomTest, LateStudentCatchesUpWithAnOpenClass) {
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/06"), "");
  ASSERT_EQ(Master("Open"), "");
  ASSERT_EQ(Student("student2", "InOut", "&mode=in"), "OK");
  ASSERT_EQ(Student("student2", "S1"), "2013/05/06");
  Download("student2", "2013/05/06");
  EXPECT_EQ(Student("student2", "S2"), "3");
}

TEST_F(ClassroomTest, RestartedStudentIsOfferedTheCurrentDayAgain) {
  ASSERT_EQ(Student("student1", "InOut", "&mode=in"), "OK");
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/06"), "");
  Download("student1", "2013/05/06");
  EXPECT_EQ(Student("student1", "S1"), "ERROR");  // waiting for the open, not for a date
  ASSERT_EQ(Student("student1", "InOut", "&mode=out"), "OK");
  ASSERT_EQ(Student("student1", "InOut", "&mode=in"), "OK");
  EXPECT_EQ(Student("student1", "S1"), "2013/05/06");
}

TEST_F(ClassroomTest, CloseBeforeTheStudentAcknowledgedTheOpenStillEndsIt) {
  ASSERT_EQ(Student("student1", "InOut", "&mode=in"), "OK");
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/06"), "");
  Download("student1", "2013/05/06");
  ASSERT_EQ(Master("Open"), "");
  ASSERT_EQ(Student("student1", "S2"), "3");
  ASSERT_EQ(Master("Close"), "");
  ASSERT_EQ(Student("student1", "S2END"), "");
  EXPECT_EQ(Report("student1", 0, 0), "4");
}

TEST_F(ClassroomTest, ResultsNeedWholeNumbers) {
  ASSERT_EQ(Student("student1", "InOut", "&mode=in"), "OK");
  ASSERT_EQ(Master("SelDate", "&theDate=2013/05/06"), "");
  Download("student1", "2013/05/06");
  ASSERT_EQ(Master("Open"), "");
  ASSERT_EQ(Student("student1", "S2END"), "");
  for (const char* extra : {"", "&dealLot=3", "&dealLot=&TotalLoss=5", "&dealLot=3&TotalLoss=1.5",
                            "&dealLot=-1&TotalLoss=5", "&dealLot=x&TotalLoss=5"}) {
    SCOPED_TRACE(extra);
    EXPECT_EQ(Student("student1", "S3", extra), "ERROR");
  }
  EXPECT_EQ(Report("student1", 3, -4500), "3");
  EXPECT_EQ(Master("Read", "&sort=0"),
            "student1,3,2013/05/06,3,-4500|student2,0,,0,0|student3,0,,0,0|");
}

TEST_F(ClassroomTest, InstructorSeesOnlyTheStudentsOfTheClass) {
  AccountStore& accounts = service_->accounts();
  ASSERT_EQ(accounts.Add("outsider", "student", "3", "2099/12/31", "B"), "");
  ASSERT_EQ(accounts.Add("loner", "student", "3", "2099/12/31", ""), "");
  ASSERT_EQ(accounts.Add("guest", "guest", "4", "2099/12/31", ""), "");
  EXPECT_EQ(Student("outsider", "InOut", "&mode=in"), "OK");
  EXPECT_EQ(Master("Read", "&sort=0"), "student1,0,,0,0|student2,0,,0,0|student3,0,,0,0|");
  // Without a class there is no classroom to take part in.
  EXPECT_EQ(Student("loner", "InOut", "&mode=in"), "ERROR");
  EXPECT_EQ(Student("loner", "S1"), "ERROR");
  EXPECT_EQ(Body("/net_MasterRead.asp?id=guest&pwd=guest&sort=0"), "ERROR");
  // Another class's instructor action does not reach class A.
  ASSERT_EQ(accounts.SetClass("guest", "B"), "");
  ASSERT_EQ(Body("/net_MasterSelDate.asp?id=guest&pwd=guest&theDate=2013/05/02"), "");
  EXPECT_EQ(Student("outsider", "S1"), "2013/05/02");
  EXPECT_EQ(Student("student1", "S1"), "1");
}

}  // namespace
}  // namespace kestrel::service::test
