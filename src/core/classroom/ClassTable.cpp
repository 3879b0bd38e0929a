#include "classroom/ClassTable.h"

#include <cstdio>

namespace kestrel {

std::vector<ClassRecord> ParseClassReply(std::string_view text) {
  std::vector<ClassRecord> records;
  size_t start = 0;
  for (size_t bar = text.find('|'); bar != std::string_view::npos;
       start = bar + 1, bar = text.find('|', start)) {
    std::string_view record = text.substr(start, bar - start);
    ClassRecord r;
    std::string* fields[] = {&r.account, &r.stateCode, &r.openDate, &r.lots, &r.result};
    for (size_t i = 0; i < std::size(fields); ++i) {
      const size_t comma = i + 1 < std::size(fields) ? record.find(',') : std::string_view::npos;
      *fields[i] = std::string(record.substr(0, comma));
      if (comma == std::string_view::npos) break;
      record.remove_prefix(comma + 1);
    }
    records.push_back(std::move(r));
  }
  return records;
}

std::string StudentStateText(std::string_view code) {
  if (code.empty() || code == "0") return "未登入";
  if (code == "1") return "已登入，等待指派日期";
  if (code == "2") return "資料已下載，等待開盤";
  if (code == "3") return "盤勢進行中";
  if (code == "4") return "等待結束盤勢";
  if (code == "5") return "盤勢已結束，等待指派日期";
  return std::string(code);
}

void MonitorTable::Refill(const std::vector<ClassRecord>& records) {
  std::vector<MonitorRow> rows;
  rows.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const ClassRecord& r = records[i];
    char number[24];
    std::snprintf(number, sizeof number, "%02zu", i + 1);
    rows.push_back(
        {number, r.account, StudentStateText(r.stateCode), r.openDate, r.lots, r.result});
  }
  rows_ = std::move(rows);
}

std::string MonitorTitle(unsigned step) {
  static constexpr const char* kIndicator[] = {"－", "＼", "｜", "／"};
  return std::string("講師監控視窗 ") + kIndicator[step % 4];
}

}  // namespace kestrel
