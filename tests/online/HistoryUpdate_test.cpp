// The historical query and the software update.
#include <gtest/gtest.h>

#include <unistd.h>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "common/Prompter.h"
#include "online/HistoryQuery.h"
#include "online/ScriptedFetcher.h"
#include "online/SoftwareUpdate.h"
#include "tradingday/ArchiveWriter.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

const ServiceBases kBases{"http://p", "http://s", "http://m"};

TEST(HistoryQueryTest, YearsNeedTheirComma) {
  EXPECT_EQ(SplitYears("2011,2012,2013,"), (std::vector<std::string>{"2011", "2012", "2013"}));
  EXPECT_EQ(SplitYears("2011,2012,2013"), (std::vector<std::string>{"2011", "2012"}));
  EXPECT_TRUE(SplitYears("").empty());
  EXPECT_TRUE(SplitYears("EMPTY").empty());
}

TEST(HistoryQueryTest, MonthRecordsHaveTenFieldsTheLastRunningToTheEnd) {
  const auto rows = ParseMonthRecords(
      "2013/05/06,8038,8141,7950,7956,177756,-126,191,殺多,震盪,偏空|"
      "2013/05/07,1,2|2013/05/08,after,the,last,bar");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "2013/05/06");
  EXPECT_EQ(rows[0][6], "-126");
  EXPECT_EQ(rows[0][8], "殺多");
  EXPECT_EQ(rows[0][9], "震盪,偏空");
  EXPECT_EQ(rows[1][2], "2");
  EXPECT_EQ(rows[1][3], "");
}

TEST(HistoryQueryTest, TheCatalogueIsFetchedOnceAndRetriedAfterAFailure) {
  ScriptedFetcher fetcher;
  std::vector<std::string> captions;
  const auto caption = [&](const std::string& text) { captions.push_back(text); };
  HistoryCatalogue catalogue;
  catalogue.Fill(fetcher, kBases, caption);  // nothing answers
  EXPECT_FALSE(catalogue.filled());
  EXPECT_EQ(captions, (std::vector<std::string>{kHistoryFetching, kHistoryOffline}));

  captions.clear();
  fetcher.On("http://s/net_GetHisYear.asp", "2012,2013,");
  fetcher.On("http://s/net_GetHisRange.asp", "2012/01/02 ~ 2013/12/31");
  catalogue.Fill(fetcher, kBases, caption);
  EXPECT_TRUE(catalogue.filled());
  EXPECT_EQ(catalogue.years(), (std::vector<std::string>{"2012", "2013"}));
  EXPECT_EQ(catalogue.rangeText(), "2012/01/02 ~ 2013/12/31");
  EXPECT_EQ(captions, (std::vector<std::string>{kHistoryFetching, kHistoryRange, kHistoryCaption}));
  const size_t requests = fetcher.Urls().size();
  catalogue.Fill(fetcher, kBases, caption);
  EXPECT_EQ(fetcher.Urls().size(), requests);
}

TEST(HistoryQueryTest, AMonthQueryShowsItsOutcomeInTheCaption) {
  const struct {
    std::optional<std::string> reply;
    const char* caption;
    size_t rows;
  } cases[] = {
      {std::nullopt, kHistoryOffline, 0},
      {"EMPTY", kHistoryNoMonth, 0},
      {"ERROR", kHistoryNoMonth, 0},
      {"2013/02/01,1,2,3,4,5,6,7,a,b|", kHistoryCaption, 1},
  };
  for (const auto& c : cases) {
    ScriptedFetcher fetcher;
    if (c.reply) fetcher.On("http://s/net_GetHisMonthData.asp?theYear=2013&theMonth=02", *c.reply);
    const MonthQuery query = QueryMonth(fetcher, kBases, "2013", "02");
    EXPECT_EQ(query.caption, c.caption);
    EXPECT_EQ(query.rows.size(), c.rows);
  }
}

