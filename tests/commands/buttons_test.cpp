// The button bar: what Scan, Rescan, Halt, Port A/B, Smith and Recycle set
// and call, their guards while a scan runs, and the two loops that must end.
#include <chrono>

#include "commands/commands_fixture.h"
#include "support/watchdog.h"
#include "platform/testhook.h"
#include "tools/state.h"

namespace vna::test {
namespace {

using std::chrono::seconds;

TEST_F(CommandsTest, ScanStartsAFreshScanOfTheCurrentPort) {
  scan_from_file = 1;
  rescan_on = 1;
  color_index = 5;
  alt_colors = 1;
  live_data = 0;
  focus_win = 5;
  PortA_title = "old title";
  PortB_title = "port B title";
  Click(201);
  EXPECT_EQ(Calls(), (Strings{"DrawGraph", "Scan_A"}));
  EXPECT_EQ(scan_from_file, 0);
  EXPECT_EQ(rescan_on, 0);
  EXPECT_EQ(color_index, 0);
  EXPECT_EQ(alt_colors, 0);
  EXPECT_EQ(live_data, 1);
  EXPECT_EQ(focus_win, 1);
  EXPECT_EQ(PortA_title, "");
  EXPECT_EQ(PortB_title, "port B title");

  ClearCalls();
  PortB_on = 1;
  PortB_title = "port B title";
  Click(201);
  EXPECT_EQ(Calls(), (Strings{"DrawGraph", "Scan_B"}));
  EXPECT_EQ(PortB_title, "");
  ClearCalls();
  vscope_open = 1;
  Click(201);
  EXPECT_EQ(Calls(), (Strings{"DrawGraph", "ScanAllChannels"}));
  vscope_open = 0;
}

TEST_F(CommandsTest, ScanInTdrModeRunsTheTdrWithItsParameterLines) {
  tdr_mode = 1;
  int shown = -1;
  OnCall("RunTDR", [&] { shown = tdr_show_params; });
  Click(201);
  EXPECT_EQ(Calls(), Strings{"RunTDR"});
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(tdr_show_params, 0);
  ClearCalls();
  Click(202);  // Rescan in TDR mode: the plot without its parameters
  EXPECT_EQ(Calls(), Strings{"RunTDR"});
  tdr_mode = 0;
}

// Eight rescans after a scan go round the eight light colours; the title
// stays and the graph is not cleared.
TEST_F(CommandsTest, RescanDrawsOverTheLastScanInTheNextColour) {
  Click(201);
  PortA_title = "kept";
  std::vector<int> colours;
  OnCall("Scan_A", [&] {
    colours.push_back(color_index);
    EXPECT_EQ(rescan_on, 1);
  });
  for (int i = 0; i < 8; ++i) Click(202);
  EXPECT_EQ(colours, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0}));
  EXPECT_EQ(PortA_title, "kept");
  EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "DrawGraph"), 1);

  ClearCalls();
  bandscan_mode = 1;
  Click(202);
  EXPECT_EQ(Calls(), Strings{"BandScan"});
  bandscan_mode = 0;
}

// A scan lets events through; a second Scan or Rescan click then is ignored,
// Halt stops it, and Port A/B does nothing.
TEST_F(CommandsTest, ClicksDuringAScan) {
  int nested_scans = 0, halted = -1;
  OnCall("Scan_A", [&] {
    if (scan_running != 0) {
      ++nested_scans;
      return;
    }
    scan_running = 1;
    recycle_on = 0;
    Click(201);
    Click(202);
    Click(20192);
    EXPECT_EQ(testhook::MsgBoxes().size(), 0u) << "Port A/B answered during a scan";
    Click(210);
    halted = scan_running;
    scan_running = 0;
  });
  Click(201);
  EXPECT_EQ(nested_scans, 0);
  EXPECT_EQ(halted, 0);
  EXPECT_EQ(std::count(Calls().begin(), Calls().end(), "Scan_A"), 1);
  // Commands without the scanning guard run nested inside the scan.
  ClearBehaviours();
  OnCall("Scan_A", [] {
    scan_running = 1;
    Click(203);
    scan_running = 0;
  });
  ClearCalls();
  Click(201);
  EXPECT_EQ(Calls(), (Strings{"DrawGraph", "Scan_A", "SetScanLimits"}));
}

TEST_F(CommandsTest, PortABNeedsAPortBCalibrationOrDiagnosticMode) {
  Click(20192);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Port B is not calibrated.");
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Port B not calibrated");
  EXPECT_EQ(testhook::MsgBoxes()[0].buttons, kMbOk);
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(Calls(), Strings{});

  // Each port keeps its own averaging count.
  PortB_cal = 1;
  average = 4;
  average_other = 64;
  Click(20192);
  EXPECT_EQ(PortB_on, 1);
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan B");
  EXPECT_EQ(GetCtlText(main_win, 202), "Rescan B");
  EXPECT_EQ(GetMenuBar(main_win)[0].items[0].caption, "Load Port B Graph");
  EXPECT_EQ(Calls(), (Strings{"AverageADC(64)", "RedrawGraph"}));
  EXPECT_EQ(average_other, 4);

  ClearCalls();
  PortB_cal = 0;
  DIAGMODE = 1;
  vna_present = 0;  // without an instrument Port B mode survives the rebuild
  Click(20192);
  EXPECT_EQ(PortB_on, 0);
  Click(20192);
  EXPECT_EQ(PortB_on, 1);
}

