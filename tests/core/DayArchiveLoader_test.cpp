#include "tradingday/DayArchiveLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestDir.h"
#include "app/AppSettings.h"
#include "common/Clock.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "tradingday/ArchiveWriter.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using test::FreshDir;
using test::ReadFile;
using test::WriteFile;

const char* const kAdvice =
    "\n\n請在功能表左上角「資料下載」->「資料來源」->勾選「安全下載」再測試一次。";

class RecordingSink final : public DayLoadSink {
 public:
  void RepaintStatusBar() override { calls.push_back("status"); }
  void ResetPriceLadder() override { calls.push_back("ladder"); }
  void RefillStockList(const TradingDay& day) override {
    calls.push_back("stocks " + std::to_string(day.stockCount));
  }
  void RedrawCharts() override { calls.push_back("charts"); }
  int AnalysisDisplayMode() const override { return analysisMode; }
  void IssueAnalysisDisplay(int mode) override {
    calls.push_back("analysis " + std::to_string(mode));
  }
  void ClearTrainingNotes() override { calls.push_back("notes"); }
  void ShowBestFivePane(int height) override {
    calls.push_back("bestfive " + std::to_string(height));
  }
  void LayoutMainWindow() override { calls.push_back("layout"); }

  std::vector<std::string> calls;
  int analysisMode = 1;
};

// The members of a small but complete day, as plain text.
std::vector<ArchiveMember> DayMembers() {
  return {
      {"FTX.DAT", "08450000,7999,8000,8000,12\r\n09000125,8001,8002,8002,3\r\n"},
      {"OPEN.DAT", "close,8512.37\r\nsettle,8555\r\nclose,312.57\r\nclose,1009.5\r\n"},
      {"DAYK.DAT",
       "20110113,8500,8560,8480,8540,120000\n20110114,8540,8600,8530,8590,110000\n"
       "20110117,8590,8600,8500,8555,0\n"},
      {"TX.DAT", "0901,8520.5,10,200,12,240,30,600,150.5\n090105,8521,11,210,13,250,31,610,151\n"},
      {"TXE.DAT", "0901,312.9\n090105,313.1\n"},
      {"TXF.DAT", "0901,1010.25\n"},
      {"StockPrice.Dat", "2330," + Utf8ToCp950("台積電") + ",60.5,64.7,56.3\r\n\r\n2317," +
                             Utf8ToCp950("鴻海") + ",110,117.5,102.5\r\n"},
      {"2330.DAT", "090000,60.4,60.5,60.5,100,100\n090003,60.5,60.6,60.6,7,107\n"},
      {"2317.DAT", "090001,110,110.5,110.5,20,20\n"},
  };
}

std::vector<ArchiveMember> Without(std::vector<ArchiveMember> members, const std::string& name) {
  std::erase_if(members, [&](const ArchiveMember& m) { return m.name == name; });
  return members;
}

std::vector<ArchiveMember> Replaced(std::vector<ArchiveMember> members, const std::string& name,
                                    const std::string& bytes) {
  for (auto& m : members)
    if (m.name == name) m.bytes = bytes;
  return members;
}

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

class DayArchiveLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = FreshDir();
    cache_ = root_ / "cache";
    data_ = root_ / "data";
    fs::create_directories(cache_);
    fs::create_directories(data_);
  }

  // Stores the day archive as the download does: one zero byte after the zip data.
  fs::path StoreDay(const std::vector<ArchiveMember>& members,
                    const std::string& name = "TICK_2011_01_17.zip") {
    const fs::path path = cache_ / name;
    WriteFile(path, ArchiveWriter::DayArchive(members) + std::string(1, '\0'));
    return path;
  }

  void StoreBook(const std::vector<ArchiveMember>& members) {
    WriteFile(cache_ / "TICK_100_01_17.zip",
              ArchiveWriter::BookArchive(members) + std::string(1, '\0'));
  }

  bool Load(const fs::path& path) {
    DayLoadContext context{cache_, data_, settings_, prompter_, sleeper_, sink_};
    return LoadDayArchive(*day_, path, context);
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& s : prompter_.shown) {
      EXPECT_EQ(s.caption, kCaptionError);
      texts.push_back(s.text);
    }
    return texts;
  }

  fs::path root_, cache_, data_;
  AppSettings settings_{};
  ScriptedPrompter prompter_;
  RecordingSleeper sleeper_;
  RecordingSink sink_;
  std::unique_ptr<TradingDay> day_ = std::make_unique<TradingDay>();
};

