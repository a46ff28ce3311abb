// The marker window's first line: the time of the listing printed over the
// stamp the window opened with leaves nothing of the longer stamp beside it.
#include "graph/marker_window.h"
#include "markers_fixture.h"
#include "support/glyphs.h"

namespace vna {
namespace {

using test::MarkerTest;

TEST_F(MarkerTest, TheListingsTimeLeavesNothingOfTheStampBeforeIt) {
  SetMarkers({7.1});
  markers[1].Rs = 25;
  markers[1].SWR = 2.24;
  std::string line;
  test::TextFont font;
  int first_button = 0, bg = 0, missing = -1, left_over = -1, height = 0;
  WhenListed([&] {
    // The last text printed at (20, 3): the listing's date and time.
    for (const auto& p : testhook::Prints())
      if (p.window == marker_win.name && p.x == 20 && p.y == 3) line = p.text;
    const DrawState& d = marker_win.draw;
    font = {d.font_face, d.font_points, d.font_weight};
    int y = 0, w = 0;
    GetCtlRect(marker_win, 3174, first_button, y, w, height);
    bg = ReadPixel(marker_win, 2, 2);
    height = test::LineHeight(font);
    missing = test::MissingInk(marker_win, font, line, 20, 3, Black);
    const int end = 20 + test::Advance(font, line);
    left_over = test::NotColor(marker_win, end, 3, first_button - end, height, bg);
    SavePng(marker_win, "marker_window_head");
    Click(3175);
  });
  MarkerData_A();
  EXPECT_EQ(line, DateText() + "   " + line.substr(line.size() - 8));
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(left_over, 0) << "beside \"" << line << "\"";
}

}  // namespace
}  // namespace vna
