// The TDR trace over the main window's plot box.
//
// The frame used here, worked out by hand: plot box x 60..860, y 40..540;
// 50 ohm at y 440 and 2 pixels per ohm; rho 0 at y 290 and 250 pixels per
// unit of rho; 7.76 pixels per foot (800 / 100 ft x 0.97), 1.056 feet per
// sample and a 10 ft offset. Sample i stands at
// x = rnd(60 + 7.76 (1.056 (i + 1) - 10)): sample 1 at -1, sample 8 at 56,
// sample 9 at 64 (the first inside the box), sample 10 at 73, sample 50 at
// 400.
#include <cmath>

#include "charts/charts_fixture.h"
#include "files/state.h"
#include "graph/tdr_plot.h"
#include "shell/text.h"

namespace vna::test {
namespace {

class TdrPlotTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    graph_left = 60;
    graph_right = 860;
    graph_top = 40;
    graph_bottom = 540;
    graph_zero_y = 290;
    tdr_zo = 50;
    tdr_zo_y = 440;
    tdr_zscale = 2;
    tdr_rho_scale = 250;
    DXscale = 100;
    DXfactor = 7.76;
    FeetPerNdx = 1.056;
    LengthOffset = 10;
    tdr_lines = 1;
    tdr_linear_z = 1;
    tdr_overlay = 1;
    Numpts = 256;
    DIAGMODE = 0;
    FillWindow(main_win, White);
    for (auto& e : tdr_trace_table) e[0] = e[1] = -7;
  }
  static void Response(double rho) {
    for (double& r : tdr_response) r = rho;
  }
};

TEST_F(TdrPlotTest, PlotsHalfThePointsIntoTheTable) {
  Response(1.0 / 3);  // 100 ohm
  PlotTDR();
  EXPECT_EQ(tdr_trace_table[0][0], -7);  // entry 0 is never written
  EXPECT_EQ(tdr_trace_table[1][0], -1);
  EXPECT_EQ(tdr_trace_table[10][0], 73);
  EXPECT_NEAR(tdr_trace_table[10][1], 100, 1e-9);
  EXPECT_NE(tdr_trace_table[127][0], -7);
  EXPECT_EQ(tdr_trace_table[128][0], -7);
  EXPECT_EQ(Calls(), Strings{"SaveTDR(1,last_VNATDR_file.tdr)"});
  EXPECT_EQ(file_name, "last_VNATDR_file.tdr");

  Numpts = 512;
  PlotTDR();
  EXPECT_NE(tdr_trace_table[255][0], -7);
  EXPECT_EQ(tdr_trace_table[256][0], -7);
  // More points than the table holds: it stops at its last entry.
  Numpts = 10000;
  PlotTDR();
  EXPECT_NE(tdr_trace_table[kTdrTraceEntries - 1][0], -7);
}

TEST_F(TdrPlotTest, ImpedanceAndRhoAreClampedToThePlotBox) {
  struct Case {
    int linear_z;
    double rho;
    double z;  // in the table: the impedance of rho limited to +-0.999
    int y;
  };
  const Case cases[] = {
      {1, 0, 50, 440},
      {1, 1.0 / 3, 100, 340},
      {1, 0.9995, 99950, 40},       // far above: on the top edge
      {1, -1.5, 0.025012506, 540},  // 49.97 ohm below 50: 539.95, on the bottom edge
      {0, 0.2, 75, 240},
      {0, 1.5, 99950, 40},  // rho itself is not limited, only y
      {0, -0.8, 50.0 * 0.2 / 1.8, 490},
  };
  for (const Case& c : cases) {
    FillWindow(main_win, White);
    tdr_linear_z = c.linear_z;
    tdr_overlay = 1;
    Response(c.rho);
    PlotTDR();
    EXPECT_NEAR(tdr_trace_table[50][1], c.z, c.z * 1e-6) << c.rho;
    EXPECT_TRUE(ColorNear(Picture(main_win), 400, c.y, tdr_colors[1])) << c.rho << " " << c.y;
  }
}