TEST_F(DayArchiveLoaderTest, LoadsTheDayAsWritten) {
  day_->bidPrice = 9100;  // a previous day's quote
  day_->askPrice = 9101;
  sink_.analysisMode = 3;
  ASSERT_TRUE(Load(StoreDay(DayMembers())));
  const TradingDay& d = *day_;
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(sleeper_.TotalMs(), 300u);

  EXPECT_EQ(d.dateText, "2011-01-17");
  EXPECT_EQ(d.dateKey, "2011_01_17");
  EXPECT_TRUE(d.fineIndexData);
  EXPECT_EQ(d.indexLimit, 4000);
  EXPECT_TRUE(d.dayLoaded);
  EXPECT_FALSE(d.hasRealBook);

  EXPECT_EQ(d.tickLines,
            (std::vector<std::string>{"08450000,7999,8000,8000,12", "09000125,8001,8002,8002,3"}));
  EXPECT_TRUE(d.bookLines.empty());

  EXPECT_EQ(d.indexReference, 8512);
  EXPECT_EQ(d.futuresReference, 8555);
  EXPECT_DOUBLE_EQ(d.electronicReference, 312.57);
  EXPECT_DOUBLE_EQ(d.financialReference, 1009.5);
  EXPECT_EQ(d.limitUp, 8555 + 855);
  EXPECT_EQ(d.limitDown, 8555 - 855);

  ASSERT_EQ(d.indexCount, 2);
  EXPECT_EQ(d.indexRecords[0].time, "09010000");
  EXPECT_EQ(d.indexRecords[0].value, 8520.5f);
  EXPECT_EQ(d.indexRecords[0].tradeValue, 150.5f);
  EXPECT_EQ(d.indexRecords[1].time, "09010500");
  EXPECT_EQ(d.indexRecords[1].sellOrderQuantity, 250);
  ASSERT_EQ(d.electronicCount, 2);
  EXPECT_EQ(d.electronicRecords[1].time, "09010500");
  EXPECT_EQ(d.electronicRecords[1].value, 313.1f);
  ASSERT_EQ(d.financialCount, 1);
  EXPECT_EQ(d.financialRecords[0].value, 1010.25f);

  ASSERT_EQ(d.stockCount, 2);
  EXPECT_EQ(d.stocks[0].code, "2330");
  EXPECT_EQ(d.stocks[0].name, "台積電");
  EXPECT_EQ(d.stocks[0].limitUp, 64.7f);
  ASSERT_EQ(d.stocks[0].records.size(), 2u);
  EXPECT_EQ(d.stocks[0].records[1].price, "60.6");
  EXPECT_EQ(d.stocks[0].records[1].totalVolume, "107");
  EXPECT_EQ(d.stocks[1].name, "鴻海");
  EXPECT_EQ(d.stocks[1].records.at(0).time, "090001");

  // The last line of the day bars is the loaded day itself.
  ASSERT_EQ(d.dayBars.bars.size(), 2u);
  EXPECT_EQ(d.dayBars.bars[1].time, "20110114");
  EXPECT_EQ(d.dayBars.bars[1].close, 8590u);
  EXPECT_FALSE(d.min1Bars.bars.empty());

  // Initial values of the ranges.
  EXPECT_EQ(d.indexTop, 8572);
  EXPECT_EQ(d.indexBottom, 8452);
  EXPECT_EQ(d.indexFirst, 8520.5f);
  EXPECT_EQ(d.indexVolumeScale, 2000);
  EXPECT_FLOAT_EQ(d.electronicTop, 313.57f);
  EXPECT_FLOAT_EQ(d.electronicBottom, 311.57f);
  EXPECT_EQ(d.electronicFirst, 312.9f);
  EXPECT_FLOAT_EQ(d.financialTop, 1013.5f);
  EXPECT_EQ(d.financialFirst, 1010.25f);
  EXPECT_EQ(d.futuresTop, 8615u);
  EXPECT_EQ(d.futuresBottom, 8495u);
  EXPECT_EQ(d.openPrice, 8555);
  EXPECT_EQ(d.minuteVolumeScale, 1000u);
  EXPECT_EQ(d.spreadMax, 0);
  // A new day carries no quote of the previous one.
  EXPECT_EQ(d.bidPrice, 0);
  EXPECT_EQ(d.askPrice, 0);

  EXPECT_EQ(sink_.calls, (std::vector<std::string>{"status", "ladder", "stocks 2", "charts",
                                                   "analysis 3", "notes", "bestfive 0", "layout"}));
  EXPECT_TRUE(Entries(cache_).empty());
}

