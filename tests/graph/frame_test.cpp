// The empty frame of the main graph on a plot box of round numbers
// (60..860 x 40..440: 20 pixels per division, the middle line at 240, the
// scan 1..25 MHz in 12 divisions of 2 MHz, 33.33 pixels per MHz): its pixel
// factors, the grid and box read back from the picture, and the labels from
// the log of printed texts.
#include "graph/graph_frame.h"
#include "graph/trace_plot.h"
#include "graph_fixture.h"

namespace vna {
namespace {

using test::GraphTest;

class FrameTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    RoundBox();
  }
  // Width of a text in the graph's label font (Arial, font_size + 1).
  static int LabelWidth(const std::string& text) {
    return TextWidth("Arial", font_size + 1, font_weight, text);
  }
  void ExpectAt(const std::string& text, int x, int y) {
    const auto p = PrintOf(text);
    EXPECT_EQ(p.text, text);
    EXPECT_EQ(p.x, x) << text;
    EXPECT_EQ(p.y, y) << text;
  }
};

TEST_F(FrameTest, FactorsOfABoxOf400Pixels) {
  swr_yoffset = 1;
  s11gain_scale = 12;
  DrawGraph();
  EXPECT_EQ(graph_mid_x, 460);
  EXPECT_DOUBLE_EQ(grid_units_per_div, 20);
  EXPECT_EQ(graph_zero_y, 240);
  EXPECT_DOUBLE_EQ(px_per_MHz, 800.0 / 24);
  EXPECT_EQ(graph_clip_top, 40);
  EXPECT_EQ(graph_clip_bottom, 440);
  EXPECT_DOUBLE_EQ(swr_per_div, 1);  // swr_scale 10
  EXPECT_DOUBLE_EQ(swr_yscale, 20);
  EXPECT_EQ(swr_yoffset, 20);  // SWR 1 lies one division above the middle line
  EXPECT_DOUBLE_EQ(zmag_yscale, 200.0 / 1000);
  EXPECT_DOUBLE_EQ(phase_yscale, 200.0 / 100);
  EXPECT_DOUBLE_EQ(rtloss_yscale, 200.0 / 20);
  EXPECT_DOUBLE_EQ(s21mag_yscale, 20.0 / 10);
  EXPECT_EQ(s11gain_scale, -60);
  EXPECT_DOUBLE_EQ(s11_yscale, 400.0 / 60);
  EXPECT_EQ(number_decimals, 3);

  swr_yoffset = 0;  // no offset stays none
  ComputeGraphFactors();
  EXPECT_EQ(swr_yoffset, 0);
}

TEST_F(FrameTest, SwrDivisionsAndReturnLossLimits) {
  const std::pair<double, double> per_div[] = {{1.49, 0.025}, {1.5, 0.05}, {2, 0.1},  {2.01, 0.2},
                                               {3.26, 0.5},   {10, 1},     {10.1, 2}, {60, 6},
                                               {60.1, 10},    {500, 10}};
  for (auto [scale, want] : per_div) {
    swr_scale = scale;
    ComputeGraphFactors();
    EXPECT_DOUBLE_EQ(swr_per_div, want) << scale;
    EXPECT_DOUBLE_EQ(swr_yscale, 20 / want) << scale;
  }
  swr_log = 1;
  swr_scale = 10;
  ComputeGraphFactors();
  EXPECT_DOUBLE_EQ(swr_yscale, 200);  // one decade per half box: SWR 10 at the top edge
  swr_log = 0;
  const std::pair<double, double> rl[] = {{0.5, 1}, {100, 80}, {-100, 80}, {-40, -40}, {20, 20}};
  for (auto [scale, want] : rl) {
    rtloss_scale = scale;
    ComputeGraphFactors();
    EXPECT_DOUBLE_EQ(rtloss_scale, want) << scale;
  }
}