TEST_F(TdrPlotTest, SuccessiveTracesTakeTheFiveColoursInTurn) {
  const double rhos[] = {0, 0.1, 0.2, 0.3, 0.4, 0.5};
  const int ys[] = {440, 418, 390, 354, 307, 240};  // 50, 61.1, 75, 92.9, 116.7, 150 ohm
  const int colour_of_call[] = {1, 2, 3, 4, 5, 1};
  for (int k = 0; k < 6; ++k) {
    if (k == 5) FillWindow(main_win, White);
    Response(rhos[k]);
    PlotTDR();
    EXPECT_TRUE(ColorNear(Picture(main_win), 400, ys[k], tdr_colors[colour_of_call[k]])) << k;
  }
  EXPECT_EQ(tdr_overlay, 2);
  // A colour number out of range (a damaged file) starts again at 1.
  tdr_overlay = 9;
  FillWindow(main_win, White);
  PlotTDR();
  EXPECT_TRUE(ColorNear(Picture(main_win), 400, 240, tdr_colors[1]));
  EXPECT_EQ(tdr_overlay, 2);
}

TEST_F(TdrPlotTest, FiveCablesWithTheirFaults) {
  // Five 50 ohm lines whose far part steps to 25, 75, 100, 150 and 200 ohm
  // at samples 30, 45, 60, 75 and 90, with a rounded edge.
  const double ends[] = {25, 75, 100, 150, 200};
  for (int k = 0; k < 5; ++k) {
    const double rho = (ends[k] - 50) / (ends[k] + 50);
    for (int i = 0; i < 2100; ++i)
      tdr_response[i] = rho / (1 + std::exp(-(i - (30 + 15 * k)) / 1.5));
    PlotTDR();
  }
  // (No picture kept: without its frame the window would mislead; the TDR
  // tests against the simulator keep the real screen.)
  const QImage img = Picture(main_win);
  // Sample 110 stands at x = rnd(60 + 7.76 (1.056 x 111 - 10)) = 892: past
  // the box; sample 100 at rnd(810.05) = 810, each line at its end impedance.
  for (int k = 0; k < 5; ++k)
    EXPECT_TRUE(ColorNear(img, 810, Rnd(440 - (ends[k] - 50) * 2), tdr_colors[k + 1])) << k;
}

TEST_F(TdrPlotTest, SamplesLeftOfTheBoxAreDrawnOnlyInDiagnosticMode) {
  Response(0);
  PlotTDR();
  QImage img = Picture(main_win);
  EXPECT_FALSE(ColorNear(img, 58, 440, RedColor));  // sample 8 to 9
  EXPECT_TRUE(ColorNear(img, 68, 440, RedColor));   // sample 9 to 10
  EXPECT_TRUE(PrintsAt("main_win", 100, 100).empty());

  FillWindow(main_win, White);
  DIAGMODE = 1;
  SetDigits(3);
  tdr_overlay = 1;
  PlotTDR();
  img = Picture(main_win);
  EXPECT_TRUE(ColorNear(img, 58, 440, RedColor));
  const Strings lines = PrintsAt("main_win", 100, 100);
  ASSERT_EQ(lines.size(), 127u);  // one for every sample
  EXPECT_EQ(lines.back(),
            "DXscale= 100  Feetperndx= 1.056 len-offset= 10 DXfactor= 7.760  //29942");
}

TEST_F(TdrPlotTest, DotsInsteadOfLines) {
  tdr_lines = 0;
  Response(0);
  PlotTDR();
  const QImage img = Picture(main_win);
  // A disc of radius 2 at every sample: at sample 50 (400, 440), none between
  // it and sample 51 (409).
  EXPECT_EQ(PixelAt(img, 400, 440), RedColor);
  EXPECT_EQ(PixelAt(img, 405, 440), White);
}

}  // namespace
}  // namespace vna::test
