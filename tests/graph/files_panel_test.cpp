// The files panel right of the plot box on the window's own layout: a name
// too long for the window is cut to fit keeping its end, and a shorter name
// leaves nothing of the one shown before it.
#include "graph/graph_frame.h"
#include "graph/text_panels.h"
#include "graph_fixture.h"
#include "support/glyphs.h"

namespace vna {
namespace {

using test::GraphTest;

class FilesPanelTest : public GraphTest {
 protected:
  static test::TextFont Font() { return {"arial", font_size, font_weight}; }
  static int Right() {
    int w = 0, h = 0;
    ClientSize(main_win, w, h);
    return w;
  }
  // The line of the calibration file: one line under "FILES:", 5 further in.
  static testhook::PrintRecord CalLine() {
    int tw = 0, h = 0;
    FontTextExtent("arial", font_size + 1, font_weight, "FileName", tw, h);
    for (const auto& p : Prints())
      if (p.x == info_x + 5 && p.y == graph_bottom - 2 * h) return p;
    return {"", 0, 0, "(none)"};
  }
};

TEST_F(FilesPanelTest, ALongNameIsCutToTheWindowKeepingItsEnd) {
  cal_file_name = "antenna feed line at the tower top, calibrated in December 2026.vcal";
  config_file_name = "_VNA_Config_1.cfg";
  DrawGraph();  // the frame draws the panel with it
  SavePng("files_panel_long_name");
  const auto p = CalLine();
  ASSERT_EQ(p.text.substr(0, 3), "...");
  EXPECT_TRUE(p.text.ends_with(" 2026.vcal")) << p.text;
  EXPECT_LE(p.x + test::Advance(Font(), p.text), Right());
  // The shown part is the name's end, whole, in the panel's colour.
  EXPECT_EQ(cal_file_name.substr(cal_file_name.size() - (p.text.size() - 3)), p.text.substr(3));
  EXPECT_EQ(test::MissingInk(main_win, Font(), p.text, p.x, p.y, files_color), 0);

  // A short name next: nothing of the long one stays beside it.
  testhook::ClearLogs();
  cal_file_name = "short.vcal";
  DrawFilesPanel();
  const auto q = CalLine();
  const int end = q.x + test::Advance(Font(), "short.vcal");
  EXPECT_EQ(test::NotColor(main_win, end, q.y, Right() - end, test::LineHeight(Font()), bg_color),
            0);
}

}  // namespace
}  // namespace vna