TEST_F(FrameTest, BoxAndGridLandOnTheirPixels) {
  DrawGraph();
  SavePng("frame_round_box");
  // Fine grid: every division line across the box, in the grid colour.
  for (int k : {1, 3, 7, 13, 17, 19}) {
    EXPECT_EQ(Pixel(80, 40 + 20 * k), grid_line_color) << k;
    EXPECT_EQ(Pixel(700, 40 + 20 * k), grid_line_color) << k;
    EXPECT_EQ(Pixel(700, 40 + 20 * k + 10), bg_color) << k;  // between the lines
  }
  // The top and bottom lines are grid lines; the sides are black.
  EXPECT_EQ(Pixel(700, 40), grid_line_color);
  EXPECT_EQ(Pixel(700, 440), grid_line_color);
  EXPECT_EQ(Pixel(60, 50), Black);
  EXPECT_EQ(Pixel(860, 50), Black);
  // Vertical grid lines at 60 + 66.67 i, with a black tick on the middle line.
  for (int i = 1; i <= 11; ++i) {
    const int x = Rnd(60 + 2.0 * i * 800 / 24);
    EXPECT_EQ(Pixel(x, 70), grid_line_color) << i;
    EXPECT_EQ(Pixel(x, 238), Black) << i;
    EXPECT_EQ(Pixel(x + 5, 70), bg_color) << i;
  }
  // Scale ticks left of the box: 10 pixels at every fifth division, else 6.
  EXPECT_EQ(Pixel(51, 340), Black);  // k = 15
  EXPECT_EQ(Pixel(51, 360), bg_color);
  EXPECT_EQ(Pixel(55, 360), Black);  // k = 16
}

TEST_F(FrameTest, GridHighlightMarksTheEdgesFiveDivisionsAndEachLabel) {
  const int old_color = grid_color;
  grid_highlight = 1;
  grid_color = 0xC00000;
  DrawGraph();
  SavePng("frame_grid_highlight");
  // Across the box: its top and bottom and five divisions (100 pixels) on
  // either side of the middle line at 240; the divisions between keep the
  // plain grid colour.
  for (int x : {300, 700}) {
    for (int y : {40, 140, 340, 440}) EXPECT_EQ(Pixel(x, y), grid_color) << x << "," << y;
    for (int y : {60, 160, 220, 260, 320, 420})
      EXPECT_EQ(Pixel(x, y), grid_line_color) << x << "," << y;
  }
  // Upright: at each of the 5 inner labels of the 12 divisions (6 intervals
  // of 2 divisions, 133.33 pixels), the odd divisions between stay plain.
  for (int i = 1; i <= 5; ++i) {
    const int x = Rnd(60 + i * 4 * 800.0 / 24 + 0.5);
    EXPECT_EQ(Pixel(x, 70), grid_color) << i;
    EXPECT_EQ(Pixel(Rnd(60 + (2 * i - 1) * 2 * 800.0 / 24), 70), grid_line_color) << i;
  }
  grid_color = old_color;
}

TEST_F(FrameTest, LabelsOfTheFrequencyAxis) {
  DrawGraph();
  // 12 divisions: 6 labels of 2 divisions, 133 pixels apart.
  ExpectAt("1.0", 65, 250);
  const char* inner[] = {"5.0", "9.0", "13.0", "17.0", "21.0"};
  for (int i = 1; i <= 5; ++i) ExpectAt(inner[i - 1], 50 + 133 * i, 250);
  ExpectAt("25.0", 860 - LabelWidth("25.0") - 5, 250);
  ExpectAt("FREQ (2.0 MHz/div)", 380, 270);
  // Two-pixel ticks at each label: x = 60 + 133.3 i, rounded, and one left.
  EXPECT_EQ(Pixel(194, 235), Black);
  EXPECT_EQ(Pixel(193, 235), Black);
}

TEST_F(FrameTest, UnitsAndPatternsFollowTheDivisionWidth) {
  struct Case {
    double start, end;
    std::string first, per_div;
    int labels;  // frequency labels on the axis
  };
  const Case cases[] = {
      {7, 7.0005, "7.0000", "FREQ ( 100.0 Hz/div)", 6},
      {3.5, 3.503, "3.5000", "FREQ ( 500.0 Hz/div)", 7},
      {7, 7.04, "7.0000", "FREQ (5.0000 KHz/div)", 5},
      {7, 7.3, "7.000", "FREQ (0.020 MHz/div)", 6},
      {1, 4, "1.00", "FREQ (0.50 MHz/div)", 7},
      {0, 12.9, "0.00", "FREQ (1.00 MHz/div)", 14},  // 13 divisions, a label at each
      {100, 450, "100", "FREQ (50 MHz/div)", 8},
  };
  for (const Case& c : cases) {
    start_freq = c.start;
    end_freq = c.end;
    testhook::ClearLogs();
    DrawGraph();
    EXPECT_EQ(PrintOf(c.first).x, 65) << c.first;
    EXPECT_TRUE(Printed(c.per_div)) << c.per_div;
    int on_axis = 0;
    for (const auto& p : Prints())
      if (p.y == 250 && p.x >= 50 && p.x < 860) ++on_axis;
    EXPECT_EQ(on_axis, c.labels) << c.start << ".." << c.end;
  }
}

