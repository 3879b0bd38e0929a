#pragma once

#include <cstdint>
#include <string_view>

#include "replay/ReplayContext.h"

namespace kestrel {

struct _StockInfo;
struct _StockRecord;

// The five texts of a tick line: the time is its first 8 characters, then the
// texts between the commas (bid, ask, price) and everything after the fourth
// comma (volume). Views into the line.
struct TickFields {
  std::string_view time, bid, ask, price, volume;

  std::string_view SecondKey() const { return time.substr(0, 6); }
  std::string_view MinuteKey() const { return time.substr(0, 4); }
};

TickFields ParseTickLine(std::string_view line);

// HH * 3600 + MM * 60 + SS of a time text (a pair without digits reads 0).
int32_t SecondsOfDay(std::string_view time);

// The three release steps of one heartbeat. `elapsed` is the real time since
// the clock's origin in ms (the heartbeat's realElapsed). Not thread-safe
// (user-interface thread only).

// Releases the next index record (and the sector records beside it) when its
// real time is strictly below `elapsed`; at most one per call.
void ReleaseIndex(ReplayContext& ctx, int64_t elapsed);

// For each stock: the volume scale follows the record at the cursor; a due
// record (elapsed at or past its real time) is shown in the stock list, and
// the cursor passes over the records within 3 seconds after it. Every record
// up to the last is reached; the cursor ends at the record count.
void AdvanceStocks(ReplayContext& ctx, int64_t elapsed);

// Releases the due ticks of one second (at most speed x 3, one in smooth
// mode) or, when none is due, matches resting orders at the quote. Returns
// false after pausing the session when the tick data is exhausted.
bool ReleaseTicks(ReplayContext& ctx, int64_t elapsed);

// How a batch is released: the heartbeat's way, or fast playback's (no clock
// text, no matching, no lag rule, the tick list not repainted).
enum class ReleaseMode { Heartbeat, Fast };

// One batch of ticks from `tickCursor` when its first tick is due (strictly
// before `elapsed`). False when nothing was due. The caller checks that a
// tick is left.
bool ReleaseTickBatch(ReplayContext& ctx, int64_t elapsed, ReleaseMode mode);

// The stock list's row update for a stock's record, marking stockAdvanced
// when a chart shows the stock.
void ShowStockRecord(ReplayContext& ctx, int32_t stockIndex, const _StockRecord& record);

// The stocks of the day (within capacity), and the record at a stock's
// cursor: null once the stock is done.
int32_t StockCount(const TradingDay& day);
const _StockRecord* RecordAtCursor(const _StockInfo& stock);

}  // namespace kestrel