TEST_F(DayArchiveLoaderTest, AnalysisPaneIsReissuedOnlyForKdAndMacd) {
  for (int mode : {1, 2, 4}) {
    sink_.calls.clear();
    sink_.analysisMode = mode;
    ASSERT_TRUE(Load(StoreDay(DayMembers())));
    const bool reissued = std::find(sink_.calls.begin(), sink_.calls.end(),
                                    "analysis " + std::to_string(mode)) != sink_.calls.end();
    EXPECT_EQ(reissued, mode == 2) << mode;
  }
}

TEST_F(DayArchiveLoaderTest, FineIndexDataStartsOn20110117) {
  struct Case {
    const char* name;
    bool fine;
    int32_t limit;
  };
  const Case cases[] = {{"TICK_2010_12_31.zip", false, 271},
                        {"TICK_2011_01_14.zip", false, 271},
                        {"TICK_2011_01_17.zip", true, 4000},
                        {"TICK_2013_05_06.zip", true, 4000}};
  for (const auto& c : cases) {
    ASSERT_TRUE(Load(StoreDay(DayMembers(), c.name))) << c.name;
    EXPECT_EQ(day_->fineIndexData, c.fine) << c.name;
    EXPECT_EQ(day_->indexLimit, c.limit) << c.name;
  }
}

TEST_F(DayArchiveLoaderTest, RelativePathsAreTakenInTheCacheFolder) {
  StoreDay(DayMembers());
  ASSERT_TRUE(Load("TICK_2011_01_17.zip"));
  EXPECT_EQ(day_->dateText, "2011-01-17");
  EXPECT_TRUE(Entries(cache_).empty());
}

TEST(DayArchiveDate, DateComesFromTheFileName) {
  struct Case {
    const char* path;
    const char* dateText;  // nullptr: refused
  };
  const Case cases[] = {
      {"TICK_2011_01_17.zip", "2011-01-17"},
      {"/home/my_user/work_dir/cache/TICK_2010_12_31.zip", "2010-12-31"},
      {"TICK_2011_01_17.rar", nullptr},
      {"TICK_2011_01_17", nullptr},
      {"day.zip", nullptr},
      {"TICK_2011_1_17.zip", nullptr},
      {"TICK_20a1_01_17.zip", nullptr},
      {"TICK_2011_13_01.zip", nullptr},
      {"TICK_2011_01_00.zip", nullptr},
      {"TICK_2011_01_.zip", nullptr},
      {"/data/TICK_2011_01_17.zip/x.txt", nullptr},
  };
  for (const auto& c : cases) {
    const auto date = ParseArchiveDate(c.path);
    if (c.dateText == nullptr) {
      EXPECT_FALSE(date.has_value()) << c.path;
    } else {
      ASSERT_TRUE(date.has_value()) << c.path;
      EXPECT_EQ(date->dateText, c.dateText);
    }
  }
  const auto date = ParseArchiveDate("TICK_2011_01_17.zip");
  EXPECT_EQ(date->dateKey, "2011_01_17");
  EXPECT_EQ(date->year * 10000 + date->month * 100 + date->day, 20110117);
}

