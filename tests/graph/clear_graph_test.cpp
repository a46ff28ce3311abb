// Clearing the graph and shading the amateur bands, on the round plot box
// (60..860 x 40..440) with a span of 0..30 MHz (80/3 pixels per MHz).
#include "graph/clear_graph.h"
#include "graph_fixture.h"

namespace vna {
namespace {

using test::GraphTest;

class ClearGraphTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    RoundBox();
    graph_start = 0;
    graph_end = 30;
    px_per_MHz = 800.0 / 30;
    highlight = 1;
    tdr_mode = 0;
    band_color = Rgb(240, 240, 240);
  }
  static int X(double mhz) { return Rnd(60 + mhz * 800.0 / 30); }
  // Whether a column of the band colour stands at x across the box.
  static bool Shaded(int x) { return Pixel(x, 200) == band_color && Pixel(x, 300) == band_color; }
};

TEST_F(ClearGraphTest, ClearingWipesTheGraphAndForgetsWhatStoodOnIt) {
  highlight = 0;
  FillRect(main_win, 0, 0, 1024, 700, Rgb(1, 2, 3));
  cursor_line_x = 300;
  cursor1_x = 200;
  cursor2_x = 250;
  ruler_drawn = 1;
  alt_colors = 1;
  tdr_show_params = 0;
  tdr_overlay = 4;
  ClearGraph();
  // From (1, 1), the window's width, graph_bottom + one text line + 6 high.
  EXPECT_EQ(Pixel(1, 1), bg_color);
  EXPECT_EQ(Pixel(500, 440 + 13 + 6), bg_color);
  EXPECT_EQ(Pixel(500, 440 + 13 + 6 + 1), Rgb(1, 2, 3));
  EXPECT_EQ(Pixel(0, 100), Rgb(1, 2, 3));
  EXPECT_EQ(Pixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(cursor_line_x, 0);
  EXPECT_EQ(cursor1_x, 0);
  EXPECT_EQ(cursor2_x, 0);
  EXPECT_EQ(ruler_drawn, 0);
  EXPECT_EQ(alt_colors, 0);
  EXPECT_EQ(tdr_show_params, 1);
  EXPECT_EQ(tdr_overlay, 1);
  EXPECT_FALSE(Shaded(X(14.2)));
}

TEST_F(ClearGraphTest, RecycleWithScansLeftKeepsTheLinesAboveTheBox) {
  highlight = 0;
  FillRect(main_win, 0, 0, 1024, 700, Rgb(1, 2, 3));
  recycle_on = 2;
  recycle_count = 3;
  ClearGraph();
  EXPECT_EQ(Pixel(500, 39), Rgb(1, 2, 3));
  EXPECT_EQ(Pixel(500, 40), bg_color);
  // The height stays: the cleared area ends graph_top pixels lower.
  EXPECT_EQ(Pixel(500, 40 + 440 + 13 + 6 - 1), bg_color);
  EXPECT_EQ(Pixel(500, 40 + 440 + 13 + 6), Rgb(1, 2, 3));
}

TEST_F(ClearGraphTest, BandsInTheSpanAreShadedAndLabelled) {
  ClearGraph();
  // 160 m (1.7..2.1), 40 m (6.9..7.4), 20 m (13.9..14.5), 10 m (27.9..29.8).
  for (auto [lo, hi] : {std::pair{1.7, 2.1}, {6.9, 7.4}, {13.9, 14.5}, {27.9, 29.8}}) {
    EXPECT_TRUE(Shaded(X(lo) + 1)) << lo;
    EXPECT_TRUE(Shaded(X(hi) - 1)) << hi;
    EXPECT_FALSE(Shaded(X(hi) + 1)) << hi;
  }
  EXPECT_FALSE(Shaded(X(15)));
  const auto label = PrintOf("20M");
  EXPECT_EQ(label.x, X(13.9));
  EXPECT_EQ(label.y, 40);
  int twice = 0;
  for (const auto& p : Prints())
    if (p.text == "20M") ++twice;
  EXPECT_EQ(twice, 2);  // at the top and at graph_bottom - 15
  for (const char* l : {"160M", "80M", "60M", "40M", "20M", "17M", "15M", "12M", "10M"})
    EXPECT_TRUE(Printed(l)) << l;
  // 30 m is shaded but its middle, 10.1, is not above 10.1.
  EXPECT_TRUE(Shaded(X(10.1)));
  EXPECT_FALSE(Printed("30M"));
  EXPECT_FALSE(Printed("6M"));  // outside the span
}

TEST_F(ClearGraphTest, EdgesClampAndTouchingBandsStayOff) {
  graph_start = 4.1;  // where the 80 m band ends
  graph_end = 7.5;
  band_start[4] = 7.5;  // 40 m moved to start where the graph ends
  band_end[4] = 8;
  band_start[3] = 3.9;  // 60 m moved to start left of the box
  band_end[3] = 6.6;
  px_per_MHz = 800 / (graph_end - graph_start);
  ClearGraph();
  EXPECT_FALSE(Printed("80M"));
  EXPECT_FALSE(Printed("40M"));
  // Drawn from graph_left + 1, labelled there.
  EXPECT_NE(Pixel(60, 200), band_color);
  EXPECT_EQ(Pixel(61, 200), band_color);
  EXPECT_EQ(PrintOf("60M").x, 61);
  EXPECT_EQ(Pixel(Rnd(60 + 2.5 * px_per_MHz) - 1, 200), band_color);
  EXPECT_NE(Pixel(Rnd(60 + 2.5 * px_per_MHz) + 1, 200), band_color);
}

TEST_F(ClearGraphTest, LabelsNeedTheMiddleInTheirRange) {
  band_start[6] = 7.0;  // the 20 m preset moved to 7.0..7.2: shaded, no label
  band_end[6] = 7.2;
  band_start[12] = 147;  // 2 m: middle 148 is not below 148
  band_end[12] = 149;
  graph_start = 0;
  graph_end = 150;
  px_per_MHz = 800.0 / 150;
  ClearGraph();
  EXPECT_EQ(Pixel(Rnd(60 + 7.1 * 800 / 150), 200), band_color);
  EXPECT_FALSE(Printed("20M"));
  EXPECT_FALSE(Printed("2M"));
  testhook::ClearLogs();
  band_start[12] = 143.5;  // middle 146: labelled
  band_end[12] = 148.5;
  ClearGraph();
  EXPECT_TRUE(Printed("2M"));
}

TEST_F(ClearGraphTest, NoBandsInTdrModeOrWithHighlightOff) {
  tdr_mode = 1;
  ClearGraph();
  EXPECT_FALSE(Shaded(X(14.2)));
  tdr_mode = 0;
  highlight = 0;
  ClearGraph();
  EXPECT_FALSE(Shaded(X(14.2)));
  EXPECT_TRUE(Prints().empty());
}

}  // namespace
}  // namespace vna
