// The day download with a scripted service: file name, archive, retry,
// K-line completion and book archive.
#include <gtest/gtest.h>

#include <algorithm>

#include "OnlineSupport.h"
#include "TestDir.h"
#include "app/AppSettings.h"
#include "common/Prompter.h"
#include "online/DayDownload.h"
#include "online/ScriptedFetcher.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"
#include "tradingday/Scramble.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

const ServiceBases kBases{"http://p", "http://s", "http://m"};
const std::string kNameUrl = "http://p/net_GetFileName_Future.php?id=u1&pwd=pw&SelDate=2013/05/07";
const std::string kDaysUrl =
    "http://p/net_GetFileDate_Future.php?id=u1&pwd=pw&SelDate=2013/05/07&SelDays=15";
const std::string kArchive = "TICK_2013_05_07.zip";

std::string Bytes(size_t size) {
  return std::string(size, 'z');
}

std::string Scrambled(std::string plain) {
  Scramble(plain);
  return plain;
}

std::string KLineZip(const std::string& tag) {
  return ArchiveWriter::KLineArchive({{"MIN1K.DAT", tag + "1"},
                                      {"MIN5K.DAT", tag + "5"},
                                      {"MIN30K.DAT", tag + "30"},
                                      {"NOTES.DAT", "ignored"}});
}

class DayDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = FreshDir();
    account_.userId = "u1";
    account_.password = "pw";
    day_ = *ChooseDay(2013, 5, 7);
  }

  DownloadResult Run(bool realBook = true, bool safe = false) {
    const DownloadEnvironment env{fetcher_,       sleeper_,      kBases, account_,
                                  dir_ / "cache", dir_ / "data", safe,   realBook};
    return RunDayDownload(env, day_, view_);
  }

  // A reply of one date whose K-line archive is on the mirror.
  void ScriptGoodDay(size_t mirrorBytes = 60000) {
    fetcher_.On(kNameUrl, kArchive);
    fetcher_.On("http://m/DATA/" + kArchive, Bytes(mirrorBytes));
    fetcher_.On(kDaysUrl, "2013/05/06,");
    fetcher_.On("http://m/DATA/K_2013_05_06.zip", KLineZip("a"));
  }

  fs::path Cache(const std::string& name) const { return dir_ / "cache" / name; }
  fs::path Data(const std::string& name) const { return dir_ / "data" / name; }

  fs::path dir_;
  ScriptedFetcher fetcher_;
  RecordingSleeper sleeper_;
  AccountState account_;
  ChosenDay day_;
  RecordingDownloadView view_;
};

TEST(ChosenDayTest, NamesComeFromTheDateInTheRepublicEra) {
  const ChosenDay day = *ChooseDay(2013, 5, 6);
  EXPECT_EQ(day.chosenDate, "2013/05/06");
  EXPECT_EQ(day.bookArchiveName, "TICK_102_05_06.zip");
  EXPECT_EQ(day.shortDayLabel, "102_05_06");
  EXPECT_FALSE(ChooseDay(2013, 2, 29));
  EXPECT_TRUE(ChooseDay(2012, 2, 29));

  const struct {
    const char* text;
    bool ok;
  } texts[] = {{"2013/05/06", true},    {"2013-05-06", true},  {"2013/5/6", false},
               {"2013/05/06\n", false}, {"../../etc/", false}, {"2013/13/01", false},
               {"20a3/05/06", false},   {"2013.05.06", false}};
  for (const auto& t : texts) EXPECT_EQ(ChooseDayFromText(t.text).has_value(), t.ok) << t.text;
  EXPECT_EQ(ChooseDayFromText("2013-05-06")->chosenDate, "2013-05-06");
}

