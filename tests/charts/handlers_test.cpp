// The chart windows' handlers driven as a person would: clicks, the close
// box, the mouse and keys, posted while the chart's procedure waits; and the
// loops that keep a chart up.
#include "charts/charts_fixture.h"
#include "graph/chart_handlers.h"
#include "graph/polar_plot.h"
#include "graph/smith_chart.h"
#include "shell/chart_loops.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"

namespace vna::test {
namespace {

class HandlersTest : public ChartTest {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    ChartTest::SetUp();
    SetScan({{50, 0}, {100, 0}, {25, 25}});
  }
  static void Click(Window& w, int id) { PostEvent(w, kEvCommand, id); }
};

TEST_F(HandlersTest, AZoomButtonRedrawsOnlyForANewZoom) {
  const int opens = smith_win.instance;
  int marked_face = 0, other_face = 0, unused = 0;
  {
    ChartScript script(smith_win, {[] { Click(smith_win, 2203); },
                                   [&] {
                                     GetCtlColors(smith_win, 2203, unused, marked_face, unused);
                                     GetCtlColors(smith_win, 2201, unused, other_face, unused);
                                     Click(smith_win, 2203);  // the zoom in force: nothing
                                     PostEvent(smith_win, kEvClose);
                                   },
                                   [] { PostEvent(smith_win, kEvClose); }});
    Watchdog dog(std::chrono::seconds(30), "Smith");
    Smith();
    EXPECT_EQ(script.done(), 2u);
  }
  EXPECT_EQ(smith_win.instance - opens, 2);
  EXPECT_EQ(smith_zoom, 3);
  EXPECT_EQ(marked_face, Rgb(0, 240, 240));
  EXPECT_EQ(other_face, -1);
  EXPECT_EQ(smith_closed, 1);
  EXPECT_FALSE(smith_win.IsOpen());
  EXPECT_EQ(smith_drawn, 0);
}

TEST_F(HandlersTest, AZoomOfTheSecondChartRedrawsIt) {
  const int opens = smith2_win.instance;
  RunChart(smith2_win, Smith_2,
           {[] { Click(smith2_win, 2302); }, [] { PostEvent(smith2_win, kEvClose); }});
  EXPECT_EQ(smith2_win.instance - opens, 2);
  EXPECT_EQ(smith2_zoom, 2);
  EXPECT_EQ(smith2_closed, 1);
  EXPECT_FALSE(smith2_win.IsOpen());
}

TEST_F(HandlersTest, APolarScaleButtonAlwaysRedraws) {
  const int opens = polar_win.instance;
  polar_scale = 1;
  RunChart(polar_win, RepeatPolarPlot,
           {[] { Click(polar_win, 2201); },  // the scale in force: drawn again
            [] { Click(polar_win, 2204); }, [] { PostEvent(polar_win, kEvClose); }});
  EXPECT_EQ(polar_win.instance - opens, 3);
  EXPECT_EQ(polar_scale, 4);
  EXPECT_EQ(polar_closed, 1);
  EXPECT_FALSE(polar_win.IsOpen());
}

TEST_F(HandlersTest, ClosingKeepsEachWindowsPosition) {
  auto move_and = [](Window& w, int x, int y, std::function<void()> then) {
    return [&w, x, y, then] {
      w.impl->top->move(x, y);
      recycle_on = 1;  // as if Recycle had been switched on meanwhile
      then();
    };
  };
  RunChart(smith_win, Smith,
           {move_and(smith_win, 123, 77, [] { PostEvent(smith_win, kEvClose); })});
  EXPECT_EQ(smith_x, 123);
  EXPECT_EQ(smith_y, 77);
  EXPECT_EQ(recycle_on, 0);
  // "Close" does the same.
  RunChart(smith_win, Smith, {move_and(smith_win, 140, 60, [] { Click(smith_win, 2208); })});
  EXPECT_EQ(smith_x, 140);
  EXPECT_EQ(smith_y, 60);
  EXPECT_EQ(smith_closed, 1);
  EXPECT_EQ(recycle_on, 0);
  // The second chart's close box leaves Recycle alone.
  RunChart(smith2_win, Smith_2,
           {move_and(smith2_win, 210, 30, [] { PostEvent(smith2_win, kEvClose); })});
  EXPECT_EQ(smith2_x, 210);
  EXPECT_EQ(smith2_y, 30);
  EXPECT_EQ(recycle_on, 1);
  recycle_on = 0;
  RunChart(polar_win, PolarPlot,
           {move_and(polar_win, 300, 20, [] { PostEvent(polar_win, kEvClose); })});
  EXPECT_EQ(polar_x, 300);
  EXPECT_EQ(polar_y, 20);
  EXPECT_EQ(recycle_on, 0);
  // The next opening comes back there.
  int x = 0, y = 0;
  RunChart(smith_win, Smith, {[&] {
             ScreenPos(smith_win, x, y);
             PostEvent(smith_win, kEvClose);
           }});
  EXPECT_EQ(x, 140);
  EXPECT_EQ(y, 60);
}

TEST_F(HandlersTest, TheMouseDrivesTheCursorReadoutAndMarkers) {
  struct Case {
    Window* win;
    void (*draw)();
    int left;  // window left edge: smith_x, smith2_x, polar_x
  };
  smith_x = 50;
  smith2_x = 0;
  polar_x = 50;
  const Case cases[] = {
      {&smith_win, Smith, 50}, {&smith2_win, Smith_2, 0}, {&polar_win, PolarPlot, 50}};
  for (const Case& c : cases) {
    ClearCalls();
    Window& w = *c.win;
    RunChart(w, c.draw, {[&w] {
               cursorena = 0;
               PostEvent(w, kEvMouseMove, 0, 0, 40, 50);  // readout off: nothing
               PostEvent(w, kEvLButtonDown, 0, 0, 40, 50);
               PostEvent(w, kEvMouseMove, 0, 0, 41, 52);  // a drag
               PostEvent(w, kEvLButtonUp, 0, 0, 41, 52);
               PostEvent(w, kEvMouseMove, 0, 0, 45, 52);  // released: nothing
               qt::PostCall([] { cursorena = 1; });
               PostEvent(w, kEvMouseMove, 0, 0, 60, 70);  // readout on: follows
               PostEvent(w, kEvLButtonDown, 0, 0, 60, 70);
               PostEvent(w, kEvMouseMove, 0, 0, 61, 70);  // held: frozen
               PostEvent(w, kEvRButtonDown, 0, 0, 61, 70);
               PostEvent(w, kEvClose);
             }});
    const std::string l1 = std::to_string(c.left + 41), l2 = std::to_string(c.left + 60);
    EXPECT_EQ(Calls(), (Strings{"CursorReadout(" + l1 + ",52)", "CursorReadout(" + l2 + ",70)",
                                "MarkerCommand(9)"}))
        << w.name;
    EXPECT_EQ(mouse_x, 60);
    EXPECT_EQ(last_mouse_y, 70);
    EXPECT_EQ(lbutton_down, 0);  // the right button let go of the drag
    EXPECT_EQ(cmd_param, 9);
  }
}

TEST_F(HandlersTest, KeysGoToTheKeyHandler) {
  // P prints the window that had the focus last: the first chart its own
  // window, the second chart (which takes the focus on a key) its own too.
  RunChart(smith_win, Smith, {[] {
             PostEvent(smith_win, kEvKeyDown, 0, 'P');
             qt::PostCall([] { EXPECT_EQ(key_down, 1); });
             PostEvent(smith_win, kEvKeyUp, 0, 'P');
             qt::PostCall([] { EXPECT_EQ(key_down, 0); });
             PostEvent(smith_win, kEvClose);
           }});
  focus_win = 5;
  ctrl_key_down = shift_key_down = 1;
  RunChart(smith2_win, Smith_2, {[] {
             qt::PostCall([] { focus_win = 5; });
             PostEvent(smith2_win, kEvKeyDown, 0, 'P');
             qt::PostCall([] { EXPECT_EQ(focus_win, 6); });
             PostEvent(smith2_win, kEvKeyUp, 0, 'P');
             PostEvent(smith2_win, kEvClose);
           }});
  EXPECT_EQ(testhook::PrintedWindows(), (Strings{"smith_win", "smith2_win"}));
  EXPECT_EQ(key_down, 0);
  EXPECT_EQ(ctrl_key_down, 0);
  EXPECT_EQ(shift_key_down, 0);
}

TEST_F(HandlersTest, PrintAndMarkerDataButtons) {
  RunChart(smith_win, Smith, {[] {
             Click(smith_win, 2206);
             Click(smith_win, 2207);
             PostEvent(smith_win, kEvClose);
           }});
  EXPECT_EQ(marker_measure, 1);
  EXPECT_EQ(Calls(), Strings{"MarkerData_A"});
  RunChart(smith2_win, Smith_2, {[] {
             Click(smith2_win, 2306);
             PostEvent(smith2_win, kEvClose);
           }});
  RunChart(polar_win, PolarPlot, {[] {
             Click(polar_win, 2206);
             PostEvent(polar_win, kEvClose);
           }});
  EXPECT_EQ(testhook::PrintedWindows(), (Strings{"smith_win", "smith2_win", "polar_win"}));
}

TEST_F(HandlersTest, BesidePointDataTheCloseBoxClosesTheChart) {
  point_smith = 1;
  Smith();
  ASSERT_TRUE(smith_win.IsOpen());
  PostEvent(smith_win, kEvClose);
  PumpEvents();
  EXPECT_FALSE(smith_win.IsOpen());
  EXPECT_EQ(point_smith, 0);
  EXPECT_EQ(smith_closed, 1);
  EXPECT_EQ(smith_open, 0);
}

TEST_F(HandlersTest, TheSecondChartsCloseBoxEndsTheFirstChartsWaitToo) {
  // From the first chart's wait the user rotates: the second chart opens
  // above it; closing the second ends both waits, and the first chart,
  // which the user did not close, is not marked closed.
  OpenWindow(main_win, 0, 0, 1024, 700, kWinCaption, "", MainWindowHandler);
  testhook::Answer a;
  a.texts = {{1, "45"}};
  a.press = 2;
  testhook::QueueAnswer(a);
  ChartScript second(smith2_win, {[] { PostEvent(smith2_win, kEvClose); }});
  RunChart(smith_win, Smith, {[] { PostEvent(main_win, kEvMenu, 0, 0, 0, 0, 2191); }});
  EXPECT_EQ(second.done(), 1u);
  EXPECT_EQ(smith_rotation, 45);
  EXPECT_EQ(smith2_closed, 1);
  EXPECT_EQ(smith_closed, 0);
  EXPECT_FALSE(smith_win.IsOpen());
  EXPECT_FALSE(smith2_win.IsOpen());
}

TEST_F(HandlersTest, TheRepeatLoopsEndWhenTheChartDrawsNothing) {
  Watchdog dog(std::chrono::seconds(20), "a chart repeat loop");
  const int s1 = smith_win.instance, s2 = smith2_win.instance, p = polar_win.instance;
  smith_closed = smith2_closed = polar_closed = 0;
  SetScan({{50, 0}, {100, 0}});  // two points
  RepeatSmith();
  RepeatSmith2();
  RepeatPolarPlot();
  SetScan({{50, 0}, {100, 0}, {25, 0}});
  tdr_mode = 1;
  RepeatSmith();
  RepeatSmith2();
  tdr_mode = 0;
  PortB_on = 1;
  RepeatSmith2();
  RepeatPolarPlot();
  PortB_on = 0;
  recycle_on = 1;
  RepeatPolarPlot();
  recycle_on = 0;
  EXPECT_EQ(smith_win.instance, s1);
  EXPECT_EQ(smith2_win.instance, s2);
  EXPECT_EQ(polar_win.instance, p);
}

class MarkerWindowTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    OpenWindow(marker_win, 100, 100, 900, 215, kWinCaption | kWinSysMenu, "Port A Marker Data",
               MarkerWindowHandler);
    markerwin_open = 1;
  }
  static void Click(int id) {
    PostEvent(marker_win, kEvCommand, id);
    PumpEvents();
  }
};

