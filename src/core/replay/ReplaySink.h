#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

// What the replay asks of the windows: the heartbeat timer, the status bar's
// clock pane, the panels and charts it redraws, and the training-note dialog.
// Every hook does nothing by default (a headless run needs none of them).
// Called on the user-interface thread only.
class ReplaySink {
 public:
  virtual ~ReplaySink() = default;

  // The 10 ms heartbeat timer.
  virtual void StartHeartbeat() {}
  virtual void StopHeartbeat() {}

  // Status bar pane 3 now shows `text` (repainted without erasing).
  virtual void ClockTextChanged(const std::string& /*text*/) {}

  // Session open: the price ladder and the trend charts' redraw counters.
  virtual void ResetPriceLadder() {}
  virtual void ResetChartRedrawCounters() {}

  // Heartbeat redraws. Charts II, I and the analysis pane decide from the
  // day's flags how much to redraw.
  virtual void RedrawMarketSummary() {}
  virtual void RedrawCharts() {}
  // A recorded book below 16x: the ladder rebuilt from the book and the
  // best-five panel redrawn; otherwise the ladder follows the quote.
  virtual void RefreshLadderFromBook() {}
  virtual void RedrawBestFive() {}
  virtual void RefreshLadderFromQuote() {}
  // Keep `row` of the tick list visible.
  virtual void ScrollTickList(int32_t /*row*/) {}

  // Session end: the order report emptied, the chart windows reset, charts I
  // and II redrawn in full in their modes with the analysis pane.
  virtual void EmptyOrderReport() {}
  virtual void ResetChartWindows() {}
  virtual void RedrawChartsFully() {}
  // End of fast playback: the stock list repainted after its row updates.
  virtual void RedrawStockList() {}
  // Rewind: charts I, II and the analysis pane invalidated without erasing.
  virtual void InvalidateCharts() {}

  // True when chart I or chart II shows the stock of that index.
  virtual bool ShowsStock(int32_t /*stockIndex*/) const { return false; }

  // The modal note dialog; returns once the user has read the note.
  virtual void ShowTrainingNote(const std::string& /*note*/, const std::string& /*nextText*/) {}
};

}  // namespace kestrel