TEST_F(CommandsTest, HaltStopsScanAndRecycle) {
  scan_running = 1;
  recycle_on = 2;
  Click(210);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(recycle_on, 0);
}

TEST_F(CommandsTest, SmithOnlyForAPortAScanOfMoreThanOnePoint) {
  smith_closed = 0;
  struct Case {
    int npoints, portb, tdr, recycle;
    bool calls;
  };
  const Case cases[] = {{1, 0, 0, 0, false},
                        {5, 1, 0, 0, false},
                        {5, 0, 1, 0, false},
                        {5, 0, 0, 1, false},
                        {5, 0, 0, 0, true}};
  for (const Case& c : cases) {
    ClearCalls();
    scanA_npoints = c.npoints;
    PortB_on = c.portb;
    tdr_mode = c.tdr;
    recycle_on = c.recycle;
    Watchdog guard(seconds(20), "the Smith button");
    Click(208);
    EXPECT_EQ(Calls().size(), c.calls ? 1u : 0u) << c.npoints << c.portb << c.tdr << c.recycle;
  }
  PortB_on = tdr_mode = recycle_on = 0;
}

// Smith draws nothing for two points and leaves smith_closed at 0: the
// button must not call it for ever.
TEST_F(CommandsTest, SmithButtonEndsWhenTheChartDidNotOpen) {
  scanA_npoints = 2;
  smith_closed = 0;
  Watchdog guard(seconds(20), "the Smith button with a chart that does not open");
  Click(208);
  EXPECT_EQ(Calls(), Strings{"Smith"});
}

// A chart that opens is drawn again each time Smith returns, until the user
// closes it.
TEST_F(CommandsTest, SmithButtonRedrawsTheChartUntilItIsClosed) {
  scanA_npoints = 50;
  smith_closed = 1;  // from an earlier chart
  int calls = 0;
  OnCall("Smith", [&] {
    ++calls;
    OpenWindow(smith_win, 0, 0, 300, 300, kWinCaption, "Smith", [] { return 0; });
    smith_closed = calls == 3 ? 1 : 0;  // zoomed twice, then closed
    CloseWindow(smith_win);
  });
  Watchdog guard(seconds(20), "the Smith button");
  Click(208);
  EXPECT_EQ(calls, 3);
}

class RecycleTest : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    recycle_delay = 5;
  }
  static int Count(const std::string& call) {
    return static_cast<int>(std::count(Calls().begin(), Calls().end(), call));
  }
};

// With a depth of 3 the graph keeps only the last scan before every third
// repeated scan; the count is shown at the top left.
TEST_F(RecycleTest, RepeatsScansAndClearsTheGraphEveryDepth) {
  Recycle_depth = 3;
  recycle_count = 3;
  int scans = 0;
  OnCall("Scan_A", [&] {
    ++scans;
    EXPECT_EQ(recycle_on, scans == 1 ? 1 : 2);
    if (scans == 7) Click(210);
  });
  Watchdog guard(seconds(30), "the Recycle loop");
  Click(204);
  EXPECT_EQ(scans, 7);
  EXPECT_EQ(recycle_on, 0);
  // DrawGraph once at the start, then RedrawGraph before scans 3 and 6.
  Strings expected = {"DrawGraph"};
  for (int i = 1; i <= 7; ++i) {
    if (i == 3 || i == 6) expected.push_back("RedrawGraph");
    expected.push_back("Scan_A");
    expected.push_back("CursorReadout(0,0)");
  }
  EXPECT_EQ(Calls(), expected);
  std::vector<std::string> counters;
  for (const auto& p : testhook::Prints()) {
    if (p.window == "main_win" && p.x == 1 && p.y == 0) counters.push_back(p.text);
  }
  ASSERT_EQ(counters.size(), 7u);
  EXPECT_EQ(counters[0], " Recycle=1  ");
  EXPECT_EQ(counters[6], " Recycle=7  ");
  EXPECT_EQ(recycle_scans_done, 7);
}

TEST_F(RecycleTest, ASecondClickStopsAfterThePassInProgress) {
  int scans = 0;
  OnCall("Scan_B", [&] {
    ++scans;
    scan_running = 1;
    if (scans == 2) Click(204);
    scan_running = 0;
  });
  PortB_on = 1;
  PortB_cal = 1;
  smith_drawn = 1;
  Watchdog guard(seconds(30), "the Recycle loop");
  Click(204);
  EXPECT_EQ(scans, 2);
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(Count("Smith"), 2);  // the chart follows each pass
  EXPECT_EQ(Count("DrawGraph"), 1);
}

TEST_F(RecycleTest, QuittingEndsTheLoopAndTdrModeHasNone) {
  OnCall("Scan_A", [] { Click(209); });
  Watchdog guard(seconds(30), "the Recycle loop");
  Click(204);
  EXPECT_EQ(Count("Scan_A"), 1);
  EXPECT_EQ(main_loop_on, 0);
  main_loop_on = 1;
  ClearCalls();
  tdr_mode = 1;
  Click(204);
  EXPECT_EQ(Calls(), Strings{});
  EXPECT_EQ(recycle_on, 0);
  tdr_mode = 0;
}

}  // namespace
}  // namespace vna::test
