#include "app/FrameSinks.h"

#include "app/MainFrame.h"
#include "app/TrainerContext.h"
#include "replay/TrainingNotes.h"

namespace kestrel {

void FrameSinks::StartHeartbeat() {
  frame_.StartHeartbeatTimer();
}

void FrameSinks::StopHeartbeat() {
  frame_.StopHeartbeatTimer();
}

void FrameSinks::ClockTextChanged(const std::string&) {
  frame_.UpdateStatusPanes();
}

void FrameSinks::ScrollTickList(int32_t row) {
  frame_.ScrollTickList(row);
}

void FrameSinks::EmptyOrderReport() {
  frame_.ClearOrderReport();
}

void FrameSinks::ShowTrainingNote(const std::string& note, const std::string& nextText) {
  frame_.ShowTrainingNote(note, nextText);
}

void FrameSinks::AddReportLine(const ReportLine& line) {
  frame_.AddReportLine(line);
}

void FrameSinks::SetTradeStatus(const std::string& text) {
  frame_.SetTradeStatus(text);
}

void FrameSinks::SetDealReport(const std::string& text, int32_t dealKind) {
  frame_.SetDealReport(text, dealKind);
}

void FrameSinks::RepaintStatusBar() {
  frame_.UpdateStatusPanes();
}

void FrameSinks::RefillStockList(const TradingDay& day) {
  frame_.Context().stockList.Refill(day);
}

int FrameSinks::AnalysisDisplayMode() const {
  return frame_.Context().settings.TECH_VIEWMODE;
}

void FrameSinks::ClearTrainingNotes() {
  kestrel::ClearTrainingNotes(frame_.Context().notes);
}

void FrameSinks::ShowBestFivePane(int rowHeight) {
  frame_.ShowBestFive(rowHeight > 0);
}

void FrameSinks::LayoutMainWindow() {
  frame_.LayOutPanes();
}

}  // namespace kestrel
