#include "trading/TradeSink.h"

namespace kestrel {

int ReportColourCode(const std::string& status, const std::string& side) {
  if (status.empty() || status == "委託") return 0;
  if (status == "停損") return 3;
  if (status == "成交" && side == "買進") return 1;
  if (status == "成交" && side == "賣出") return 2;
  return -1;  // drawn red
}

}  // namespace kestrel
