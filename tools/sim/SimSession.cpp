#include "SimSession.h"

#include <algorithm>

#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "common/Prompter.h"
#include "trading/AccountStatistics.h"
#include "trading/DayEndClose.h"
#include "trading/DealExport.h"
#include "trading/LocalDateTime.h"
#include "trading/OrderCancel.h"
#include "trading/OrderEntry.h"

namespace kestrel::sim {

namespace {

// The headless user confirms every question (the end of the replay and the
// closing of open lots).
ScriptedPrompter ConfirmingPrompter() {
  ScriptedPrompter p;
  p.fallback = PromptAnswer::Ok;
  return p;
}

bool IsPending(const AccountWindowRows& rows, const std::string& no) {
  return std::any_of(rows.pending.begin(), rows.pending.end(),
                     [&](const AccountRow& row) { return row.cells[kOrderNo] == no; });
}

}  // namespace

SimSession::SimSession(TrainerContext& context, ManualClock& time, bool studentMode,
                       std::ostream& err)
    : ctx_(context), time_(time), studentMode_(studentMode), err_(err) {}

SimReport SimSession::Run(std::vector<SimAction> actions) {
  std::stable_sort(actions.begin(), actions.end(),
                   [](const SimAction& a, const SimAction& b) { return a.second < b.second; });
  const ReplayClock& clock = ctx_.clock;
  ctx_.engine.OpenSession();
  size_t next = 0;
  bool endAsked = false;
  while (!endAsked && clock.sessionRunning && !clock.sessionPaused) {
    time_.Advance(kHeartbeatMs);
    ctx_.engine.Heartbeat();
    // The heartbeat pauses the session once the tick data is exhausted.
    if (clock.sessionPaused) break;
    const int64_t simulatedMs = static_cast<int64_t>(clock.realElapsed) * SpeedOf(clock);
    const int64_t second = kReplayOriginSeconds + simulatedMs / 1000;
    while (next < actions.size() && actions[next].second <= second) {
      const SimAction& action = actions[next++];
      if (action.kind == SimActionKind::End) {
        endAsked = true;
        break;
      }
      RunAction(action);
    }
  }

  SimReport report = EndDay();
  for (; next < actions.size(); ++next) {
    const SimAction& a = actions[next];
    if (a.kind == SimActionKind::End) continue;
    err_ << "kestrel-sim: line " << a.lineNo << ": " << a.timeText << " " << ActionName(a.kind)
         << " not run: the day ended at " << report.endClock << "\n";
  }
  return report;
}

void SimSession::RunAction(const SimAction& a) {
  TradeContext& trade = ctx_.trade;
  if (a.kind == SimActionKind::Cancel) {
    // The pending tab offers only the rows it shows.
    if (!IsPending(ctx_.accountRows, a.orderNo)) {
      err_ << "kestrel-sim: line " << a.lineNo << ": no pending order " << a.orderNo
           << " to cancel\n";
      return;
    }
    CancelByNumber(trade, {a.orderNo});
    return;
  }
  if (a.kind == SimActionKind::CancelAll) {
    CancelAllPending(trade);
    return;
  }

  EntryInput input;
  input.panel = a.kind == SimActionKind::Limit || a.kind == SimActionKind::Market
                    ? EntryPanel::Simple
                    : EntryPanel::Fast;
  input.lotsText = a.lotsText;
  input.simpleProductText = ctx_.account.productName;
  input.clockText = ctx_.clock.clockText;
  input.studentMode = studentMode_;

  EntryResult result;
  switch (a.kind) {
    case SimActionKind::Limit: result = PlaceLimit(trade, input, a.side, a.priceText); break;
    case SimActionKind::Market: result = PlaceMarket(trade, input, a.side); break;
    case SimActionKind::Ladder: result = PlaceLadderLimit(trade, input, a.side, a.price); break;
    case SimActionKind::Trigger: result = PlaceTrigger(trade, input, a.side, a.price); break;
    default: return;
  }
  // The lots box reset of the classroom check needs no echo: every line
  // brings its own lots.
  if (result.refusal) Refused(a, result.refusal->text, result.refusal->caption);
}

void SimSession::Refused(const SimAction& a, const std::string& text, const std::string& caption) {
  err_ << "kestrel-sim: line " << a.lineNo << ": " << caption << ": " << text << "\n";
}

SimReport SimSession::EndDay() {
  ScriptedPrompter answers = ConfirmingPrompter();
  SimReport report;
  report.endClock = ctx_.clock.clockText;

  // The figures are read between the closing of the lots and the fold into the
  // balance, which the end of the session does in one go.
  AutoCloseAll(ctx_.trade, answers, ctx_.clock.clockText, ctx_.account.productName);
  if (ctx_.trades.longQty > 0 || ctx_.trades.shortQty > 0)
    err_ << "kestrel-sim: open lots left at " << report.endClock
         << ": the quote has no price on the closing side\n";

  const AccountStatistics stats = ComputeAccountStatistics(ctx_.account, ctx_.trades);
  DealExportInput in;
  in.kind = DealExportKind::WithAccount;
  in.deals = &ctx_.accountRows.deals;
  in.dateText = ctx_.day->dateText;
  in.now = LocalNow();
  in.dealQty = ctx_.trades.dealQty;
  in.stats = stats;
  report.dealExport = DealExportText(in);
  report.marginText = MarginAccountText(stats, ctx_.day->dateText);

  ctx_.engine.EndSession(answers, SessionEndOptions{});
  return report;
}

}  // namespace kestrel::sim
