// kestrel-sim run as an instructor runs it, on a small day packed by
// kestrel-daygen whose deals and figures are worked out by hand below.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "SimProgram.h"
#include "TestDir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using test::FreshDir;
using test::ReadFile;
using test::RunSim;
using test::WriteFile;

// Reference 8000. Quote before 09:00 bid 7999 / ask 8000, last 8000; at 09:00:00
// 8000 / 8001, last 8000; at 09:00:05 8001 / 8002, last 8002; the last tick at
// 09:01:00 is 8004 / 8005, last 8005.
std::map<std::string, std::string> HandDay() {
  return {
      {"FTX.DAT",
       "08450000,7999,8000,8000,10\r\n09000000,8000,8001,8000,2\r\n"
       "09000500,8001,8002,8002,3\r\n09010000,8004,8005,8005,1\r\n"},
      {"OPEN.DAT", "INDEX,7980.5\r\nFUTURES,8000\r\nE,300\r\nF,900\r\n"},
      {"DAYK.DAT",
       "20130507,7950,8010,7940,7990,50000\r\n20130508,7990,8020,7980,8000,48000\r\n"
       "20130509,8000,8000,8000,8000,0\r\n"},
      {"TX.DAT", "090000,7981.5,10,200,12,240,30,600,150.5\r\n"},
      {"StockPrice.Dat", "2330,TSMC,100,110,90\r\n"},
      {"2330.DAT", "090000,99.9,100,100,5,5\r\n"},
  };
}

const char* const kExportHead =
    "復盤日期,2013-05-09\r\n\r\n"
    "成交記錄\r\n"
    "序號,委託時間,成交時間,商品,交易別,委託價,成交價,口數,手續費,交易稅,成交別\r\n";

const char* const kMarginNotes =
    " 註解：\n"
    "　１. 總   損   益＝毛損益－手續費－期交稅\n"
    "　２. 交易成本＝手續費＋期交稅\n";

class SimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = FreshDir();
    archive = dir / "TICK_2013_05_09.zip";
    test::PackDay(dir, HandDay(), archive);
  }

  std::string Script(const std::string& text) {
    const fs::path path = dir / "orders.txt";
    WriteFile(path, text);
    return path.string();
  }

  std::string Settings(const std::string& text) {
    const fs::path path = dir / "setup.ini";
    WriteFile(path, text);
    return path.string();
  }

  fs::path dir;
  fs::path archive;
};

// The export's first line holds today's date; the rest is fixed.
std::string AfterDrillDate(const std::string& out) {
  const std::string prefix = "演練時間,";
  EXPECT_EQ(out.rfind(prefix, 0), 0u) << out;
  const size_t end = out.find("\r\n");
  EXPECT_EQ(end, prefix.size() + 10) << "YYYY-MM-DD";
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    const char c = out[prefix.size() + i];
    EXPECT_TRUE(c >= '0' && c <= '9') << out.substr(0, end);
  }
  return end == std::string::npos ? out : out.substr(end + 2);
}

