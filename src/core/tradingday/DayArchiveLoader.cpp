#include "tradingday/DayArchiveLoader.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "charts/Indicators.h"
#include "common/Clock.h"
#include "common/FileUtil.h"
#include "common/Prompter.h"
#include "common/TextCodec.h"
#include "tradingday/ArchiveWriter.h"
#include "tradingday/DayMembers.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/Scramble.h"
#include "tradingday/ZipReader.h"

namespace kestrel {

namespace fs = std::filesystem;
namespace dm = day_members;

namespace {

constexpr const char* kWrongFormat = "請選擇正確檔案格式";
constexpr const char* kCannotOpen = "無法開啟壓縮檔:";
constexpr const char* kSafeDownloadAdvice =
    "\n\n請在功能表左上角「資料下載」->「資料來源」->勾選「安全下載」再測試一次。";
constexpr const char* kMemberCount = "壓縮檔檔案數量錯誤:";
constexpr const char* kMemberError = "壓縮檔檔案錯誤：";
constexpr const char* kMemberMissing = "壓縮檔缺少檔案：";
constexpr const char* kBookError = "五檔資料錯誤：";

constexpr uint32_t kAfterDescrambleMs = 300;
constexpr uint32_t kAfterBookDescrambleMs = 50;
constexpr uint32_t kAfterBookErrorMs = 1000;
constexpr int32_t kCoarseIndexLimit = 271;  // one index record per minute, 09:00 to 13:30
constexpr int kBestFiveRowHeight = 155;
constexpr int kAnalysisKd = 2;
constexpr int kAnalysisMacd = 3;

// Members read into memory, in archive order. Extraction to disk would let a
// later member overwrite an earlier one of the same name, so the last one wins.
class MemberSet {
 public:
  void Add(std::string name, std::string bytes) {
    items_.emplace_back(std::move(name), std::move(bytes));
  }

  // By exact, case-sensitive name, as the loader recognises FTX, TX, OPEN, TXE, TXF.
  std::string* Exact(std::string_view name) {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
      if (it->first == name) return &it->second;
    return nullptr;
  }

