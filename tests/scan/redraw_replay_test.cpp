// The graph redrawn from a stored Port A scan through the real replay: what
// a redraw keeps from the one before (the replayed points) never shows in
// the picture. A redraw with everything kept draws what a redraw from
// nothing draws, and every input of the redraw changed after a redraw shows
// in the next one exactly as a redraw from nothing shows it.
#include <QImage>

#include <functional>
#include <string>

#include "graph/geometry.h"
#include "graph/redraw.h"
#include "graph/trace_plot.h"
#include "scan/replayed_points.h"
#include "scan_fixture.h"
#include "support/series_rlc_scan.h"

namespace vna {
namespace {

using test::ScanTest;

// "same", or how many pixels differ and where the first and last are.
std::string Compare(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  int count = 0;
  std::string where;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        const std::string at = "(" + std::to_string(x) + "," + std::to_string(y) + ")";
        where = count++ == 0 ? at : where.substr(0, where.find(' ')) + " .. " + at;
      }
  return count == 0 ? "same" : std::to_string(count) + " pixels differ " + where;
}

constexpr int kPoints = 3001;

class RedrawReplayTest : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    test::StoreSeriesRlcScanA(kPoints);
    PortA_cal = 1;
    plot_swrA = plot_rt = plot_zmagA = plot_rsA = plot_ZphaseA = 1;
    // Every trace style: markers over the lines, dashes, the wide pen.
    swrstyle = kStyleCircle;
    zmagstyle = kStyleSquare;
    rtstyle = kStyleShortDash;
    phasestyle = kStyleLongDash;
    xsstyle = kStyleWide;
    zmag_scale = 100;
  }

  // The window's drawing area after a redraw, kept results or not.
  // Each redraw starts alike: a replay toggles the colour set (for a
  // following Rescan), and the readout draws its cursor only where it moved.
  static QImage Redraw(bool from_nothing) {
    if (from_nothing) ForgetReplayedPoints();
    alt_colors = 0;
    cursor_x = 0;
    RedrawGraph();
    int w = 0, h = 0;
    ClientSize(main_win, w, h);
    return main_win.impl->image.copy(0, 0, w, h);
  }
};

TEST_F(RedrawReplayTest, KeptPointsDrawWhatARedrawFromNothingDraws) {
  const QImage fresh = Redraw(true);
  test::SaveMainWindowPng("redraw_replay_fresh");
  EXPECT_EQ(Compare(Redraw(false), fresh), "same");
  // A scales change and back: the same picture as before it.
  zmag_scale = 200;
  const QImage scaled = Redraw(false);
  test::SaveMainWindowPng("redraw_replay_zmag_scale_200");
  EXPECT_NE(Compare(scaled, fresh), "same");
  EXPECT_EQ(Compare(scaled, Redraw(true)), "same");
  zmag_scale = 100;
  EXPECT_EQ(Compare(Redraw(false), fresh), "same");
  // The resonance found in the replay is printed either way.
  EXPECT_NEAR(resonance_freqs[0], 14.2, 0.01);
}

TEST_F(RedrawReplayTest, EveryInputChangedAfterARedrawShowsInTheNext) {
  struct Case {
    std::string name;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"stored_magnitudes",
       [] {
         for (int i = 1200; i < 1800; ++i) readA_zmag[i] *= 1.5;
       }},
      {"stored_phases",
       [] {
         for (int i = 0; i < kPoints; ++i) readA_phase[i] = -readA_phase[i];
       }},
      {"stored_frequencies",
       [] {
         for (int i = 0; i < kPoints; ++i) scanA_freq[i] = 1 + (scanA_freq[i] - 1) * 0.5;
       }},
      {"fewer_points", [] { scanA_npoints = kPoints / 2; }},
      {"zref", [] { Zref = Z0real = 75; }},
      {"z0_imaginary", [] { Z0imag = 5; }},
      {"swr_scale", [] { swr_scale = 5; }},
      {"phase_scale", [] { phase_scale = 45; }},
      {"traces_shown",
       [] {
         plot_rt = 0;
         plot_rsA = 0;
       }},
      {"calibration_end", [] { cal_end_freq = 20; }},
      {"scan_limits", [] { end_freq = 20; }},
      {"window_size",
       [] {
         WinWidth = 900;
         WinHeight = 650;
         ReopenMainWindow(0);
       }},
  };
  const QImage before = Redraw(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();  // the stored scan and the settings of the fixture again
    EXPECT_EQ(Compare(Redraw(false), before), "same");
    c.change();
    const QImage kept = Redraw(false);
    test::SaveMainWindowPng("redraw_replay_changed_" + c.name);
    EXPECT_NE(Compare(kept, before), "same");
    EXPECT_EQ(Compare(kept, Redraw(true)), "same");
    TearDown();
  }
  SetUp();  // for the fixture's own TearDown
}

}  // namespace
}  // namespace vna
