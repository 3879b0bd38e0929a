#include "DayFiles.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "common/TextCodec.h"

namespace kestrel::daygen {

namespace {

constexpr int kDailyBarsInFile = 150;  // the day itself and the bars before it

// Appends one printf-formatted line with CR LF.
void Line(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Line(std::string& out, const char* format, ...) {
  char buf[512];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  out.append(buf, static_cast<size_t>(n < 0 ? 0 : n));
  out += "\r\n";
}

// A stock price with the decimals its tick size needs.
std::string StockPrice(double price) {
  char buf[32];
  std::snprintf(buf, sizeof buf, price < 10 ? "%.2f" : price < 500 ? "%.2f" : "%.0f", price);
  return buf;
}

std::string TickLine(const Tick& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%08d,%d,%d,%d,%d", t.time, t.bid, t.ask, t.price, t.volume);
  return buf;
}

std::string BookStem(const Date& d) {
  return ArchiveWriter::BookMemberStem(d.year, d.month, d.day);
}

}  // namespace

std::vector<ArchiveMember> DayMembers(const GeneratedDay& day) {
  std::vector<ArchiveMember> members;

  std::string ftx;
  ftx.reserve(day.ticks.size() * 28);
  for (const Tick& t : day.ticks) {
    ftx += TickLine(t);
    ftx += "\r\n";
  }
  members.push_back({"FTX.DAT", std::move(ftx)});

  std::string open;
  Line(open, "INDEX,%.2f", day.indexReference);
  Line(open, "FUTURES,%d", day.futuresReference);
  Line(open, "ELECTRONIC,%.2f", day.electronicReference);
  Line(open, "FINANCIAL,%.2f", day.financialReference);
  members.push_back({"OPEN.DAT", std::move(open)});

  std::string dayk;
  const size_t keep = kDailyBarsInFile - 1;
  const size_t first = day.history.size() > keep ? day.history.size() - keep : 0;
  for (size_t i = first; i < day.history.size(); ++i) {
    const DailyBar& b = day.history[i];
    Line(dayk, "%08d,%d,%d,%d,%d,%" PRId64, b.date, b.open, b.high, b.low, b.close, b.volume);
  }
  const DailyBar& b = day.bar;
  Line(dayk, "%08d,%d,%d,%d,%d,%" PRId64, b.date, b.open, b.high, b.low, b.close, b.volume);
  members.push_back({"DAYK.DAT", std::move(dayk)});

  std::string tx, txe, txf;
  const char* timeFormat = day.fineIndexData ? "%06d" : "%04d";
  for (size_t i = 0; i < day.index.size(); ++i) {
    const IndexRecord& r = day.index[i];
    char time[16];
    std::snprintf(time, sizeof time, timeFormat, r.time);
    Line(tx, "%s,%.2f,%.0f,%.0f,%.0f,%.0f,%.0f,%.0f,%.2f", time, r.value, r.buyCount, r.buyQuantity,
         r.sellCount, r.sellQuantity, r.tradeCount, r.tradeQuantity, r.tradeValue);
    Line(txe, "%s,%.2f", time, day.electronic[i].value);
    Line(txf, "%s,%.2f", time, day.financial[i].value);
  }
  members.push_back({"TX.DAT", std::move(tx)});
  members.push_back({"TXE.DAT", std::move(txe)});
  members.push_back({"TXF.DAT", std::move(txf)});

  std::string list;
  for (const StockDay& s : day.stocks) {
    list += s.code + "," + Utf8ToCp950(s.name) + "," + StockPrice(s.reference) + "," +
            StockPrice(s.limitUp) + "," + StockPrice(s.limitDown) + "\r\n";
  }
  members.push_back({"StockPrice.Dat", std::move(list)});
  for (const StockDay& s : day.stocks) {
    std::string quotes;
    quotes.reserve(s.quotes.size() * 40);
    for (const StockQuote& q : s.quotes) {
      char time[16];
      std::snprintf(time, sizeof time, "%06d", q.time);  // 09:00:05 is "090005"
      quotes += std::string(time) + "," + (q.bid > 0 ? StockPrice(q.bid) : "0") + "," +
                (q.ask > 0 ? StockPrice(q.ask) : "0") + "," + StockPrice(q.price) + "," +
                std::to_string(q.volume) + "," + std::to_string(q.totalVolume) + "\r\n";
    }
    members.push_back({s.code + ".DAT", std::move(quotes)});
  }
  return members;
}

std::vector<ArchiveMember> BookMembers(const GeneratedDay& day) {
  const std::string stem = BookStem(day.date);
  const Tick& open = day.ticks.front();

  // Ticks: the pre-open matches at 08:44 without quotes, then the session; a
  // few early lines lack a bid while the opening queue clears.
  std::string ticks;
  Line(ticks, "08440012,-9999,-9999,%d,%d", open.price, 10);
  Line(ticks, "08445873,-9999,-9999,%d,%d", open.price, 5);
  for (size_t i = 0; i < day.ticks.size(); ++i) {
    Tick t = day.ticks[i];
    if (i == 5 || i == 40 || i == 120) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%08d,-9999,%d,%d,%d", t.time, t.ask, t.price, t.volume);
      ticks += buf;
      ticks += "\r\n";
      continue;
    }
    ticks += TickLine(t);
    ticks += "\r\n";
  }

  // Snapshots: 08:42 and 08:43 trial lines and an empty line of quotes, which
  // readers skip, then one snapshot per tick.
  std::string book;
  auto snapshot = [&book](int32_t time, const BookLevel* bid, const BookLevel* ask) {
    char buf[256];
    int n = std::snprintf(buf, sizeof buf, "%08d", time);
    for (int l = 0; l < 5; ++l)
      n += std::snprintf(buf + n, sizeof buf - n, ",%d,%d", bid[l].price, bid[l].volume);
    for (int l = 0; l < 5; ++l)
      n += std::snprintf(buf + n, sizeof buf - n, ",%d,%d", ask[l].price, ask[l].volume);
    book.append(buf, static_cast<size_t>(n));
    book += "\r\n";
  };
  const BookSnapshot& first = day.book.front();
  snapshot(8420000, first.bid, first.ask);
  snapshot(8430000, first.bid, first.ask);
  book += "08440000,0,,0,,0,,0,,0,,0,,0,,0,,0,,0,\r\n";
  snapshot(8440050, first.bid, first.ask);
  for (const BookSnapshot& s : day.book) snapshot(s.time, s.bid, s.ask);

  return {{stem + ".DAT", std::move(ticks)}, {stem + ".B5", std::move(book)}};
}

std::vector<ArchiveMember> KLineMembers(const GeneratedDay& day) {
  std::vector<ArchiveMember> members;
  const struct {
    const char* name;
    int period;
  } files[] = {{"MIN1K.DAT", 1}, {"MIN5K.DAT", 5}, {"MIN30K.DAT", 30}};
  for (const auto& f : files) {
    std::string text;
    for (const MinuteBar& b : MinuteBars(day.ticks, f.period))
      Line(text, "%06d,%d,%d,%d,%d,%d", b.time, b.open, b.high, b.low, b.close, b.volume);
    members.push_back({f.name, std::move(text)});
  }
  return members;
}

}  // namespace kestrel::daygen