// Large contract, fee 100: a limit buy filled at the better ask, a market sell
// closing one lot, a trigger that fires and fills at the next quote, cancels
// of orders that would otherwise fill, refusals, and two lots settled at the
// day's end. The same deals come out at every speed.
TEST_F(SimProgram, DealsFeesAndFiguresOfAScriptedDay) {
  const std::string orders = Script(
      "# limit buy fills at the ask 8000, not at 8003\n"
      "08:50:00,limit,buy,8003,2\n"
      "08:55:00,market,sell,1\n"
      "# each of these would fill or fire later but for the cancels\n"
      "08:57:00,limit,sell,8002,1\n"
      "08:57:30,ladder,sell,8003,1\n"
      "08:57:45,trigger,sell,8001,1\n"
      "08:58:00,cancel,3\n"
      "08:58:30,cancel-all\n"
      "08:58:40,trigger,buy,8002,1\n"
      "08:59:00,limit,buy,abc,1\n"
      "08:59:10,market,buy,100\n"
      "08:59:20,cancel,9\n"
      "13:00:00,market,buy,1\n");
  const std::string settings =
      Settings("[ACCOUNT]\r\nBIGFEE=100\r\nSMALLFEE=150\r\nMARGIN=500000\r\nTRADE=1\r\n");

  // Costs per lot: tax 32 at 8000, 8002 and 8004, 31 at 7999; fee 100.
  // Gross: -200 (7999 against 8000), +800 and +400 at the close; costs 791.
  const std::string expected = std::string(kExportHead) +
                               "0001,08:50:00,08:50:00,大台指,買進,8003,8000,2,200,64,新倉\r\n"
                               "0002,08:55:00,08:55:00,大台指,賣出,市價,7999,1,100,31,平倉\r\n"
                               "0006,09:00:05,09:00:05,大台指,買進,市價,8002,1,100,32,新倉\r\n"
                               "0008,09:01:00,09:01:00,大台指,賣出,市價,8004,1,100,32,平倉\r\n"
                               "0008,09:01:00,09:01:00,大台指,賣出,市價,8004,1,100,32,平倉\r\n"
                               "\r\n保證金餘額,500209\r\n"
                               "交易口數,6\r\n"
                               "勝率,66.7%\r\n"
                               "毛損益,1000\r\n"
                               "交易成本,791\r\n"
                               "總損益,209\r\n"
                               "平均每口毛損,167\r\n"
                               "平均每口淨損,35\r\n"
                               "\n"
                               " 日期：2013-05-09\n\n"
                               "　　　保證金餘額：500209 元\n"
                               "　　　　交易口數：6\n"
                               "　　　　　　勝率：66.7%\n\n"
                               "　　　　　總損益：   209　(浮動+已實現)\n"
                               "　　　　　毛損益：  1000\n"
                               "　　　　交易成本：   791　(佔整體損益：378.47%)\n\n"
                               "　平均每口毛損益：167 元\n"
                               "　平均每口淨損益：35 元\n\n" +
                               kMarginNotes;
  const std::string expectedErr =
      "kestrel-sim: line 11: 錯誤: 請輸入價位\n"
      "kestrel-sim: line 12: 警告: 為了方便練習，不採實質保證金制度，下單口數請勿過大。\n"
      "kestrel-sim: line 13: no pending order 0009 to cancel\n"
      "kestrel-sim: line 14: 13:00:00 market not run: the day ended at 09:01:00\n";

  const std::string archiveBytes = ReadFile(archive);
  const auto archiveTime = fs::last_write_time(archive);
  const std::vector<std::vector<std::string>> speeds = {
      {"--speed", "1"}, {"--speed", "1", "--smooth"}, {"--speed", "8"}, {"--speed", "32"}};
  for (const auto& speed : speeds) {
    SCOPED_TRACE(speed.back());
    std::vector<std::string> args = {archive.string(), "--settings", settings, "--orders", orders};
    args.insert(args.end(), speed.begin(), speed.end());
    const test::ProgramRun run = RunSim(dir, args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(AfterDrillDate(run.out), expected);
    EXPECT_EQ(run.err, expectedErr);
  }
  EXPECT_EQ(ReadFile(archive), archiveBytes) << "the user's archive is only read";
  EXPECT_EQ(fs::last_write_time(archive), archiveTime);
}

// Mini contract with the default settings: a short position, a limit buy
// closing part of it, a resting order dropped at the end, and an "end" that
// settles the rest at the ask of 09:00:30 before the last tick.
TEST_F(SimProgram, EndActionSettlesAShortAtTheQuoteOfItsTime) {
  const std::string orders = Script(
      "08:46:00,market,sell,3\n"
      "08:47:00,limit,buy,8001,1\n"
      "08:48:00,limit,sell,8100,1\n"
      "09:00:30,end\n"
      "09:00:40,market,buy,1\n");
  // Tax per lot 7 at 7999, 8 at 8000 and 8002; fee 200. Gross -50 and -300.
  const std::string expected = std::string(kExportHead) +
                               "0001,08:46:00,08:46:00,小台指,賣出,市價,7999,3,600,21,新倉\r\n"
                               "0002,08:47:00,08:47:00,小台指,買進,8001,8000,1,200,8,平倉\r\n"
                               "0004,09:00:30,09:00:30,小台指,買進,市價,8002,2,400,16,平倉\r\n"
                               "\r\n保證金餘額,98405\r\n"
                               "交易口數,6\r\n"
                               "勝率,0.0%\r\n"
                               "毛損益,-350\r\n"
                               "交易成本,1245\r\n"
                               "總損益,-1595\r\n"
                               "平均每口毛損,-58\r\n"
                               "平均每口淨損,-266\r\n"
                               "\n"
                               " 日期：2013-05-09\n\n"
                               "　　　保證金餘額：98405 元\n"
                               "　　　　交易口數：6\n"
                               "　　　　　　勝率：0.0%\n\n"
                               "　　　　　總損益： -1595　(浮動+已實現)\n"
                               "　　　　　毛損益：  -350\n"
                               "　　　　交易成本：  1245　(佔整體損益：78.06%)\n\n"
                               "　平均每口毛損益：-58 元\n"
                               "　平均每口淨損益：-266 元\n\n" +
                               kMarginNotes;
  const test::ProgramRun run = RunSim(dir, {archive.string(), "--orders", orders});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(AfterDrillDate(run.out), expected);
  EXPECT_EQ(run.err, "kestrel-sim: line 5: 09:00:40 market not run: the day ended at 09:00:30\n");
}

TEST_F(SimProgram, WithoutOrdersPrintsTheEmptyAccount) {
  const test::ProgramRun run = RunSim(dir, {archive.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(AfterDrillDate(run.out), std::string(kExportHead) +
                                         "\r\n保證金餘額,100000\r\n交易口數,0\r\n勝率,N/A\r\n"
                                         "毛損益,0\r\n交易成本,0\r\n總損益,0\r\n"
                                         "平均每口毛損,0\r\n平均每口淨損,0\r\n"
                                         "\n 日期：2013-05-09\n\n　　　保證金餘額：100000 元\n");
  EXPECT_EQ(run.err, "");
}

// The classroom allows one lot per order and three lots per side.
TEST_F(SimProgram, StudentLimitsRefuseOversizedOrders) {
  const std::string orders = Script(
      "08:46:00,market,buy,2\n"
      "08:46:10,market,buy,1\n"
      "08:46:20,market,buy,1\n"
      "08:46:30,market,buy,1\n"
      "08:47:00,market,buy,1\n"
      "08:47:10,market,sell,1\n");
  struct Case {
    bool student;
    const char* lotsLine;
    const char* err;
  };
  const Case cases[] = {
      {false, "交易口數,12\r\n", ""},
      {true, "交易口數,6\r\n",
       "kestrel-sim: line 1: 警告: 學員模式中，一次只能下單一口，最多三口。\n"
       " 程式自動將下單口數設定成1口。\n"
       "kestrel-sim: line 5: 警告: "
       "學員模式中，最多只能有三口買進未平倉口數，現在您只能反向賣出平倉。\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.student);
    std::vector<std::string> args = {archive.string(), "--orders", orders};
    if (c.student) args.push_back("--student");
    const test::ProgramRun run = RunSim(dir, args);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(c.lotsLine), std::string::npos) << run.out;
    EXPECT_EQ(run.err, c.err);
  }
}

// Every failure ends with a non-zero status, a message and nothing on stdout.
TEST_F(SimProgram, RefusesBadInputWithAMessage) {
  fs::create_directories(dir / "bad");
  fs::create_directories(dir / "noindex");
  WriteFile(dir / "bad/TICK_2013_05_09.zip", "not a zip at all");
  fs::copy_file(archive, dir / "day.zip");
  std::map<std::string, std::string> noIndex = HandDay();
  noIndex.erase("TX.DAT");
  test::PackDay(dir, noIndex, dir / "noindex/TICK_2013_05_09.zip");
  const std::string a = archive.string();
  const std::string badScript = Script(
      "08:50:00,limit,buy,8003,2\n"
      "09:00:00,limt,buy,1,1\n"
      "\n"
      "10:00:00,market,buy\n");
  const std::string fastSettings = Settings("[UI]\r\nRUN_SPEED=4\r\n");

  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"bad script lines",
       {a, "--orders", badScript},
       1,
       {"orders.txt line 2: unknown action 'limt'",
        "orders.txt line 4: expected HH:MM:SS,market,buy|sell,LOTS"}},
      {"not a zip",
       {(dir / "bad/TICK_2013_05_09.zip").string()},
       1,
       {"kestrel-sim: 錯誤: 無法開啟壓縮檔:TICK_2013_05_09.zip\n\n"
        "請在功能表左上角「資料下載」->「資料來源」->勾選「安全下載」再測試一次。\n"}},
      {"member missing",
       {(dir / "noindex/TICK_2013_05_09.zip").string()},
       1,
       {"kestrel-sim: 錯誤: 壓縮檔缺少檔案：TX.DAT\n"}},
      {"no date in the name", {(dir / "day.zip").string()}, 1, {"錯誤: 請選擇正確檔案格式\n"}},
      {"missing archive", {(dir / "none.zip").string()}, 1, {"no such archive: "}},
      {"missing script",
       {a, "--orders", (dir / "none.txt").string()},
       1,
       {"no such order script: "}},
      {"missing settings",
       {a, "--settings", (dir / "none.ini").string()},
       1,
       {"no such settings file: "}},
      {"missing book", {a, "--book", (dir / "none.zip").string()}, 1, {"no such book archive: "}},
      {"data not a folder", {a, "--data", a}, 1, {"no such data folder: "}},
      {"unknown option", {a, "--fast"}, 2, {"kestrel-sim: unknown option --fast\n", "usage: "}},
      {"smooth above normal speed",
       {a, "--settings", fastSettings, "--smooth"},
       1,
       {"--smooth runs at normal speed only; the speed is 4\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::ProgramRun run = RunSim(dir, c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    for (const std::string& m : c.messages)
      EXPECT_NE(run.err.find(m), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadFile(dir / "bad/TICK_2013_05_09.zip"), "not a zip at all");
  EXPECT_TRUE(fs::exists(dir / "day.zip"));
}

}  // namespace
}  // namespace kestrel
