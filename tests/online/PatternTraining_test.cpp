// Pattern days, the date range dialog, the training list and notes.
#include <gtest/gtest.h>

#include "TestDir.h"
#include "app/AppSettings.h"
#include "common/ProfileFile.h"
#include "common/TextCodec.h"
#include "online/PatternDownload.h"
#include "online/ScriptedFetcher.h"
#include "online/TrainingDownload.h"

namespace kestrel::test {
namespace {

namespace fs = std::filesystem;

const ServiceBases kBases{"http://p", "http://s", "http://m"};

AccountState Account() {
  AccountState account;
  account.userId = "u1";
  account.password = "pw";
  return account;
}

TEST(PatternDayTest, TheRequestCarriesTheRangeOnlyWhenItApplies) {
  AppSettings settings;
  settings.SETRANGE = "1";
  settings.SETRANGE_START = "2013/01/01";
  settings.SETRANGE_END = "2013/12/31";
  EXPECT_EQ(PatternDayUrl(kBases, Account(), 3, settings),
            "http://s/net_GetFileNameFromType.asp?id=u1&pwd=pw&theType=3"
            "&startdate=2013/01/01&enddate=2013/12/31");
  settings.SETRANGE_START = "2013-02-01";
  settings.SETRANGE_END = "2013-03-01";
  EXPECT_EQ(PatternDayUrl(kBases, Account(), 0, settings),
            "http://s/net_GetFileNameFromType.asp?id=u1&pwd=pw&theType=0"
            "&startdate=2013-02-01&enddate=2013-03-01");
  settings.SETRANGE = "0";
  EXPECT_EQ(PatternDayUrl(kBases, Account(), 5, settings),
            "http://s/net_GetFileNameFromType.asp?id=u1&pwd=pw&theType=5");

  ScriptedFetcher fetcher;
  fetcher.OnPrefix("http://s/net_GetFileNameFromType.asp", {ScriptedFetcher::Body("2013/05/07")});
  const DayPick pick = RequestPatternDay(fetcher, kBases, Account(), 5, settings);
  ASSERT_TRUE(pick.day);
  EXPECT_EQ(pick.day->chosenDate, "2013/05/07");
  EXPECT_EQ(pick.day->bookArchiveName, "TICK_102_05_07.zip");
  EXPECT_EQ(pick.day->shortDayLabel, "102_05_07");
  EXPECT_TRUE(pick.hideDate);
  EXPECT_TRUE(fetcher.Requests().front().forceReload);
}

TEST(PatternDayTest, RepliesOtherThanADateGiveTheirMessage) {
  const struct {
    bool fetched;
    const char* reply;
    const char* text;
    const char* caption;
  } cases[] = {
      {false, "", "連線失敗，請稍後重試", kCaptionError},
      {true, "0", "無效的帳號密碼", kCaptionError},
      {true, "1", "尚未登入", kCaptionError},
      {true, "2", "目前資料庫查無該種盤型", kCaptionNotice},
      {true, "3", "帳號密碼空白", kCaptionError},
      {true, "4", "沒有指定盤型", kCaptionError},
      {true, "5", "未知錯誤，請重試", kCaptionError},
      {true, "2013/5/7", "未知錯誤，請重試", kCaptionError},
      {true, "../../x/y.z", "未知錯誤，請重試", kCaptionError},
      {true, "<html>Server Error</html>", "未知錯誤，請重試", kCaptionError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    const DayPick pick = InterpretPatternReply(c.fetched, c.reply);
    EXPECT_FALSE(pick.day);
    ASSERT_TRUE(pick.message);
    EXPECT_EQ(pick.message->text, c.text);
    EXPECT_EQ(pick.message->caption, c.caption);
  }
}

TEST(DateRangeTest, EachDateNeedsASeparatorTenCharactersAndARealDay) {
  const std::string startFormat =
      "請使用正確日期格式\n\n2013/03/14或 2013-03-14\n\n月日小於十，前面請加 0";
  const std::string endFormat =
      "請使用正確日期格式\n\n2013/03/14 或 2013-03-14\n\n月日小於十，前面請加 0";
  const std::string invalid = "該日期可能無效，例如2月沒有29日";
  const struct {
    const char* start;
    const char* end;
    std::string message;  // empty: accepted
  } cases[] = {
      {"2013/01/01", "2013/12/31", ""},         {"2013-01-01", "2013-12-31", ""},
      {"2013/12/31", "2013/01/01", ""},  // the order is not checked
      {"2012/02/29", "2012/03/01", ""},         {"20130101", "2013/12/31", startFormat},
      {"2013/1/1", "2013/12/31", startFormat},  {"2013/01/01", "20131231", endFormat},
      {"2013/01/01", "2013/12/310", endFormat}, {"2013/02/29", "2013/12/31", invalid},
      {"2013/01/01", "2013/02/29", invalid},    {"2013/13/01", "2013/12/31", invalid},
      {"2013/ab/01", "2013/12/31", invalid},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " " + c.end);
    const auto message = ValidateDateRange({true, c.start, c.end});
    if (c.message.empty()) {
      EXPECT_FALSE(message);
    } else {
      ASSERT_TRUE(message);
      EXPECT_EQ(message->text, c.message);
      EXPECT_EQ(message->caption, kCaptionNotice);
    }
  }
}

TEST(DateRangeTest, OpensWithDefaultsAndStoresTheTextsAsTyped) {
  AppSettings settings;
  DateRangeForm form = OpenDateRangeDialog(settings);
  EXPECT_FALSE(form.apply);
  EXPECT_EQ(form.start, "2013/01/01");
  EXPECT_EQ(form.end, "2013/12/31");
  settings.SETRANGE = "1";
  EXPECT_TRUE(OpenDateRangeDialog(settings).apply);

  const fs::path setup = FreshDir() / "setup.ini";
  WriteFile(setup, "[UI]\r\nSETRANGE=0\r\n");
  settings.SETRANGE_START = "2013/01/01";
  EXPECT_TRUE(ConfirmDateRange({false, "2013-02-30", "2013-03-01"}, settings, setup));
  EXPECT_EQ(settings.SETRANGE, "0");
  EXPECT_EQ(settings.SETRANGE_START, "2013/01/01");
  EXPECT_EQ(ReadProfileString(setup, "UI", "SETRANGE_START"), "");

  EXPECT_FALSE(ConfirmDateRange({true, "2013-02-01", "2013-03-01"}, settings, setup));
  EXPECT_EQ(settings.SETRANGE, "1");
  EXPECT_EQ(settings.SETRANGE_START, "2013-02-01");
  EXPECT_EQ(ReadProfileString(setup, "UI", "SETRANGE"), "1");
  EXPECT_EQ(ReadProfileString(setup, "UI", "SETRANGE_START"), "2013-02-01");
  EXPECT_EQ(ReadProfileString(setup, "UI", "SETRANGE_END"), "2013-03-01");
}

TEST(TrainingListTest, RecordsEndWithABarAndTheDescriptionRunsToTheEnd) {
  const auto rows = ParseTrainingList(
      "2013/05/06,TRAIN_1.txt,先漲後跌,收盤下跌|2013/05/07,TRAIN_2.txt,|no comma|"
      "2013/05/08,TRAIN_3.txt|2013/05/09,dropped,after the last bar");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].date, "2013/05/06");
  EXPECT_EQ(rows[0].fileName, "TRAIN_1.txt");
  EXPECT_EQ(rows[0].description, "先漲後跌,收盤下跌");
  EXPECT_EQ(rows[1].description, "");
  EXPECT_EQ(rows[2].fileName, "TRAIN_3.txt");
  EXPECT_EQ(rows[2].description, "");
}

