// The TDR heading on the window's own layout (1024 x 700): whole, and the
// calibration range printed after it on the first line whole too.
#include "support/glyphs.h"
#include "tdr/tdr_fixture.h"

namespace vna::test {
namespace {

class TdrHeadingTest : public TdrTest {};

TEST_F(TdrHeadingTest, TheHeadingStandsUnderTheCalibrationRange) {
  MeasureGraphLayout();  // the box close to the top: 25 above it is the first line
  DXscale = 100;
  tdr_zmax = 200;
  tdr_zo = 50;
  tdr_linear_z = 1;
  cal_start_freq = 0.1;
  cal_end_freq = 1200;
  DrawTDR();
  SavePng("tdr_heading");
  // 25 pixels above the box, unless that is inside the first text line (as
  // high as a line of the base font): then just under it.
  const int line = LineHeight({"arial", font_size, font_weight});
  ASSERT_LT(graph_top - 25, line0_y + line);
  const int y = line0_y + line;
  EXPECT_TRUE(PrintedAt(graph_mid_x - 50, y, "TDR Mode"));
  EXPECT_EQ(MissingInk(main_win, {"arial", font_size + 2, font_weight}, "TDR Mode",
                       graph_mid_x - 50, y, Black),
            0);
  SetDigits(6);
  const std::string range = " Cal Range =" + NumStr(0.1) + ", " + NumStr(1200) + " MHz";
  SetDigits(3);
  EXPECT_EQ(MissingInk(main_win, {"arial", font_size, font_weight}, range, graph_mid_x - 200,
                       line0_y, Green),
            0);
}

}  // namespace
}  // namespace vna::test
