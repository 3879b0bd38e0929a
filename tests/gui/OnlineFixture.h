#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/Prompter.h"
#include "online/ScriptedFetcher.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"

namespace kestrel::test {

inline const ServiceBases kTestBases{"http://p", "http://s", "http://m"};
inline const std::string kLoginPrefix = "http://p/net_Login_Future.php?id=u1&pwd=pw&code=";
inline const std::string kUserDataUrl = "http://p/net_GetUserData_Future.php?id=u1&pwd=pw";
inline const std::string kVersionUrl = "http://s/net_GetSoftVer_Future.php";
inline const std::string kLogoutUrl = "http://p/net_Logout_Future.php?id=u1&pwd=pw";
inline const std::string kLeaveStudentUrl = "http://p/net_StudentInOut.asp?id=u1&pwd=pw&mode=out";

inline std::string NameUrl(const std::string& date) {
  return "http://p/net_GetFileName_Future.php?id=u1&pwd=pw&SelDate=" + date;
}
inline std::string DaysUrl(const std::string& date) {
  return "http://p/net_GetFileDate_Future.php?id=u1&pwd=pw&SelDate=" + date + "&SelDays=15";
}

// A small complete day, padded with a member of noise so that the stored
// archive passes the size check of a good mirror copy.
inline std::string DayArchiveBytes() {
  std::string noise(70000, '\0');
  uint32_t x = 12345;
  for (char& c : noise) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return ArchiveWriter::DayArchive({
      {"FTX.DAT", "08450000,7999,8000,8000,12\r\n09000125,8001,8002,8002,3\r\n"},
      {"OPEN.DAT", "close,8512.37\r\nsettle,8555\r\nclose,312.57\r\nclose,1009.5\r\n"},
      {"DAYK.DAT", "20130503,8500,8560,8480,8540,120000\n20130506,8540,8600,8530,8590,110000\n"},
      {"TX.DAT", "0901,8520.5,10,200,12,240,30,600,150.5\n"},
      {"TXE.DAT", "0901,312.9\n"},
      {"TXF.DAT", "0901,1010.25\n"},
      {"StockPrice.Dat", "2330,TSMC,60.5,64.7,56.3\r\n"},
      {"2330.DAT", "090000,60.4,60.5,60.5,100,100\n"},
      {"NOISE.DAT", noise},
  });
}

inline std::string KLineArchiveBytes() {
  return ArchiveWriter::KLineArchive(
      {{"MIN1K.DAT", "m1"}, {"MIN5K.DAT", "m5"}, {"MIN30K.DAT", "m30"}});
}

// Records the load's window effects.
class RecordingLoadSink final : public DayLoadSink {
 public:
  void RedrawCharts() override { calls.push_back("charts"); }
  void LayoutMainWindow() override { calls.push_back("layout"); }
  std::vector<std::string> calls;
};

// A working folder with setup.ini, cache and data, the context over it, and
// the scripted seams.
class OnlineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    work_ = std::filesystem::path(dir_.path().toStdString());
    AppConfig config;
    config.folders = Folders::FromWork(work_);
    config.bases = kTestBases;
    config.installedVersion = "200";
    ASSERT_TRUE(config.folders.CreateAll());
    WriteSetup("[ACCOUNT]\r\nMARGIN=100000\r\n");
    context_ = std::make_unique<TrainerContext>(std::move(config), clock_);
  }

  void WriteSetup(const std::string& text) {
    ASSERT_EQ(WriteFileAtomically(work_ / "setup.ini", text), "");
  }
  std::string Setup() const { return ReadWholeFile(work_ / "setup.ini").value_or(""); }

  void ScriptLogin() {
    fetcher_.OnPrefix(kLoginPrefix, {ScriptedFetcher::Body("3")});
    fetcher_.On(kUserDataUrl, "3,2099/12/31");
  }

  QTemporaryDir dir_;
  std::filesystem::path work_;
  ManualClock clock_;
  std::unique_ptr<TrainerContext> context_;
  ScriptedFetcher fetcher_;
  RecordingSleeper sleeper_;
  ScriptedPrompter prompter_;
};

// Every text a dialog's StatusShown signal carried, in order.
template <typename Dialog>
void RecordStatuses(Dialog& dialog, std::vector<std::string>& into) {
  QObject::connect(&dialog, &Dialog::StatusShown,
                   [&into](const QString& text) { into.push_back(text.toStdString()); });
}

}  // namespace kestrel::test
