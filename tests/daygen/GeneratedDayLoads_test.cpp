// A generated day goes through the trainer's own loader.
#include <gtest/gtest.h>

#include "DayFiles.h"
#include "MarketModel.h"
#include "TestDir.h"
#include "app/AppSettings.h"
#include "common/Clock.h"
#include "common/ProfileFile.h"
#include "common/Prompter.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayArchiveLoader.h"

namespace kestrel::daygen {
namespace {

namespace fs = std::filesystem;

TEST(GeneratedDay, LoadsWithAndWithoutItsBook) {
  MarketModel model(11);
  const GeneratedDay day = model.Generate({2013, 5, 6}, Pattern::Oscillating);
  for (bool withBook : {false, true}) {
    SCOPED_TRACE(withBook ? "with book" : "without book");
    const fs::path dir = test::FreshDir();
    fs::create_directories(dir / "cache");
    fs::create_directories(dir / "data");
    test::WriteFile(dir / "cache/TICK_2013_05_06.zip", ArchiveWriter::DayArchive(DayMembers(day)));
    if (withBook)
      test::WriteFile(dir / "cache/TICK_102_05_06.zip",
                      ArchiveWriter::BookArchive(BookMembers(day)));

    const AppSettings settings = ReadAppSettings(ProfileFile());
    ScriptedPrompter prompter;
    RecordingSleeper sleeper;
    DayLoadSink sink;
    auto loaded = std::make_unique<TradingDay>();
    loaded->hasRealBook = withBook;
    ASSERT_TRUE(LoadDayArchive(*loaded, "TICK_2013_05_06.zip",
                               {dir / "cache", dir / "data", settings, prompter, sleeper, sink}));
    EXPECT_TRUE(prompter.shown.empty());

    const TradingDay& d = *loaded;
    EXPECT_EQ(d.dateText, "2013-05-06");
    EXPECT_EQ(d.futuresReference, day.futuresReference);
    EXPECT_EQ(d.indexReference, static_cast<int32_t>(day.indexReference));
    EXPECT_EQ(d.limitUp, day.LimitUp());
    EXPECT_EQ(d.indexCount, 3241);
    EXPECT_EQ(d.electronicCount, 3241);
    EXPECT_EQ(d.indexRecords[0].time, "09000000");
    EXPECT_EQ(d.stockCount, 20);
    EXPECT_EQ(d.stocks[9].name, day.stocks[9].name);
    EXPECT_EQ(d.stocks[9].records.size(), day.stocks[9].quotes.size());
    EXPECT_EQ(d.stocks[9].records[0].time.substr(0, 4), "0900") << "HHMMSS with its leading zero";
    // The file's last line, the day itself, is built from the ticks instead.
    EXPECT_EQ(d.dayBars.bars.size(), std::min<size_t>(day.history.size(), 149));
    EXPECT_GE(d.dayBars.bars.size(), 120u);
    EXPECT_EQ(d.dayBars.bars.back().time, std::to_string(day.history.back().date));
    if (withBook) {
      // Two pre-open lines join the ticks, both at 08:45:00.
      ASSERT_EQ(d.tickLines.size(), day.ticks.size() + 2);
      EXPECT_EQ(d.tickLines[0].substr(0, 17),
                "08450000,--,--," + std::to_string(day.ticks[0].price).substr(0, 2));
      EXPECT_EQ(d.bookLines.size(), day.book.size() + 1);
      EXPECT_EQ(d.tickLines[7].find("-9999"), std::string::npos);
    } else {
      ASSERT_EQ(d.tickLines.size(), day.ticks.size());
      EXPECT_EQ(d.tickLines[0].substr(0, 9), "08450000,");
      EXPECT_TRUE(d.bookLines.empty());
    }
    EXPECT_TRUE(fs::is_empty(dir / "cache"));
  }
}

}  // namespace
}  // namespace kestrel::daygen
