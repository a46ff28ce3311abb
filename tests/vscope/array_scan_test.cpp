// The Array Scan window's frame: plot box 60..840 x 60..540, 48 pixels per
// grid row, labels and ticks from the division count of the calibration's
// range.
#include "vscope/vscope_fixture.h"

namespace vna::test {
namespace {

constexpr int kLeft = 60, kRight = 840, kTop = 60, kBottom = 540;

class ArrayScanTest : public ScopeTest {
 protected:
  static void Calibrated(double start, double end, double step) {
    cal_start_freq = start;
    cal_end_freq = end;
    cal_delta_freq = step;
  }
  static void InArrayScan(std::function<void()> step) {
    WhileOpen(win_array_scan, OpenArrayScan, [step] {
      step();
      Press(win_array_scan, 30505);
    });
  }
};

TEST_F(ArrayScanTest, LabelsTicksAndGridFollowTheDivisions) {
  struct Case {
    double start, end, step;
    int divs;
    Strings labels;   // start, inner labels, end
    int ticks[3];     // x of the inner double ticks (0: none)
  };
  // s = 780 / L; inner label j at 60 + j s - 10; the third tick one pixel
  // further right.
  const Case cases[] = {
      {1, 2001, 0.1, 20, {"1.00", "501.00", "1001.00", "1501.00", "2001.00"}, {255, 450, 646}},
      {1, 37, 0.01, 18, {"1.000", "13.000", "25.000", "37.000"}, {320, 580, 0}},
      {1, 9, 0.0005, 8, {"1.00000", "3.00000", "5.00000", "7.00000", "9.00000"}, {255, 450, 646}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.divs);
    Calibrated(c.start, c.end, c.step);
    testhook::ClearLogs();
    InArrayScan([&] {
      ASSERT_EQ(freq_divs, c.divs);
      const int intervals = static_cast<int>(c.labels.size()) - 1;
      const int s = 780 / intervals;
      EXPECT_EQ(PrintsAt("win_array_scan", kLeft - 15, kBottom + 5), Strings{c.labels.front()});
      for (int j = 1; j < intervals; ++j)
        EXPECT_EQ(PrintsAt("win_array_scan", kLeft + j * s - 10, kBottom + 10),
                  Strings{c.labels[j]});
      EXPECT_EQ(PrintsAt("win_array_scan", kRight - 15, kBottom + 10),
                Strings{c.labels.back()});
      const QImage img = Picture(win_array_scan);
      for (int x : c.ticks) {
        if (x == 0) continue;
        EXPECT_EQ(PixelAt(img, x, kBottom + 5), Black) << x;
        EXPECT_EQ(PixelAt(img, x + 1, kBottom + 5), Black) << x;
        EXPECT_EQ(PixelAt(img, x - 1, kBottom + 5), White) << x;
        EXPECT_EQ(PixelAt(img, x + 2, kBottom + 5), White) << x;
      }
      const int d = 780 / c.divs;
      for (int i = 1; i < c.divs; ++i) {
        EXPECT_EQ(PixelAt(img, kLeft + i * d, kTop + 250), grid_line_color) << "grid " << i;
        EXPECT_EQ(PixelAt(img, kLeft + i * d, kBottom + 2), Black) << "tick " << i;
        EXPECT_EQ(PixelAt(img, kLeft + i * d + 2, kTop + 250), White) << "grid " << i;
      }
      KeepPng(win_array_scan, "array_scan_" + std::to_string(c.divs));
    });
    EXPECT_EQ(start_freq, c.start);
    EXPECT_EQ(delta_freq, c.step);
    EXPECT_FALSE(win_array_scan.IsOpen());
    EXPECT_EQ(arrayscan_shown, 0);
  }
}

TEST_F(ArrayScanTest, ScalesBoxAndPlotFactors) {
  Calibrated(1, 37, 0.1);
  swr_scale = 6;
  zmag_scale = 2;
  InArrayScan([] {
    // Phase -225.0 .. 225.0 from the bottom; magnitude from the first row up;
    // SWR 1 .. swr_scale.
    for (int i = 0; i <= 10; ++i) {
      const int y = kBottom - 48 * i - 10;
      SetDigits(1);
      EXPECT_EQ(PrintsAt("win_array_scan", kRight + 5, y), Strings{ItemsText({(i - 5) * 45.0})});
      EXPECT_EQ(PrintsAt("win_array_scan", kRight - 30, y),
                i == 0 ? Strings{} : Strings{ItemsText({0.2 * i})});
      EXPECT_EQ(PrintsAt("win_array_scan", kLeft - 30, y), Strings{ItemsText({1 + 0.5 * i})});
    }
    EXPECT_EQ(PrintsAt("win_array_scan", kRight + 5, kBottom - 10), Strings{"-225.0"});
    EXPECT_EQ(PrintsAt("win_array_scan", kRight + 5, kTop - 10), Strings{" 225.0"});
    EXPECT_EQ(PrintsAt("win_array_scan", kRight - 30, kTop - 30), Strings{"Mag"});
    EXPECT_EQ(PrintsAt("win_array_scan", kRight + 5, kTop - 30), Strings{"Phase"});
    EXPECT_EQ(PrintsAt("win_array_scan", kLeft - 30, kTop - 30), Strings{"SWR"});
    EXPECT_DOUBLE_EQ(px_per_MHz, 780.0 / 36);
    EXPECT_DOUBLE_EQ(zmag_yscale, 240);
    EXPECT_DOUBLE_EQ(swr_yscale, 96);
    EXPECT_DOUBLE_EQ(phase_yscale, 240.0 / 225);
    EXPECT_EQ(graph_zero_y, 300);
    EXPECT_EQ(graph_clip_top, kTop);
    EXPECT_EQ(graph_clip_bottom, kBottom);
    const QImage img = Picture(win_array_scan);
    // The left edge (2 pixels) lies under the first grid line.
    EXPECT_TRUE(ColorNear(img, kLeft, 310, Black));
    EXPECT_EQ(PixelAt(img, kRight, 310), Black);
    EXPECT_EQ(PixelAt(img, 450, kBottom), Black);
    EXPECT_EQ(PixelAt(img, 450, kTop), grid_line_color) << "no top edge";
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(GetCtlRect(win_array_scan, 30505, x, y, w, h));
    EXPECT_EQ(x, kLeft + 620);
    EXPECT_EQ(y, 615);
    // The switches act on the next scan only.
    Press(win_array_scan, 30508);
    Press(win_array_scan, 30509);
    Press(win_array_scan, 30510);
    Press(win_array_scan, 30502);  // RECYCLE: nothing
    EXPECT_EQ(arr_plot_mag, 0);
    EXPECT_EQ(arr_plot_phase, 1);
    EXPECT_EQ(arr_styles, 1);
    EXPECT_EQ(arr_plot_swr, 0);
  });
  SetDigits(3);
  EXPECT_EQ(end_freq, 37);
}

TEST_F(ArrayScanTest, ScanWithoutAnInstrumentAsksForItOncePerChannel) {
  Calibrated(1, 37, 0.1);
  InScope([] {
    WhileOpen(
        win_array_scan, [] { Press(win_vector_scope, 23498); },
        [] {
          testhook::ClearLogs();
          Press(win_array_scan, 30501);
          EXPECT_EQ(Boxes(""), 3) << MessageLog();
          EXPECT_EQ(testhook::MsgBoxes().back().text, "This function requires the hardware");
          EXPECT_EQ(mux_chan, 0);
          EXPECT_EQ(multichan_scan, 0);
          Press(win_array_scan, 30505);
        });
    EXPECT_FALSE(win_array_scan.IsOpen());
  });
}

TEST_F(ArrayScanTest, AllChannelsNeedTheVectorScope) {
  vna_present = 1;
  ScanAllChannels();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Need Vector Scope");
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "Vector Scope must be open in order to scan all channels.");
}

}  // namespace
}  // namespace vna::test
