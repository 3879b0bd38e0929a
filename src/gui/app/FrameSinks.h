#pragma once

#include "replay/ReplaySink.h"
#include "trading/TradeSink.h"
#include "tradingday/DayArchiveLoader.h"
#include "tradingday/KLineUpkeep.h"

namespace kestrel {

class CMainFrame;

// What the core asks of the main window's panes, routed to the window: the
// heartbeat timer, the status bar, the tick list and order report, the day
// load's effects. Panes not built yet ignore their calls. UI thread only.
class FrameSinks final : public ReplaySink, public TradeSink, public DayLoadSink, public KLineSink {
 public:
  explicit FrameSinks(CMainFrame& frame) : frame_(frame) {}

  // ReplaySink
  void StartHeartbeat() override;
  void StopHeartbeat() override;
  void ClockTextChanged(const std::string& text) override;
  void ScrollTickList(int32_t row) override;
  void EmptyOrderReport() override;
  void ShowTrainingNote(const std::string& note, const std::string& nextText) override;

  // TradeSink (fills reach the tick list through the core's own sink)
  void AddReportLine(const ReportLine& line) override;
  void SetTradeStatus(const std::string& text) override;
  void SetDealReport(const std::string& text, int32_t dealKind) override;

  // DayLoadSink
  void RepaintStatusBar() override;
  void RefillStockList(const TradingDay& day) override;
  int AnalysisDisplayMode() const override;
  void ClearTrainingNotes() override;
  void ShowBestFivePane(int rowHeight) override;
  void LayoutMainWindow() override;

 private:
  CMainFrame& frame_;
};

}  // namespace kestrel
