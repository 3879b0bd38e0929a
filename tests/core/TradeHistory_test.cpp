#include "trading/TradeHistory.h"

#include <gtest/gtest.h>

#include "TestDir.h"
#include "TradeFixture.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "trading/TradeDiary.h"

namespace kestrel {
namespace {

using test::FreshDir;
using test::ReadFile;
using test::TradeFixture;
using test::WriteFile;

class TradeHistory : public TradeFixture {
 protected:
  void Deal(int32_t side, int32_t price) {
    SetQuote(price, price, price);
    Market(side);
    MatchAtQuote(ctx, "10:00:00");
  }
  AccountStatistics Stats() { return ComputeAccountStatistics(account, state); }

  const LocalDateTime ended{2024, 5, 2, 21, 7};
};

TEST_F(TradeHistory, RecordLineAndItsWinRate) {
  struct Case {
    const char* name;
    std::vector<std::pair<int32_t, int32_t>> deals;  // side, price
    const char* line;
  };
  const Case cases[] = {
      {"one winning close",
       {{1, 8000}, {2, 8010}},
       "2024-05-02 21:07,2024-03-15,2,100.0%,2000,464,1536,1000,768,101536,\r\n"},
      // Tax at 7990 is 31; the average -1231.5 shows rounded to even.
      {"only losing closes",
       {{1, 8000}, {2, 7990}},
       "2024-05-02 21:07,2024-03-15,2,0%,-2000,463,-2463,-1000,-1232,97537,\r\n"},
      {"only an open lot",
       {{1, 8000}},
       "2024-05-02 21:07,2024-03-15,1,N/A,0,232,-232,0,-232,99768,\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state = {};
    account.realisedPnl = account.totalCost = account.winCount = account.lossCount = 0;
    for (const auto& [side, price] : c.deals) Deal(side, price);
    EXPECT_EQ(HistoryRecordLine(Stats(), "2024-03-15", ended), c.line);
  }
}

TEST_F(TradeHistory, AppendsOneLinePerEndedDayWithDeals) {
  const auto diary = FreshDir() / "Diary";
  EXPECT_FALSE(WriteHistoryRecord(diary, Stats(), "2024-03-15", ended));
  EXPECT_FALSE(std::filesystem::exists(diary / kTradeHistoryFileName));

  Deal(1, 8000);
  Deal(2, 8010);
  ASSERT_TRUE(WriteHistoryRecord(diary, Stats(), "2024-03-15", ended));
  ASSERT_TRUE(WriteHistoryRecord(diary, Stats(), "2024-03-15", ended));
  const std::string line = HistoryRecordLine(Stats(), "2024-03-15", ended);
  EXPECT_EQ(ReadFile(diary / kTradeHistoryFileName), Utf8ToCp950(line + line));

  const std::vector<HistoryRow> rows = ReadTradeHistory(diary);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].number, "2");
  EXPECT_EQ(rows[1].fields[1], "2024-03-15");
  EXPECT_EQ(rows[1].fields[3], "100.0%");
  EXPECT_EQ(rows[1].fields[9], "101536");
}

std::string HistoryLine(int n) {
  return "2024-05-0" + std::to_string(n) + " 10:00,2024-03-1" + std::to_string(n) +
         ",2,N/A,0,0,0,0,0,100000,\r\n";
}

TEST(TradeHistoryFile, ReadingCreatesTheFileAndToleratesShortLines) {
  const auto diary = FreshDir() / "Diary";
  EXPECT_TRUE(ReadTradeHistory(diary).empty());
  EXPECT_TRUE(std::filesystem::exists(diary / kTradeHistoryFileName));

  WriteFile(diary / kTradeHistoryFileName, "2024-05-01 10:00,2024-03-11\r\nlast,line");
  const auto rows = ReadTradeHistory(diary);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].fields[1], "2024-03-11");
  EXPECT_EQ(rows[0].fields[9], "");
  EXPECT_EQ(rows[1].fields[1], "line");
}