TEST(HistoryQueryTest, APictureBelowTenKilobytesIsNotFound) {
  const fs::path gif = FreshDir() / kPictureFile;
  EXPECT_EQ(PictureUrl(kBases, "2013/05/07"), "http://p/HISDATA_6631/2013-05-07.gif");
  EXPECT_FALSE(PictureUrl(kBases, "../../secret"));

  ScriptedFetcher fetcher;
  fetcher.On("http://p/HISDATA_6631/2013-05-07.gif", std::string(5000, 'g'));
  fetcher.On("http://p/HISDATA_6631/2013-05-08.gif", std::string(20000, 'g'));
  EXPECT_FALSE(FetchPicture(fetcher, kBases, "2013/05/07", gif, nullptr));
  EXPECT_FALSE(fs::exists(gif));
  EXPECT_FALSE(FetchPicture(fetcher, kBases, "2013/05/09", gif, nullptr));
  EXPECT_TRUE(FetchPicture(fetcher, kBases, "2013/05/08", gif, nullptr));
  EXPECT_EQ(ReadFile(gif), std::string(20000, 'g'));

  EXPECT_EQ(PickHistoryDay(nullptr, false).message->text, kSelectDayFirst);
  MonthRecord row;
  row[0] = "2013/05/08";
  EXPECT_EQ(PickHistoryDay(&row, true).message->caption, kCaptionWarning);
  EXPECT_EQ(PickHistoryDay(&row, false).day->chosenDate, "2013/05/08");
}

TEST(VersionCheckTest, OnlyANewerNumberWithAnArchiveAsksTheQuestion) {
  const struct {
    const char* installed;
    std::optional<std::string> reply;
    bool asks;
  } cases[] = {
      {"248", "249,Kestrel249.zip", true},
      {"249", "249,Kestrel249.zip", false},
      {"250", "249,Kestrel249.zip", false},
      {"248", "0,Kestrel249.zip", false},
      {"248", "-3,Kestrel249.zip", false},
      {"248", "new,Kestrel249.zip", false},
      {"248", "Kestrel249.zip", false},  // no comma: no version number
      {"248", "249,Kestrel249.rar", false},
      {"248", "249,../Kestrel249.zip", false},
      {"248", std::nullopt, false},
      {"2.49", "3,Kestrel3.zip", true},  // the installed text reads as 2
      {"abc", "1,Kestrel1.zip", true},   // no digits read as 0
      {" 248", " 249x,Kestrel249.zip", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.installed) + " / " + c.reply.value_or("<failure>"));
    ScriptedFetcher fetcher;
    if (c.reply) fetcher.On("http://s/net_GetSoftVer_Future.php", *c.reply);
    ScriptedPrompter prompter;
    prompter.answers = {PromptAnswer::Yes};
    const auto reply = CheckForUpdate(fetcher, kBases, c.installed, prompter);
    EXPECT_EQ(prompter.shown.size(), c.asks ? 1u : 0u);
    EXPECT_EQ(reply.has_value(), c.asks);
    if (c.asks) {
      EXPECT_EQ(prompter.shown[0].text, kUpdateQuestion);
    }
  }
  ScriptedFetcher fetcher;
  fetcher.On("http://s/net_GetSoftVer_Future.php", "249,K.zip");
  ScriptedPrompter no;
  no.answers = {PromptAnswer::No};
  EXPECT_FALSE(CheckForUpdate(fetcher, kBases, "1", no));
}

TEST(VersionCheckTest, BackupNamesReplaceTheLastThreeCharacters) {
  EXPECT_EQ(BackupName("Kestrel.exe"), "Kestrel.bak");
  EXPECT_EQ(BackupName("setup.ini"), "setup.bak");
  EXPECT_EQ(BackupName("readme"), "reabak");
  EXPECT_EQ(BackupName("ab"), "ab.bak");
}

class UpdateViewLog final : public UpdateView {
 public:
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetRange(uint64_t) override {}
  void SetPosition(uint64_t) override {}
  std::vector<std::string> statuses;
};

class SoftwareUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshDir();
    WriteFile(folder_ / "Kestrel.exe", "old program");
    WriteFile(folder_ / "Kestrel.bak", "stale backup");
  }

  bool Update(const std::string& archive) {
    fetcher_.On("http://s/DB/K249.zip", archive);
    return RunUpdate(fetcher_, sleeper_, kBases, "K249.zip", folder_, view_);
  }

  fs::path folder_;
  ScriptedFetcher fetcher_;
  RecordingSleeper sleeper_;
  UpdateViewLog view_;
};

TEST_F(SoftwareUpdateTest, MembersReplaceTheirFilesAndNothingIsLeftBehind) {
  ASSERT_TRUE(Update(ArchiveWriter::Zip({{"Kestrel.exe", "new program"}, {"Fresh.dll", "new"}})));
  EXPECT_EQ(ReadFile(folder_ / "Kestrel.exe"), "new program");
  EXPECT_EQ(ReadFile(folder_ / "Fresh.dll"), "new");
  EXPECT_FALSE(fs::exists(folder_ / "Kestrel.bak"));
  EXPECT_FALSE(fs::exists(folder_ / "Fresh.bak"));
  EXPECT_FALSE(fs::exists(folder_ / "K249.zip"));
  EXPECT_EQ(view_.statuses,
            (std::vector<std::string>{kUpdateDownloading, kUpdateInstalling, kUpdateDone}));
  EXPECT_TRUE(fetcher_.Requests().front().useCache);
  // 100 after the download, 100 per member, 100 at the end.
  EXPECT_EQ(sleeper_.TotalMs(), 400u);
}

TEST_F(SoftwareUpdateTest, BadArchivesChangeNoFile) {
  std::string corrupt = ArchiveWriter::Zip({{"Kestrel.exe", std::string(4000, 'n')}});
  corrupt[45] ^= 0x55;  // inside the deflated data: the member no longer reads back
  const struct {
    const char* name;
    std::optional<std::string> archive;
    bool archiveStays;
  } cases[] = {
      {"fetch fails", std::nullopt, false},
      {"not a zip", "<html>Server Error</html>", true},
      {"climbs out", ArchiveWriter::Zip({{"Kestrel.exe", "x"}, {"../evil.exe", "x"}}), true},
      {"absolute", ArchiveWriter::Zip({{"/tmp/evil.exe", "x"}}), true},
      {"in a folder", ArchiveWriter::Zip({{"Kestrel.exe", "x"}, {"sub\\evil.exe", "x"}}), true},
      {"corrupt member", corrupt, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    fetcher_.Reset();
    view_.statuses.clear();
    if (c.archive) fetcher_.On("http://s/DB/K249.zip", *c.archive);
    EXPECT_FALSE(RunUpdate(fetcher_, sleeper_, kBases, "K249.zip", folder_, view_));
    EXPECT_EQ(view_.statuses.back(), kUpdateFailed);
    EXPECT_EQ(ReadFile(folder_ / "Kestrel.exe"), "old program");
    EXPECT_EQ(fs::exists(folder_ / "K249.zip"), c.archiveStays);
    EXPECT_FALSE(fs::exists(folder_.parent_path() / "evil.exe"));
  }
}

TEST_F(SoftwareUpdateTest, AMemberThatCannotBeWrittenGetsItsOldFileBack) {
  // A folder where the writer puts its temporary file makes the write fail.
  fs::path blocker = folder_ / "Kestrel.exe";
  blocker += ".tmp" + std::to_string(::getpid());
  fs::create_directories(blocker);
  EXPECT_FALSE(Update(ArchiveWriter::Zip({{"Kestrel.exe", "new program"}})));
  EXPECT_EQ(view_.statuses.back(), kUpdateFailed);
  EXPECT_EQ(ReadFile(folder_ / "Kestrel.exe"), "old program");
  EXPECT_FALSE(fs::exists(folder_ / "Kestrel.bak"));
}

}  // namespace
}  // namespace kestrel::test
