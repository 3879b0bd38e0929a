#include "TrainingNotes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kestrel::daygen {

namespace {

int32_t Hhmmss(const Tick& t) {
  return t.time / 100;
}

std::string Clock(int32_t hhmmss) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d", hhmmss / 10000, hhmmss / 100 % 100);
  return buf;
}

std::string Fmt(const char* format, long long a = 0, long long b = 0, long long c = 0) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, a, b, c);
  return buf;
}

struct Extremes {
  size_t high = 0, low = 0;
};

Extremes FindExtremes(const std::vector<Tick>& ticks) {
  Extremes e;
  for (size_t i = 0; i < ticks.size(); ++i) {
    if (ticks[i].price > ticks[e.high].price) e.high = i;
    if (ticks[i].price < ticks[e.low].price) e.low = i;
  }
  return e;
}

// The largest move against a previous extreme: from a running high down
// (falling) or from a running low up (rising). Returns the turn and the end.
struct Reversal {
  size_t turn = 0, end = 0;
  int size = 0;
  bool down = false;
};

Reversal LargestReversal(const std::vector<Tick>& ticks) {
  Reversal best;
  size_t peak = 0, trough = 0;
  for (size_t i = 1; i < ticks.size(); ++i) {
    if (ticks[i].price > ticks[peak].price) peak = i;
    if (ticks[i].price < ticks[trough].price) trough = i;
    const int fall = ticks[peak].price - ticks[i].price;
    const int rise = ticks[i].price - ticks[trough].price;
    if (fall > best.size && peak < i) best = {peak, i, fall, true};
    if (rise > best.size && trough < i) best = {trough, i, rise, false};
    // Restart the running extremes after the move so later reversals count too.
    if (i % 3000 == 0) peak = trough = i;
  }
  return best;
}

}  // namespace

