// Keys pressed in the main window: the command keys, their guards, the
// silence during a scan, and the hidden codes.
#include "commands/commands_fixture.h"
#include "tools/state.h"

namespace vna::test {
namespace {

TEST_F(CommandsTest, CommandKeysReachTheirRoutines) {
  struct Row {
    int key;
    Strings calls;
  };
  const Row rows[] = {
      {'S', {"DrawGraph", "Scan_A"}},
      {'R', {"Scan_A"}},
      {'U', {"DrawGraph", "Scan_A", "WriteControlCsv"}},
      {'L', {"SetScanLimits"}},
      {'D', {"PointDataMode"}},
      {'1', {"ShowCursorData"}},
      {'2', {"ShowCursorData"}},
      {kVkNumpad0 + 1, {"ShowCursorData"}},
      {kVkNumpad0 + 2, {"ShowCursorData"}},
      {kVkUp, {"RecallAutoSave(0)"}},
      {kVkDown, {"RecallAutoSave(0)"}},
      {'3', {}},
      {'A', {}},
      {kVkNumpad0 + 3, {}},
  };
  for (const Row& r : rows) {
    ClearCalls();
    Key(r.key);
    EXPECT_EQ(Calls(), r.calls) << r.key;
    EXPECT_EQ(key_code, 1) << r.key;
  }
  EXPECT_EQ(testhook::MsgBoxes().size(), 0u);
}

// U writes the result file only for a scan that completed: a failed one
// must not leave an older file looking like its result.
TEST_F(CommandsTest, ScanAndReportKeyWritesOnlyAfterACompletedScan) {
  OnCall("Scan_A", [] { vna_status = 4482; });
  Key('U');
  EXPECT_EQ(Calls(), (Strings{"DrawGraph", "Scan_A"}));
}

TEST_F(CommandsTest, ScanKeysTakeThePortTheScopeAndTdrMode) {
  PortA_title = "A";
  PortB_title = "B";
  rescan_on = 1;
  color_index = 4;
  PortB_on = 1;
  Key('S');
  EXPECT_EQ(Calls(), (Strings{"DrawGraph", "Scan_B"}));
  EXPECT_EQ(PortB_title, "");
  EXPECT_EQ(PortA_title, "A");
  EXPECT_EQ(rescan_on, 0);
  EXPECT_EQ(color_index, 0);

  ClearCalls();
  vscope_open = 1;
  vscope_recycle = 1;
  Key('S');
  EXPECT_EQ(Calls(), Strings{"ReadAllElements"});
  EXPECT_EQ(vscope_recycle, 0);
  vscope_open = 0;

  ClearCalls();
  tdr_mode = 1;
  int shown = -1;
  OnCall("RunTDR", [&] { shown = tdr_show_params; });
  Key('S');
  EXPECT_EQ(shown, 1);
  Key('R');
  EXPECT_EQ(shown, 0);
  Key('U');  // nothing in TDR mode, not even the notice
  Key(kVkUp);
  EXPECT_EQ(Calls(), (Strings{"RunTDR", "RunTDR"}));
  tdr_mode = 0;

  // R after a band scan repeats it, in the next colour.
  ClearCalls();
  PortB_on = 0;
  bandscan_mode = 1;
  color_index = 7;
  Key('R');
  EXPECT_EQ(Calls(), Strings{"BandScan"});
  EXPECT_EQ(color_index, 0);
  bandscan_mode = 0;
}

TEST_F(CommandsTest, RescanKeysCycleTheColours) {
  std::vector<int> colours;
  OnCall("Scan_A", [&] { colours.push_back(color_index); });
  Key('S');
  for (int i = 0; i < 8; ++i) Key('R');
  EXPECT_EQ(colours, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
}

TEST_F(CommandsTest, ScanKeysWithoutAnInstrumentShowTheNotice) {
  vna_present = 0;
  for (int key : {int('S'), int('R'), int('U')}) Key(key);
  EXPECT_EQ(Calls(), Strings{});
  EXPECT_EQ(BoxTexts(), Strings(3, "This function requires the hardware"));
  testhook::ClearLogs();
  Key('L');
  EXPECT_EQ(Calls(), Strings{"SetScanLimits"});
  EXPECT_EQ(BoxTexts(), Strings{});
}

TEST_F(CommandsTest, NoKeyActsOrCountsDuringAScan) {
  scan_running = 1;
  key_sequence = "";
  for (int key : {int('S'), int('R'), int('L'), int('D'), int('Q'), int('4'), int('8'), int('2'),
                  int('6'), int(kVkCtrl)}) {
    KeyDown(key);
    EXPECT_EQ(key_code, key);  // kept, not reset to 1
  }
  EXPECT_EQ(Calls(), Strings{});
  EXPECT_EQ(key_sequence, "");
  EXPECT_EQ(DIAGMODE, 0);
  EXPECT_EQ(main_loop_on, 1);
  EXPECT_EQ(ctrl_key_down, 0);
  scan_running = 0;
}

TEST_F(CommandsTest, ArrowsMoveTheReadoutCursorWhileHeld) {
  mouse_x = 100;
  mouse_y = 40;
  KeyDown(kVkLeft);
  KeyDown(kVkLeft);
  KeyDown(kVkRight);
  EXPECT_EQ(mouse_x, 99);
  EXPECT_EQ(Calls(),
            (Strings{"CursorReadout(99,40)", "CursorReadout(98,40)", "CursorReadout(99,40)"}));
  // A key-up does not move it.
  ClearCalls();
  PostEvent(main_win, kEvKeyUp, 0, kVkLeft);
  PumpEvents();
  EXPECT_EQ(Calls(), Strings{});
}

TEST_F(CommandsTest, CtrlAndShiftAreHeldUntilAKeyUp) {
  KeyDown(kVkCtrl);
  KeyDown(kVkShift);
  EXPECT_EQ(ctrl_key_down, 1);
  EXPECT_EQ(shift_key_down, 1);
  EXPECT_EQ(key_down, 1);
  PostEvent(main_win, kEvKeyUp, 0, 'A');
  PumpEvents();
  EXPECT_EQ(ctrl_key_down, 0);
  EXPECT_EQ(shift_key_down, 0);
  EXPECT_EQ(key_down, 0);
}

TEST_F(CommandsTest, QEndsTheMainLoopWithoutClosingTheToolWindows) {
  legend_open = 1;
  OpenWindow(legend_win, 0, 0, 100, 100, kWinCaption, "Legend", [] { return 0; });
  Key('Q');
  EXPECT_EQ(main_loop_on, 0);
  EXPECT_EQ(legend_open, 1);
  EXPECT_TRUE(legend_win.IsOpen());
  CloseWindow(legend_win);
  legend_open = 0;
}

TEST_F(CommandsTest, PPrintsTheWindowThatHadTheFocusLast) {
  OpenWindow(point_win, 0, 0, 200, 200, kWinCaption, "Status", [] { return 0; });
  OpenWindow(smith2_win, 0, 0, 200, 200, kWinCaption, "Smith 2", [] { return 0; });
  OpenWindow(marker_win, 0, 0, 200, 200, kWinCaption, "Markers", [] { return 0; });
  for (int focus : {1, 3, 6, 8, 2, 0}) {
    focus_win = focus;
    Key('P');
  }
  EXPECT_EQ(testhook::PrintedWindows(),
            (Strings{"main_win", "point_win", "smith2_win", "marker_win"}));
  CloseWindow(point_win);
  CloseWindow(smith2_win);
  CloseWindow(marker_win);
}

// ---- hidden codes ----

TEST_F(CommandsTest, Code4826FlipsDiagnosticModeOnlyAsTheFirstKeys) {
  key_sequence = "";
  Type("4826");
  EXPECT_EQ(DIAGMODE, 1);
  EXPECT_EQ(dsp_debug, 1);
  EXPECT_EQ(key_sequence, "x");
  // The digits 1 and 2 open the Cursor Data window as they are typed.
  EXPECT_EQ(Calls(), Strings{"ShowCursorData"});
  Type("4826");  // later it matches no more: "x482" became "x" again
  EXPECT_EQ(DIAGMODE, 1);
  EXPECT_EQ(key_sequence, "x6");
  // The menus show it at the next rebuild only.
  EXPECT_EQ(GetMenuBar(main_win).size(), 11u);
}

TEST_F(CommandsTest, HiddenCodes) {
  struct Row {
    const char* keys;
    int diag_before;  // 8147 rebuilds the menus: with diagnostic mode on they gain its entries
    int diag, dsp, nocal, coord;
    size_t menus;
    Strings calls;
  };
  const Row rows[] = {
      {"5904", 0, 1, 0, 1, 0, 11, {}},
      {"2768", 0, 0, 0, 0, 1, 11, {"ShowCursorData", "ClearGraph", "CheckScreenDimensions"}},
      {"6139", 0, 0, 1, 0, 0, 11, {"ShowCursorData"}},
      {"8147", 1, 1, 0, 0, 0, 12, {"ShowCursorData"}},
      {"4827", 0, 0, 0, 0, 0, 11, {"ShowCursorData"}},
  };
  for (const Row& r : rows) {
    SetUp();
    DIAGMODE = r.diag_before;
    key_sequence = "";
    Type(r.keys);
    EXPECT_EQ(DIAGMODE, r.diag) << r.keys;
    EXPECT_EQ(dsp_debug, r.dsp) << r.keys;
    EXPECT_EQ(no_cal_comp, r.nocal) << r.keys;
    EXPECT_EQ(coord_debug, r.coord) << r.keys;
    EXPECT_EQ(Calls(), r.calls) << r.keys;
    EXPECT_EQ(GetMenuBar(main_win).size(), r.menus) << r.keys;
    TearDown();
  }
}

TEST_F(CommandsTest, OnlyMainKeyboardDigitsAndTheFirstFourKeysFormACode) {
  key_sequence = "";
  for (int key : {kVkNumpad0 + 4, kVkNumpad0 + 8, kVkNumpad0 + 2, kVkNumpad0 + 6}) Key(key);
  EXPECT_EQ(DIAGMODE, 0);
  // Any key counts, Ctrl and arrows too; after four the sequence starts "x".
  key_sequence = "";
  KeyDown(kVkCtrl);
  Type("482");
  EXPECT_EQ(key_sequence, "x");
  Type("6");
  EXPECT_EQ(key_sequence, "x6");
  EXPECT_EQ(DIAGMODE, 0);
}

}  // namespace
}  // namespace vna::test
