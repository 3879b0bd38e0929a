#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TradeFixture.h"
#include "app/AppSettings.h"
#include "charts/ChartViewState.h"
#include "common/Clock.h"
#include "common/ProfileFile.h"
#include "panels/StockListModel.h"
#include "panels/TickListModel.h"
#include "panels/TickListTradeSink.h"
#include "replay/ReplayEngine.h"
#include "replay/TrainingNotes.h"
#include "tradingday/KLineUpkeep.h"
#include "tradingday/TradingDay.h"

namespace kestrel::test {

// Records what the replay asks of the windows, one line per call.
class RecordingReplaySink final : public ReplaySink {
 public:
  void StartHeartbeat() override { Log("start"); }
  void StopHeartbeat() override { Log("stop"); }
  void ClockTextChanged(const std::string& text) override { Log("clock " + text); }
  void ResetPriceLadder() override { Log("ladderReset"); }
  void ResetChartRedrawCounters() override { Log("chartCounters"); }
  void RedrawMarketSummary() override { Log("summary"); }
  void RedrawCharts() override { Log("charts"); }
  void RefreshLadderFromBook() override { Log("ladderBook"); }
  void RedrawBestFive() override { Log("bestFive"); }
  void RefreshLadderFromQuote() override { Log("ladderQuote"); }
  void ScrollTickList(int32_t row) override { Log("scroll " + std::to_string(row)); }
  void EmptyOrderReport() override { Log("orderReport"); }
  void ResetChartWindows() override { Log("chartWindows"); }
  void RedrawChartsFully() override { Log("chartsFully"); }
  void RedrawStockList() override { Log("stockList"); }
  void InvalidateCharts() override { Log("invalidate"); }
  bool ShowsStock(int32_t index) const override { return shownStocks.count(index) > 0; }
  void ShowTrainingNote(const std::string& note, const std::string& next) override {
    notes.push_back({note, next});
    Log("note");
    if (whileNoteShown) whileNoteShown();
  }

  // The lines that start with `prefix`.
  std::vector<std::string> With(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }
  void Clear() { events.clear(); }

  std::vector<std::string> events;
  std::set<int32_t> shownStocks;
  std::vector<std::pair<std::string, std::string>> notes;
  std::function<void()> whileNoteShown;  // e.g. time passing while the dialog is open

 private:
  void Log(std::string e) { events.push_back(std::move(e)); }
};

// "HHMMSScc,bid,ask,price,volume".
inline std::string TickLine(const char* time, int32_t bid, int32_t ask, int32_t price,
                            int32_t volume) {
  char line[96];
  std::snprintf(line, sizeof line, "%s,%d,%d,%d,%d", time, bid, ask, price, volume);
  return line;
}

// A loaded day built by hand, with the replay and the trading engine around
// it, driven by a manual clock that starts near its wrap-around.
class ReplayFixture : public ::testing::Test {
 protected:
  static constexpr uint32_t kClockStart = 0xFFFFF000u;

  ReplayFixture()
      : dayPtr_(std::make_unique<TradingDay>()),
        day(*dayPtr_),
        time(kClockStart),
        settings(ReadAppSettings(ProfileFile())),
        forwardingSink(tickList, day, tradeSink),
        trade{tradeState, account, rows, day, forwardingSink},
        ctx{day, clock, time, trade, settings, views, tickList, stockList, notes, sink, klineSink},
        engine(ctx) {
    account.bigFee = 200;
    SelectContract(account, true);
    account.marginBalance = 100000;
    LoadDay(8000);
  }

  // An empty day at `reference`: placeholder history bars, no ticks.
  void LoadDay(int32_t reference) {
    day.ResetForLoad();
    day.dateText = "2013-05-06";
    day.dateKey = "2013_05_06";
    day.dayLoaded = true;
    day.fineIndexData = true;
    day.indexLimit = 4000;
    day.futuresReference = reference;
    day.indexReference = reference - 20;
    day.limitUp = reference + reference / 10;
    day.limitDown = reference - reference / 10;
    day.openPrice = reference;
    day.futuresTop = static_cast<uint32_t>(reference + 60);
    day.futuresBottom = static_cast<uint32_t>(reference - 60);
    day.indexTop = static_cast<float>(day.indexReference + 60);
    day.indexBottom = static_cast<float>(day.indexReference - 60);
    _KLINEDATA history;
    history.time = "20130503";
    history.open = history.high = history.low = history.close = static_cast<uint32_t>(reference);
    history.volume = 100;
    for (KPeriod p : kAllPeriods) {
      KLineSeries& s = day.Series(p);
      s.bars = {history};
      s.historyCount = 1;
      s.visibleBars[0] = s.visibleBars[1] = 1;
    }
    stockList.Refill(day);
  }

  void AddTick(const char* time, int32_t bid, int32_t ask, int32_t price, int32_t volume) {
    day.tickLines.push_back(TickLine(time, bid, ask, price, volume));
  }

  // One tick per second from `from` (HHMMSS) for `seconds` seconds.
  void AddTicksEverySecond(int32_t from, int32_t seconds, int32_t price = 8000) {
    int32_t s = from / 10000 * 3600 + from / 100 % 100 * 60 + from % 100;
    for (int32_t i = 0; i < seconds; ++i, ++s) {
      char t[16];
      std::snprintf(t, sizeof t, "%02d%02d%02d00", s / 3600, s / 60 % 60, s % 60);
      AddTick(t, price - 1, price + 1, price + (i % 3) - 1, 1 + i % 4);
    }
  }

  void AddStock(const std::string& code, float reference,
                const std::vector<_StockRecord>& records) {
    _StockInfo& s = day.stocks[static_cast<size_t>(day.stockCount++)];
    s.code = code;
    s.name = "股" + code;
    s.reference = reference;
    s.limitUp = reference * 1.07f;
    s.limitDown = reference * 0.93f;
    s.records = records;
    stockList.Refill(day);
  }

  // Heartbeats 10 ms apart.
  void Beat(int count = 1) {
    for (int i = 0; i < count; ++i) {
      time.Advance(10);
      engine.Heartbeat();
    }
  }

  // Heartbeats until the simulated clock reaches `simulatedMs` or the session
  // pauses.
  void BeatUntil(int64_t simulatedMs) {
    while (clock.sessionRunning && !clock.sessionPaused &&
           int64_t{clock.realElapsed} * clock.speed < simulatedMs)
      Beat();
  }

  // Heartbeats until the session pauses (the tick data is exhausted).
  void BeatToEnd() {
    while (clock.sessionRunning && !clock.sessionPaused) Beat();
  }

  // The real ms since the clock's origin that makes `hhmmsscc` the clock time.
  uint32_t RealOf(const char* hhmmsscc) const {
    return static_cast<uint32_t>(TickTimeToOffset(hhmmsscc) / SpeedOf(clock));
  }

  // Sets the manual clock to `real` ms after the clock's origin.
  void SetRealElapsed(uint32_t real) { time.Set(clock.heartbeatStart + real); }

  std::unique_ptr<TradingDay> dayPtr_;
  TradingDay& day;
  ReplayClock clock;
  ManualClock time;
  AppSettings settings;
  TradeState tradeState;
  AccountFigures account;
  AccountWindowRows rows;
  RecordingTradeSink tradeSink;
  TickListModel tickList;
  TickListTradeSink forwardingSink;
  TradeContext trade;
  ChartViews views;
  StockListModel stockList;
  TrainingSchedule notes;
  RecordingReplaySink sink;
  KLineSink klineSink;
  ReplayContext ctx;
  ReplayEngine engine;
};

}  // namespace kestrel::test