std::vector<TrainingNote> WriteTrainingNotes(const GeneratedDay& day) {
  const std::vector<Tick>& ticks = day.ticks;
  std::vector<TrainingNote> notes;
  if (ticks.size() < 10) return notes;
  const int ref = day.futuresReference;
  const Tick& first = ticks.front();
  const int gap = first.price - ref;

  // Opening gap.
  {
    std::string text;
    if (gap > 0) {
      text = Fmt("開盤價 %lld，比參考價 %lld 高開 %lld 點。\n", first.price, ref, gap);
      text += "跳空開高時先觀察前十五分鐘能否守住開盤價：守住代表買盤延續，跌破則常見回補缺口。\n";
      text += "有紀律的交易者不追高，等價格回測開盤區間不破再考慮進場，並把停損設在區間下緣。";
    } else if (gap < 0) {
      text = Fmt("開盤價 %lld，比參考價 %lld 低開 %lld 點。\n", first.price, ref, -gap);
      text +=
          "跳空開低時先觀察前十五分鐘能否站回開盤價：站不回代表賣壓沉重，站回則可能回補缺口。\n";
      text += "不要急著搶反彈，等開盤區間形成後，依突破方向順勢操作，停損設在區間另一側。";
    } else {
      text = Fmt("開盤價 %lld，與參考價平盤開出。\n", first.price);
      text += "平開代表多空暫時均衡，先讓市場走出開盤區間，再依突破方向決定多空。";
    }
    notes.push_back({Hhmmss(first), text});
  }

  // First break of the opening range (08:45 to 09:00).
  {
    int hi = first.price, lo = first.price;
    size_t i = 0;
    for (; i < ticks.size() && Hhmmss(ticks[i]) < 90000; ++i) {
      hi = std::max(hi, ticks[i].price);
      lo = std::min(lo, ticks[i].price);
    }
    for (; i < ticks.size(); ++i) {
      const Tick& t = ticks[i];
      if (t.price > hi || t.price < lo) {
        const bool up = t.price > hi;
        std::string text = std::string("價格 ") + std::to_string(t.price) +
                           (up ? " 向上突破" : " 向下跌破") + "開盤區間（" + std::to_string(lo) +
                           "～" + std::to_string(hi) + "）。\n";
        text += up ? "這是今天第一次向上突破，觀察突破後的成交量是否放大；量增價漲，突破較可信。\n"
                     "順勢者可在回測區間上緣不破時做多，停損放在區間內。"
                   : "這是今天第一次向下跌破，觀察跌破後的成交量是否放大；量增價跌，跌破較可信。\n"
                     "順勢者可在反彈到區間下緣不過時做空，停損放在區間內。";
        notes.push_back({Hhmmss(t), text});
        break;
      }
    }
  }

  // The day's high and low, at the time each was made.
  const Extremes e = FindExtremes(ticks);
  notes.push_back(
      {Hhmmss(ticks[e.high]), "價格來到 " + std::to_string(ticks[e.high].price) +
                                  "，這是今天到收盤為止的最高點。\n"
                                  "事後看來這裡是最好的賣點，但當下無法確定；注意高檔是否出現量大不"
                                  "漲、長上影線等轉弱訊號。\n"
                                  "手上有多單的人，可把停利移到最近的低點下方，保護已有的獲利。"});
  notes.push_back({Hhmmss(ticks[e.low]),
                   "價格來到 " + std::to_string(ticks[e.low].price) +
                       "，這是今天到收盤為止的最低點。\n"
                       "低檔若出現量縮止跌、長下影線，空單應考慮逐步回補，不要把獲利吐回。\n"
                       "想做多的人要等價格站穩再進場，摸底的風險很高。"});

  // The largest reversal, noted when half of it has happened.
  const Reversal r = LargestReversal(ticks);
  if (r.size >= 20) {
    size_t at = r.turn;
    const int half = r.size / 2;
    while (at < r.end && std::abs(ticks[at].price - ticks[r.turn].price) < half) ++at;
    std::string text = std::string("從 ") + Clock(Hhmmss(ticks[r.turn])) + " 的" +
                       (r.down ? "高點 " : "低點 ") + std::to_string(ticks[r.turn].price) + " 已" +
                       (r.down ? "回落 " : "反彈 ") +
                       std::to_string(std::abs(ticks[at].price - ticks[r.turn].price)) + " 點。\n";
    text += r.down ? "這是今天最大的一段回檔。原本的多單若沒有移動停利，獲利正在快速流失。\n"
                     "趨勢轉折時要承認錯誤、依計畫出場，而不是期待價格回到高點。"
                   : "這是今天最大的一段反彈。原本的空單若沒有移動停損，獲利正在快速流失。\n"
                     "趨勢轉折時要承認錯誤、依計畫出場，而不是期待價格回到低點。";
    notes.push_back({Hhmmss(ticks[at]), text});
  }

  // The close against the open, a minute before the end.
  {
    const Tick& last = ticks.back();
    const int change = last.price - first.price;
    std::string text = "接近收盤，目前價格 " + std::to_string(last.price) + "，相對開盤 " +
                       std::to_string(first.price) + (change >= 0 ? " 上漲 " : " 下跌 ") +
                       std::to_string(std::abs(change)) + " 點。\n";
    text +=
        "收盤前流動性變化大，當沖部位應在收盤前處理完畢，不要留倉過夜。\n"
        "回顧今天：你的進出場是否依照計畫？停損是否確實執行？把心得寫進交易日誌。";
    notes.push_back({134400, text});
  }

  std::stable_sort(notes.begin(), notes.end(),
                   [](const TrainingNote& a, const TrainingNote& b) { return a.time < b.time; });
  return notes;
}

std::string FormatTrainingNotes(const std::vector<TrainingNote>& notes) {
  std::string out;
  for (const TrainingNote& n : notes) {
    char header[32];
    std::snprintf(header, sizeof header, "[#] %06d\r\n", n.time);
    out += header;
    size_t start = 0;
    while (start <= n.text.size()) {
      size_t end = n.text.find('\n', start);
      if (end == std::string::npos) end = n.text.size();
      out += n.text.substr(start, end - start) + "\r\n";
      start = end + 1;
    }
    out += "[#END]\r\n";
  }
  return out;
}

std::string DescribeTrainingDay(const GeneratedDay& day) {
  const int change = day.bar.close - day.futuresReference;
  std::string shape;
  switch (day.pattern) {
    case Pattern::Rising: shape = "趨勢上漲盤"; break;
    case Pattern::Falling: shape = "趨勢下跌盤"; break;
    case Pattern::Oscillating: shape = "區間震盪盤"; break;
    case Pattern::LongSqueeze: shape = "先漲後跌的多殺多"; break;
    case Pattern::ShortSqueeze: shape = "先跌後漲的軋空"; break;
    case Pattern::Random: shape = "綜合盤勢"; break;
  }
  return shape + "，收盤" + (change >= 0 ? "上漲 " : "下跌 ") + std::to_string(std::abs(change)) +
         " 點，振幅 " + std::to_string(day.bar.high - day.bar.low) + " 點";
}

}  // namespace kestrel::daygen