TEST_F(MarkerWindowTest, RefreshAndRecycleListTheMarkers) {
  recycle_on = 1;
  Click(3174);
  EXPECT_EQ(recycle_on, 0);
  Click(3193);  // on: listed at once
  EXPECT_EQ(recycle_on, 1);
  Click(3193);  // off
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(Calls(), (Strings{"ListMarkers_A", "ListMarkers_A"}));
  ClearCalls();
  scan_running = 1;  // a listing runs: neither lists again
  Click(3174);
  Click(3193);
  EXPECT_EQ(recycle_on, 1);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(MarkerWindowTest, SavePrintAndRecall) {
  Click(3177);
  Click(3176);
  EXPECT_EQ(Calls(), Strings{"SaveMarkers(8)"});
  EXPECT_EQ(testhook::PrintedWindows(), Strings{"marker_win"});
  ClearCalls();
  marker_measure = 1;
  Click(3178);
  EXPECT_EQ(Calls(), (Strings{"LoadMarkers", "MarkerData_A"}));
  EXPECT_FALSE(marker_win.IsOpen());
  EXPECT_EQ(markerwin_open, 0);
  EXPECT_EQ(marker_measure, 0);  // reopened without measuring
}

TEST_F(MarkerWindowTest, ExitAndTheCloseBoxStopEverything) {
  recycle_on = scan_running = 1;
  PostEvent(marker_win, kEvClose);
  PumpEvents();
  EXPECT_EQ(markerwin_open + recycle_on + scan_running, 0);
  EXPECT_TRUE(marker_win.IsOpen());  // the waiting procedure closes it
  markerwin_open = recycle_on = scan_running = 1;
  focus_win = 8;
  Click(3175);
  EXPECT_EQ(markerwin_open + recycle_on + scan_running, 0);
  EXPECT_FALSE(marker_win.IsOpen());
  EXPECT_EQ(focus_win, 0);
}

}  // namespace
}  // namespace vna::test
