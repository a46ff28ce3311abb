// The axis titles above and beside the plot box on the window's own layout
// (1024 x 700): every letter where the frame puts it, whole, and nothing of
// a title lost to the window's edge or to the text drawn next to it.
#include "graph/graph_frame.h"
#include "graph_fixture.h"
#include "support/glyphs.h"

namespace vna {
namespace {

using test::GraphTest;
using test::MissingInk;
using test::TextFont;

class TitlesTest : public GraphTest {
 protected:
  static TextFont TitleFont(int weight) { return {"Arial", font_size + 1, weight}; }
};

TEST_F(TitlesTest, EveryLetterOfTheReturnLossTitleStandsAtItsOwnOffset) {
  plot_rt = 1;
  DrawGraph();
  SavePng("return_loss_title");
  // LOSS downwards, one letter every 15 pixels from 10 below the middle
  // line, then "(dB)"; a title left of the window's edge would be cut, so it
  // keeps to the window.
  struct Letter {
    std::string text;
    int x, y;
  };
  const int x = graph_left - 35, z = graph_zero_y;
  const Letter letters[] = {{"L", x, z + 10},
                            {"O", x, z + 25},
                            {"S", x, z + 40},
                            {"S", x, z + 55},
                            {"(dB)", std::max(graph_left - 45, 1), z + 70}};
  std::vector<testhook::PrintRecord> printed;
  for (const auto& p : Prints())
    if (p.color == Blue && (p.text == "L" || p.text == "O" || p.text == "S" || p.text == "(dB)"))
      printed.push_back(p);
  ASSERT_EQ(printed.size(), 5u);
  for (size_t k = 0; k < 5; ++k) {
    const Letter& l = letters[k];
    EXPECT_EQ(printed[k].text, l.text) << k;
    EXPECT_EQ(printed[k].x, l.x) << l.text << " " << k;
    EXPECT_EQ(printed[k].y, l.y) << l.text << " " << k;
    // The letter's pixels, all of them, in the title's colour.
    EXPECT_EQ(MissingInk(main_win, TitleFont(600), l.text, l.x, l.y, Blue), 0)
        << l.text << " " << k;
  }
}

TEST_F(TitlesTest, TheTitlesAboveTheBoxStayWhole) {
  DrawGraph();
  SavePng("titles_above_the_box");
  // "Rs," and "Xs" one pixel above the first text line, which is the
  // window's top row here; "Zmag" on the second line, two pixels up.
  // Bold, as the return-loss title before them left the font.
  const TextFont font = TitleFont(600);
  const int x = graph_right - 45, top = std::max(line0_y - 1, 0);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(MissingInk(main_win, font, "Rs,", x, top, Orange), 0);
  EXPECT_EQ(MissingInk(main_win, font, "Xs", x + test::Advance(font, "Rs,"), top, Yellow), 0);
  EXPECT_EQ(MissingInk(main_win, font, "Zmag", x, line1_y - 2, Green), 0);

  // Port B: the group delay's two lines likewise.
  PortB_on = 1;
  plot_delay = 1;
  DrawGraph();
  EXPECT_EQ(MissingInk(main_win, font, "Group", x, std::max(line0_y - 2, 0), Orange), 0);
  EXPECT_EQ(MissingInk(main_win, font, "Delay", x, line1_y - 4, Orange), 0);
  PortB_on = 0;
  plot_delay = 0;
}

}  // namespace
}  // namespace vna
