// kestrel-sim on a full generated day with its recorded book: a few orders of
// every kind run to the end, and the printed figures agree with each other.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "DayFiles.h"
#include "MarketModel.h"
#include "SimProgram.h"
#include "TestDir.h"
#include "common/Decimal.h"
#include "tradingday/ArchiveWriter.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

// The number after "key," in the export's account block.
int64_t Figure(const std::vector<std::string>& lines, const std::string& key) {
  for (const std::string& l : lines)
    if (l.rfind(key + ",", 0) == 0) return ParseDecimal64(l.substr(key.size() + 1));
  ADD_FAILURE() << "no line " << key;
  return 0;
}

TEST(SimGeneratedDay, AFullDayWithItsBookRunsToTheEnd) {
  const fs::path dir = test::FreshDir();
  daygen::MarketModel model(11);
  const daygen::GeneratedDay day = model.Generate({2013, 5, 6}, daygen::Pattern::Random);
  std::map<std::string, std::string> members;
  for (const ArchiveMember& m : daygen::DayMembers(day)) members[m.name] = m.bytes;
  const fs::path archive = dir / "TICK_2013_05_06.zip";
  test::PackDay(dir, members, archive);
  // Any name will do: the simulator copies the book under the day's book name.
  const fs::path book = dir / "book.zip";
  test::WriteFile(book, ArchiveWriter::BookArchive(daygen::BookMembers(day)));
  fs::create_directories(dir / "data");

  int32_t p = 0;
  for (const daygen::Tick& t : day.ticks) {
    if (t.time >= 9000000) {
      p = t.price;
      break;
    }
  }
  ASSERT_GT(p, 0);
  const auto at = [p](int offset) { return std::to_string(p + offset); };
  test::WriteFile(dir / "orders.txt",
                  "09:00:00,market,buy,2\n"
                  "09:00:00,limit,sell," +
                      at(15) +
                      ",1\n"
                      "09:00:00,limit,buy," +
                      at(-15) +
                      ",1\n"
                      "09:00:00,trigger,sell," +
                      at(-25) +
                      ",1\n"
                      "09:00:00,trigger,buy," +
                      at(25) +
                      ",1\n"
                      "09:00:00,ladder,sell," +
                      at(40) +
                      ",1\n"
                      "10:00:00,market,sell,1\n"
                      "11:00:00,cancel-all\n"
                      "12:00:00,market,sell,3\n");

  const std::string archiveBytes = ReadFile(archive);
  const std::string bookBytes = ReadFile(book);
  const test::ProgramRun run = test::RunSim(
      dir, {archive.string(), "--book", book.string(), "--data", (dir / "data").string(), "--speed",
            "32", "--orders", (dir / "orders.txt").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  const std::vector<std::string> lines = test::Lines(run.out);
  size_t row = 0;
  while (row < lines.size() && lines[row].rfind("序號,", 0) != 0) ++row;
  ASSERT_LT(row, lines.size());
  int64_t bought = 0, sold = 0, costs = 0;
  int deals = 0;
  for (++row; row < lines.size() && !lines[row].empty(); ++row) {
    const std::vector<std::string> f = Fields(lines[row]);
    ASSERT_EQ(f.size(), 11u) << lines[row];
    const int64_t lots = ParseDecimal64(f[7]);
    (f[4] == "買進" ? bought : sold) += lots;
    costs += ParseDecimal64(f[8]) + ParseDecimal64(f[9]);
    ++deals;
  }
  EXPECT_GE(deals, 3) << "the market orders fill at least";
  EXPECT_EQ(bought, sold) << "every lot is closed by the end of the day";
  EXPECT_EQ(Figure(lines, "交易口數"), bought + sold);
  EXPECT_EQ(Figure(lines, "交易成本"), costs);
  EXPECT_EQ(Figure(lines, "毛損益") - Figure(lines, "交易成本"), Figure(lines, "總損益"));
  EXPECT_EQ(Figure(lines, "保證金餘額"), 100000 + Figure(lines, "總損益"));
  EXPECT_NE(run.out.find("\n 日期：2013-05-06\n\n"), std::string::npos);
  EXPECT_NE(run.out.find("　　　　交易口數：" + std::to_string(bought + sold) + "\n"),
            std::string::npos);

  EXPECT_EQ(ReadFile(archive), archiveBytes);
  EXPECT_EQ(ReadFile(book), bookBytes);
  EXPECT_TRUE(fs::is_empty(dir / "data"));
}

}  // namespace
}  // namespace kestrel
