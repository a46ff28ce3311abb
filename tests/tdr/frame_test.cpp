// The TDR frame on the plot box 60..860 x 40..540 (see tdr_fixture.h). The
// places below are worked out from the layout rules: distance division k at
// x = 60 + 80 k, its label at (x - 10, 520) in feet or (x - 15, 520) in
// metres; scale row k at yk = 25 k above the bottom, its label at
// y = 540 - 25 k - 10; the headings 30 pixels above the box.
#include "tdr/tdr_fixture.h"
#include "tools/phase_crossing.h"

namespace vna::test {
namespace {

class TdrFrameTest : public TdrTest {
 protected:
  void SetUp() override {
    TdrTest::SetUp();
    DXscale = 100;
    tdr_zmax = 200;
    tdr_zo = 50;
    tdr_range_factor = 1;
    tdr_linear_z = 1;
    tdr_show_rho = 0;
    metric = 0;
    FillWindow(main_win, White);
  }
};

TEST_F(TdrFrameTest, ImpedanceScaleInFeet) {
  tdr_show_params = 1;
  tdr_zo_y = -1;
  SetDigits(6);
  DrawTDR();
  EXPECT_EQ(graph_mid_x, 460);
  EXPECT_EQ(graph_zero_y, 290);
  EXPECT_EQ(grid_units_per_div, 25);
  EXPECT_EQ(tdr_show_params, 0);
  EXPECT_EQ(Numpts, 256);  // the plan is set first
  EXPECT_TRUE(PrintedAt(410, 15, "TDR Mode"));
  // Whole feet: " 10  " .. " 100  ".
  EXPECT_TRUE(PrintedAt(130, 520, " 10  "));
  EXPECT_TRUE(PrintedAt(450, 520, " 50  "));
  EXPECT_TRUE(PrintedAt(850, 520, " 100  "));
  EXPECT_TRUE(PrintedAt(435, 500, "Distance (ft) "));
  // 0 to 200 ohms by 10 (2.5 pixels per ohm); 50 ohm on row 5 at y 415.
  EXPECT_TRUE(PrintedAt(30, 10, "Z"));
  EXPECT_TRUE(PrintedAt(20, 530, "   0 "));
  EXPECT_TRUE(PrintedAt(20, 405, "  50 "));
  EXPECT_TRUE(PrintedAt(20, 30, " 200 "));
  EXPECT_EQ(tdr_zo_y, 415);
  EXPECT_FALSE(Printed("Rho"));
  // The box in black, 2 pixels wide; fine grid lines inside it, none of its
  // own for the tenth division (the right edge serves).
  EXPECT_EQ(Pixel(60, 300), Black);
  EXPECT_EQ(Pixel(860, 300), Black);
  EXPECT_EQ(Pixel(300, 540), Black);
  EXPECT_EQ(Pixel(300, 65), grid_line_color);   // row 1 of the horizontal grid
  EXPECT_EQ(Pixel(300, 515), grid_line_color);  // row 19
  EXPECT_EQ(Pixel(140, 77), grid_line_color);   // distance division 1
  EXPECT_EQ(Pixel(780, 77), grid_line_color);   // division 9
  EXPECT_EQ(Pixel(850, 77), White);
  EXPECT_EQ(number_decimals, 3);
  SavePng("tdr_frame_impedance");
}

TEST_F(TdrFrameTest, SeventyOhmScaleWithRhoLabels) {
  // 30 ohms at the bottom to 70 at the top, 50 on the middle row.
  tdr_zmax = 70;
  tdr_show_rho = 1;
  DrawTDR();
  EXPECT_TRUE(PrintedAt(20, 530, "  30 "));
  EXPECT_TRUE(PrintedAt(20, 280, "  50 "));
  EXPECT_TRUE(PrintedAt(20, 30, "  70 "));
  EXPECT_EQ(tdr_zo_y, 290);
  // rho of 30 ohm against 50: -0.25; of 70: 0.167.
  EXPECT_TRUE(PrintedAt(65, 530, "-0.250"));
  EXPECT_TRUE(PrintedAt(65, 280, " 0.000"));
  EXPECT_TRUE(PrintedAt(65, 30, " 0.167"));
  EXPECT_TRUE(PrintedAt(70, 10, "Rho"));
}

TEST_F(TdrFrameTest, ReflectionScale) {
  tdr_linear_z = 0;
  DrawTDR();
  EXPECT_TRUE(PrintedAt(15, 10, "Rho"));
  EXPECT_TRUE(PrintedAt(72, 10, "Z"));
  EXPECT_TRUE(PrintedAt(15, 530, "-1.000"));
  EXPECT_TRUE(PrintedAt(15, 280, " 0.000"));
  EXPECT_TRUE(PrintedAt(15, 30, " 1.000"));
  // Impedances: 1 decimal below 50 ohm, none above; "inf" beside 1.000.
  EXPECT_TRUE(PrintedAt(65, 530, " 0"));
  EXPECT_TRUE(PrintedAt(65, 405, " 16.7"));  // rho -0.5
  EXPECT_TRUE(PrintedAt(65, 280, " 50"));
  EXPECT_TRUE(PrintedAt(65, 155, " 150"));  // rho 0.5
  EXPECT_TRUE(PrintedAt(65, 30, "inf"));
  EXPECT_EQ(tdr_zo_y, 290);
}

TEST_F(TdrFrameTest, DistanceLabelsByScaleAndUnit) {
  struct Case {
    double dxscale;
    int metric;
    int x1;  // x of the first label
    const char* first;
    const char* last;
  };
  const Case cases[] = {
      {5, 0, 130, " 0.5  ", " 5.0  "},       {5, 1, 125, " 0.15  ", " 1.52  "},
      {10, 0, 130, " 1  ", " 10  "},         {100, 1, 125, " 3.0  ", " 30.5  "},
      {2000, 1, 125, " 61.0  ", " 609.6  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dxscale);
    testhook::ClearLogs();
    DXscale = c.dxscale;
    metric = c.metric;
    DrawTDR();
    EXPECT_TRUE(PrintedAt(c.x1, 520, c.first));
    EXPECT_TRUE(PrintedAt(c.x1 + 720, 520, c.last));
    EXPECT_TRUE(PrintedAt(435, 500, c.metric != 0 ? "Distance (m) " : "Distance (ft) "));
  }
}

TEST_F(TdrFrameTest, DiagnosticModeDrawsNoHeading) {
  DIAGMODE = 1;
  DrawTDR();
  EXPECT_FALSE(Printed("TDR Mode"));
  EXPECT_TRUE(PrintedAt(20, 405, "  50 "));
  DIAGMODE = 0;
}

TEST_F(TdrFrameTest, DebugPointsOnlyInDiagnosticMode) {
  // 10 pixels per MHz from 0 MHz, 2 pixels per degree about y 290: 20 MHz
  // and 10 degrees at (260, 270).
  graph_start = 0;
  px_per_MHz = 10;
  graph_zero_y = 290;
  phase_yscale = 2;
  const double ten_degrees = 10 / 57.296;
  PlotDebugPoint(20, ten_degrees, 1, 3, RedColor);
  EXPECT_EQ(Pixel(260, 270), White);
  DIAGMODE = 1;
  PlotDebugPoint(20, ten_degrees, 1, 3, RedColor);  // a disc of radius 3
  EXPECT_EQ(Pixel(260, 270), RedColor);
  EXPECT_EQ(Pixel(262, 270), RedColor);
  EXPECT_EQ(Pixel(265, 270), White);
  PlotDebugPoint(40, -ten_degrees, 2, 8, Blue);  // a square of 8 from (456, 306)
  EXPECT_EQ(Pixel(457, 307), Blue);
  EXPECT_EQ(Pixel(462, 312), Blue);
  EXPECT_EQ(Pixel(466, 316), White);
  // Beyond the box: on its edges.
  PlotDebugPoint(200, 3, 1, 2, Green);
  EXPECT_EQ(Pixel(859, 41), Green);
  DIAGMODE = 0;
}

}  // namespace
}  // namespace vna::test
