// Marker lines and the SWR ruler, drawn in exclusive-or over the frame of
// the round plot box (60..860 x 40..440, 1..25 MHz, SWR 1 at y 220 and 20
// pixels per SWR unit): drawn twice they leave the picture as it was, while
// the painted labels stay (the ruler's) or are painted over (the markers').
#include "graph/graph_frame.h"
#include "graph/marker_lines.h"
#include "graph/markers.h"
#include "graph_fixture.h"

namespace vna {
namespace {

using test::GraphTest;

class MarkerLinesTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    RoundBox();
    plot_swrA = 0;  // no ruler from the frame itself
    markerena = 0;
    DrawGraph();
    testhook::ClearLogs();
  }
  static std::vector<int> Picture() {
    std::vector<int> px;
    for (int y = 0; y < 460; ++y)
      for (int x = 0; x < 1000; ++x) px.push_back(Pixel(x, y));
    return px;
  }
  static int Xor(int a, int b) { return a ^ b; }
};

TEST_F(MarkerLinesTest, MarkersDrawnTwiceLeaveTheLinesAsTheyWere) {
  ClearMarkers();
  markers[1].Freq = 13;     // x = 460
  markers[2].Freq = 0.5;    // left of graph_start
  markers[3].Freq = 25.05;  // right of the grid end
  markers[4].Freq = 1;      // exactly on graph_left
  markers[5].Freq = 7;      // x = 260
  markers_drawn = 0;
  const auto before = Picture();
  DrawMarkers();
  EXPECT_EQ(markers_drawn, 1);
  // Dashed lines from graph_top, in RGB(0, 240, 240) exclusive-or what lay
  // there (both markers stand on vertical grid lines).
  EXPECT_EQ(Pixel(460, 41), Xor(grid_line_color, Rgb(0, 240, 240)));
  EXPECT_EQ(Pixel(260, 100), Xor(grid_line_color, Rgb(0, 240, 240)));  // over a grid line
  EXPECT_EQ(Pixel(461, 41), bg_color);
  // Numbers 1 and 5 only, painted red at (x - 7, graph_top + 3).
  ASSERT_EQ(Prints().size(), 2u);
  EXPECT_EQ(Prints()[0].text, " 1");
  EXPECT_EQ(Prints()[0].x, 453);
  EXPECT_EQ(Prints()[0].y, 43);
  EXPECT_EQ(Prints()[1].text, " 5");
  EXPECT_EQ(Prints()[1].x, 253);

  DrawMarkers();
  EXPECT_EQ(markers_drawn, 0);
  const auto after = Picture();
  // Everything but the number cells is as before; the cells are background.
  int differing = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    const int x = static_cast<int>(i % 1000), y = static_cast<int>(i / 1000);
    const bool in_cell = y >= 43 && y < 43 + 14 && ((x >= 453 && x < 470) || (x >= 253 && x < 270));
    if (before[i] != after[i]) {
      ++differing;
      EXPECT_TRUE(in_cell) << x << "," << y;
      EXPECT_EQ(after[i], bg_color) << x << "," << y;
    }
  }
  EXPECT_GT(differing, 0);  // the grid line under the numbers is painted over
  ClearMarkers();
}

TEST_F(MarkerLinesTest, TheFrameDrawsTheMarkersFreshWhenTheyAreOn) {
  ClearMarkers();
  markers[1].Freq = 13;
  markerena = 1;
  markers_drawn = 1;  // whatever the last toggle left
  DrawGraph();
  EXPECT_EQ(markers_drawn, 1);
  EXPECT_EQ(Pixel(460, 41), Xor(grid_line_color, Rgb(0, 240, 240)));
  // Off: no line, and the flag keeps its value.
  markerena = 0;
  markers_drawn = 1;
  DrawGraph();
  EXPECT_EQ(markers_drawn, 1);
  EXPECT_EQ(Pixel(460, 41), grid_line_color);
  ClearMarkers();
}

TEST_F(MarkerLinesTest, TheRulerMovesAndItsLabelStays) {
  SetTextColor(main_win, RedColor);
  const auto before = Picture();
  DrawSWRRuler(2.5);  // y = 240 - 1.5 x 20 - 20
  EXPECT_EQ(ruler_drawn, 1);
  EXPECT_EQ(swr_ruler, 2.5);
  const int dash = Xor(bg_color, RedColor);
  EXPECT_EQ(Pixel(314, 190), dash);  // dashes of 8 every 14 pixels: 312..319, 326..333
  EXPECT_EQ(Pixel(322, 190), bg_color);
  EXPECT_EQ(Pixel(330, 190), dash);
  ASSERT_EQ(Prints().size(), 1u);
  EXPECT_EQ(Prints()[0].text, "2.50");
  EXPECT_EQ(Prints()[0].x, 63);
  EXPECT_EQ(Prints()[0].y, 184);

  // Below 1: the line goes, no new one, the label stays.
  SetTextColor(main_win, Black);
  DrawSWRRuler(0.9);
  EXPECT_EQ(ruler_drawn, 0);
  EXPECT_EQ(swr_ruler, 0.9);
  EXPECT_EQ(Pixel(330, 190), bg_color);
  const auto after = Picture();
  int differing = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    const int x = static_cast<int>(i % 1000), y = static_cast<int>(i / 1000);
    if (before[i] != after[i]) {
      ++differing;
      EXPECT_TRUE(y >= 184 && y < 184 + 12 && x >= 63 && x < 90) << x << "," << y;
    }
  }
  EXPECT_GT(differing, 0);  // the label

  // A later value draws only its own line.
  DrawSWRRuler(3.5);
  EXPECT_EQ(Pixel(330, 170), Xor(bg_color, Black));
  EXPECT_EQ(Pixel(330, 190), bg_color);
}

TEST_F(MarkerLinesTest, OnALogarithmicScaleTenLiesOnTheTopEdge) {
  swr_log = 1;
  swr_scale = 10;
  ComputeGraphFactors();
  EXPECT_EQ(SwrToY(10), 40);
  EXPECT_EQ(SwrToY(1), 240);
  swr_log = 0;
}

}  // namespace
}  // namespace vna
