#pragma once

#include <cstdint>
#include <string_view>

#include "tradingday/TradingDay.h"

namespace kestrel {

// The running figures the replay derives from each released tick and index
// record. Free functions on the one day model; user-interface thread only.

// Widens futuresTop / futuresBottom with a released price (unsigned comparisons;
// a bottom of 0 is taken by any price).
void WidenFuturesRange(TradingDay& day, int32_t price);

// Adds a released tick to its minute and 20-second buckets. `bucketTimeMs` is the
// tick's offset from 08:45:00 rounded down to a multiple of the speed; `tickTime`
// gives the SS kept by the 20-second bucket. A tick without a slot (before 08:45
// or after the last bucket) leaves that array, and its index field, untouched.
void UpdateBuckets(TradingDay& day, int32_t price, int32_t volume, int32_t bucketTimeMs,
                   std::string_view tickTime);

// The futures-minus-index spread of a released price, against the latest released
// index record (the index reference before the first). Run before UpdateBuckets.
void UpdateSpread(TradingDay& day, int32_t price);

// How many index records the replay may release: the records read, and at most
// 271 on days with the older per-minute index data.
int32_t IndexReleaseLimit(const TradingDay& day);

// Releases the index record at `indexCursor` and the sector records beside it.
// Returns false, changing nothing, once the release limit is reached.
bool ReleaseIndexRecord(TradingDay& day);

}  // namespace kestrel