TEST_F(DayArchiveLoaderTest, BadNameIsRefusedBeforeAnyWait) {
  for (const char* name : {"TICK_2011_01_17.rar", "TICK_2011_1_17.zip", "day.zip"}) {
    const fs::path path = StoreDay(DayMembers(), name);
    prompter_.shown.clear();
    EXPECT_FALSE(Load(path)) << name;
    EXPECT_EQ(Messages(), std::vector<std::string>{"請選擇正確檔案格式"}) << name;
    EXPECT_TRUE(fs::exists(path));
  }
  EXPECT_EQ(sleeper_.Calls(), 0);
  EXPECT_FALSE(day_->dayLoaded);
  EXPECT_TRUE(sink_.calls.empty());
}

TEST_F(DayArchiveLoaderTest, ArchiveThatDoesNotOpenIsReported) {
  const fs::path garbage = cache_ / "TICK_2011_01_17.zip";
  WriteFile(garbage, std::string(70000, 'g'));
  const fs::path missing = cache_ / "TICK_2011_01_18.zip";
  for (const fs::path& path : {garbage, missing}) {
    prompter_.shown.clear();
    EXPECT_FALSE(Load(path));
    EXPECT_EQ(Messages(), std::vector<std::string>{"無法開啟壓縮檔:" + path.string() + kAdvice});
  }
  EXPECT_EQ(sleeper_.TotalMs(), 600u);
  EXPECT_EQ(ReadFile(garbage), std::string(70000, 'g'));
}

TEST_F(DayArchiveLoaderTest, TwoMemberArchiveIsRefusedEvenWhenValid) {
  const auto members = DayMembers();
  const fs::path path = StoreDay({members[0], members[1]});
  const std::string stored = ReadFile(path);
  EXPECT_FALSE(Load(path));
  EXPECT_EQ(Messages(), std::vector<std::string>{"壓縮檔檔案數量錯誤:" + path.string()});
  EXPECT_EQ(sleeper_.TotalMs(), 300u);
  EXPECT_EQ(ReadFile(path), stored);  // still in its scrambled form
}

TEST_F(DayArchiveLoaderTest, MemberThatWouldLeaveTheCacheFolderIsRefused) {
  auto members = DayMembers();
  members.insert(members.begin() + 2, {"../x", "evil"});
  const fs::path path = StoreDay(members);
  EXPECT_FALSE(Load(path));
  EXPECT_EQ(Messages(), std::vector<std::string>{"壓縮檔檔案錯誤：../x"});
  EXPECT_EQ(Entries(root_), (std::set<std::string>{"cache", "data"}));
  EXPECT_EQ(Entries(cache_), (std::set<std::string>{"TICK_2011_01_17.zip"}));
  EXPECT_TRUE(Entries(data_).empty());
  EXPECT_FALSE(day_->dayLoaded);
}

TEST_F(DayArchiveLoaderTest, MissingRequiredMemberKeepsThePreviousDay) {
  ASSERT_TRUE(Load(StoreDay(DayMembers(), "TICK_2011_01_14.zip")));
  const auto saved = std::make_unique<TradingDay>(*day_);
  const TradingDay& before = *saved;
  sink_.calls.clear();
  for (const char* name :
       {"FTX.DAT", "OPEN.DAT", "DAYK.DAT", "TX.DAT", "StockPrice.Dat", "2317.DAT"}) {
    prompter_.shown.clear();
    auto members = Without(DayMembers(), name);
    // A day with other content, so that a partial replacement would show.
    members = Replaced(members, "FTX.DAT", "09000000,1,2,3,4\n");
    members = Replaced(members, "TX.DAT", "0930,1\n");
    const fs::path path = StoreDay(members);
    const std::string stored = ReadFile(path);
    EXPECT_FALSE(Load(path)) << name;
    EXPECT_EQ(Messages(), std::vector<std::string>{std::string("壓縮檔缺少檔案：") + name});
    EXPECT_EQ(ReadFile(path), stored) << name;
    EXPECT_EQ(day_->dateText, "2011-01-14") << name;
    EXPECT_FALSE(day_->fineIndexData) << name;
    EXPECT_EQ(day_->tickLines, before.tickLines) << name;
    EXPECT_EQ(day_->indexRecords[0].time, before.indexRecords[0].time) << name;
    EXPECT_EQ(day_->indexCount, before.indexCount) << name;
    EXPECT_EQ(day_->stockCount, before.stockCount) << name;
    EXPECT_EQ(day_->dayBars.bars.size(), before.dayBars.bars.size()) << name;
    EXPECT_TRUE(day_->dayLoaded);
  }
  EXPECT_TRUE(sink_.calls.empty());
}

