// The layout of the main window for several screens and font sizes, and the
// re-creation of the window at a new size.
#include "graph_fixture.h"
#include "shell/commands.h"
#include "shell/main_program.h"
#include "shell/menus.h"

namespace vna {
namespace {

using test::GraphTest;

struct ScreenCase {
  int screen_w, screen_h, win_w, win_h;
  int want_w, want_h, point_w;
};

TEST(GeometryTest, TheWindowKeepsToTheScreen) {
  const ScreenCase cases[] = {
      {1920, 1080, 150, 80, 200, 100, 200},       // too small: 200 x 100
      {1280, 1024, 1280, 1024, 1280, 989, 1270},  // the screen's height less 35
      {1024, 768, 1600, 700, 1024, 700, 1024},    // wider than the screen
      {2560, 1440, 1600, 900, 1600, 900, 1270},   // the point window stops at 1270
      {800, 600, 800, 580, 800, 565, 800},        // 35 pixels of the height stay free
      {0, 0, 3000, 2000, 3000, 2000, 1270},       // no screen known: nothing to keep to
  };
  for (const ScreenCase& c : cases) {
    screen_width = c.screen_w;
    screen_height = c.screen_h;
    WinWidth = c.win_w;
    WinHeight = c.win_h;
    WinLeft = 7;
    FitWindowToScreen();
    EXPECT_EQ(WinWidth, c.want_w) << c.screen_w << "x" << c.screen_h;
    EXPECT_EQ(WinHeight, c.want_h) << c.screen_w << "x" << c.screen_h;
    EXPECT_EQ(PointWinWidth, c.point_w);
    EXPECT_EQ(PointWinHeight, 700);
    EXPECT_EQ(WinLeft, 0);
    EXPECT_EQ(WinTop, 0);
    EXPECT_FLOAT_EQ(win_xscale, c.want_w / 1024.0f);
    EXPECT_FLOAT_EQ(win_yscale, c.want_h / 768.0f);
  }
}

TEST(GeometryTest, LayoutFollowsTheMeasuredTexts) {
  for (int size : {4, 7, 10}) {
    for (int bold : {0, 1}) {
      font_size = size;
      bold_font = bold;
      WinWidth = 1024;
      WinHeight = 700;
      screen_width = screen_height = 0;
      FitWindowToScreen();
      MeasureGraphLayout();
      const int weight = bold ? 600 : 200;
      EXPECT_EQ(font_weight, weight);
      int w1, h1, w2, h2, w3, h3, unused;
      FontTextExtent("arial", size, weight, " 100XXXX", w1, h1);
      FontTextExtent("courier", size, weight, "1234567890123456789012", w2, h2);
      FontTextExtent("arial", 7, weight, "XXXX.XX", w3, unused);
      FontTextExtent("arial", size, weight, " 100   ", unused, h3);
      const std::string what = "size " + std::to_string(size) + " bold " + std::to_string(bold);
      EXPECT_EQ(text_height, h1) << what;
      EXPECT_EQ(line0_y, 0);
      EXPECT_EQ(line1_y, h1);
      EXPECT_EQ(line2_y, 2 * h1);
      EXPECT_EQ(line3_y, 3 * h1);
      EXPECT_EQ(info_button_w, w2 + 14) << what;
      EXPECT_EQ(info_button_h, h2 + 8) << what;
      EXPECT_EQ(info_x, 1024 - (w2 + 14) - 15) << what;
      EXPECT_EQ(info_button_y, 3 * h1) << what;
      // The gap right of the left scale: 5 pixels with bold text, 12 without.
      EXPECT_EQ(graph_left, w3 + (bold ? 5 : 12)) << what;
      EXPECT_EQ(graph_right, 1024 - (w2 + 14) - w1 - 5) << what;
      EXPECT_EQ(graph_top, 2 * h1 + 10) << what;
      EXPECT_EQ(status_y, 700 - 55 - 2 * h3) << what;
      EXPECT_EQ(graph_bottom, 700 - 55 - 4 * h3) << what;
      EXPECT_EQ(title_y, 700 - 55 - 2 * h3 - h3 - h3 / 2) << what;
      EXPECT_EQ(msg_text, "1234567890123456789012");
    }
  }
}

class ReopenTest : public GraphTest {};

TEST_F(ReopenTest, InitgrafsizeBuildsTheMenusOnAWindowItClosesAgain) {
  CloseWindow(main_win);
  vna_present = 1;
  PortB_cal = 0;
  PortB_on = 1;  // a Port B mode from the init file, without its calibration
  WinWidth = 100000;
  WinHeight = 50;
  Initgrafsize();
  EXPECT_FALSE(main_win.IsOpen());
  int sw = 0, sh = 0;
  ScreenSize(sw, sh);
  EXPECT_EQ(screen_width, sw);
  EXPECT_EQ(screen_height, sh);
  EXPECT_EQ(WinWidth, sw);
  EXPECT_EQ(WinHeight, 100);
  EXPECT_EQ(last_WinWidth, WinWidth);
  EXPECT_EQ(last_WinHeight, 100);
  EXPECT_EQ(PortB_on, 0);  // the menus were built: they settle the port mode
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(ReopenTest, TheCoordinateCheckDrawsItsPictureAndWaits) {
  CloseWindow(main_win);
  coord_debug = 1;
  testhook::QueueMsgBoxAnswer(kIdOk, "");
  Initgrafsize();
  coord_debug = 0;
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Check screen dimensions");
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "");
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  const std::string coords = " screen =" + NumStr(screen_width) + " by " + NumStr(screen_height) +
                             " Graph coords X1=" + NumStr(graph_left) + " Y1=" + NumStr(graph_top) +
                             " X2=" + NumStr(graph_right) + " Y2=" + NumStr(graph_bottom);
  const auto p = PrintOf(coords);
  EXPECT_EQ(p.x, graph_left + 10);
  EXPECT_EQ(p.y, graph_top + 10);
  EXPECT_EQ(PrintOf("Second data line").x, info_x);
  EXPECT_EQ(PrintOf("Second data line").y, graph_top + text_height);
  EXPECT_EQ(PrintOf("Date, time and comment line").y, line2_y);
}

TEST_F(ReopenTest, WithoutAnInstrumentTheNewWindowSaysDemoMode) {
  SetProgramVersion();
  model = "Zelmar";
  vna_present = 0;
  PortA_cal = PortB_cal = 0;
  markerwin_open = 1;
  OpenWindow(marker_win, 0, 0, 300, 200, kWinCaption, "Port A Marker Data", [] { return 0; });
  WinWidth = 900;
  WinHeight = 520;
  ReopenMainWindow(0);
  EXPECT_TRUE(main_win.IsOpen());
  EXPECT_FALSE(marker_win.IsOpen());
  EXPECT_EQ(markerwin_open, 0);
  EXPECT_EQ(GetTitle(main_win), "VNA-Zelmar   version 636A        DEMO MODE   ");
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(PortB_cal, 1);
  int w = 0, h = 0;
  OuterSize(main_win, w, h);
  EXPECT_EQ(w, WinWidth);
  EXPECT_EQ(h, WinHeight);
  EXPECT_EQ(last_WinWidth, WinWidth);
  // The graph is drawn anew on it, with its info panel.
  EXPECT_TRUE(HasControl(main_win, kInfoZref));
  // With the flag the size is the window's own.
  const int before_w = WinWidth, before_h = WinHeight;
  WinWidth = 300;
  WinHeight = 300;
  ReopenMainWindow(1);
  EXPECT_EQ(WinWidth, before_w);
  EXPECT_EQ(WinHeight, before_h);
}

// The menu command puts the main window back at the config file's width and
// height, each from its own value.
TEST_F(ReopenTest, DefaultGraphSizeTakesTheConfigWidthAndHeight) {
  const int cfg_w = cfg_win_width, cfg_h = cfg_win_height;
  cfg_win_width = 760;
  cfg_win_height = 530;
  WinWidth = 700;
  WinHeight = 500;
  DispatchCommand(27103);
  SavePng("default_graph_size");
  int w = 0, h = 0;
  OuterSize(main_win, w, h);
  EXPECT_EQ(w, 760);
  EXPECT_EQ(h, 530);
  EXPECT_EQ(WinWidth, 760);
  EXPECT_EQ(WinHeight, 530);
  cfg_win_width = cfg_w;
  cfg_win_height = cfg_h;
}

}  // namespace
}  // namespace vna
