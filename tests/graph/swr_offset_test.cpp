// The SWR trace's offset of one division survives a main window made very
// small and then large again: the scale reads 1 to 10 as before.
#include "graph_fixture.h"
#include "shell/main_program.h"
#include "support/glyphs.h"

namespace vna {
namespace {

using test::GraphTest;
using test::MissingInk;

class SwrOffsetTest : public GraphTest {};

TEST_F(SwrOffsetTest, AWindowMadeSmallAndLargeAgainKeepsTheOffset) {
  SetProgramVersion();
  vna_present = 0;
  swr_yoffset = 1;  // the SWR trace sits one division up
  // 125 pixels high: a plot box of no height, so a division rounds to 0.
  WinWidth = 1024;
  WinHeight = 125;
  ReopenMainWindow(0);
  EXPECT_LT(graph_bottom - graph_top, 10);
  WinHeight = 700;
  ReopenMainWindow(0);
  bg_color = ReadPixel(main_win, 2, 2);
  SavePng("swr_offset_after_a_small_window");
  ASSERT_GT(grid_units_per_div, 20);
  EXPECT_EQ(swr_yoffset, Rnd(grid_units_per_div));
  // SWR 1 one division above the middle line: its label " 1.0" at 40
  // pixels left of the box, 8 above the division line; 10.0 at the top.
  const test::TextFont font{"Arial", font_size + 1, font_weight};
  const int y1 = Rnd(graph_zero_y - grid_units_per_div);
  EXPECT_EQ(MissingInk(main_win, font, " 1.0", graph_left - 40, y1 - 8, RedColor), 0);
  const int y10 = Rnd(graph_zero_y - 10 * grid_units_per_div);
  EXPECT_EQ(MissingInk(main_win, font, " 10.0", graph_left - 40, y10 - 8, RedColor), 0);
}

}  // namespace
}  // namespace vna
