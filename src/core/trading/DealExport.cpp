#include "trading/DealExport.h"

#include <cstdio>
#include <iterator>

#include "common/FileUtil.h"
#include "common/TextCodec.h"
#include "trading/TradeState.h"

namespace kestrel {

namespace {

// Cells of a deal row in export order: the first ten columns and the deal kind.
constexpr int kExportedCells[] = {kDealNo,   kDealOrderTime,  kDealFillTime,  kDealProduct,
                                  kDealSide, kDealOrderPrice, kDealFillPrice, kDealQty,
                                  kDealFee,  kDealTax,        kDealKind};

std::string Cell(const AccountRow& row, int column) {
  const size_t i = static_cast<size_t>(column);
  return i < row.cells.size() ? row.cells[i] : std::string();
}

}  // namespace

std::optional<UserMessage> CheckDealExportAllowed(bool sessionRunning) {
  if (sessionRunning) return std::nullopt;
  return UserMessage{"必須在盤勢結束之前進行匯出，盤勢結束後交易資料已清除，無法完整匯出",
                     kCaptionNotice};
}

std::string DealExportText(const DealExportInput& in) {
  char date[64];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", in.now.year, in.now.month, in.now.day);
  std::string t = "演練時間," + std::string(date) + "\r\n";
  t += "復盤日期," + in.dateText + "\r\n\r\n";
  t += "成交記錄\r\n";
  t += "序號,委託時間,成交時間,商品,交易別,委託價,成交價,口數,手續費,交易稅,成交別\r\n";
  if (in.deals != nullptr) {
    for (const AccountRow& row : *in.deals) {
      std::string line;
      for (size_t k = 0; k < std::size(kExportedCells); ++k) {
        if (k > 0) line += ",";
        line += Cell(row, kExportedCells[k]);
      }
      t += line + "\r\n";
    }
  }
  const AccountStatistics& s = in.stats;
  if (in.kind == DealExportKind::Deals) {
    t += "\r\n\r\n交易口數, " + IntText(in.dealQty);
    return t;
  }
  t += "\r\n保證金餘額," + IntText(s.balanceShown) + "\r\n";
  t += "交易口數," + IntText(s.lotsTraded) + "\r\n";
  t += "勝率," + s.WinRateText() + "\r\n";
  t += "毛損益," + IntText(s.gross) + "\r\n";
  t += "交易成本," + IntText(s.cost) + "\r\n";
  t += "總損益," + IntText(s.net) + "\r\n";
  t += "平均每口毛損," + s.AverageGrossText() + "\r\n";
  t += "平均每口淨損," + s.AverageNetText() + "\r\n";
  return t;
}

std::string DealExportBytes(const DealExportInput& input) {
  return Utf8ToCp950(DealExportText(input));
}

std::optional<UserMessage> WriteDealExport(const std::filesystem::path& path,
                                           const DealExportInput& input) {
  if (WriteFileAtomically(path, DealExportBytes(input)).empty()) return std::nullopt;
  return UserMessage{kExportFileFailed, kCaptionError};
}

}  // namespace kestrel
