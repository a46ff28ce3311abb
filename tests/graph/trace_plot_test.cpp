// The traces of a scan drawn point by point into the frame of the round plot
// box (60..860 x 40..440, 1..25 MHz: 100 pixels per 3 MHz; the middle line at
// 240; SWR 1 at y 220 and 20 pixels per SWR unit; |Z| 0.2 pixels per ohm):
// where the segments land, the styles, the light colour set, the dotted rest
// of a halted scan, the progress line, and a picture of the whole graph.
#include "graph/graph_frame.h"
#include "graph/trace_plot.h"
#include "graph_fixture.h"

namespace vna {
namespace {

using test::GraphTest;

struct Values {
  double f, swr = 1, rs = 0, xs = 0, zmag = 0, rl = 0, phase = 0;
};

class TracePlotTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    RoundBox();
    // One trace at a time unless a test says otherwise.
    plot_swrA = 1;
    plot_rt = plot_zmagA = plot_rsA = plot_rpA = plot_ZphaseA = plot_Q = 0;
    trace_width = 2;
    markerena = 0;
    DrawGraph();
    SetUpPlot();
  }
  static void SetUpPlot() {
    FillRect(main_win, 0, 0, 1024, 700, bg_color);  // the frame's lines would hide the traces
    StartTracePlot();
  }
  static void Point(const Values& v) {
    freq = freq_plot = v.f;
    swr = v.swr;
    point_Rs = Rp = v.rs;
    point_Xs = Xp = v.xs;
    Zmag = v.zmag;
    return_loss = v.rl;
    Zphase = v.phase;
    PlotPointA();
  }
  // x of a frequency on this box.
  static int X(double f) { return Rnd(60 + (f - 1) * 100 / 3); }
  // A flat SWR trace at `swr` over points at 1, 4, 7 ... MHz (100 pixels apart).
  static void FlatSwr(int points, double s) {
    for (int i = 0; i < points; ++i) Point({1 + 3.0 * i, s});
  }
};

TEST_F(TracePlotTest, SegmentsJoinThePointsAtTheirPixels) {
  Point({1, 1});  // (60, 220): the first point draws no segment
  EXPECT_EQ(x_px, 60);
  EXPECT_EQ(trace_y[kTraceSwrQ], 220);
  EXPECT_EQ(Pixel(61, 220), bg_color);
  Point({4, 3});                         // (160, 180)
  Point({7, 3});                         // (260, 180)
  EXPECT_EQ(Pixel(110, 200), RedColor);  // the middle of the first segment
  EXPECT_EQ(Pixel(210, 180), RedColor);
  EXPECT_EQ(Pixel(210, 183), bg_color);
  EXPECT_EQ(last_x_px, 260);
  EXPECT_EQ(trace_segments, 3);
}

TEST_F(TracePlotTest, PointsAreKeptInsideTheBox) {
  plot_zmagA = 1;
  Point({-5, 100, 0, 0, -1e6});  // left of the graph, far above and below it
  EXPECT_EQ(x_px, 60);
  EXPECT_EQ(trace_y[kTraceSwrQ], 40);
  EXPECT_EQ(trace_y[kTraceZmag], 440);
  Point({40, -20, 0, 0, std::nan("")});
  EXPECT_EQ(x_px, 860);
  // The SWR trace is kept only from above: an SWR below 1 may go lower.
  EXPECT_EQ(trace_y[kTraceSwrQ], 240 + 21 * 20 - 20);
  // A value that is not a number keeps the trace where it was.
  EXPECT_EQ(trace_y[kTraceZmag], 440);
}