TEST_F(DayArchiveLoaderTest, MemberNamesOpenedByFileNameIgnoreCase) {
  auto members = DayMembers();
  for (auto& m : members) {
    if (m.name == "DAYK.DAT") m.name = "dayk.dat";
    if (m.name == "StockPrice.Dat") m.name = "STOCKPRICE.DAT";
    if (m.name == "2330.DAT") m.name = "2330.dat";
  }
  ASSERT_TRUE(Load(StoreDay(members)));
  EXPECT_EQ(day_->stockCount, 2);

  // The tick and index members are recognised by their exact names only.
  prompter_.shown.clear();
  members = DayMembers();
  for (auto& m : members)
    if (m.name == "TX.DAT") m.name = "tx.dat";
  EXPECT_FALSE(Load(StoreDay(members)));
  EXPECT_EQ(Messages(), std::vector<std::string>{"壓縮檔缺少檔案：TX.DAT"});
}

TEST_F(DayArchiveLoaderTest, StockCodeThatIsNoPlainCodeIsAnError) {
  const auto members = Replaced(DayMembers(), "StockPrice.Dat", "2330,a,1,2,3\n..\\2317,b,1,2,3\n");
  EXPECT_FALSE(Load(StoreDay(members)));
  EXPECT_EQ(Messages(), std::vector<std::string>{"股票清單第2行代號錯誤：..\\2317,b,1,2,3"});
  EXPECT_FALSE(day_->dayLoaded);
}

TEST_F(DayArchiveLoaderTest, LinesBeyondTheCapacitiesAreDropped) {
  std::string index;
  for (int i = 0; i < 4005; ++i) index += "0901," + std::to_string(8000 + i) + "\n";
  std::string list;
  auto members = Replaced(DayMembers(), "TX.DAT", index);
  members = Replaced(members, "TXE.DAT", index);
  for (int i = 0; i < 22; ++i) {
    const std::string code = std::string("S").append(std::to_string(i));
    list += code + ",n,1,2,3\n";
    // The stocks past the capacity need no member.
    if (i < 20) members.push_back({code + ".DAT", "090000,1,2,2,1,1\n"});
  }
  members = Replaced(members, "StockPrice.Dat", list);
  ASSERT_TRUE(Load(StoreDay(members)));
  EXPECT_EQ(day_->indexCount, 4000);
  EXPECT_EQ(day_->electronicCount, 4000);
  EXPECT_EQ(day_->indexRecords[3999].value, 11999);
  EXPECT_EQ(day_->stockCount, 20);
  EXPECT_EQ(day_->stocks[19].code, "S19");
}

TEST_F(DayArchiveLoaderTest, AbsentSectorMembersEmptyTheirSeries) {
  ASSERT_TRUE(Load(StoreDay(DayMembers())));
  ASSERT_EQ(day_->electronicCount, 2);
  ASSERT_TRUE(Load(StoreDay(Without(Without(DayMembers(), "TXE.DAT"), "TXF.DAT"))));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(day_->electronicCount, 0);
  EXPECT_EQ(day_->financialCount, 0);
  EXPECT_EQ(day_->electronicRecords[0].value, 0);
  EXPECT_EQ(day_->electronicFirst, 0);
}

TEST_F(DayArchiveLoaderTest, SingleDayBarLineGivesAnEmptyDaySeries) {
  ASSERT_TRUE(Load(StoreDay(Replaced(DayMembers(), "DAYK.DAT", "20110117,1,2,3,4,5\n"))));
  EXPECT_TRUE(day_->dayBars.bars.empty());
}