  // Ignoring case, as a member opened by its file name in the cache folder was.
  std::string* AnyCase(std::string_view name) {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
      if (EqualsIgnoreCase(it->first, name)) return &it->second;
    return nullptr;
  }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

bool AllDigits(std::string_view text, size_t length) {
  if (text.size() != length) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n;
}

std::string Plain(const std::string* scrambled) {
  std::string bytes = *scrambled;
  Descramble(bytes);
  return bytes;
}

void RemoveIfPresent(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// One load into a fresh day; the caller's day is replaced only at the end.
class DayLoad {
 public:
  DayLoad(const fs::path& path, const DayLoadContext& context, bool hasRealBook)
      : path_(path), ctx_(context), day_(std::make_unique<TradingDay>()) {
    day_->hasRealBook = hasRealBook;
    archive_ = path.is_absolute() ? path : context.cacheFolder / path;
  }

  bool Run(TradingDay& target);

 private:
  void Error(const std::string& text) { ctx_.prompter.Message(text, kCaptionError); }
  bool Missing(std::string_view name) {
    Error(kMemberMissing + std::string(name));
    return false;
  }

  bool ReadDayArchive();
  void ReadBookArchive();
  bool ReadSeries();
  void ApplyBook();
  void SetInitialValues();
  bool ReadStocks();
  void Commit(TradingDay& target, bool bookWanted);

  fs::path path_;
  fs::path archive_;
  const DayLoadContext& ctx_;
  std::unique_ptr<TradingDay> day_;
  ArchiveDate date_;
  MemberSet members_;
  MemberSet book_;
};

bool DayLoad::Run(TradingDay& target) {
  const bool bookWanted = day_->hasRealBook;
  const auto date = ParseArchiveDate(path_);
  if (!date) {
    Error(kWrongFormat);
    return false;
  }
  date_ = *date;
  TradingDay& day = *day_;
  day.dateText = date_.dateText;
  day.dateKey = date_.dateKey;
  day.fineIndexData = date_.fineIndexData;
  day.indexLimit = day.fineIndexData ? TradingDay::kIndexCapacity : kCoarseIndexLimit;

  if (!ReadDayArchive()) return false;
  if (day.hasRealBook) ReadBookArchive();
  day.dayLoaded = true;
  if (!ReadSeries()) return false;
  if (day.hasRealBook) ApplyBook();
  SetInitialValues();
  if (!ReadStocks()) return false;
  Commit(target, bookWanted);
  return true;
}

bool DayLoad::ReadDayArchive() {
  // The file on disk keeps its stored form; only this copy is descrambled.
  std::string bytes = ReadWholeFile(archive_).value_or(std::string());
  Descramble(bytes);
  ctx_.sleeper.SleepMs(kAfterDescrambleMs);

  ZipReader zip;
  if (!zip.Open(std::move(bytes))) {
    Error(kCannotOpen + path_.string() + kSafeDownloadAdvice);
    return false;
  }
  if (zip.MemberCount() < 3) {
    Error(kMemberCount + path_.string());
    return false;
  }
  std::string failed;
  bool ok = true;
  zip.ForEachMember([&](const std::string& name, std::optional<std::string> member) {
    if (!member) {
      failed = name;
      ok = false;
      return false;
    }
    members_.Add(name, std::move(*member));
    return true;
  });
  if (!ok) {
    Error(kMemberError + Cp950ToUtf8(failed));
    return false;
  }
  return true;
}

void DayLoad::ReadBookArchive() {
  const fs::path bookPath =
      ctx_.cacheFolder / ArchiveWriter::BookArchiveName(date_.year, date_.month, date_.day);
  std::string bytes = ReadWholeFile(bookPath).value_or(std::string());
  Descramble(bytes);
  ctx_.sleeper.SleepMs(kAfterBookDescrambleMs);

  ZipReader zip;
  if (!zip.Open(std::move(bytes))) {
    // Like a faulty member, but there is no member to name.
    day_->hasRealBook = false;
    return;
  }
  zip.ForEachMember([&](const std::string& name, std::optional<std::string> member) {
    if (!member) {
      Error(kBookError + Cp950ToUtf8(name));
      ctx_.sleeper.SleepMs(kAfterBookErrorMs);
      day_->hasRealBook = false;
      return true;
    }
    book_.Add(name, std::move(*member));
    return true;
  });
}

bool DayLoad::ReadSeries() {
  TradingDay& day = *day_;
  day.ResetForLoad();

  std::string* ticks = members_.Exact("FTX.DAT");
  if (ticks == nullptr) return Missing("FTX.DAT");
  day.tickLines = dm::ReadTickLines(*ticks);

  std::string* open = members_.Exact("OPEN.DAT");
  if (open == nullptr) return Missing("OPEN.DAT");
  const dm::OpenValues refs = dm::ParseOpenValues(Plain(open));
  day.indexReference = refs.indexReference;
  day.futuresReference = refs.futuresReference;
  day.electronicReference = refs.electronicReference;
  day.financialReference = refs.financialReference;

  std::string* dayBars = members_.AnyCase("DAYK.DAT");
  if (dayBars == nullptr) return Missing("DAYK.DAT");
  BuildDayBars(day, dm::ReadDayBarLines(Plain(dayBars)));
  RecomputeAllIndicators(day.dayBars, IndicatorParamsFor(ctx_.settings, KPeriod::Day));

  for (KPeriod period : {KPeriod::Min1, KPeriod::Min5, KPeriod::Min30}) {
    LoadMinuteHistory(day, period, ctx_.dataFolder);
    RecomputeAllIndicators(day.Series(period), IndicatorParamsFor(ctx_.settings, period));
  }

  std::string* index = members_.Exact("TX.DAT");
  if (index == nullptr) return Missing("TX.DAT");
  day.indexCount = dm::ParseIndexRecords(Plain(index), day.indexRecords);
  if (std::string* electronic = members_.Exact("TXE.DAT")) {
    day.electronicCount = dm::ParseSectorRecords(Plain(electronic), day.electronicRecords);
  }
  if (std::string* financial = members_.Exact("TXF.DAT")) {
    day.financialCount = dm::ParseSectorRecords(Plain(financial), day.financialRecords);
  }
  return true;
}

void DayLoad::ApplyBook() {
  TradingDay& day = *day_;
  const std::string stem = ArchiveWriter::BookMemberStem(date_.year, date_.month, date_.day);
  const std::string* snapshots = book_.AnyCase(stem + ".B5");
  if (snapshots == nullptr) {
    // Without its snapshots the book is no book; the day's own ticks stay.
    day.hasRealBook = false;
    return;
  }
  if (const std::string* ticks = book_.AnyCase(stem + ".DAT")) {
    day.tickLines = dm::ReadBookTicks(*ticks);
  }
  day.bookLines = dm::ReadBookSnapshots(*snapshots);
}

void DayLoad::SetInitialValues() {
  TradingDay& d = *day_;
  const auto indexReference = static_cast<float>(d.indexReference);
  d.indexTop = indexReference + 60;
  d.indexBottom = indexReference - 60;
  d.indexVolumeScale = 2000;
  d.indexFirst = d.indexCount > 0 ? d.indexRecords[0].value : 0.0f;
  d.spreadMax = 0;
  d.electronicTop = static_cast<float>(d.electronicReference + 1);
  d.electronicBottom = static_cast<float>(d.electronicReference - 1);
  d.electronicFirst = d.electronicCount > 0 ? d.electronicRecords[0].value : 0.0f;
  d.financialTop = static_cast<float>(d.financialReference + 4);
  d.financialBottom = static_cast<float>(d.financialReference - 4);
  d.financialFirst = d.financialCount > 0 ? d.financialRecords[0].value : 0.0f;
  d.minuteVolumeScale = 1000;
  d.futuresTop = static_cast<uint32_t>(d.futuresReference + 60);
  d.futuresBottom = static_cast<uint32_t>(d.futuresReference - 60);
  d.openPrice = d.futuresReference;
  const auto band = static_cast<int32_t>(static_cast<double>(d.futuresReference) * 0.1);
  d.limitUp = d.futuresReference + band;
  d.limitDown = d.futuresReference - band;
}

bool DayLoad::ReadStocks() {
  TradingDay& day = *day_;
  std::string* list = members_.AnyCase("StockPrice.Dat");
  if (list == nullptr) return Missing("StockPrice.Dat");
  std::string error;
  std::vector<_StockInfo> stocks =
      dm::ParseStockList(Plain(list), TradingDay::kStockCapacity, error);
  if (!error.empty()) {
    Error(error);
    return false;
  }
  for (auto& stock : stocks) {
    const std::string memberName = stock.code + ".DAT";
    std::string* quotes = members_.AnyCase(memberName);
    if (quotes == nullptr) return Missing(memberName);
    stock.records = dm::ParseStockRecords(Plain(quotes));
    day.stocks[static_cast<size_t>(day.stockCount++)] = std::move(stock);
  }
  return true;
}

void DayLoad::Commit(TradingDay& target, bool bookWanted) {
  // Nothing of the day's files stays in the cache folder once it is loaded.
  if (bookWanted) {
    RemoveIfPresent(ctx_.cacheFolder /
                    ArchiveWriter::BookArchiveName(date_.year, date_.month, date_.day));
  }
  for (const char* leftover : {"MIN1K.DAT", "MIN5K.DAT"}) {
    RemoveIfPresent(FindCaseInsensitive(ctx_.cacheFolder, leftover));
  }
  RemoveIfPresent(archive_);

  target = std::move(*day_);

  DayLoadSink& sink = ctx_.sink;
  sink.RepaintStatusBar();
  sink.ResetPriceLadder();
  sink.RefillStockList(target);
  sink.RedrawCharts();
  const int analysis = sink.AnalysisDisplayMode();
  if (analysis == kAnalysisKd || analysis == kAnalysisMacd) sink.IssueAnalysisDisplay(analysis);
  sink.ClearTrainingNotes();
  sink.ShowBestFivePane(target.hasRealBook ? kBestFiveRowHeight : 0);
  sink.LayoutMainWindow();
}

}  // namespace

std::optional<ArchiveDate> ParseArchiveDate(const fs::path& path) {
  const std::string name = path.filename().string();
  if (name.find(".zip") == std::string::npos) return std::nullopt;
  // The 4 characters after the first "_", then 2 after each of the next two.
  const size_t first = name.find('_');
  if (first == std::string::npos) return std::nullopt;
  const size_t second = name.find('_', first + 1);
  if (second == std::string::npos) return std::nullopt;
  const size_t third = name.find('_', second + 1);
  if (third == std::string::npos) return std::nullopt;
  const std::string_view text = name;
  const std::string_view year = text.substr(first + 1, 4);
  const std::string_view month = text.substr(second + 1, 2);
  const std::string_view day = text.substr(third + 1, 2);
  if (!AllDigits(year, 4) || !AllDigits(month, 2) || !AllDigits(day, 2)) return std::nullopt;

  ArchiveDate date;
  date.year = Number(year);
  date.month = Number(month);
  date.day = Number(day);
  if (date.year < 1912 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
    return std::nullopt;
  }
  date.dateText = std::string(year) + "-" + std::string(month) + "-" + std::string(day);
  date.dateKey = std::string(year) + "_" + std::string(month) + "_" + std::string(day);
  date.fineIndexData = date.year * 10000 + date.month * 100 + date.day >= 20110117;
  return date;
}

bool LoadDayArchive(TradingDay& day, const fs::path& path, const DayLoadContext& context) {
  DayLoad load(path, context, day.hasRealBook);
  return load.Run(day);
}

}  // namespace kestrel