TEST_F(TracePlotTest, EachTraceTakesItsValueAndFactor) {
  plot_rt = plot_zmagA = plot_rsA = plot_ZphaseA = 1;
  Point({13, 2, 250, -500, 600, -10, 0.5});
  EXPECT_EQ(x_px, 460);
  EXPECT_EQ(trace_y[kTraceSwrQ], 200);
  EXPECT_EQ(trace_y[kTraceRs], 240 - 50);
  EXPECT_EQ(trace_y[kTraceXs], 240 + 100);
  EXPECT_EQ(trace_y[kTraceZmag], 240 - 120);
  EXPECT_EQ(trace_y[kTraceReturnLoss], 240 + 100);               // 10 pixels per dB
  EXPECT_EQ(trace_y[kTracePhase], Rnd(240 - 0.5 * 57.296 * 2));  // 2 pixels per degree
  // Rp and Xp take the places of Rs and Xs.
  plot_rsA = 0;
  plot_rpA = 1;
  freq = 13;
  point_Rs = 250;
  Rp = 100;
  point_Xs = -500;
  Xp = 400;
  PlotPointA();
  EXPECT_EQ(trace_y[kTraceRs], 240 - 20);
  EXPECT_EQ(trace_y[kTraceXs], 240 - 80);
  // Q in place of SWR: |Xs| / (Rs + 0.00001) on its own factor.
  plot_swrA = 0;
  plot_Q = 1;
  Q_scale = 100;
  ComputeGraphFactors();
  Point({13, 9, 10, -500});
  EXPECT_EQ(trace_y[kTraceSwrQ], Rnd(240 - 500 / 10.00001 * 2));
  // Neither: the SWR/Q y stays where it was.
  plot_Q = 0;
  const int before = trace_y[kTraceSwrQ];
  Point({14, 1});
  EXPECT_EQ(trace_y[kTraceSwrQ], before);
}

TEST_F(TracePlotTest, DashStylesSkipSegmentsByTheirCount) {
  struct Case {
    int style;
    std::vector<bool> drawn;  // segments 1..6 (point k joined to point k + 1)
  };
  const Case cases[] = {
      {kStylePlain, {true, true, true, true, true, true}},
      {kStyleShortDash, {true, false, true, false, true, false}},
      {kStyleLongDash, {true, true, true, false, true, true}},
      {9, {false, false, false, false, false, false}},
  };
  for (const Case& c : cases) {
    swrstyle = c.style;
    SetUpPlot();
    FlatSwr(7, 2);
    for (int s = 0; s < 6; ++s) {
      EXPECT_EQ(Pixel(110 + 100 * s, 200) == RedColor, c.drawn[s])
          << "style " << c.style << " segment " << s + 1;
    }
  }
  swrstyle = 0;
}

TEST_F(TracePlotTest, CirclesSquaresAndTheWideLine) {
  swrstyle = kStyleCircle;
  FlatSwr(3, 2);
  EXPECT_EQ(Pixel(160, 197), RedColor);  // the circle's top, 3 above the point
  EXPECT_EQ(Pixel(160, 193), bg_color);

  swrstyle = kStyleSquare;
  SetUpPlot();
  FlatSwr(3, 2);
  EXPECT_EQ(Pixel(158, 197), RedColor);  // the square's top edge, from x - 3, y - 3
  EXPECT_EQ(Pixel(158, 193), bg_color);

  swrstyle = kStyleWide;
  SetUpPlot();
  FlatSwr(3, 2);
  EXPECT_EQ(Pixel(120, 198), RedColor);  // 4 pixels wide: 198..201
  EXPECT_EQ(Pixel(120, 201), RedColor);
  swrstyle = kStylePlain;
  SetUpPlot();
  FlatSwr(3, 2);
  EXPECT_EQ(Pixel(120, 198), bg_color);
}

TEST_F(TracePlotTest, MarkersNeedTwentyPixelsOfRoom) {
  swrstyle = kStyleCircle;
  // Points 10 pixels apart: a marker at the first segment, then every third point.
  for (int i = 0; i < 8; ++i) Point({1 + 0.3 * i, 2});
  int with_marker = 0;
  for (int i = 1; i < 8; ++i)
    if (Pixel(60 + 10 * i, 197) == RedColor) ++with_marker;
  EXPECT_EQ(with_marker, 3);  // x 70, 100, 130
  EXPECT_EQ(Pixel(70, 197), RedColor);
  EXPECT_EQ(Pixel(80, 197), bg_color);
  EXPECT_EQ(Pixel(100, 197), RedColor);
  swrstyle = 0;
}

TEST_F(TracePlotTest, ImpedanceMarkersInTheCycleColourOnAGreenLine) {
  plot_swrA = 0;
  plot_zmagA = 1;
  zmagstyle = kStyleCircle;
  color_index = 3;
  FlatSwr(1, 1);
  Point({4, 1, 0, 0, 500});
  Point({7, 1, 0, 0, 500});  // y = 240 - 100
  EXPECT_EQ(Pixel(210, 140), Green);
  EXPECT_EQ(Pixel(260, 137), cycle_colors[3]);
  zmagstyle = kStylePlain;
  SetUpPlot();
  FlatSwr(1, 1);
  Point({4, 1, 0, 0, 500});
  Point({7, 1, 0, 0, 500});
  EXPECT_EQ(Pixel(210, 140), cycle_colors[3]);
}

