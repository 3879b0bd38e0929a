#include "app/CommandRules.h"

#include "app/AppSettings.h"
#include "replay/ReplayEngine.h"

namespace kestrel {

namespace {

struct FlagKey {
  int32_t id;
  int32_t AppSettings::*field;
  int32_t value;  // checked when the field holds it
};

// Items checked by a setting; their handlers belong to the chart and trading
// windows.
const FlagKey kFlagKeys[] = {
    {33102, &AppSettings::REAL_5B, 1},
    {33115, &AppSettings::SAFE_DOWNLOAD, 1},
    {32837, &AppSettings::VIEW_STOCKLIST, 1},
    {32948, &AppSettings::VIEW_DRAW1, 1},
    {33037, &AppSettings::VIEW_BIAS, 1},
    {32853, &AppSettings::VIEW_ORDER, 1},
    {32932, &AppSettings::DRAW1_FTXNOVOL, 1},
    {32933, &AppSettings::DRAW1_TXNOVOL, 1},
    {32934, &AppSettings::DRAW1_MIXNOVOL, 1},
    {32935, &AppSettings::DRAW1_STOCKNOVOL, 1},
    {32936, &AppSettings::DRAW1_KLINENOVOL, 1},
    {32916, &AppSettings::DRAW2_FTXNOVOL, 1},
    {32917, &AppSettings::DRAW2_TXNOVOL, 1},
    {32918, &AppSettings::DRAW2_MIXNOVOL, 1},
    {32919, &AppSettings::DRAW2_STOCKNOVOL, 1},
    {32921, &AppSettings::DRAW2_KLINENOVOL, 1},
    {32958, &AppSettings::DRAW1_LINEQUERY, 1},
    {32961, &AppSettings::DRAW2_LINEQUERY, 1},
    {32959, &AppSettings::DRAW1_LINEVERTICAL, 1},
    {32960, &AppSettings::DRAW2_LINEVERTICAL, 1},
    {32989, &AppSettings::DRAW1_LINEHORIZONTAL, 1},
    {32991, &AppSettings::DRAW2_LINEHORIZONTAL, 1},
    {32993, &AppSettings::DRAW1_LINEHORAUTO, 1},
    {32995, &AppSettings::DRAW2_LINEHORAUTO, 1},
    {33107, &AppSettings::LINEQUERY_FONTSIZE, 0},
    {33108, &AppSettings::LINEQUERY_FONTSIZE, 1},
    {33011, &AppSettings::DRAW1_KLINE_TRADE, 1},
    {33014, &AppSettings::DRAW2_KLINE_TRADE, 1},
    {33047, &AppSettings::DRAW1_PIVOT, 1},
    {33048, &AppSettings::DRAW2_PIVOT, 1},
    {33038, &AppSettings::TECH_VIEWMODE, 0},
    {33039, &AppSettings::TECH_VIEWMODE, 1},
    {33040, &AppSettings::TECH_VIEWMODE, 2},
    {33041, &AppSettings::TECH_VIEWMODE, 3},
    {33077, &AppSettings::FAST_TRADE_BIGUI, 0},
    {33078, &AppSettings::FAST_TRADE_BIGUI, 1},
};

// Display modes 1..10 of chart I and chart II.
const int32_t kChart1Modes[10] = {32925, 32926, 33030, 33031, 32927,
                                  32928, 32929, 32930, 32931, 33007};
const int32_t kChart2Modes[10] = {32826, 32825, 33027, 33029, 32827,
                                  32833, 32860, 32861, 32862, 33006};

// Greyed items that only explain the chart keys.
bool IsExplanation(int32_t id) {
  return id == 32951 || (id >= 32940 && id <= 32943) || id == 33046;
}

FrameCommandState Plain(bool enabled) {
  return {enabled, false, false};
}

}  // namespace

bool IsDataLoadingCommand(int32_t id) {
  switch (id) {
    case kCmdOpenFile:
    case 32878:
    case 32879:
    case 32880:
    case 32881:
    case 32882:
    case 32883:
    case 32997: return true;
    default: return false;
  }
}

bool IsOnlineCommand(int32_t id) {
  if (IsDataLoadingCommand(id)) return true;
  switch (id) {
    case kCmdLogin:
    case kCmdDateRange:
    case kCmdHistoryQuery:
    case kCmdStudentMode:
    case kCmdInstructorMonitor:
    case 32885:
    case 32895:
    case 32903:
    case 32901:
    case 57664: return true;
    default: return false;
  }
}

FrameCommandState CommandStateFor(int32_t id, const ReplayEngine& engine,
                                  const AppSettings& settings, const FrameFlags& flags) {
  if (IsExplanation(id)) return Plain(false);
  if (IsDataLoadingCommand(id)) {
    const SessionView view = engine.View(flags.studentMode, flags.loggedIn);
    return Plain(DataLoadingEnabled(view));
  }
  if (const auto state = engine.CommandStateOf(id, flags.studentMode, flags.loggedIn)) {
    const bool checkable = SpeedOfCommand(id) > 0 || id == kCmdSmoothMode || id == kCmdNormalMode ||
                           id == kCmdScrollBottomUp || id == kCmdScrollTopDown;
    return {state->enabled, state->checked, checkable};
  }
  for (const FlagKey& f : kFlagKeys)
    if (f.id == id) return {true, settings.*f.field == f.value, true};
  for (int32_t mode = 1; mode <= 10; ++mode) {
    if (kChart1Modes[mode - 1] == id) return {true, settings.DRAW1_VIEWMODE == mode, true};
    if (kChart2Modes[mode - 1] == id) return {true, settings.DRAW2_VIEWMODE == mode, true};
  }
  const bool dayLoaded = engine.View(flags.studentMode, flags.loggedIn).dayLoaded;
  const bool running = engine.Clock().sessionRunning;
  switch (id) {
    case kCmdLogin: return Plain(!flags.loggedIn);
    case kCmdHistoryQuery: return Plain(flags.loggedIn && !flags.studentMode);
    case kCmdToggleIndexWindow: return {true, flags.indexWindowShown, true};
    case kCmdStatusBar: return {true, flags.statusBarVisible, true};
    case kCmdHideDate: return {true, flags.hideDate, true};
    case 33085: return {true, flags.drawingMode == 0, true};
    case 33086: return {dayLoaded, flags.drawingMode == 1, true};
    case 33087: return {dayLoaded, flags.drawingMode == 2, true};
    case 33091: return Plain(flags.drawingCount > 0);
    case 32869: return Plain(!running);  // trading settings
    case 33016:
    case 32842:
    case kCmdFastLadder:
    case 32963: return Plain(dayLoaded);
    case kCmdStudentMode: return {flags.rights == "3", flags.studentMode, true};
    case kCmdInstructorMonitor: return Plain(flags.rights == "4");
    default: return Plain(true);
  }
}

}  // namespace kestrel
