// The point window's buttons: where AddPointButtons puts them, and what
// each does through the window's handler: the frequency steps within the
// calibrated range (or the instrument's reach in diagnostic mode), Stop,
// the tone without a MIDI output, the Smith chart, the oscillator choice and
// the close box.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "graph/window_bitmap.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/point_win.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "shell/tones.h"

namespace vna {
namespace {

class PointWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    maximumfreq = 1200;
    InitVars();
    vna_present = 0;
    DIAGMODE = 0;
    PortB_on = 0;
    midi_out = 0;
    tone_on = tone_restart = 0;
    point_smith = point_smith_new = 0;
    osc_manual = 0;
    PointWinWidth = 1024;
    PointWinHeight = 700;
    cal_start_freq = 1;
    cal_end_freq = 100;
    Open();
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(point_win);
    CloseWindow(smith_win);
    pointwin_run = 0;
    DIAGMODE = 0;
    midi_out = 0;
    two_osc = 0;
    osc_manual = 0;
  }
  void Open() {
    CloseWindow(point_win);
    OpenWindow(point_win, 0, 0, PointWinWidth, PointWinHeight,
               kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax | kWinTopmost,
               " Point Data - Port A", PointWinHandler);
    pointwin_run = 1;
    AddPointButtons();
  }
  // A click on a control of the window, handled as a person's would be.
  static void Press(int id) {
    PostEvent(point_win, kEvCommand, id);
    PumpEvents();
  }
};

struct Placed {
  int id;
  const char* caption;
  int x, y, w, h;
};

// Where each control lies for a window of 1024 pixels: x0 = 1024 / 2 - 150
// = 362, y0 = 400, buttons 60 x 25, the three top ones 120 wide at y0 - 27.
const Placed kPlaced[] = {
    {174, "Stop/Exit", 362, 373, 120, 25}, {190, "Tone ", 482, 373, 120, 25},
    {1984, "Smith", 602, 373, 120, 25},    {175, " 50MHz", 362, 400, 60, 25},
    {3179, " + ", 362, 425, 60, 25},       {3180, " - ", 362, 450, 60, 25},
    {3189, " 10MHz ", 422, 400, 60, 25},   {176, " + ", 422, 425, 60, 25},
    {177, " - ", 422, 450, 60, 25},        {178, " 1MHz ", 482, 400, 60, 25},
    {179, " + ", 482, 425, 60, 25},        {180, " - ", 482, 450, 60, 25},
    {181, "100KHz", 542, 400, 60, 25},     {182, " + ", 542, 425, 60, 25},
    {183, " - ", 542, 450, 60, 25},        {184, " 10KHz", 602, 400, 60, 25},
    {185, " + ", 602, 425, 60, 25},        {186, " - ", 602, 450, 60, 25},
    {187, " 1KHz ", 662, 400, 60, 25},     {188, " + ", 662, 425, 60, 25},
    {189, " - ", 662, 450, 60, 25},
};

TEST_F(PointWinTest, ButtonsLieWhereTheTuneWayPutsThem) {
  for (const Placed& p : kPlaced) {
    SCOPED_TRACE(p.id);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(GetCtlRect(point_win, p.id, x, y, w, h));
    EXPECT_EQ(GetCtlText(point_win, p.id), p.caption);
    EXPECT_EQ(x, p.x);
    EXPECT_EQ(y, p.y);
    EXPECT_EQ(w, p.w);
    EXPECT_EQ(h, p.h);
  }
  EXPECT_FALSE(HasControl(point_win, 11291));
  EXPECT_FALSE(HasControl(point_win, 11292));

  // A picture of the window with its buttons for a person to look at.
  const std::string folder = VNA_BINARY_DIR "/test_images";
  std::filesystem::create_directories(folder);
  const std::string bmp = folder + "/point_window_buttons.bmp";
  int w = 0, h = 0;
  OuterSize(point_win, w, h);
  ASSERT_TRUE(SaveBitmap(bmp, point_win, 0, 0, w, h));
  QImage(QString::fromStdString(bmp))
      .save(QString::fromStdString(folder + "/point_window_buttons.png"));
  std::filesystem::remove(bmp);
}

