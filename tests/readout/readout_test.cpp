// The cursor readout over stored synthetic scans: the column's lines by
// position, text and colour for Port A, Port B and the TDR trace, the
// exclusive-or cursor line and the dots on the charts.
#include "graph/cursor_readout.h"
#include "graph/readout_formats.h"
#include "platform/draw.h"
#include "readout_fixture.h"

namespace vna {
namespace {

using test::kCol;
using test::kPoints;
using test::ReadoutTest;
using test::XOf;

struct Expected {
  int y;
  std::string text;
  int color;
};

// Every line of the column at x 885 in order of y: each expected line is
// printed at its y with its text and colour.
void ExpectColumn(const std::vector<Expected>& lines) {
  std::vector<testhook::PrintRecord> got;
  for (const auto& p : testhook::Prints())
    if (p.window == main_win.name && p.x == kCol) got.push_back(p);
  for (const Expected& e : lines) {
    bool found = false;
    for (const auto& p : got) {
      if (p.y != e.y || p.text != e.text) continue;
      found = true;
      EXPECT_EQ(p.color, e.color) << e.text;
    }
    if (found) continue;
    std::string shown;
    for (const auto& p : got) shown += "\n  " + std::to_string(p.y) + ": \"" + p.text + "\"";
    ADD_FAILURE() << "y " << e.y << ": \"" << e.text << "\" not in" << shown;
  }
}

bool PrintedAnywhere(const std::string& start) {
  for (const auto& p : testhook::Prints())
    if (p.text.rfind(start, 0) == 0) return true;
  return false;
}

TEST_F(ReadoutTest, PortAOnAStoredPointShowsThatPoint) {
  CursorReadout(XOf(3), 200);  // point 2: SWR 1.7, |Z| 70, phase -0.3 rad
  const std::string b14(14, ' ');
  ExpectColumn({
      {160, "Driver Amplitude = 100% ", Green},
      {185, "Freq = 3          ", RedColor},
      {200, "Freq Step = 1         ", Black},
      {215, "SWR  =   1.700         ", RedColor},
      {230, "Zmag =   70.000" + b14, Green},
      {245, "Phase =  -17.189" + b14, Magenta},
      {260, "% refl power =  6.7" + b14, Black},
      {285, "Equivalent Circuit:", Green},
      {300, "Rs =   66.874" + b14, Black},
      {315, "Xs =  -20.686" + b14, Black},
      {330, "Q =  0.3     ", Black},
      {345, "Cs =   0.00256  uF               ", Black},
      {365, "Rp =   73.273" + b14, Black},
      {380, "Xp = -236.870" + b14, Black},
      {395, "Cp =  223.969  pF               ", Black},
  });
  EXPECT_EQ(cursor_freq, 3);
  EXPECT_EQ(cursor_index, 2);
  EXPECT_DOUBLE_EQ(cursor_swr, 1.7);
  EXPECT_DOUBLE_EQ(cursor_zmag, 70);
  EXPECT_NEAR(cursor_phase, -17.1888, 1e-9);
  EXPECT_NEAR(cursor_rs, 66.873554, 1e-6);
  EXPECT_NEAR(cursor_xs, -20.686414, 1e-6);
  EXPECT_NEAR(cursor_rl, 11.725314, 1e-6);
  EXPECT_EQ(cursor_x, XOf(3));
  EXPECT_EQ(cursor_line_x, XOf(3));
  EXPECT_FALSE(PrintedAnywhere("Return Loss="));
  EXPECT_FALSE(PrintedAnywhere("DDS_Mults"));
}

TEST_F(ReadoutTest, BetweenTwoPointsEveryValueLiesOnTheLineBetweenThem) {
  last_step = 0.005;  // four decimals in both frequency lines
  plot_rt = 1;
  CursorReadout(XOf(3.5), 200);  // halfway between 3 and 4 MHz
  const std::string b14(14, ' ');
  ExpectColumn({
      {185, "Freq = 3.5000          ", RedColor},
      {200, "Freq Step = 0.0050         ", Black},
      {215, "SWR  =   1.750         ", RedColor},
      {230, "Zmag =   75.000" + b14, Green},
      {245, "Phase =  -14.324" + b14, Magenta},
      {275, "Return Loss= 11.29 dB               ", Blue},
      {295, "Short/Open Circuit:", RedColor},
      {310, "  Cable Loss=  5.64 dB               ", Black},
      {335, "Equivalent Circuit:", Green},
      {350, "Rs =   72.668" + b14, Black},
      {365, "Xs =  -18.555" + b14, Black},
  });
  EXPECT_EQ(cursor_index, 2);
  EXPECT_DOUBLE_EQ(cursor_freq, 3.5);
  EXPECT_DOUBLE_EQ(cursor_swr, 1.75);
}

TEST_F(ReadoutTest, AtAndBeyondTheLastPointTheLastPointIsShown) {
  for (double f : {11.0, 15.0}) {
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(XOf(f), 200);
    EXPECT_EQ(cursor_index, 10) << f;
    EXPECT_DOUBLE_EQ(cursor_zmag, 150) << f;
    EXPECT_DOUBLE_EQ(cursor_swr, 2.5) << f;
  }
  // The frequency stops at the end of the scan limits.
  end_freq = 12;
  cursor_x = 0;
  CursorReadout(XOf(30), 200);
  EXPECT_DOUBLE_EQ(cursor_freq, 12);
  fullscan = 1;
  cursor_x = 0;
  CursorReadout(XOf(30) + 1, 200);
  EXPECT_DOUBLE_EQ(cursor_freq, 30.05);
}

TEST_F(ReadoutTest, PositionsThatShowNothing) {
  // The same x twice: nothing at all.
  CursorReadout(XOf(3), 200);
  testhook::ClearLogs();
  CursorReadout(XOf(3), 250);
  EXPECT_TRUE(testhook::Prints().empty());

  struct Case {
    const char* what;
    int x, y, points;
  };
  const Case cases[] = {
      {"above the plot box", XOf(5), 39, kPoints},
      {"below it", XOf(5), 441, kPoints},
      {"left of it", 59, 200, kPoints},
      {"right of the last plotted point", 801, 200, kPoints},
      {"no stored points", XOf(5), 200, 0},
  };
  last_x_px = 800;
  for (const Case& c : cases) {
    scanloop = c.points;
    testhook::ClearLogs();
    CursorReadout(c.x, c.y);
    EXPECT_TRUE(testhook::Prints().empty()) << c.what;
    EXPECT_EQ(cursor_x, XOf(3)) << c.what;
    EXPECT_EQ(cursor_line_x, XOf(3)) << c.what;
    EXPECT_EQ(cursor_freq, 3) << c.what;
  }
  // Left of the first stored point only the line moves.
  scanloop = kPoints;
  testhook::ClearLogs();
  CursorReadout(XOf(0.5), 200);
  EXPECT_TRUE(testhook::Prints().empty());
  EXPECT_EQ(cursor_line_x, XOf(0.5));
  EXPECT_EQ(cursor_freq, 3);
}

TEST_F(ReadoutTest, CursorLineDrawnTwiceLeavesThePlotBoxAsItWas) {
  FillRect(main_win, 60, 40, 801, 401, Rgb(255, 255, 255));
  FillRect(main_win, 300, 40, 5, 401, Rgb(0, 128, 0));  // a trace under the line
  auto column = [](int x) {
    std::vector<int> px;
    for (int y = 30; y <= 450; ++y) px.push_back(ReadPixel(main_win, x, y));
    return px;
  };
  const auto before_a = column(XOf(3) + 1), before_b = column(301);
  CursorReadout(XOf(3), 200);
  // Blue RGB(19, 19, 247) over the background it was made for, from
  // graph_top to the pixel above graph_bottom at x + 1; the white box shows the pen's bits.
  const int pen = Rgb(19, 19, 247) ^ bg_color;
  EXPECT_EQ(Pixel(main_win, XOf(3) + 1, 40), pen ^ Rgb(255, 255, 255));
  EXPECT_EQ(Pixel(main_win, XOf(3) + 1, 439), pen ^ Rgb(255, 255, 255));
  EXPECT_EQ(Pixel(main_win, XOf(3) + 1, 39), before_a[9]);
  EXPECT_EQ(Pixel(main_win, XOf(3), 200), Rgb(255, 255, 255));
  CursorReadout(300, 200);
  EXPECT_EQ(column(XOf(3) + 1), before_a);
  EXPECT_EQ(Pixel(main_win, 301, 200), pen ^ Rgb(0, 128, 0));
  CursorReadout(XOf(5), 200);
  EXPECT_EQ(column(301), before_b);
}

TEST_F(ReadoutTest, LinesOfThePortAColumnByCase) {
  struct Case {
    const char* what;
    double rs, xs;
    std::string q_line, lc_line;
  };
  const std::string b14(14, ' ');
  const Case cases[] = {
      {"Q above 100 without decimals", 1, 250, "Q =  250     ", "Ls =   13.2629 uH" + b14},
      {"Q below 100 with one", 10, 123.4, "Q =  12.3     ", "Ls =    6.5466 uH" + b14},
      {"Q above 1000", 0.1, 150, "Q > 1000    ", "Ls =    7.9577 uH" + b14},
      {"below 0.85 uH in nH", 15, 2 * M_PI * 3 * 0.5, "Q =  0.6     ", "Ls =  500.0000  nH" + b14},
      {"470 pF", 15, -1e6 / (2 * M_PI * 3 * 470), "Q =  7.5     ",
       "Cs =  470.000  pF               "},
      {"1700 pF and more in uF", 15, -1e6 / (2 * M_PI * 3 * 2000), "Q =  1.8     ",
       "Cs =   0.00200  uF               "},
  };
  for (const Case& c : cases) {
    SetPoint(2, c.rs, c.xs);
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(XOf(3), 200);
    ExpectColumn({{330, c.q_line, Black}, {345, c.lc_line, Black}});
    EXPECT_NEAR(cursor_rs, c.rs, 1e-9) << c.what;
    EXPECT_NEAR(cursor_xs, c.xs, 1e-9) << c.what;
  }
}

TEST_F(ReadoutTest, ParallelLinesOnlyInATallWindow) {
  const std::string b14(14, ' ');
  struct Case {
    const char* what;
    int height;
    double rs, xs;
    std::string rp, xp, lp;
  };
  const Case cases[] = {
      {"inductive", 700, 10, 20, "Rp =   50.000" + b14, "Xp =   25.000" + b14,
       "Lp =    1.3263  uH" + std::string(15, ' ')},
      {"huge Rp beside a small Xp", 700, 0.01, 50, "Rp > 100,000      ", "Xp =   50.000" + b14,
       "Lp =    2.6526  uH" + std::string(15, ' ')},
      {"huge Rp and huge Xp", 700, 100000, 100000, "Rp > 100,000      ", "Xp > 100K         ",
       "Lp = 10610.3295  uH" + std::string(15, ' ')},
      {"huge Rp and huge negative Xp", 700, 100000, -100000, "Rp > 100,000      ",
       "Xp < -100K      ", "Cp =    0.265  pF               "},
  };
  for (const Case& c : cases) {
    WinHeight = c.height;
    SetPoint(2, c.rs, c.xs);
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(XOf(3), 200);
    ExpectColumn({{365, c.rp, Black}, {380, c.xp, Black}, {395, c.lp, Black}});
  }
  WinHeight = 550;
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  EXPECT_TRUE(PrintedAnywhere("Xs = "));
  EXPECT_FALSE(PrintedAnywhere("Rp"));
  EXPECT_FALSE(PrintedAnywhere("Xp"));
  EXPECT_FALSE(PrintedAnywhere("Cp"));
}

TEST_F(ReadoutTest, TheColumnStopsAboveTheFilesPanel) {
  files_panel_y = 345;  // room up to y 330: the Q line, not the next
  CursorReadout(XOf(3), 200);
  EXPECT_TRUE(PrintedAnywhere("Q = "));
  EXPECT_FALSE(PrintedAnywhere("Cs = "));
  EXPECT_FALSE(PrintedAnywhere("Rp = "));
}

TEST_F(ReadoutTest, SwrLineByTraceSwitchesAndBandScan) {
  struct Case {
    const char* what;
    int swr, rt, band;
    double swr_value;
    std::string line;  // "" = no line at y 215
  };
  const Case cases[] = {
      {"SWR trace", 1, 0, 0, 1.7, "SWR  =   1.700         "},
      {"return loss trace alone", 0, 1, 0, 1.7, "SWR  =   1.700         "},
      {"band scan", 0, 0, 1, 12.5, "Spectrum Mag =  12.500 dB      "},
      {"1000 and more", 1, 0, 0, 1500, "SWR  =  >1000      "},
      {"a perfect match", 1, 0, 0, 1, "SWR  =   1.000         "},
      {"no trace", 0, 0, 0, 1.7, ""},
  };
  for (const Case& c : cases) {
    plot_swrA = c.swr;
    plot_rt = c.rt;
    bandscan_mode = c.band;
    scanA_swr[2] = c.swr_value;
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(XOf(3), 200);
    if (c.line.empty()) {
      EXPECT_FALSE(PrintedAnywhere("SWR")) << c.what;
      // The reflected power still follows the SWR at the cursor.
      ExpectColumn({{260, "% refl power =  6.7" + std::string(14, ' '), Black}});
    } else {
      ExpectColumn({{215, c.line, RedColor}});
    }
    EXPECT_DOUBLE_EQ(cursor_swr, c.swr_value) << c.what;
  }
  // A perfect match has no finite return loss: 200 dB stands for it.
  scanA_swr[2] = 1;
  plot_rt = 1;
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  ExpectColumn({{275, "Return Loss= 200.00 dB               ", Blue}});
  EXPECT_EQ(cursor_rl, 200);
}

TEST_F(ReadoutTest, DiagnosticMultipliersAndTheFullCurrentDot) {
  DIAGMODE = 1;
  freq_mult_table[3] = 32 * 5 + 7;
  full_current_mode = 1;
  CursorReadout(XOf(3.5), 200);
  ExpectColumn({{145, "DDS_Mults = 5 ,7 ", Black}});
  // A green dot of radius 2, 2 pixels right of the amplitude text, 10 below
  // its line.
  int w = 0, h = 0;
  FontTextExtent("arial", font_size + 1, font_weight, "Driver Amplitude = 100% ", w, h);
  EXPECT_EQ(Pixel(main_win, kCol + w + 2, 170), Green);
  DIAGMODE = 0;
}

class PortBReadout : public ReadoutTest {
 protected:
  void SetUp() override {
    ReadoutTest::SetUp();
    PortB_on = 1;
    for (int k = 0; k < test::kPoints; ++k) {
      s21_dB[k] = -k;
      scanB_s11rl[k] = 10 + k;
      delay_B[k] = 500 + 1000 * k;
      scanB_phase[k] = 10 * k / 57.296;
      scanB_swr[k] = 1.5 + 0.1 * k;  // the Port B scan's own column
    }
    // Across the wrap between 3 and 4 MHz.
    scanB_phase[2] = 175 / 57.296;
    scanB_phase[3] = -175 / 57.296;
    scanB_s11phase[2] = 175 / 57.296;
    scanB_s11phase[3] = -175 / 57.296;
  }
};

TEST_F(PortBReadout, LinesAfterAnSwrLineTakeSixDecimals) {
  plot_swrB = 1;  // the SWR the Port B scan reads beside each point
  plot_s11 = 1;
  plot_phaseS11 = 1;
  mux_chan = 2;
  CursorReadout(XOf(3.5), 200);
  ExpectColumn({
      {215, "SWR  =   1.750         ", RedColor},
      {235, "Delay Offset =  0.000000 ns      ", RedColor},
      {250, "S21_mag= -2.500000 dB        ", Green},
      {265, "S21_mag Ratio= 7.4989e -1     ", Green},
      {280, "S21_phase=  175.000deg         ", Green},
      {300, "S11_mag=  12.500 dB         ", Blue},
      {315, "S11_mag Ratio= 4.2170e 0     ", Blue},
      {330, "S11_phase=  0.000deg         ", Magenta},
      {350, "Delay =  3.000 us         ", Orange},
      {380, "Channel = 2 ", RedColor},
  });
  EXPECT_FALSE(PrintedAnywhere("Zmag"));
  EXPECT_FALSE(PrintedAnywhere("Equivalent"));
}

// Two S21 phases 170 degrees or more apart stand on both sides of a wrap, so
// the cursor between them shows the lower point's phase; closer ones are
// interpolated.
TEST_F(PortBReadout, S21PhaseIsInterpolatedOnlyBelowA170DegreeJump) {
  struct Case {
    double p1, p2;
    const char* text;
  };
  const Case cases[] = {
      {100, -69.5, "S21_phase=  15.250deg         "},   // 169.5 apart: halfway
      {100, -70.5, "S21_phase=  100.000deg         "},  // 170.5 apart
      {95, -84.5, "S21_phase=  95.000deg         "},    // 179.5 apart
      {-90, 85, "S21_phase= -90.000deg         "},      // 175 apart, rising
  };
  for (const Case& c : cases) {
    scanB_phase[5] = c.p1 / 57.296;
    scanB_phase[6] = c.p2 / 57.296;
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(XOf(6.5), 200);  // halfway between points 5 and 6
    EXPECT_EQ(Line("S21_phase=").text, c.text) << c.p1 << " to " << c.p2;
  }
}

TEST_F(PortBReadout, WithoutTheS21TraceOnlyItsPhaseIsShown) {
  plot_swrA = 0;
  plots21 = 0;
  plot_phaseS21 = 1;
  struct Case {
    double offset;
    std::string line;
  };
  const Case cases[] = {
      {0, "Delay Offset =  0.000 ns      "},
      {2.5e-9, "Delay Offset =  2.500 ns      "},
      {-4e-6, "Delay Offset = -4.000 us      "},
      {0.25, "Delay Offset =  0.250 sec      "},
  };
  for (const Case& c : cases) {
    delay_offset = c.offset;
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(XOf(3), 200);  // on point 2: phase 175, delay 2500 ns
    ExpectColumn({
        {235, c.line, Black},
        {265, "S21_phase=  175.000deg         ", Magenta},
        {285, "Delay =  2.500 us         ", Orange},
    });
    EXPECT_FALSE(PrintedAnywhere("S21_mag"));
  }
  delay_B[2] = 2.5e6;
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  ExpectColumn({{285, "Delay =  2.500 ms         ", Orange}});
}

class TdrReadout : public ReadoutTest {
 protected:
  void SetUp() override {
    ReadoutTest::SetUp();
    tdr_mode = 1;
    DXscale = 100;
    tdr_zo = 50;
    Numpts = 256;
    FeetPerNdx = 2;
    VF = 0.66;
    tdr_high_res = 0;
    for (int k = 0; k < kTdrTraceEntries; ++k) tdr_trace_table[k][0] = tdr_trace_table[k][1] = 0;
    // Samples 1..127 every 6 pixels from x 66, 50.5 ohms rising by 0.5.
    for (int k = 1; k <= 127; ++k) {
      tdr_trace_table[k][0] = 60 + 6 * k;
      tdr_trace_table[k][1] = 50 + 0.5 * k;
    }
  }
};

TEST_F(TdrReadout, DistanceLineImpedanceAndReflection) {
  struct Case {
    const char* what;
    int x, metric, high_res;
    std::vector<Expected> lines;
    double distance, zline;
  };
  const std::string b56(56, ' ');
  const Case cases[] = {
      {"feet, between samples 66 and 67",
       460,
       0,
       0,
       {{175, "DISTANCE = 50.00 ft  ", RedColor},
        {200, "Z_Line =  83.33", Green},
        {225, "Refl coef =  0.250", Black},
        {250, "Zref =   50.000            ", Black},
        {275, "VF =  0.660", Black},
        {300, "Resolution =  1.00 ft     ", Black},
        {325, b56, Black}},
       50,
       83.0 + 0.5 * 4 / 6},
      {"metres, past the last sample",
       850,
       1,
       1,
       {{175, "DISTANCE = 30.10 m   ", RedColor},
        {200, "Z_Line =  113.50", Green},
        {225, "Refl coef =  0.388", Black},
        {300, "Resolution =  0.30 m    ", Black},
        {325, "High Resolution", Black}},
       98.75,
       113.5},
  };
  for (const Case& c : cases) {
    metric = c.metric;
    tdr_high_res = c.high_res;
    cursor_x = 0;
    testhook::ClearLogs();
    CursorReadout(c.x, 200);
    ExpectColumn(c.lines);
    EXPECT_DOUBLE_EQ(cursor_distance, c.distance) << c.what;
    EXPECT_NEAR(cursor_zline, c.zline, 1e-9) << c.what;
    EXPECT_FALSE(PrintedAnywhere("Freq")) << c.what;
    EXPECT_FALSE(PrintedAnywhere("Driver")) << c.what;
  }
  Z0imag = -2.5;
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(460, 200);
  ExpectColumn({{250, "Zref =   50.000 - j 2.500     ", Black}});
}

class ChartDots : public ReadoutTest {
 protected:
  void SetUp() override {
    ReadoutTest::SetUp();
    for (Window* w : {&smith_win, &smith2_win, &polar_win}) {
      OpenWindow(*w, 0, 0, 600, 600, kWinCaption, "", [] { return 0; });
      FillWindow(*w, Rgb(255, 255, 255));
    }
    smith_active = smith2_active = polar_active = 1;
    smith_readout_y = 500;  // as the chart sets it when drawn
    SetPoint(2, 10, -20);   // s11 against 50 ohms: -0.5 - j0.5
    smith_px[2] = 200, smith_py[2] = 210, smith_px[3] = 300, smith_py[3] = 310;
    smith2_px[2] = 220, smith2_py[2] = 230, smith2_px[3] = 320, smith2_py[3] = 330;
    polar_px[2] = 240, polar_py[2] = 250, polar_px[3] = 340, polar_py[3] = 350;
  }
};

TEST_F(ChartDots, DotsMoveWithTheCursorAndTheSmithChartShowsS11) {
  // Yellow exclusive-or over a white chart shows blue; the black outline
  // leaves what lay there.
  const int dot = Rgb(255, 255, 0) ^ Rgb(255, 255, 255);
  const int white = Rgb(255, 255, 255);
  CursorReadout(XOf(3), 200);
  EXPECT_EQ(Pixel(smith_win, 200, 210), dot);
  EXPECT_EQ(Pixel(smith_win, 204, 210), dot);
  EXPECT_EQ(Pixel(smith_win, 208, 210), white);
  EXPECT_EQ(Pixel(smith2_win, 220, 230), dot);
  EXPECT_EQ(Pixel(polar_win, 240, 250), dot);
  EXPECT_EQ(smith_dot_x, 200);
  EXPECT_EQ(polar_dot_y, 250);
  // At x 10 from the chart's own place for them, one under the other.
  EXPECT_EQ(Line("Blue dot at", smith_win).text, "Blue dot at 3.000 MHz");
  EXPECT_EQ(Line("Blue dot at", smith_win).x, 10);
  EXPECT_EQ(Line("Blue dot at", smith_win).y, 500);
  // The angle keeps its quadrant: -135 degrees, not -45.
  const auto s11 = Line("s11= ", smith_win);
  EXPECT_EQ(s11.text, "s11= -0.5000 - j0.5000 = 0.7071@-135.010 deg   ");
  EXPECT_EQ(s11.x, 10);
  EXPECT_EQ(s11.y, 500 + FontInkLineHeight("arial", font_size + 1, font_weight));
  EXPECT_EQ(Line("Blue dot at", smith2_win).x, 175);
  EXPECT_FALSE(PrintedAnywhere("Length"));

  CursorReadout(XOf(4), 200);
  for (auto [w, x, y] : {std::tuple{&smith_win, 200, 210}, std::tuple{&smith2_win, 220, 230},
                         std::tuple{&polar_win, 240, 250}}) {
    EXPECT_EQ(Pixel(*w, x, y), white) << w->name;
    EXPECT_EQ(Pixel(*w, x + 4, y), white) << w->name;
    EXPECT_EQ(Pixel(*w, x + 100, y + 100), dot) << w->name;
  }
  EXPECT_EQ(smith_dot_x, 300);
}

TEST_F(ChartDots, NoDotsWhenTheColumnRunsOut) {
  files_panel_y = 345;
  CursorReadout(XOf(3), 200);
  EXPECT_EQ(Pixel(smith_win, 200, 210), Rgb(255, 255, 255));
  EXPECT_EQ(smith_dot_x, 0);
}

TEST(ReadoutFormats, EngineeringTextOfRatios) {
  struct Case {
    double x;
    const char* text;
  };
  const Case cases[] = {
      {0, "0.0000e 0"},
      {-0.5, "-5.0000e -1"},
      {1001, "100.1000e 1"},
      {5, "5.0000e 0"},
      {1000, "1000.0000e 0"},
      {2500, "250.0000e 1"},
      {0.05, "5.0000e -2"},
      {DbToRatio(0), "1.0000e 0"},
      {DbToRatio(-20), "10.0000e -2"},
      {DbToRatio(60), "100.0000e 1"},
      {1e-20, "0.0000e 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatEng(c.x), c.text) << c.x;
  // The constant lies just above ln(10) / 20.
  EXPECT_LT(DbToRatio(-20), 0.1);
  EXPECT_GT(DbToRatio(60), 1000);
  EXPECT_NEAR(DbToRatio(-20) / 0.1, 1, 1e-8);
  EXPECT_EQ(DbToRatio(6), std::exp(6 * 0.115129255));
}

}  // namespace
}  // namespace vna