TEST(TrainingListTest, TheCaptionTellsWhatTheRequestGave) {
  const struct {
    std::optional<std::string> reply;
    const char* caption;
    size_t rows;
  } cases[] = {
      {std::nullopt, "訓練盤型 (網路連線中斷...)", 0},
      {"EMPTY", "訓練盤型 (查無資料...)", 0},
      {"ERROR", "訓練盤型 (查無資料...)", 0},
      {"2013/05/06,T.txt,說明|", "訓練盤型", 1},
  };
  for (const auto& c : cases) {
    ScriptedFetcher fetcher;
    if (c.reply) fetcher.On("http://s/net_GetTrainData_U.asp", *c.reply);
    const TrainingList list = FetchTrainingList(fetcher, kBases);
    EXPECT_EQ(list.caption, c.caption);
    EXPECT_EQ(list.rows.size(), c.rows);
  }
}

TEST(TrainingListTest, DownloadNeedsASelectedRowAndNoRunningSession) {
  TrainingRow row{"2013/05/06", "T.txt", ""};
  EXPECT_EQ(PickTrainingDay(nullptr, false).message->text, "請用滑鼠選擇下載日期");
  EXPECT_EQ(PickTrainingDay(&row, true).message->text, "目前盤勢進行中，請先結束盤勢");
  EXPECT_EQ(PickTrainingDay(&row, true).message->caption, kCaptionWarning);
  const DayPick pick = PickTrainingDay(&row, false);
  ASSERT_TRUE(pick.day);
  EXPECT_EQ(pick.day->bookArchiveName, "TICK_102_05_06.zip");
  EXPECT_FALSE(pick.hideDate);
  TrainingRow bad{"06/05/2013", "T.txt", ""};
  EXPECT_TRUE(PickTrainingDay(&bad, false).message);
}

TEST(TrainingNotesTest, NotesArriveAsUtf16FileThatIsGoneAfterTheLoad) {
  const fs::path cache = FreshDir() / "cache";
  ScriptedFetcher fetcher;
  const std::string notes = "[#] 093055\r\n開盤急漲\r\n[#END]\r\n";
  fetcher.On("http://p/DB/TRAIN_2013_05_06.txt", std::string(kUtf8Bom) + notes);
  std::string seen;
  const auto message = FetchTrainingNotes(fetcher, kBases, "TRAIN_2013_05_06.txt", cache,
                                          [&](const fs::path& path) { seen = ReadFile(path); });
  EXPECT_FALSE(message);
  EXPECT_EQ(seen, std::string(kUtf16LeBom) + Utf8ToUtf16Le(notes));
  EXPECT_FALSE(fs::exists(cache / "train.dat"));
}

TEST(TrainingNotesTest, MissingNotesAreReportedAndNothingIsLoaded) {
  const struct {
    const char* name;
    const char* file;
    std::optional<std::string> reply;
  } cases[] = {
      {"fetch fails", "T.txt", std::nullopt},
      {"empty", "T.txt", ""},
      {"error page", "T.txt", "<html><title>404 Page Not Found</title></html>"},
      {"unsafe name", "../T.txt", "notes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedFetcher fetcher;
    if (c.reply) fetcher.OnPrefix("http://p/DB/", {ScriptedFetcher::Body(*c.reply)});
    bool loaded = false;
    const auto message = FetchTrainingNotes(fetcher, kBases, c.file, FreshDir(),
                                            [&](const fs::path&) { loaded = true; });
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, kTrainingNotesMissing);
    EXPECT_EQ(message->caption, kCaptionWarning);
    EXPECT_FALSE(loaded);
  }
}

}  // namespace
}  // namespace kestrel::test