TEST_F(FrameTest, ScaleLabelsOfThePortATraces) {
  DrawGraph();
  // SWR 1..10 left of the box, one decimal; the eleventh lies above it.
  for (int k = 0; k <= 9; ++k) ExpectAt(NumStr(1 + k) + ".0", 20, 240 - 20 * k - 20 - 8);
  EXPECT_FALSE(Printed(" 11.0"));
  ExpectAt("SWR", 40, line1_y);
  // |Z| at the right edge, no decimals.
  const int zx = 860 - (LabelWidth(" 1000") + 8);
  ExpectAt(" 1000", zx, 40);
  ExpectAt(" 500", zx, 132);
  ExpectAt("-500", zx, 332);
  ExpectAt("-1000", zx, 432);
  // Phase right of the box.
  ExpectAt(" 100", 870, 32);
  ExpectAt(" 50", 870, 132);
  ExpectAt("-50", 870, 332);
  ExpectAt("-100", 870, 432);
  ExpectAt("Zphase       ", 870, line1_y - 2);
  // Return loss down the lower half: 0.3 to 1.0 of 20 dB.
  for (int k = 13; k <= 20; ++k) ExpectAt(NumStr(2 * (k - 10)), 17, 40 + 20 * k - 10);
  ExpectAt("L", 25, 250);
  ExpectAt("(dB)", 15, 310);
  ExpectAt("Rs,", 815, 0);  // one pixel above the first line, kept inside the window
  ExpectAt("Zmag ", 815, line1_y - 2);
}

TEST_F(FrameTest, OddAndLogarithmicScales) {
  zmag_scale = 25;
  swr_scale = 1.5;
  DrawGraph();
  // An odd |Z| scale: one decimal, 10 pixels further left.
  const int zx = 860 - (LabelWidth(" 25") + 8 + 10);
  ExpectAt(" 25.0", zx, 40);
  ExpectAt(" 12.5", zx, 132);
  ExpectAt("-12.5", zx, 332);
  ExpectAt("-25.0", zx, 432);
  // 0.05 per division: three decimals, 55 pixels left of the box.
  ExpectAt(" 1.000", 5, 212);
  ExpectAt(" 1.450", 5, 32);

  testhook::ClearLogs();
  swr_log = 1;
  swr_scale = 10;
  DrawGraph();
  const char* labels[] = {" 1.00", " 1.26", " 1.58", " 2.00", " 2.51", " 3.16",
                          " 3.98", " 5.01", " 6.31", " 7.94", " 10.00"};
  for (int k = 0; k <= 10; ++k) ExpectAt(labels[k], 8, 240 - 20 * k - 8);
  ExpectAt("LogSWR", 13, line1_y);
  swr_log = 0;
}

TEST_F(FrameTest, ScaleLabelsOfThePortBTraces) {
  PortB_on = 1;
  plots21 = plot_delay = plot_phaseS21 = plot_s11 = plot_insloss = 1;
  plot_swrB = 1;
  Zero_Ref = 2;
  s21gain_scale = 10;
  s21phase_scale = 180;
  delay_scale = 5000000;
  insloss_scale = 1;
  DrawGraph();
  // S21: 0 dB on division 2; above -100 one decimal.
  ExpectAt(" 20.0", 15, 31);
  ExpectAt(" 0.0", 15, 71);
  ExpectAt("-90.0", 15, 251);
  ExpectAt("-100", 15, 271);
  ExpectAt("-180", 15, 431);
  ExpectAt("|S21|", 20, line1_y - 5);
  // SWR inside the box in Port B mode.
  ExpectAt(" 1.0", 63, 212);
  ExpectAt("SWR", 70, line1_y);
  // Group delay in milliseconds: 5ms, its half with one decimal.
  const int w = LabelWidth(" 5ms") + 8;
  ExpectAt(" 5ms", 860 - w, 42);
  ExpectAt(" 2.5ms", 860 - w - 10, 132);
  ExpectAt("- 5ms", 860 - w - 5, 428);
  ExpectAt("- 2.5ms", 860 - w - 15, 332);
  // S11 in dB down the left inside the box; the phase scale at the right.
  ExpectAt("0 ", 63, 30);
  ExpectAt("-60 ", 63, 430);
  ExpectAt("|S11|", 65, line1_y - 5);
  ExpectAt(" 180", 870, 32);
  ExpectAt("S21phase", 870, line1_y - 4);
  ExpectAt("Insertion", 805, line0_y);
  ExpectAt("-1.0", 815, 91);
}