TEST_F(DayArchiveLoaderTest, CacheFolderIsEmptyAfterALoad) {
  WriteFile(cache_ / "MIN1K.DAT", "left by the K-line completion");
  WriteFile(cache_ / "MIN5K.DAT", "left by the K-line completion");
  WriteFile(data_ / "2011_01_14_MIN1K.DAT", "");
  ASSERT_TRUE(Load(StoreDay(DayMembers())));
  EXPECT_TRUE(Entries(cache_).empty());
  EXPECT_EQ(Entries(data_), std::set<std::string>{"2011_01_14_MIN1K.DAT"});
}

// The recorded book of the day, 300 ticks and more so that the opening rewrite runs.
std::vector<ArchiveMember> BookMembers() {
  std::string ticks = "08440012,-9999,-9999,8500,10\r\n08450100,-9999,8501,8501,2\r\n";
  for (int i = 2; i < 305; ++i) ticks += "09000000,8500,8501,8501,1\r\n";
  const std::string snapshots =
      "08430000,1,1\r\n08440000,8499,5,8498,3\r\n09000000,8500,0,,0\r\n09000100,8500,4,8499,2\r\n";
  return {{"TX00_100_01_17.DAT", ticks}, {"TX00_100_01_17.B5", snapshots}};
}

TEST_F(DayArchiveLoaderTest, BookReplacesTheTicksAndBringsItsSnapshots) {
  StoreBook(BookMembers());
  day_->hasRealBook = true;
  ASSERT_TRUE(Load(StoreDay(DayMembers())));
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(day_->hasRealBook);
  EXPECT_EQ(sleeper_.TotalMs(), 350u);
  ASSERT_EQ(day_->tickLines.size(), 305u);
  EXPECT_EQ(day_->tickLines[0], "08450000,--,--,8500,10");
  EXPECT_EQ(day_->tickLines[1], "08450100,8501,8501,8501,2");
  EXPECT_EQ(day_->bookLines,
            (std::vector<std::string>{"08450000,8499,5,8498,3", "09000100,8500,4,8499,2"}));
  EXPECT_NE(std::find(sink_.calls.begin(), sink_.calls.end(), "bestfive 155"), sink_.calls.end());
  EXPECT_TRUE(Entries(cache_).empty());
}

TEST_F(DayArchiveLoaderTest, FaultyBookMemberDropsTheBook) {
  auto book = BookMembers();
  book.insert(book.begin() + 1, {"../x", "evil"});
  StoreBook(book);
  day_->hasRealBook = true;
  ASSERT_TRUE(Load(StoreDay(DayMembers())));
  EXPECT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(Messages(), std::vector<std::string>{"五檔資料錯誤：../x"});
  EXPECT_EQ(sleeper_.TotalMs(), 1350u);
  EXPECT_FALSE(day_->hasRealBook);
  EXPECT_EQ(day_->tickLines.size(), 2u);  // the day's own ticks
  EXPECT_TRUE(day_->bookLines.empty());
  EXPECT_NE(std::find(sink_.calls.begin(), sink_.calls.end(), "bestfive 0"), sink_.calls.end());
  EXPECT_EQ(Entries(root_), (std::set<std::string>{"cache", "data"}));
  EXPECT_TRUE(Entries(cache_).empty());
}

TEST_F(DayArchiveLoaderTest, BookArchiveThatDoesNotOpenIsDroppedSilently) {
  for (bool present : {true, false}) {
    if (present) WriteFile(cache_ / "TICK_100_01_17.zip", "not a zip");
    day_->hasRealBook = true;
    ASSERT_TRUE(Load(StoreDay(DayMembers())));
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(day_->hasRealBook);
    EXPECT_EQ(day_->tickLines.size(), 2u);
    EXPECT_TRUE(Entries(cache_).empty());
  }
  EXPECT_EQ(sleeper_.TotalMs(), 700u);
}

TEST_F(DayArchiveLoaderTest, BookWithoutSnapshotsIsNoBook) {
  StoreBook({BookMembers()[0]});
  day_->hasRealBook = true;
  ASSERT_TRUE(Load(StoreDay(DayMembers())));
  EXPECT_FALSE(day_->hasRealBook);
  EXPECT_EQ(day_->tickLines.size(), 2u);
}

}  // namespace
}  // namespace kestrel
