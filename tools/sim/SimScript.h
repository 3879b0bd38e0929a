#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::sim {

// What one script line asks for: the simple panel's limit and market orders,
// a price-ladder limit or trigger order, a cancel by number, the pending tab's
// "全刪", or the end of the replay.
enum class SimActionKind { Limit, Market, Ladder, Trigger, Cancel, CancelAll, End };

// One action of an order script and the simulated time it waits for. Plain
// value; not thread-safe.
struct SimAction {
  int lineNo = 0;        // 1-based line of the script, for messages
  int32_t second = 0;    // seconds of the day: runs once the clock reaches it
  std::string timeText;  // HH:MM:SS as written
  SimActionKind kind = SimActionKind::End;
  int32_t side = 0;       // 1 buy, 2 sell
  std::string priceText;  // limit: what goes into the price box
  int32_t price = 0;      // ladder and trigger: the row's price
  std::string lotsText;   // what goes into the lots box
  std::string orderNo;    // cancel: the order number as the lists show it ("%04d")
};

// A line the parser could not accept.
struct SimScriptError {
  int lineNo = 0;
  std::string message;

  bool operator==(const SimScriptError&) const = default;
};

// A parsed script: the actions in the order written, and every bad line.
struct SimScript {
  std::vector<SimAction> actions;
  std::vector<SimScriptError> errors;
};

// Parses an order script, one action per line:
//   HH:MM:SS,limit,buy|sell,PRICE,LOTS     HH:MM:SS,market,buy|sell,LOTS
//   HH:MM:SS,ladder,buy|sell,PRICE,LOTS    HH:MM:SS,trigger,buy|sell,PRICE,LOTS
//   HH:MM:SS,cancel,NO   HH:MM:SS,cancel-all   HH:MM:SS,end
// Fields are trimmed; action and side words ignore case. Blank lines and lines
// starting with '#' are skipped; CR LF line ends and a UTF-8 byte-order mark
// are accepted. The limit price and every lots text are kept as typed, so that
// the order entry refuses them with the user's messages; a ladder or trigger
// price is a row of the ladder and must be a whole number of points.
SimScript ParseSimScript(std::string_view text);

// The script word of an action ("limit", "cancel-all", ...).
const char* ActionName(SimActionKind kind);

}  // namespace kestrel::sim
