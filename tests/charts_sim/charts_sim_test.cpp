// The charts of a calibrated Port A scan against the instrument simulator:
// every point lands on the pixel that the load's own reflection coefficient
// G = (Z - 50) / (Z + 50) gives, worked out here from the chart geometry.
//
// Smith chart at chart scale 1 and zoom z: s = 0.9, centre (rnd(300 s),
// rnd(260 s)) = (270, 234), unit circle radius P = 250 s z = 225 z, and a
// point at (270 + rnd(Re G P), 234 - rnd(Im G P)).
// Polar plot, S11 mode, full scale 1: with k = WinHeight / 768 in single
// precision, centre (rnd(300 k), rnd(260 k)), radius R = 250 k, and a point
// at (cx + rnd(|G| R cos arg G), cy - rnd(|G| R sin arg G)).
//
// Tolerance 2 pixels in x and in y: the expected and the drawn offsets are
// rounded apart, which can put them one pixel apart, and one more pixel
// (|dG| < 1/225 at zoom 1, 1/450 at zoom 2: about 0.5 % of |Z| for these
// loads) covers what the corrected reading keeps of the simulator's noise
// and bridge errors. A reference 4 % off moves the points 4 to 10 pixels.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <string>

#include "charts/charts_fixture.h"
#include "graph/markers.h"
#include "graph/polar_plot.h"
#include "graph/smith_chart.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

using cplx = std::complex<double>;
using test::ColorNear;
using test::DrawChart;

constexpr int kTolerance = 2;

int Round(double v) {
  return static_cast<int>(std::lrint(v));  // to nearest, halves to even
}

struct ChartGeometry {
  int cx, cy;
  double radius;  // of |G| = 1
};

class ChartsSim : public ScanSim {
 protected:
  // A calibrated 1..10 MHz scan of this device, 91 points.
  void ScanOf(const std::string& dut) {
    Sim().SetDut(dut);
    ScanButton(1, 10, 0.1);
    ASSERT_EQ(vna_status, 0);
    ASSERT_EQ(scan_npoints, 91);
  }
  void SetUpCharts() {
    Begin();
    Calibrate(1, 10.1, 0.1);
    chart_scale = 1;
    win_yscale = static_cast<float>(WinHeight) / 768.0f;  // as start-up sets it
    Z0real = 50;
    Z0imag = 0;
    markerena = 0;
    recycle_on = point_smith = 0;
    polar_s11 = 1;
    polar_swr = polar_z = 0;
    polar_scale = 1;
  }

  // Checks each point's stored pixel against the one its load's impedance
  // puts it at, and that the picture shows the trace there.
  static void ExpectTrace(const char* chart, const int* px, const int* py, const QImage& img,
                          const ChartGeometry& g, cplx (*load)(double mhz)) {
    int worst_x = 0, worst_y = 0;
    for (int i = 0; i < scan_npoints; ++i) {
      const cplx z = load(scanA_freq[i]);
      const cplx gamma = (z - 50.0) / (z + 50.0);
      const int x = g.cx + Round(gamma.real() * g.radius);
      const int y = g.cy - Round(gamma.imag() * g.radius);
      SCOPED_TRACE(std::string(chart) + " point " + std::to_string(i) + " at " +
                   std::to_string(scanA_freq[i]) + " MHz");
      EXPECT_NEAR(px[i], x, kTolerance);
      EXPECT_NEAR(py[i], y, kTolerance);
      // The trace, or the start dot over a load that reads the same throughout.
      EXPECT_TRUE(ColorNear(img, px[i], py[i], RedColor) || ColorNear(img, px[i], py[i], Magenta));
      worst_x = std::max(worst_x, std::abs(px[i] - x));
      worst_y = std::max(worst_y, std::abs(py[i] - y));
    }
    std::printf("%s: largest pixel error x %d, y %d\n", chart, worst_x, worst_y);
  }
};

cplx SeriesRlc(double mhz) {  // series:r=20,l=3.3u,c=330p
  const double w = 2 * M_PI * mhz * 1e6;
  return {20, w * 3.3e-6 - 1 / (w * 330e-12)};
}