TEST(TradeHistoryFile, DeletingTickedRowsRewritesTheRest) {
  const auto diary = FreshDir() / "Diary";
  std::filesystem::create_directories(diary);
  std::string text;
  for (int n = 1; n <= 5; ++n) text += HistoryLine(n);
  WriteFile(diary / kTradeHistoryFileName, text);
  std::vector<HistoryRow> rows = ReadTradeHistory(diary);
  ASSERT_EQ(rows.size(), 5u);
  rows[1].checked = rows[2].checked = true;

  ScriptedPrompter no;
  no.answers = {PromptAnswer::No};
  EXPECT_FALSE(DeleteSelectedHistory(no, diary, rows).has_value());
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(ReadFile(diary / kTradeHistoryFileName), text);

  ScriptedPrompter yes;
  yes.answers = {PromptAnswer::Yes};
  EXPECT_FALSE(DeleteSelectedHistory(yes, diary, rows).has_value());
  EXPECT_EQ(yes.shown.at(0).text, "要刪除選取的紀錄嗎?");
  EXPECT_EQ(yes.shown.at(0).caption, "警告");
  EXPECT_EQ(ReadFile(diary / kTradeHistoryFileName),
            HistoryLine(1) + HistoryLine(4) + HistoryLine(5));
  // Shown numbers stay until the window opens again.
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].number, "4");

  EXPECT_EQ(HistoryExportText(rows),
            "訓練日期,復盤日期,交易口數,勝率,毛損益,交易成本,總損益,平均每口毛損,平均每口淨損,"
            "保證金餘額\r\n"
            "2024-05-01 10:00,2024-03-11,2,N/A,0,0,0,0,0,100000\r\n"
            "2024-05-04 10:00,2024-03-14,2,N/A,0,0,0,0,0,100000\r\n"
            "2024-05-05 10:00,2024-03-15,2,N/A,0,0,0,0,0,100000\r\n");
  const auto exported = diary / kHistoryExportName;
  EXPECT_FALSE(ExportTradeHistory(exported, rows).has_value());
  EXPECT_EQ(ReadFile(exported), Utf8ToCp950(HistoryExportText(rows)));
  EXPECT_TRUE(ExportTradeHistory(diary / "none" / kHistoryExportName, rows).has_value());

  ScriptedPrompter all;
  all.answers = {PromptAnswer::Yes};
  EXPECT_FALSE(DeleteAllHistory(all, diary, rows).has_value());
  EXPECT_EQ(all.shown.at(0).text, "要刪除全部紀錄嗎?");
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(ReadFile(diary / kTradeHistoryFileName), "");
}

TEST(TradeDiary, TwoLinesRoundTripAndThePlaceholder) {
  const auto diary = FreshDir() / "Diary";
  EXPECT_EQ(LoadDiary(diary, "2024-03-15"), "在此加入日誌並儲存");
  EXPECT_TRUE(std::filesystem::is_directory(diary));

  struct Case {
    const char* name;
    std::string edit;
    std::string file;
    std::string reloaded;
  };
  const Case cases[] = {
      {"edit with CR LF breaks", "第一行\r\n第二行", "第一行\r\r\n第二行", "第一行\r\n第二行\n"},
      {"edit with LF breaks", "第一行\n第二行\n", "第一行\r\n第二行\r\n", "第一行\n第二行\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SaveDiary(diary, "2024-03-15", c.edit), (UserMessage{"成功儲存", "Kestrel"}));
    EXPECT_EQ(ReadFile(diary / "2024-03-15.DAT"), Utf8ToCp950(c.file));
    EXPECT_EQ(LoadDiary(diary, "2024-03-15"), c.reloaded);
  }
}

TEST(TradeDiary, SaveFailureIsReported) {
  const auto dir = FreshDir();
  WriteFile(dir / "Diary", "a file where the folder should be");
  EXPECT_EQ(SaveDiary(dir / "Diary", "2024-03-15", "text"),
            (UserMessage{"無法儲存檔案請回報該問題", "Kestrel"}));
}

}  // namespace
}  // namespace kestrel