TEST_F(PointWinTest, DiagnosticModeMovesTheButtonsAndAddsTheOscillators) {
  DIAGMODE = 1;
  Open();
  // x0 = 1024 - 370 = 654, y0 = 30.
  const Placed diag[] = {{174, "Stop/Exit", 654, 3, 120, 25},
                         {3179, " + ", 654, 55, 60, 25},
                         {189, " - ", 954, 80, 60, 25},
                         {11291, " CLK1", 654, 105, 60, 25},
                         {11292, " CLK2", 714, 105, 60, 25}};
  for (const Placed& p : diag) {
    SCOPED_TRACE(p.id);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(GetCtlRect(point_win, p.id, x, y, w, h));
    EXPECT_EQ(GetCtlText(point_win, p.id), p.caption);
    EXPECT_EQ(x, p.x);
    EXPECT_EQ(y, p.y);
    EXPECT_EQ(w, p.w);
    EXPECT_EQ(h, p.h);
  }
}

TEST_F(PointWinTest, StepsStayWithinTheCalibratedRange) {
  const struct {
    double from;
    int id;
    double to;
  } cases[] = {
      {50, 3179, 100},
      {50, 3180, 1},
      {50, 176, 60},
      {50, 177, 40},
      {50, 179, 51},
      {50, 180, 49},
      {50, 182, 50.1},
      {50, 183, 49.9},
      {50, 185, 50.01},
      {50, 186, 49.99},
      {50, 188, 50.001},
      {50, 189, 49.999},
      {95, 3179, 100},  // 50 MHz up from 5 below the end
                        // gives exactly the end
      {1, 189, 1},      // at a limit a step leaves the frequency there
      {120, 175, 100},  // any control event clamps, a label's too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " id " + std::to_string(c.id));
    freq = c.from;
    freq_changed = 0;
    Press(c.id);
    EXPECT_NEAR(freq, c.to, 1e-9);
    if (c.id != 175) {
      EXPECT_EQ(freq_changed, 1);
    }
  }
  // Diagnostic mode reaches past the calibration, to the instrument's limits.
  DIAGMODE = 1;
  freq = 1210;
  Press(3179);
  EXPECT_EQ(freq, 1220);
  freq = 0.0015;
  Press(189);
  EXPECT_EQ(freq, 0.001);
  freq = 150;
  Press(179);
  EXPECT_EQ(freq, 151);
}

TEST_F(PointWinTest, StopEndsTheUsersWait) {
  Press(174);
  EXPECT_EQ(pointwin_run, 0);
  EXPECT_TRUE(point_win.IsOpen());  // its user closes it
}

TEST_F(PointWinTest, ToneWithoutMidiOutputSaysSoEachTime) {
  for (int i = 0; i < 2; ++i) {
    Press(190);
    EXPECT_EQ(tone_on, 0);
    EXPECT_EQ(tone_restart, 0);
  }
  ASSERT_EQ(testhook::MsgBoxes().size(), 2u);
  for (const auto& box : testhook::MsgBoxes()) {
    EXPECT_EQ(box.owner, "point_win");
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.text,
              "Tone output is not available.\rCheck if your computer has a \rsound card and "
              "speaker installed.");
  }
  // With an output the button switches the tone, and a note sounds at once.
  midi_out = 1;
  Press(190);
  EXPECT_EQ(tone_on, 1);
  EXPECT_EQ(tone_restart, 1);
  Press(190);
  EXPECT_EQ(tone_on, 0);
  EXPECT_EQ(tone_restart, 0);
  EXPECT_EQ(testhook::MsgBoxes().size(), 2u);
}

TEST_F(PointWinTest, SmithButtonServesPortAOnly) {
  PortB_on = 1;
  Press(1984);
  EXPECT_EQ(point_smith, 0);
  PortB_on = 0;
  Press(1984);
  EXPECT_EQ(point_smith, 1);
  EXPECT_EQ(point_smith_new, 1);
  smith_open = smith_drawn = smith_active = 1;
  Press(1984);
  EXPECT_EQ(point_smith, 0);
  EXPECT_EQ(point_smith_new, 0);
  EXPECT_EQ(smith_open, 0);
  EXPECT_EQ(smith_drawn, 0);
  EXPECT_EQ(smith_active, 0);
  EXPECT_FALSE(smith_win.IsOpen());
}

TEST_F(PointWinTest, OscillatorChosenByHandLastsUntilTheWindowCloses) {
  DIAGMODE = 1;
  Open();
  two_osc = 2;
  ddsclk2 = 123.25;
  Press(11292);
  EXPECT_EQ(OSC, 2);
  EXPECT_EQ(DDS_Clk, 123.25);
  EXPECT_EQ(osc_manual, 1);
  PostEvent(point_win, kEvClose);
  PumpEvents();
  EXPECT_EQ(osc_manual, 0);
  EXPECT_EQ(pointwin_run, 0);
  EXPECT_FALSE(point_win.IsOpen());
}

}  // namespace
}  // namespace vna
