// Each readout line wipes its own area before it prints, so a shorter value
// never shows the digits of a longer one printed there before, and a value
// too long for the column stays inside the window.
#include "graph/smith_chart.h"
#include "support/stored_scan_plot.h"
#include "readout_fixture.h"
#include "support/glyphs.h"

namespace vna {
namespace {

using test::kCol;
using test::ReadoutTest;
using test::TextFont;
using test::XOf;

class ReadoutLinesTest : public ReadoutTest {
 protected:
  static TextFont Font() { return {"arial", font_size + 1, font_weight}; }
  // Width of a line's ink: its text without the blanks that end it.
  static int InkWidth(const std::string& text) {
    return test::Advance(Font(), text.substr(0, text.find_last_not_of(' ') + 1));
  }
  // The readout lines of the last call, with their positions.
  static std::vector<testhook::PrintRecord> Column() {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == main_win.name && p.x == kCol) out.push_back(p);
    return out;
  }
};

TEST_F(ReadoutLinesTest, AShorterValueLeavesNothingOfTheLongerOneBeforeIt) {
  int right = 0, h = 0;
  ClientSize(main_win, right, h);
  // 6 MHz: 50 ohms with a reactance of 1e-15 ohm, whose parallel
  // reactance |Z|^2 / Xs runs to 19 digits before the point: wider than
  // the column.
  SetPoint(5, 50, 1e-15);
  CursorReadout(XOf(6), 200);
  for (const auto& p : Column()) {
    // Every line, however long its value, ends inside the window.
    EXPECT_LE(p.x + InkWidth(p.text), right) << p.text;
  }
  std::string xp;
  for (const auto& p : Column())
    if (p.text.rfind("Xp = ", 0) == 0) xp = p.text;
  EXPECT_TRUE(xp.starts_with("Xp = 2500000000000") && xp.ends_with("...")) << xp;

  // 3 MHz: Xp -236.870. Right of every line's text its area is wiped.
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  SavePng(main_win, "readout_after_a_longer_value");
  const int height = test::LineHeight(Font());
  const auto lines = Column();
  ASSERT_GE(lines.size(), 14u);
  for (const auto& p : lines) {
    const int end = p.x + InkWidth(p.text);
    EXPECT_EQ(test::NotColor(main_win, end, p.y, right - end, height, bg_color), 0)
        << p.y << ": \"" << p.text << "\"";
  }
}

// Port B mode with the Port A graph's SWR switch on but no SWR trace of its
// own: the SWR the arrays hold is not a reading of this scan (here the
// Port A scan's 134.8), and the column shows none.
TEST_F(ReadoutLinesTest, PortBShowsOnlyAnSwrItsScanRead) {
  PortB_on = 1;
  plot_swrA = 1;
  plot_swrB = 0;
  for (int k = 0; k < test::kPoints; ++k) scanA_swr[k] = 134.8;
  CursorReadout(XOf(3), 200);
  SavePng(main_win, "port_b_readout");
  for (const auto& p : Column()) EXPECT_EQ(p.text.find("SWR"), std::string::npos) << p.text;
  int right = 0, h = 0;
  ClientSize(main_win, right, h);
  // The SWR line's place (15 pixels under "Freq Step") stays empty.
  EXPECT_EQ(test::NotColor(main_win, kCol, 215, right - kCol, test::LineHeight(Font()), bg_color),
            0);
  bool three = false;
  for (const auto& p : Column()) three |= p.text == "Delay Offset =  0.000 ns      ";
  EXPECT_TRUE(three);  // 3 decimals: no SWR line before it

  // With the Port B SWR trace the scan read it beside each point.
  plot_swrB = 1;
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  bool shown = false;
  for (const auto& p : Column()) shown |= p.y == 215 && p.text.starts_with("SWR  = 134.800");
  EXPECT_TRUE(shown);
  PortB_on = 0;
  plot_swrB = 0;
}

// Pictures for a person to look at: the readout over the stored scan drawn
// on the window's own layout, and its dot on the Smith chart of that scan.
TEST_F(ReadoutLinesTest, PicturesOfTheReadoutOverAScanAndOnTheSmithChart) {
  MeasureGraphLayout();
  start_freq = 1;
  end_freq = 11;
  plot_at_zero = 0;
  FillWindow(main_win, bg_color);
  DrawGraph();
  test::PlotStoredScanA(test::kPoints);
  scan_npoints = test::kPoints;
  files_panel_y = graph_bottom - 3 * text_height;

  // The Smith chart of the scan, drawn into its window as a recycled chart
  // is, so the test need not wait in its loop.
  OpenWindow(smith_win, 0, 0, 585, 585, kWinCaption, "", [] { return 0; });
  recycle_on = recycle_count = 1;
  Smith();
  recycle_on = recycle_count = 0;

  const int x = FreqToX(5.5);
  CursorReadout(x, (graph_top + graph_bottom) / 2);
  SavePng(main_win, "main_window_readout");
  SavePng(smith_win, "smith_dot");
  EXPECT_EQ(cursor_freq, graph_start + (x - graph_left) / px_per_MHz);
  EXPECT_EQ(cursor_index, 4);
  // The dot on the chart at the scan point under the cursor, yellow
  // exclusive-or over the chart.
  EXPECT_EQ(smith_dot_x, smith_px[4]);
  EXPECT_NE(ReadPixel(smith_win, smith_px[4], smith_py[4]), -1);
  for (const auto& p : Column()) EXPECT_LE(p.y, files_panel_y - test::LineHeight(Font())) << p.text;
  CloseWindow(smith_win);
  smith_active = 0;
}

}  // namespace
}  // namespace vna