// The series circuit resonates at 4.82 MHz: its trace sweeps the 20 ohm
// circle from near the rim at -j461 ohms through 20 ohms to +j159 ohms.
TEST_F(ChartsSim, SeriesCircuitArcOnTheSmithChartAndThePolarPlot) {
  SetUpCharts();
  ScanOf("series:r=20,l=3.3u,c=330p");
  smith_zoom = 1;
  const QImage smith = DrawChart(smith_win, Smith, "smith_sim_series_rlc");
  ExpectTrace("Smith", smith_px, smith_py, smith, {270, 234, 225}, SeriesRlc);

  const float k = static_cast<float>(WinHeight) / 768.0f;
  const ChartGeometry polar{Round(k * 300.0f), Round(k * 260.0f), 250 * k};
  const QImage plot = DrawChart(polar_win, PolarPlot, "polar_sim_series_rlc");
  ExpectTrace("Polar", polar_px, polar_py, plot, polar, SeriesRlc);
}

// Fixed loads at zoom 2 (P = 450), where a pixel is half as much of G.
TEST_F(ChartsSim, FixedLoadsOnTheZoomedSmithChart) {
  SetUpCharts();
  smith_zoom = 2;
  const struct {
    const char *dut, *png;
    cplx (*z)(double);
  } loads[] = {
      {"r=75", "smith_sim_zoom2_75", [](double) { return cplx(75, 0); }},  // G = 0.2: (360, 234)
      {"z=25,25", "smith_sim_zoom2_25j25",  // G = -0.2+0.4j: (180, 54)
       [](double) { return cplx(25, 25); }},
  };
  for (const auto& load : loads) {
    ScanOf(load.dut);
    const QImage img = DrawChart(smith_win, Smith, load.png);
    ExpectTrace(load.dut, smith_px, smith_py, img, {270, 234, 450}, load.z);
  }
}

// The Smith chart stays on top of the program's other windows: what a person
// opens while it is up (the marker dialog of a right click in it, its Marker
// Data window, the Save BitMap dialog of the main menu) must stay on top as
// well, or it opens hidden under the chart.
TEST_F(ChartsSim, WhatOpensOverTheSmithChartOpensAboveIt) {
  SetUpCharts();
  ScanOf("r=75");
  ClearMarkers();
  markers[1].Freq = 5;
  marker_count = 1;
  markerena = 1;  // shown already: listing them redraws nothing
  testing::TempDir folder;
  bool chart_on_top = false, marker_data_on_top = false;
  // The Marker Data window waits in its own loop until it is closed.
  test::ChartScript marker_data(marker_win, {[&] {
                                  marker_data_on_top = qt::StaysOnTop(marker_win.impl->top);
                                  test::KeepPng(test::Picture(marker_win),
                                                "marker_data_over_smith");
                                  PostEvent(marker_win, kEvClose);
                                }});
  test::RunChart(smith_win, Smith, {[&] {
                   chart_on_top = qt::StaysOnTop(smith_win.impl->top);
                   test::KeepPng(test::Picture(smith_win), "smith_under_marker_data");
                   PostEvent(smith_win, kEvCommand, 2207);  // Marker Data
                   PumpEvents();
                   testhook::QueueFileAnswer(folder / "chart.bmp");
                   DispatchCommand(2173);                           // File, Save BitMap
                   test::AnswerDialog(" Marker  ver-636A", {}, 0);  // looked at, then closed
                   // Last: a marker edit redraws the graph, which ends the chart.
                   PostEvent(smith_win, kEvRButtonDown, 0, 0, 300, 200);
                   PostEvent(smith_win, kEvClose);
                 }});
  EXPECT_TRUE(chart_on_top);
  ASSERT_EQ(testhook::Dialogs().size(), 1u);
  EXPECT_EQ(testhook::Dialogs()[0].title, " Marker  ver-636A");
  EXPECT_TRUE(testhook::Dialogs()[0].tie.stays_on_top);
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  EXPECT_EQ(testhook::FileDialogs()[0].title, " Save BitMap");
  EXPECT_TRUE(testhook::FileDialogs()[0].stays_on_top);
  EXPECT_TRUE(std::filesystem::exists(folder / "chart.bmp"));
  EXPECT_EQ(marker_data.done(), 1u);
  EXPECT_TRUE(marker_data_on_top);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  ClearMarkers();
  marker_count = 0;
  markerena = 0;
}

}  // namespace
}  // namespace vna
