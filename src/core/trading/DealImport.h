#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "trading/TradeContext.h"
#include "trading/UserMessage.h"

namespace kestrel {

// One imported deal line: six texts. Plain value; not thread-safe.
struct _DEALDATA {
  std::string number;
  std::string product;
  std::string side;  // "買進" / "賣出" or as written (must hold 買 or 賣)
  std::string price;
  std::string lots;
  std::string time;  // normalised HH:MM:SS

  bool operator==(const _DEALDATA&) const = default;
};

// The two accepted files: one this program exported (its first line holds
// "演練時間"), or a plain list of product, side, price, lots, time.
enum class DealFileFormat { Own, Plain };

inline constexpr const char* kDealImportFilter = "成交檔 (*.txt;*.csv)|*.txt;*.csv|";

// The outcome of reading a deal file: the deals oldest first, or the messages
// of the first faulty line (its field's message, then the line number). Plain
// value; not thread-safe.
struct DealFileParse {
  bool ok = false;
  DealFileFormat format = DealFileFormat::Plain;
  std::vector<_DEALDATA> deals;
  std::vector<UserMessage> messages;
};

// Parses a deal file's bytes (UTF-16LE with its BOM, otherwise CP950).
DealFileParse ParseDealFile(std::string_view bytes);

// A time "H:M:S" with one- or two-character parts, hours not 0, as "HH:MM:SS".
std::optional<std::string> NormaliseDealTime(std::string_view text);

// The refusal when no replay is running.
std::optional<UserMessage> CheckDealImportAllowed(bool sessionRunning);

// Replaces the deals tab and DealRecords with the deals, numbered from 0001.
void ApplyImportedDeals(TradeContext& ctx, const std::vector<_DEALDATA>& deals);

// The import button after its file dialog: reads `path` and replaces the day's
// deals (open lots and the account figures are untouched). On a faulty line the
// deal list is left empty; an unreadable file changes nothing. Returns the
// messages to show, empty on success. Not thread-safe.
std::vector<UserMessage> ImportDeals(TradeContext& ctx, const std::filesystem::path& path);

}  // namespace kestrel