TEST(ChosenDayTest, TradingDaysSplitKeepsALastDateWithoutComma) {
  const struct {
    const char* reply;
    std::vector<std::string> days;
  } cases[] = {
      {"2013/05/02,2013/05/03,", {"2013/05/02", "2013/05/03"}},
      {"2013/05/02,2013/05/03", {"2013/05/02", "2013/05/03"}},
      {",,", {}},
      {"", {}},
      {"ERROR", {"ERROR"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTradingDays(c.reply), c.days) << c.reply;
}

TEST_F(DayDownloadTest, FileNameRepliesThatAreNoArchiveStopTheDownload) {
  const struct {
    std::optional<std::string> reply;  // nothing: the fetch fails
    const char* status;
  } cases[] = {
      {std::nullopt, kDownNoConnection},
      {"0", "無效的帳號密碼"},
      {"1", "尚未登入"},
      {"2", kDownNoData},
      {"3", "帳號密碼空白"},
      {"4", "日期空白"},
      {"5", "帳號無使用該日期的權限"},
      {"2\n", kDownBadReply},
      {"ERROR", kDownBadReply},
      {"../TICK_2013_05_07.zip", kDownBadReply},
      {"TICK_2013_05_0x.zip", kDownBadReply},
      {"TICK/2013_05_07.zip", kDownBadReply},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply.value_or("<failure>"));
    fetcher_.Reset();
    view_.statuses.clear();
    if (c.reply) fetcher_.On(kNameUrl, *c.reply);
    const DownloadResult result = Run();
    EXPECT_FALSE(result.archiveDownloaded);
    EXPECT_EQ(view_.statuses, (std::vector<std::string>{kDownRequesting, c.status}));
    EXPECT_EQ(fetcher_.Urls().size(), 1u);
    EXPECT_TRUE(fs::is_empty(dir_ / "cache"));
  }
}

TEST_F(DayDownloadTest, FullDownloadStoresArchiveHistoryAndBook) {
  ScriptGoodDay();
  fetcher_.On(kDaysUrl, "2013/05/03,2013/05/06,2013/04/30,bad-date,2013/05/02");
  fs::create_directories(dir_ / "data");
  WriteFile(Data("2013_05_03_MIN5K.DAT"), "kept");
  fetcher_.On("http://m/DATA/K_2013_05_02.zip", KLineZip("b"));  // the last date has no comma
  fetcher_.On("http://m/TICKDATA/TICK_102_05_07.zip", Bytes(30000));

  const DownloadResult result = Run();
  EXPECT_TRUE(result.archiveDownloaded);
  EXPECT_EQ(result.archiveToLoad, kArchive);
  EXPECT_TRUE(result.hasRealBook);
  EXPECT_FALSE(result.usePrimaryHost);
  EXPECT_EQ(view_.statuses,
            (std::vector<std::string>{kDownRequesting, kDownDownloading, kDownCompleting,
                                      kDownChecking, kDownKLinesDone, kDownLoading, kDownBook}));
  // The bar counts the five dates from 0.
  EXPECT_NE(std::find(view_.ranges.begin(), view_.ranges.end(), 4u), view_.ranges.end());

  // The whole buffer is stored: the body and its zero byte.
  EXPECT_EQ(ReadFile(Cache(kArchive)), Bytes(60000) + '\0');
  EXPECT_EQ(ReadFile(Cache("TICK_102_05_07.zip")).size(), 30001u);
  for (const auto& [date, tag] : {std::pair{"2013_05_06", "a"}, std::pair{"2013_05_02", "b"}}) {
    EXPECT_EQ(ReadFile(Data(std::string(date) + "_MIN1K.DAT")), Scrambled(std::string(tag) + "1"));
    EXPECT_EQ(ReadFile(Data(std::string(date) + "_MIN5K.DAT")), Scrambled(std::string(tag) + "5"));
    EXPECT_EQ(ReadFile(Data(std::string(date) + "_MIN30K.DAT")),
              Scrambled(std::string(tag) + "30"));
    EXPECT_FALSE(fs::exists(Cache("K_" + std::string(date) + ".zip")));
  }
  EXPECT_EQ(ReadFile(Data("2013_05_03_MIN5K.DAT")), "kept");
  EXPECT_FALSE(fs::exists(Data("2013_05_06_NOTES.DAT")));
  EXPECT_EQ(fetcher_.CountStartingWith("http://m/DATA/K_2013_05_03"), 0);
  EXPECT_EQ(fetcher_.CountStartingWith("http://m/DATA/K_2013_04_30"), 1);  // failed, skipped
  EXPECT_EQ(fetcher_.CountStartingWith("http://p/"), 2);  // name and trading days only
  // 200 after the archive, 200 before the K-lines, 50 × 3 for each of two
  // archives, 200 before the book, 100 after it.
  EXPECT_EQ(sleeper_.TotalMs(), 200u + 200u + 2 * 150u + 200u + 100u);
}

TEST_F(DayDownloadTest, SmallMirrorCopyIsReplacedByThePrimaryCopy) {
  ScriptGoodDay(10000);
  fetcher_.On("http://p/DATA/" + kArchive, Bytes(2000000));
  fetcher_.On("http://p/DATA/K_2013_05_06.zip", KLineZip("p"));
  fetcher_.On("http://p/TICKDATA/TICK_102_05_07.zip", Bytes(30000));

  const DownloadResult result = Run();
  EXPECT_TRUE(result.archiveDownloaded);
  EXPECT_TRUE(result.usePrimaryHost);
  EXPECT_TRUE(result.hasRealBook);
  EXPECT_EQ(ReadFile(Cache(kArchive)).size(), 2000001u);
  EXPECT_EQ(ReadFile(Data("2013_05_06_MIN5K.DAT")), Scrambled("p5"));
  EXPECT_EQ(fetcher_.CountStartingWith("http://m/DATA/K_"), 0);
  EXPECT_EQ(fetcher_.CountStartingWith("http://m/TICKDATA/"), 0);
}

TEST_F(DayDownloadTest, FailedArchiveFetchesNeverLeaveAnArchiveToLoad) {
  const struct {
    const char* name;
    std::optional<size_t> mirror;   // nothing: the fetch fails
    std::optional<size_t> primary;  // nothing: the fetch fails
    const char* status;
  } cases[] = {
      {"mirror fails", std::nullopt, 100000, kDownFailed},
      {"both small", 10000, 40000, kDownNoData},
      {"retry fails", 10000, std::nullopt, kDownFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fetcher_.Reset();
    view_.statuses.clear();
    fetcher_.On(kNameUrl, kArchive);
    if (c.mirror) fetcher_.On("http://m/DATA/" + kArchive, Bytes(*c.mirror));
    if (c.primary) fetcher_.On("http://p/DATA/" + kArchive, Bytes(*c.primary));
    const DownloadResult result = Run();
    EXPECT_FALSE(result.archiveDownloaded);
    EXPECT_TRUE(result.archiveToLoad.empty());
    EXPECT_EQ(view_.statuses.back(), c.status);
    EXPECT_FALSE(fs::exists(Cache(kArchive)));
    EXPECT_EQ(fetcher_.CountStartingWith(kDaysUrl), 0);
  }
}

TEST_F(DayDownloadTest, AnUnwritableCacheIsADownloadFailure) {
  ScriptGoodDay();
  WriteFile(dir_ / "cache", "a file where the folder should be");
  const DownloadResult result = Run();
  EXPECT_FALSE(result.archiveDownloaded);
  EXPECT_EQ(view_.statuses.back(), kDownFailed);
}

TEST_F(DayDownloadTest, ExistingHistoryForEveryDateFetchesNoKLineArchive) {
  ScriptGoodDay();
  std::string reply;
  fs::create_directories(dir_ / "data");
  for (int d = 1; d <= 15; ++d) {
    char date[16], file[32];
    std::snprintf(date, sizeof date, "2013/04/%02d,", d);
    std::snprintf(file, sizeof file, "2013_04_%02d_MIN5K.DAT", d);
    reply += date;
    WriteFile(Data(file), "x");
  }
  fetcher_.On(kDaysUrl, reply);
  Run(false);
  EXPECT_EQ(fetcher_.CountStartingWith("http://m/DATA/K_"), 0);
  EXPECT_EQ(fetcher_.CountStartingWith("http://p/DATA/K_"), 0);
}

TEST_F(DayDownloadTest, TheBookIsUsedOnlyWhenWantedAndLargeEnough) {
  const struct {
    const char* name;
    bool realBook;
    std::optional<size_t> book;
    bool hasRealBook;
    int bookRequests;
  } cases[] = {
      {"not wanted", false, 30000, false, 0},
      {"too small", true, 19999, false, 1},
      {"just large enough", true, 20000, true, 1},
      {"fetch fails", true, std::nullopt, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fetcher_.Reset();
    ScriptGoodDay();
    if (c.book) fetcher_.On("http://m/TICKDATA/TICK_102_05_07.zip", Bytes(*c.book));
    const DownloadResult result = Run(c.realBook);
    EXPECT_TRUE(result.archiveDownloaded);
    EXPECT_EQ(result.hasRealBook, c.hasRealBook);
    EXPECT_EQ(fetcher_.CountStartingWith("http://m/TICKDATA/"), c.bookRequests);
    EXPECT_EQ(fs::exists(Cache("TICK_102_05_07.zip")), c.hasRealBook);
    fs::remove_all(dir_ / "data");
    fs::remove_all(dir_ / "cache");
  }
}

TEST_F(DayDownloadTest, SafeDownloadWaitsLongerAroundEachKLineArchive) {
  for (const bool safe : {false, true}) {
    fetcher_.Reset();
    ScriptGoodDay();
    fs::remove_all(dir_ / "data");
    RecordingSleeper fresh;
    const DownloadEnvironment env{fetcher_,       fresh,         kBases, account_,
                                  dir_ / "cache", dir_ / "data", safe,   false};
    RunDayDownload(env, day_, view_);
    const uint64_t perArchive = safe ? 300u + 300u + 50u : 50u + 50u + 50u;
    EXPECT_EQ(fresh.TotalMs(), 200u + 200u + perArchive + 200u) << safe;
  }
}

TEST_F(DayDownloadTest, TheHandOffLoadsNothingWithoutAnArchiveAndKeepsTheDayOnFailure) {
  AppSettings settings;
  ScriptedPrompter prompter;
  RecordingSleeper sleeper;
  DayLoadSink sink;
  const DayLoadContext context{dir_ / "cache", dir_ / "data", settings, prompter, sleeper, sink};
  TradingDay day;
  DownloadResult nothing;
  EXPECT_FALSE(LoadDownloadedDay(day, nothing, context));
  EXPECT_TRUE(prompter.shown.empty());

  fs::create_directories(dir_ / "cache");
  WriteFile(Cache(kArchive), "not an archive");
  DownloadResult junk;
  junk.archiveDownloaded = true;
  junk.archiveToLoad = kArchive;
  junk.hasRealBook = true;
  EXPECT_FALSE(LoadDownloadedDay(day, junk, context));
  EXPECT_FALSE(day.hasRealBook);
  EXPECT_FALSE(day.dayLoaded);
  EXPECT_FALSE(prompter.shown.empty());
}

}  // namespace
}  // namespace kestrel::test
