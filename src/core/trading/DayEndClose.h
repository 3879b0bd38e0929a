#pragma once

#include <string>

#include "trading/TradeContext.h"

namespace kestrel {

class Prompter;

// Asks about and closes every open lot at market when the replay is ended.
// Returns false when the user cancels a prompt; a long close confirmed before a
// cancelled short prompt stays done. The closing orders fill in the same call
// when the needed side of the quote is there, otherwise they wait.
// `productText` is the simple panel's product text. Not thread-safe.
bool AutoCloseAll(TradeContext& ctx, Prompter& prompter, const std::string& clockText,
                  const std::string& productText);

// Folds the day into the balance, zeroes the day's figures and empties the five
// lists (the order-number counter keeps its value). Not thread-safe.
void EndOfDayReset(TradeContext& ctx);

}  // namespace kestrel
