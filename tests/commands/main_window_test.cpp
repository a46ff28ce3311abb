// The main window's own events: the deferred resize, the cursor readout
// rule, the mouse buttons and the close path.
#include <QWidget>

#include <chrono>

#include "commands/commands_fixture.h"
#include "files/state.h"
#include "platform/qt_internal.h"
#include "shell/state.h"
#include "support/watchdog.h"
#include "tools/state.h"

namespace vna::test {
namespace {

class MainWindowTest : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    last_WinWidth = WinWidth;
    last_WinHeight = WinHeight;
    resize_pending = 0;
  }
  // The user drags the frame to this size.
  static void ResizeTo(int w, int h) {
    main_win.impl->top->resize(w, h);
    PumpEvents();
  }
  static void Move(int x, int y) {
    PostEvent(main_win, kEvMouseMove, 0, 0, x, y);
    PumpEvents();
  }
  static std::string Printed() { return testhook::PrintedText("main_win"); }
};

TEST_F(MainWindowTest, AResizeIsNotedAndTheWindowRebuiltAtTheNextMouseMove) {
  ResizeTo(800, 600);
  int w, h;
  OuterSize(main_win, w, h);
  ASSERT_EQ(w, 800);
  ASSERT_EQ(h, 600);
  EXPECT_EQ(resize_pending, 1);
  EXPECT_NE(Printed().find("  Width = 800     Height = 600    "), std::string::npos) << Printed();
  EXPECT_EQ(Calls(), Strings{});
  Move(10, 10);
  EXPECT_EQ(Calls().front(), "ReopenMainWindow(1)");
  EXPECT_EQ(resize_pending, 0);
  ClearCalls();
  Move(11, 11);  // once only
  EXPECT_TRUE(std::find(Calls().begin(), Calls().end(), "ReopenMainWindow(1)") == Calls().end());
}

TEST_F(MainWindowTest, AResizeBackOrToANarrowWindowRebuildsNothing) {
  ResizeTo(800, 600);
  ResizeTo(1024, 700);
  Move(10, 10);
  EXPECT_EQ(resize_pending, 0);
  EXPECT_TRUE(std::find(Calls().begin(), Calls().end(), "ReopenMainWindow(1)") == Calls().end());
  testhook::ClearLogs();
  ResizeTo(200, 500);
  EXPECT_EQ(resize_pending, 0);
  EXPECT_EQ(Printed(), "");
}

// With the readout normally on it follows the mouse and freezes while the
// left button is held; with it off it follows only a drag.
TEST_F(MainWindowTest, CursorReadoutRule) {
  cursorena = 1;
  Move(100, 50);
  PostEvent(main_win, kEvLButtonDown, 0, 0, 110, 50);
  Move(120, 60);
  PostEvent(main_win, kEvLButtonUp, 0, 0, 120, 60);
  Move(130, 60);
  EXPECT_EQ(Calls(), (Strings{"CursorReadout(100,50)", "CursorReadout(130,60)"}));
  EXPECT_EQ(mouse_x, 130);

  ClearCalls();
  cursorena = 0;
  Move(140, 70);
  PostEvent(main_win, kEvLButtonDown, 0, 0, 150, 70);
  Move(160, 75);
  PostEvent(main_win, kEvLButtonUp, 0, 0, 160, 75);
  Move(170, 80);
  PumpEvents();
  EXPECT_EQ(Calls(), (Strings{"CursorReadout(150,70)", "CursorReadout(160,75)"}));
  EXPECT_EQ(lbutton_down, 0);
}

TEST_F(MainWindowTest, ARightClickEditsTheMarkerThere) {
  PostEvent(main_win, kEvLButtonDown, 0, 0, 10, 10);
  PostEvent(main_win, kEvRButtonDown, 0, 0, 200, 80);
  PumpEvents();
  EXPECT_EQ(Calls().back(), "MarkerCommand(9)");
  EXPECT_EQ(lbutton_down, 0);
}

TEST_F(MainWindowTest, AMenuPickOrClickReleasesTheLeftButton) {
  PostEvent(main_win, kEvLButtonDown, 0, 0, 10, 10);
  PumpEvents();
  EXPECT_EQ(lbutton_down, 1);
  Pick(21330);
  EXPECT_EQ(lbutton_down, 0);
}

// Closing the main window closes every open tool window, then ends the
// main loop and any scan or Recycle loop.
TEST_F(MainWindowTest, CloseRequestClosesTheToolWindowsAndEndsTheProgram) {
  struct Tool {
    Window* win;
    int* open;
    int* closed;
  };
  const Tool tools[] = {
      {&point_win, &pointwin_run, nullptr},       {&smith_win, &smith_open, &smith_closed},
      {&polar_win, &polar_open, &polar_closed},   {&smith2_win, &smith2_open, &smith2_closed},
      {&help_win, &help_open, nullptr},           {&marker_win, &markerwin_open, nullptr},
      {&legend_win, &legend_open, nullptr},       {&win_vector_scope, &vscope_open, nullptr},
      {&win_array_scan, &arrayscan_open, nullptr}};
  for (const Tool& t : tools) {
    OpenWindow(*t.win, 0, 0, 200, 200, kWinCaption, t.win->name, [] { return 0; });
    *t.open = 1;
    if (t.closed) *t.closed = 0;
  }
  OpenWindow(hidden_win, -5000, 5000, 10, 10, kWinHidden, "", [] { return 0; });
  scan_running = 1;
  recycle_on = 2;
  cfg_editor_running = 1;
  PostEvent(main_win, kEvClose);
  // The close arrives while the Constant Test Frequency panel waits for a
  // person: with the browser window it is ended, with result 1.
  testhook::Enable(false);  // no automatic answer: only the close may end it
  int panel_result = -1;
  {
    Watchdog watchdog(std::chrono::seconds(20), "the Constant Test Frequency panel");
    panel_result = RunModal(dlg_const_freq, &main_win);
  }
  testhook::Enable(true);
  EXPECT_EQ(panel_result, 1);
  PumpEvents();
  for (const Tool& t : tools) {
    EXPECT_FALSE(t.win->IsOpen()) << t.win->name;
    EXPECT_EQ(*t.open, 0) << t.win->name;
    if (t.closed) {
      EXPECT_EQ(*t.closed, 1) << t.win->name;
    }
  }
  EXPECT_FALSE(hidden_win.IsOpen());
  EXPECT_EQ(focus_win, 4);  // the browser window was the last with an index
  EXPECT_EQ(main_loop_on, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(cfg_editor_running, 0);
  EXPECT_TRUE(main_win.IsOpen());  // the exit sequence closes it later
}

TEST_F(MainWindowTest, QuitButtonAndMenuTakeTheSamePath) {
  legend_open = 1;
  OpenWindow(legend_win, 0, 0, 100, 100, kWinCaption, "Legend", [] { return 0; });
  Click(209);
  EXPECT_EQ(main_loop_on, 0);
  EXPECT_FALSE(legend_win.IsOpen());
  main_loop_on = 1;
  Pick(9);
  EXPECT_EQ(main_loop_on, 0);
}

}  // namespace
}  // namespace vna::test
