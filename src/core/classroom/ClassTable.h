#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// One student of the class reply: account name, state code, opening date,
// contracts traded, result (the last field runs to the end of the record).
struct ClassRecord {
  std::string account;
  std::string stateCode;
  std::string openDate;
  std::string lots;
  std::string result;
};

// Records each followed by "|"; text after the last "|" is ignored, so a
// record without its trailing "|" does not count. Missing fields stay empty.
std::vector<ClassRecord> ParseClassReply(std::string_view text);

// The monitor's text for a state code ("" and "0" 未登入 ... "5"); any other
// code as received.
std::string StudentStateText(std::string_view code);

// One row of the monitor's list: "序號" ("%02d" from 01), "帳號名稱", "目前狀態",
// "開啟日期", "成交口數", "交易損益".
struct MonitorRow {
  std::string number;
  std::string account;
  std::string state;
  std::string openDate;
  std::string lots;
  std::string result;
};

// The monitor's list. Each refill makes it follow the class reply: students
// who left the reply are removed, students who joined are added, in the
// reply's order. User-interface thread only.
class MonitorTable {
 public:
  void Refill(const std::vector<ClassRecord>& records);
  const std::vector<MonitorRow>& rows() const { return rows_; }

 private:
  std::vector<MonitorRow> rows_;
};

// The caption with the title indicator: "講師監控視窗 " and the next of
// "－", "＼", "｜", "／".
std::string MonitorTitle(unsigned step);

}  // namespace kestrel
