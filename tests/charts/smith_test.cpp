// The Smith charts of a stored scan: where each impedance lands, the grid
// and its labels at every zoom, the SWR circle, the markers and the flags
// the chart leaves.
//
// Geometry at chart scale 1, worked out by hand: s = 0.9, the window is
// rnd(650 s) = 585 pixels square, the centre (rnd(300 s), rnd(260 s)) =
// (270, 234), the visible radius D = 250 s = 225 and the unit circle's radius
// P = D x zoom. A point with reflection coefficient G lies at
// (270 + rnd(Re G P), 234 - rnd(Im G P)).
#include "charts/charts_fixture.h"
#include "platform/draw.h"
#include "graph/smith_chart.h"

namespace vna::test {
namespace {

struct Expect {
  const char* what;
  Z z;
  int x, y;  // 100000: outside the visible circle
};

class SmithTest : public ChartTest {};

QImage DrawSmith(const std::string& png = "") {
  return DrawChart(smith_win, Smith, png);
}

TEST_F(SmithTest, EachImpedanceLandsWhereItsReflectionPutsIt) {
  const Expect cases[] = {
      {"50 ohm, the centre", {50, 0}, 270, 234},     {"short, left end", {0, 0}, 45, 234},
      {"open, right end", {kOpen, 0}, 495, 234},     {"100 ohm: G = 1/3", {100, 0}, 345, 234},
      {"25+j25: G = -0.2+0.4j", {25, 25}, 225, 144}, {"50+j50: G = 0.2+0.4j", {50, 50}, 315, 144},
      {"-j50: G = -j", {0, -50}, 270, 459},          {"+j50: G = +j", {0, 50}, 270, 9},
  };
  std::vector<Z> scan;
  for (const Expect& c : cases) scan.push_back(c.z);
  SetScan(scan);
  int w = 0, h = 0;
  std::string title;
  QImage img;
  RunChart(smith_win, Smith, {[&] {
             OuterSize(smith_win, w, h);
             title = GetTitle(smith_win);
             img = Picture(smith_win);
             KeepPng(img, "smith_zoom1");
             PostEvent(smith_win, kEvClose);
           }});
  EXPECT_EQ(w, 585);
  EXPECT_EQ(h, 585);
  EXPECT_EQ(title, " VNA Smith Chart  prog:" + prog_ver + prog_subver);
  for (int i = 0; i < 8; ++i) {
    const Expect& c = cases[i];
    EXPECT_EQ(smith_px[i], c.x) << c.what;
    EXPECT_EQ(smith_py[i], c.y) << c.what;
    EXPECT_TRUE(ColorNear(img, c.x, c.y, RedColor)) << c.what;
  }
  // Markers hidden: the first point has a magenta dot of radius 4.
  EXPECT_EQ(PixelAt(img, 272, 236), Magenta);
  // Closed by its close box: the wait ended and the flags say so.
  EXPECT_FALSE(smith_win.IsOpen());
  EXPECT_EQ(smith_closed, 1);
  EXPECT_EQ(smith_open, 0);
  EXPECT_EQ(smith_drawn, 0);
  EXPECT_EQ(smith_active, 0);
  EXPECT_EQ(focus_win, 1);
  EXPECT_EQ(number_decimals, 2);
  EXPECT_EQ(SUB, "");
  // The trace's working values hold the last point.
  EXPECT_EQ(point_Rs, 0);
  EXPECT_EQ(point_Xs, 50);
}

TEST_F(SmithTest, ZoomTwoDoublesTheUnitCircleAndMasksWhatLiesOutside) {
  smith_zoom = 2;  // P = 450
  SetScan({{50, 0}, {100, 0}, {0, 0}});
  const QImage img = DrawSmith("smith_zoom2");
  EXPECT_EQ(smith_px[0], 270);
  EXPECT_EQ(smith_px[1], 420);  // 450 / 3 = 150 right of the centre
  EXPECT_EQ(smith_py[1], 234);
  EXPECT_EQ(smith_px[2], 100000);  // 450 left: outside the visible 225
  EXPECT_TRUE(ColorNear(img, 420, 234, RedColor));
  // The segment towards the short ends at the rim; beyond it the background.
  EXPECT_TRUE(ColorNear(img, 60, 234, RedColor));
  EXPECT_EQ(PixelAt(img, 30, 234), bg_color);
  EXPECT_EQ(PixelAt(img, 5, 234), bg_color);
}

TEST_F(SmithTest, TheReferenceIsTheSystemsEachTimeTheChartIsDrawn) {
  Z0real = 75;
  Zsm_real = 20;  // set for the charts only: replaced
  Zsm_imag = 5;
  SetScan({{75, 0}, {150, 0}, {37.5, 0}});
  DrawSmith();
  EXPECT_EQ(Zsm_real, 75);
  EXPECT_EQ(Zsm_imag, 0);
  EXPECT_EQ(smith_px[0], 270);
  EXPECT_EQ(smith_py[0], 234);
  EXPECT_EQ(smith_px[1], 345);  // G = 1/3
  EXPECT_EQ(smith_px[2], 195);  // G = -1/3
  EXPECT_EQ(PrintsAt("smith_win", 10, 10), Strings{"Zref =  75.00   0.00j"});
}

TEST_F(SmithTest, GridLabelsAndReadoutsAtZoomOne) {
  SetScan({{50, 0}, {60, 0}, {70, 0}});
  DrawSmith();
  // Resistance labels on the horizontal line, one decimal always, at
  // x = rnd((Qx - U) - 10) with U = rnd(225 / (v + 1)) and
  // Qx = rnd(270 + 225 - U): 0.1 at 75, 1 at 261, 10 at 445.
  EXPECT_EQ(PrintsOnLine("smith_win", 234),
            (Strings{" 0.1", " 0.2", " 0.5", " 1.0", " 2.0", " 5.0", " 10.0"}));
  EXPECT_EQ(PrintsAt("smith_win", 75, 234), Strings{" 0.1"});
  EXPECT_EQ(PrintsAt("smith_win", 261, 234), Strings{" 1.0"});
  EXPECT_EQ(PrintsAt("smith_win", 445, 234), Strings{" 10.0"});
  // Reactance labels by number text: offsets lx = rnd(274 - 0.9 Lx),
  // ly = rnd(256 - 0.9 Ly). Value 1 at (308, 36): lx -3, ly 224; value 0.1 at
  // (65, 224): lx 216 (215.5 to even), ly 54.
  EXPECT_EQ(PrintsAt("smith_win", 273, 10), Strings{" 1"});
  EXPECT_EQ(PrintsAt("smith_win", 273, 443), Strings{" -1"});
  EXPECT_EQ(PrintsAt("smith_win", 54, 180), Strings{" 0.1"});
  EXPECT_EQ(PrintsAt("smith_win", 54, 273), Strings{" -0.1"});
  EXPECT_EQ(PrintsAt("smith_win", 10, 10), Strings{"Zref =  50.00   0.00j"});
  EXPECT_EQ(PrintsAt("smith_win", 10, 25), Strings{"SWRref= 1.50"});
  // Under the row of buttons (at y rnd(585 - 109 x 0.9) = 487, the height of
  // "Marker Data" and 4 high) the cursor's two lines, then the stamp: each
  // as many rows apart as the chart's font inks.
  int tw = 0, th = 0;
  FontTextExtent("arial", font_size + 1, font_weight, "Marker Data", tw, th);
  const int lines_y = 487 + th + 4 + 2;
  EXPECT_EQ(smith_readout_y, lines_y);
  EXPECT_EQ(PrintsAt("smith_win", 10,
                     lines_y + 2 * FontInkLineHeight("arial", font_size + 1, font_weight)),
            Strings{graph_stamp});
}

TEST_F(SmithTest, EachZoomDrawsItsOwnCircles) {
  SetScan({{50, 0}, {60, 0}, {70, 0}});
  const Strings fine = {" 0.1", " 0.2", " 0.3", " 0.4", " 0.5", " 0.6", " 0.7", " 0.8", " 0.9"};
  auto with = [&](Strings tail) {
    Strings all = fine;
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
  };
  const std::pair<int, Strings> rows[] = {
      {2, with({" 1.0", " 1.2", " 1.4", " 1.6", " 1.8", " 2.0", " 2.5", " 5.0", " 10.0"})},
      {3, with({" 1.0", " 1.2", " 1.4", " 1.6", " 1.8", " 2.0", " 2.5", " 5.0", " 10.0"})},
      // No circles for 2.5, 5 and 10.
      {4, with({" 1.0", " 1.1", " 1.2", " 1.3", " 1.4", " 1.5", " 1.6", " 1.8", " 2.0"})},
      // None for 1.5, 5 and 10.
      {5, with({" 1.0", " 1.1", " 1.2", " 1.3", " 1.4", " 1.6", " 1.8", " 2.0", " 2.5"})},
  };
  for (const auto& [zoom, labels] : rows) {
    testhook::ClearLogs();
    smith_zoom = zoom;
    DrawSmith();
    EXPECT_EQ(PrintsOnLine("smith_win", 234), labels) << "zoom " << zoom;
  }
}

// First distance from the centre along the lower-right diagonal at which the
// picture shows `color`, or -1.
double FirstOnDiagonal(const QImage& img, int color, int from = 1) {
  for (int d = from; d < 300; ++d)
    if (ColorNear(img, 270 + d, 234 + d, color)) return d * 1.41421356;
  return -1;
}

TEST_F(SmithTest, TheSwrRulerIsACircleOfItsReflection) {
  SetScan({{50, 0}, {51, 0}, {52, 0}});
  swr_ruler = 2;  // |G| = 1/3: radius 75 at zoom 1 (U2 = 150, 2 U2 - P = 75)
  QImage img = DrawSmith("smith_swr2");
  EXPECT_NEAR(FirstOnDiagonal(img, Green), 75, 2.5);
  EXPECT_EQ(PrintsAt("smith_win", 10, 25), Strings{"SWRref= 2"});

  // Below 1 there is no circle (its radius would be negative), but the line.
  testhook::ClearLogs();
  swr_ruler = 0.95;
  img = DrawSmith();
  EXPECT_EQ(FirstOnDiagonal(img, Green), -1);
  EXPECT_EQ(PrintsAt("smith_win", 10, 25), Strings{"SWRref= 0.95"});

  testhook::ClearLogs();
  swr_ruler = 0;
  img = DrawSmith();
  EXPECT_EQ(FirstOnDiagonal(img, Green), -1);
  EXPECT_TRUE(PrintsAt("smith_win", 10, 25).empty());
}

void SetMarkers(std::vector<double> freqs) {
  for (int i = 1; i <= kMaxMarkers; ++i) markers[i].Freq = 10000;
  for (size_t i = 0; i < freqs.size(); ++i) markers[i + 1].Freq = freqs[i];
}

TEST_F(SmithTest, MarkerPointsAreTheNearestScanPoints) {
  markerena = 1;
  start_freq = 1;
  delta_freq = 0.5;
  SetScan(std::vector<Z>(40, {50, 0}));  // 1 to 20.5 MHz
  // The stored points, not the step in force (another scan's since).
  delta_freq = 0.05;
  struct Case {
    double freq;
    int point;  // index + 1, -1 none
  };
  const Case cases[] = {
      {1, 1},     {1.2, 1},    {1.25, 2},  // halves round up
      {20.5, 40},                          // the last stored point
      {0.25, -1}, {20.75, -1},             // outside the stored points
      {9000, -1}, {10000, -1},
  };
  for (const Case& c : cases) {
    SetMarkers({c.freq});
    FindMarkerPoints();
    EXPECT_EQ(marker_points[1], c.point) << c.freq;
    EXPECT_EQ(marker_points[2], -1);
  }
  // Hidden markers, or no stored Port A scan, give no points.
  SetMarkers({1});
  markerena = 0;
  FindMarkerPoints();
  EXPECT_EQ(marker_points[1], -1);
  markerena = 1;
  scanA_npoints = 0;
  FindMarkerPoints();
  EXPECT_EQ(marker_points[1], -1);
}

TEST_F(SmithTest, AMarkerAt1000MHzIsCircledAndNumbered) {
  markerena = 1;
  start_freq = 999;
  delta_freq = 0.5;
  SetMarkers({1000});  // the third point, 100 ohm at (345, 234)
  SetScan({{25, 0}, {50, 0}, {100, 0}, {200, 0}, {400, 0}});
  const QImage img = DrawSmith();
  // Radius 3 in red about the point; the number 1 in green above right.
  EXPECT_EQ(PixelAt(img, 345, 231), RedColor);
  EXPECT_EQ(PixelAt(img, 345, 237), RedColor);
  EXPECT_EQ(PrintsAt("smith_win", 348, 231), Strings{" 1"});
  // No magenta start dot while markers are shown.
  EXPECT_FALSE(ColorNear(img, 172, 236, Magenta));
}

TEST_F(SmithTest, MarkersAreCircledInNumberOrderOnly) {
  markerena = 1;
  start_freq = 10;
  delta_freq = 1;
  // Six real loads: every number stands 3 pixels above the axis, at y 231.
  SetScan({{20, 0}, {30, 0}, {40, 0}, {60, 0}, {80, 0}, {100, 0}});
  // Marker 1 on 13 MHz, marker 2 on 11 MHz: once the walk passed 11 MHz it
  // waits for marker 2 for ever, so only marker 1 shows.
  SetMarkers({13, 11, 14});
  DrawSmith("smith_markers_order");
  EXPECT_EQ(PrintsOnLine("smith_win", 231), Strings{" 1"});
  // A marker on the last point (15 MHz) is never reached.
  testhook::ClearLogs();
  SetMarkers({11, 14, 15});
  DrawSmith();
  EXPECT_EQ(PrintsOnLine("smith_win", 231), (Strings{" 1", " 2"}));
}

TEST_F(SmithTest, ZoomThreeWithMarkersForAPerson) {
  markerena = 1;
  start_freq = 4;
  delta_freq = 0.05;
  smith_zoom = 3;
  SetMarkers({4.5, 5, 5.5});
  std::vector<Z> scan;
  // A series R-L-C through its resonance near 5.03 MHz: 50 ohm, 1 uH, 1 nF.
  for (int i = 0; i <= 40; ++i) {
    const double w = 2 * 3.141592654 * (4 + 0.05 * i) * 1e6;
    scan.push_back({50, w * 1e-6 - 1 / (w * 1e-9)});
  }
  SetScan(scan);
  DrawSmith("smith_zoom3_markers");
  Strings numbers;
  for (const auto& p : testhook::Prints())
    if (p.window == "smith_win" && (p.text == " 1" || p.text == " 2" || p.text == " 3"))
      numbers.push_back(p.text);
  EXPECT_EQ(numbers, (Strings{" 1", " 2", " 3"}));
}

TEST_F(SmithTest, TooFewPointsOrTdrModeDrawNothing) {
  for (int closed : {0, 1}) {
    SetScan({{50, 0}, {100, 0}});
    smith_closed = closed;
    const int opens = smith_win.instance;
    Smith();
    EXPECT_EQ(smith_win.instance, opens);
    EXPECT_EQ(smith_closed, closed);
    EXPECT_EQ(smith_open, 0);
    SetScan({{50, 0}, {100, 0}, {25, 0}});
    tdr_mode = 1;
    Smith();
    Smith_2();
    EXPECT_EQ(smith_win.instance, opens);
    EXPECT_EQ(smith_closed, closed);
    tdr_mode = 0;
  }
  EXPECT_EQ(SUB, "");
}

// A resistance just below -Zref puts the reflection near infinity on the
// right (G = (R - 50) / (R + 50) with R + 50 a tiny negative number): the
// trace runs from the centre off the right edge, never wrapped to the left.
TEST_F(SmithTest, AReflectionTowardInfinityRunsOffItsOwnSide) {
  SetScan({{50, 0}, {50, 0}, {-50 - 1e-9, 0}});
  const QImage img = DrawSmith("smith_reflection_toward_infinity");
  EXPECT_EQ(smith_px[1], 270);
  EXPECT_EQ(smith_px[2], 100000);  // outside the visible circle
  for (int x : {300, 400, 494}) EXPECT_TRUE(ColorNear(img, x, 234, RedColor)) << x;
  for (int x : {46, 150, 240}) EXPECT_FALSE(ColorNear(img, x, 234, RedColor)) << x;
}

TEST_F(SmithTest, BesidePointDataAndInRecycleModeTheChartDoesNotWait) {
  SetScan({{50, 0}, {100, 0}, {25, 0}});
  point_smith = 1;
  Smith();  // returns at once: grid, readouts and zoom buttons, no trace
  ASSERT_TRUE(smith_win.IsOpen());
  const int opens = smith_win.instance;
  QImage img = Picture(smith_win);
  EXPECT_FALSE(ColorNear(img, 345, 234, RedColor));
  EXPECT_TRUE(HasControl(smith_win, 2203));
  EXPECT_FALSE(HasControl(smith_win, 2207));
  EXPECT_EQ(smith_open, 1);
  EXPECT_EQ(smith_drawn, 1);

  // Recycle: drawn over the open window; without a recycle count the grid
  // stays and the new trace goes over it.
  point_smith = 0;
  recycle_on = 2;
  recycle_count = 0;
  Smith();
  EXPECT_EQ(smith_win.instance, opens);
  img = Picture(smith_win);
  EXPECT_TRUE(ColorNear(img, 345, 234, RedColor));
  SetScan({{50, 0}, {25, 0}, {10, 0}});
  Smith();
  img = Picture(smith_win);
  EXPECT_TRUE(ColorNear(img, 345, 234, RedColor));  // the earlier trace stays
  // With a count the grid is drawn anew and only the new trace shows.
  recycle_count = 3;
  Smith();
  img = Picture(smith_win);
  EXPECT_FALSE(ColorNear(img, 345, 234, RedColor));
  EXPECT_TRUE(ColorNear(img, 195, 234, RedColor));  // 25 ohm: G = -1/3
  EXPECT_EQ(smith_win.instance, opens);
  CloseWindow(smith_win);
  smith_drawn = 0;
}

class Smith2Test : public ChartTest {};

QImage DrawSmith2(const std::string& png = "") {
  return DrawChart(smith2_win, Smith_2, png);
}

TEST_F(Smith2Test, WithoutRotationItIsTheFirstChart) {
  std::vector<Z> scan = {{50, 0}, {0, 0}, {100, 0}, {25, 25}, {50, 50}, {0, -50}, {0, 50}};
  SetScan(scan);
  DrawSmith();
  const std::vector<int> px(smith_px, smith_px + scan.size()), py(smith_py, smith_py + scan.size());
  int w = 0, h = 0;
  std::string title;
  RunChart(smith2_win, Smith_2, {[&] {
             OuterSize(smith2_win, w, h);
             title = GetTitle(smith2_win);
             EXPECT_EQ(focus_win, 6);
             PostEvent(smith2_win, kEvClose);
           }});
  EXPECT_EQ(w, 585);
  EXPECT_EQ(title, " VNA Smith Chart 2  prog:" + prog_ver + prog_subver);
  for (size_t i = 0; i < scan.size(); ++i) {
    EXPECT_EQ(smith2_px[i], px[i]) << i;
    EXPECT_EQ(smith2_py[i], py[i]) << i;
  }
  EXPECT_EQ(smith2_closed, 1);
  EXPECT_EQ(smith2_active, 0);
  EXPECT_EQ(focus_win, 1);
  EXPECT_EQ(number_decimals, 2);
  EXPECT_EQ(PrintsAt("smith2_win", 10, 40), Strings{"Phase= 0"});
}

TEST_F(Smith2Test, TheTraceTurnsByTwiceTheAngle) {
  SetScan({{50, 0}, {100, 0}, {0, 0}, {kOpen, 0}});
  smith_rotation = 90;  // 180 degrees: a short lies where an open would
  QImage img = DrawSmith2("smith2_rotated_90");
  EXPECT_EQ(smith2_px[2], 495);
  EXPECT_EQ(smith2_py[2], 234);
  EXPECT_EQ(smith2_px[3], 45);
  EXPECT_TRUE(ColorNear(img, 495, 234, RedColor));
  EXPECT_EQ(PrintsAt("smith2_win", 10, 40), Strings{"Phase= 90"});

  smith_rotation = 45;  // 90 degrees counter-clockwise: 100 ohm to the top of |G| = 1/3
  img = DrawSmith2("smith2_rotated_45");
  EXPECT_EQ(smith2_px[1], 270);
  EXPECT_EQ(smith2_py[1], 159);
  EXPECT_TRUE(ColorNear(img, 270, 159, RedColor));

  // Turned points outside the visible circle keep real positions.
  smith_rotation = 90;
  smith2_zoom = 2;
  DrawSmith2();
  EXPECT_EQ(smith2_px[2], 720);
  EXPECT_EQ(smith2_py[2], 234);
}

TEST_F(Smith2Test, ARulerBeyondTheRimIsCutOnTheSecondChart) {
  SetScan({{50, 0}, {51, 0}, {52, 0}});
  swr_ruler = 2;  // radius 1125 / 3 = 375 at zoom 5, beyond the rim at 225
  smith_zoom = smith2_zoom = 5;
  // The first chart masks only what its zoomed grid drew before the ruler;
  // beside point data, where no trace (and no second mask) follows, the
  // circle shows beyond the rim. With a trace the last mask cuts it too.
  point_smith = 1;
  Smith();
  const QImage beside = Picture(smith_win);
  KeepPng(beside, "smith_zoom5_ruler_point_data");
  CloseWindow(smith_win);
  point_smith = 0;
  smith_drawn = 0;
  const QImage first = DrawSmith();
  const QImage second = DrawSmith2("smith2_zoom5_ruler");
  EXPECT_NEAR(FirstOnDiagonal(beside, Green, 170), 375, 3);
  EXPECT_EQ(FirstOnDiagonal(first, Green, 170), -1);
  EXPECT_EQ(FirstOnDiagonal(second, Green, 170), -1);
}

TEST_F(Smith2Test, PortBModeDrawsNothing) {
  SetScan({{50, 0}, {100, 0}, {25, 0}});
  PortB_on = 1;
  smith2_closed = 1;
  const int opens = smith2_win.instance;
  Smith_2();
  EXPECT_EQ(smith2_win.instance, opens);
  EXPECT_EQ(smith2_closed, 1);
  EXPECT_EQ(SUB, "");
}

}  // namespace
}  // namespace vna::test