TEST_F(TracePlotTest, TheLightSetIsPlainLinesInTheLightColours) {
  alt_colors = 1;
  swrstyle = kStyleShortDash;
  plot_zmagA = 1;
  color_index = 5;
  Point({1, 2, 0, 0, 500});
  Point({4, 2, 0, 0, 500});
  Point({7, 2, 0, 0, 500});
  EXPECT_EQ(Pixel(210, 200), LightRed);  // no dash pattern in the light set
  EXPECT_EQ(Pixel(210, 140), cycle_colors[5]);
  alt_colors = 0;
  swrstyle = 0;
}

TEST_F(TracePlotTest, AfterHaltTheRestIsDotted) {
  Point({1, 2});
  scan_running = 0;
  Point({4, 2});
  // One pixel wide, one pixel on and two off.
  EXPECT_EQ(Pixel(60, 200), RedColor);
  EXPECT_EQ(Pixel(61, 200), bg_color);
  EXPECT_EQ(Pixel(63, 200), RedColor);
  EXPECT_EQ(Pixel(63, 199), bg_color);
  // A wide trace leaves the pen solid for the traces after it at that point.
  swrstyle = kStyleWide;
  plot_zmagA = 1;
  Point({7, 2, 0, 0, 500});
  Point({10, 2, 0, 0, 500});
  for (int x = 300; x <= 302; ++x) EXPECT_EQ(Pixel(x, 140), cycle_colors[0]) << x;
  swrstyle = 0;
}

TEST_F(TracePlotTest, TheProgressLineRunsAboveTheBox) {
  Point({1, 2});
  Point({4, 2});
  Point({7, 2});
  // Three pixels wide at graph_top - 3, in light blue.
  EXPECT_EQ(Pixel(100, 37), LightBlue);
  EXPECT_EQ(Pixel(250, 37), LightBlue);
  EXPECT_EQ(Pixel(300, 37), bg_color);
  EndTracePlot();
  EXPECT_EQ(Pixel(100, 37), bg_color);
  EXPECT_EQ(Pixel(100, 36), bg_color);

  // In diagnostic mode: red to start on the two-multiplier model, then red
  // and green by the count of multiplier changes, 6 above the box on
  // oscillator 2, and left standing after the scan.
  DIAGMODE = 1;
  model_uhf = 1;
  OSC = 2;
  mult_code = 10;
  SetUpPlot();
  EXPECT_EQ(progress_color, RedColor);
  Point({1, 2});
  EXPECT_EQ(progress_color, Green);
  mult_code = 11;
  Point({4, 2});
  EXPECT_EQ(progress_color, RedColor);
  EXPECT_EQ(Pixel(100, 34), Green);
  mult_code = 12;
  Point({7, 2});
  EXPECT_EQ(Pixel(200, 34), RedColor);
  EXPECT_EQ(progress_color, Green);
  EndTracePlot();
  EXPECT_EQ(Pixel(200, 34), RedColor);
  DIAGMODE = 0;
  OSC = 1;
}

TEST_F(TracePlotTest, TheImpedanceStepOfEachPoint) {
  plot_zmagA = 1;
  Point({1, 1, 0, 0, 100});
  EXPECT_EQ(zmag_y_step, 0);
  Point({4, 1, 0, 0, 300});
  EXPECT_EQ(zmag_y_step, 40);
}

TEST_F(TracePlotTest, PictureOfTheGraphWithAScan) {
  // The program's own layout for a 1024 x 700 window, every Port A trace.
  MeasureGraphLayout();
  plot_swrA = plot_rt = plot_zmagA = plot_rsA = plot_ZphaseA = 1;
  PortA_title = "Series R-L-C, 20 ohms at 14.2 MHz";
  DrawGraph();
  StartTracePlot();
  for (int i = 0; i < 401; ++i) {
    test::SeriesRlcPoint(graph_start + (graph_end - graph_start) * i / 400);
    PlotPointA();
  }
  EndTracePlot();
  // The SWR dip at resonance, on the scale the frame drew.
  test::SeriesRlcPoint(14.2);
  const int x = FreqToX(14.2);
  const int y = Rnd(graph_zero_y - (swr - 1) * swr_yscale - swr_yoffset);
  int red_near = 0;
  for (int dy = -2; dy <= 2; ++dy)
    if (Pixel(x, y + dy) == RedColor) ++red_near;
  EXPECT_GT(red_near, 0);
  const std::string path = SavePng("main_graph");
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace vna
