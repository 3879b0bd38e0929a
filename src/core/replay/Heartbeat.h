#pragma once

#include "replay/ReplayContext.h"

namespace kestrel {

// One 10 ms heartbeat of a running session: the clock text, a due training
// note, the index, the stocks and the ticks, then the redraws. Does nothing
// unless a session runs unpaused. Not thread-safe (user-interface thread
// only).
void Heartbeat(ReplayContext& ctx);

}  // namespace kestrel
