// The polar plot of a stored scan in its three modes.
//
// Geometry worked out by hand for a main window 768 pixels high (win_yscale
// 1): the window is 650 x 675, the centre (300, 260), the radius R = 250. A
// point at radius r and phase phi of S11 lies at
// (300 + rnd(r cos phi), 260 - rnd(r sin phi)).
#include "charts/charts_fixture.h"
#include "graph/chart_handlers.h"
#include "graph/polar_plot.h"

namespace vna::test {
namespace {

class PolarTest : public ChartTest {
 protected:
  static void Mode(int s11, int swr, int z) {
    polar_s11 = s11;
    polar_swr = swr;
    polar_z = z;
  }
};

QImage DrawPolar(const std::string& png = "") {
  return DrawChart(polar_win, PolarPlot, png);
}

// Ring labels in order: on the vertical axis at rings 1 to 5, y 210 .. 10.
Strings RingLabels() {
  Strings out;
  for (int y : {210, 160, 110, 60, 10}) {
    const Strings at = PrintsOnLine("polar_win", y);
    out.push_back(at.empty() ? "" : at.front());
  }
  return out;
}

TEST_F(PolarTest, S11ModeAtFullScaleOne) {
  Mode(1, 0, 0);
  SetScan({{50, 0}, {0, 0}, {kOpen, 0}, {0, 50}});
  int w = 0, h = 0;
  std::string title;
  int focus = 0;
  QImage img;
  RunChart(polar_win, PolarPlot, {[&] {
             OuterSize(polar_win, w, h);
             title = GetTitle(polar_win);
             focus = focus_win;
             img = Picture(polar_win);
             KeepPng(img, "polar_s11");
             PostEvent(polar_win, kEvClose);
           }});
  EXPECT_EQ(w, 650);
  EXPECT_EQ(h, 675);
  EXPECT_EQ(title, "Polar Plot - S11");
  EXPECT_EQ(focus, 8);
  const int expect[4][2] = {{300, 260}, {50, 260}, {550, 260}, {300, 10}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(polar_px[i], expect[i][0]) << i;
    EXPECT_EQ(polar_py[i], expect[i][1]) << i;
    EXPECT_TRUE(ColorNear(img, expect[i][0], expect[i][1], RedColor)) << i;
  }
  EXPECT_EQ(PixelAt(img, 302, 262), Magenta);  // the start dot, radius 4
  EXPECT_EQ(RingLabels(), (Strings{" 0.20", " 0.40", " 0.60", " 0.80", " 1"}));
  EXPECT_EQ(PrintsAt("polar_win", 5, 10), Strings{"Full Scale=  1.00"});
  EXPECT_EQ(PrintsAt("polar_win", 5, 30), Strings{"Zref =  50.00   0.00j"});
  // The mode line at y = cx + R.
  EXPECT_EQ(PrintsAt("polar_win", 120, 550), Strings{"Magnitude of S11,   Phase of S11"});
  EXPECT_EQ(polar_closed, 1);
  EXPECT_EQ(polar_active, 0);
  EXPECT_EQ(focus_win, 1);
  EXPECT_EQ(number_decimals, 3);
}

TEST_F(PolarTest, AtFullScale005EveryLargerReflectionIsOnTheRim) {
  Mode(1, 0, 0);
  polar_scale = 5;
  SetScan({{50, 0}, {100, 0}, {55, 0}, {50, -100}, {0, -50}});
  polar_py[3] = 12345;
  DrawPolar();
  EXPECT_EQ(polar_px[1], 550);  // |G| = 1/3 at phase 0
  EXPECT_EQ(polar_px[2], 538);  // |G| = 5/105 < 0.05: 0.952 R
  // 50 - j50: G = 0.5 - 0.5j on the rim at -45 degrees; rounded to
  // (177, -177) it lies 250.3 from the centre, past the rim: no position,
  // and its y stays as it was.
  EXPECT_EQ(polar_px[3], 100000);
  EXPECT_EQ(polar_py[3], 12345);
  // -j50: G = -j, straight down on the rim.
  EXPECT_EQ(polar_px[4], 300);
  EXPECT_EQ(polar_py[4], 510);
}

TEST_F(PolarTest, SwrModeAtFullScaleTwo) {
  Mode(0, 1, 0);
  // 75 ohm: SWR 1.5, half the radius at phase 0; 33.3 ohm the same at 180
  // degrees; a short and a reading past the rim (|G| > 1) on the rim at
  // their phase.
  SetScan({{75, 0}, {50.0 / 1.5, 0}, {0, 0}, {-10, 0}});
  const QImage img = DrawPolar("polar_swr");
  EXPECT_EQ(polar_px[0], 425);
  EXPECT_EQ(polar_px[1], 175);
  EXPECT_EQ(polar_px[2], 50);
  EXPECT_EQ(polar_px[3], 50);
  EXPECT_EQ(polar_py[3], 260);
  EXPECT_TRUE(ColorNear(img, 425, 260, RedColor));
  EXPECT_EQ(RingLabels(), (Strings{" 1.20", " 1.40", " 1.60", " 1.80", " 2"}));
  EXPECT_EQ(PrintsAt("polar_win", 5, 10), Strings{"Full Scale=  2.00"});
  EXPECT_EQ(PrintsAt("polar_win", 120, 550), Strings{"Magnitude of SWR,   Phase of S11"});
}

TEST_F(PolarTest, ZModeAtFullScale2000) {
  Mode(0, 0, 1);
  SetScan({{1000, 0}, {0, 1000}, {50, 0}, {4000, 0}});
  std::string title;
  QImage img;
  RunChart(polar_win, PolarPlot, {[&] {
             title = GetTitle(polar_win);
             img = Picture(polar_win);
             KeepPng(img, "polar_z");
             PostEvent(polar_win, kEvClose);
           }});
  EXPECT_EQ(title, "Polar Plot - Z");
  EXPECT_EQ(polar_px[0], 425);  // half the radius
  // j1000: half the radius at the S11 phase 180 - 2 atan(1000 / 50) =
  // 5.72 degrees: (124.38, 12.47).
  EXPECT_EQ(polar_px[1], 424);
  EXPECT_EQ(polar_py[1], 248);
  EXPECT_EQ(polar_px[3], 550);  // beyond the full scale: on the rim
  EXPECT_EQ(RingLabels(), (Strings{" 400", " 800", " 1200", " 1600", " 2000"}));
  EXPECT_EQ(PrintsAt("polar_win", 5, 10), Strings{"Full Scale=  2000"});
}

TEST_F(PolarTest, TheWindowFollowsTheMainWindowAndTheButtonsTheChartScale) {
  win_yscale = 0.75f;  // a main window 576 high
  Mode(1, 0, 0);
  SetScan({{50, 0}, {0, 0}, {100, 0}});
  struct Rect {
    int x = -1, y = -1, w = -1, h = -1;
  } b1, print;
  std::string c1, c5;
  int text = 0, face = 0, hover = 0, text2 = 0, face2 = 0;
  int w = 0, h = 0;
  RunChart(polar_win, PolarPlot, {[&] {
             OuterSize(polar_win, w, h);
             GetCtlRect(polar_win, 2201, b1.x, b1.y, b1.w, b1.h);
             GetCtlRect(polar_win, 2206, print.x, print.y, print.w, print.h);
             c1 = GetCtlText(polar_win, 2201);
             c5 = GetCtlText(polar_win, 2205);
             GetCtlColors(polar_win, 2201, text, face, hover);
             GetCtlColors(polar_win, 2202, text2, face2, hover);
             PostEvent(polar_win, kEvClose);
           }});
  // rnd(650 x 0.75) = 488 (487.5 to even), rnd(675 x 0.75) = 506.
  EXPECT_EQ(w, 488);
  EXPECT_EQ(h, 506);
  // Centre (225, 195), radius 187.5: 100 ohm (|G| = 1/3) at 225 + 62 (62.5
  // to even); the short at -188, rounded past the rim.
  EXPECT_EQ(polar_px[2], 287);
  EXPECT_EQ(polar_py[2], 195);
  EXPECT_EQ(polar_px[1], 100000);
  // Buttons at s = 0.78: 27 x 16 from x0 = 488 - 5 x 27 - 10 = 343.
  EXPECT_EQ(b1.x, 343);
  EXPECT_EQ(b1.y, 5);
  EXPECT_EQ(b1.w, 27);
  EXPECT_EQ(b1.h, 16);
  EXPECT_EQ(c1, "1.0");
  EXPECT_EQ(c5, "0.05");
  EXPECT_EQ(text, Black);
  EXPECT_EQ(face, Rgb(0, 240, 240));  // the scale in force
  EXPECT_EQ(face2, -1);
  EXPECT_EQ(print.x, 378);
  EXPECT_EQ(print.y, 446);
  EXPECT_EQ(print.w, 100);
  EXPECT_EQ(print.h, 25);
}

TEST_F(PolarTest, ClosingLeavesTheSmithChartShown) {
  SetScan({{50, 0}, {0, 0}, {kOpen, 0}});
  smith_active = 1;
  DrawPolar();
  EXPECT_EQ(polar_active, 0);
  EXPECT_EQ(smith_active, 1);
}

TEST_F(PolarTest, TooFewPointsDrawNothing) {
  SetScan({{50, 0}, {0, 0}});
  polar_closed = 0;
  const int opens = polar_win.instance;
  PolarPlot();
  EXPECT_EQ(polar_win.instance, opens);
  EXPECT_EQ(polar_closed, 0);
  EXPECT_EQ(polar_open, 0);
}

}  // namespace
}  // namespace vna::test