TEST_F(FrameTest, DelayTextsInMicroAndNanoseconds) {
  PortB_on = 1;
  plot_delay = 1;
  delay_scale = 50000;
  DrawGraph();
  EXPECT_TRUE(Printed(" 50us"));
  EXPECT_TRUE(Printed(" 25us"));
  testhook::ClearLogs();
  delay_scale = 500;
  DrawGraph();
  EXPECT_TRUE(Printed(" 500ns"));
  EXPECT_TRUE(Printed(" 250ns "));
}

TEST_F(FrameTest, NoticesAndBandScanMode) {
  ref_to_antenna = 1;
  bandskip = 1;
  bandscan_mode = 1;
  bandscan_sens = 2;
  DrawGraph();
  ExpectAt("Ref to Antenna      ", 410, 0);
  ExpectAt("Band Skip is ON", 410, 420);
  ExpectAt("BAND SCAN MODE", 410, 390);
  EXPECT_TRUE(Printed("-high sens"));
  // The band scan's level scale replaces the SWR scale and title.
  ExpectAt("0 ", 30, 232);
  ExpectAt("50 ", 30, 32);
  ExpectAt("Spectrum (dB)", 10, line1_y);
  EXPECT_FALSE(Printed(" 1.0"));
  EXPECT_FALSE(Printed("SWR"));
  ref_to_antenna = bandskip = bandscan_mode = 0;
}

TEST_F(FrameTest, S21RulersInsideTheBox) {
  PortB_on = 1;
  plots21 = 1;
  Zero_Ref = 2;
  s21gain_scale = 10;
  ruler1_on = ruler2_on = 1;
  ruler_1 = -35;  // 3.5 divisions below 0 dB: y = 40 + 40 + 70
  ruler_2 = 30;   // above the box: not drawn
  DrawGraph();
  EXPECT_EQ(Pixel(300, 150), RedColor);
  ExpectAt("-35.0", 830, 135);
  EXPECT_FALSE(Printed(" 30.0"));
  EXPECT_EQ(number_decimals, 3);
}

// A scale of 0 or not a number from a damaged init file: the frame is drawn,
// its trace lies flat on the middle line, and the graph says what to change.
TEST_F(FrameTest, AnUnusableScaleDrawsAFrameAndANotice) {
  zmag_scale = 0;
  phase_scale = std::nan("");
  delay_scale = 0;  // Port B only: no notice in Port A mode
  DrawGraph();
  EXPECT_EQ(zmag_yscale, 0);
  EXPECT_EQ(phase_yscale, 0);
  EXPECT_TRUE(Printed("Zmag scale of 0 cannot be drawn: set it with the Scales button"));
  EXPECT_TRUE(Printed("Zphase scale of 0 cannot be drawn: set it with the Scales button"));
  EXPECT_FALSE(Printed("Group Delay scale of 0 cannot be drawn: set it with the Scales button"));
  StartTracePlot();
  test::SeriesRlcPoint(5);
  PlotPointA();
  EXPECT_EQ(trace_y[kTraceZmag], 240);
  EXPECT_EQ(trace_y[kTracePhase], 240);

  testhook::ClearLogs();
  zmag_scale = 1000;
  phase_scale = 100;
  swr_log = 1;
  swr_scale = 1;  // log10(1) = 0
  DrawGraph();
  EXPECT_EQ(swr_yscale, 0);
  EXPECT_TRUE(Printed("LogSWR scale of 1 cannot be drawn: set it with the Scales button"));
  swr_log = 0;
}

}  // namespace
}  // namespace vna
