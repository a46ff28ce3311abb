// Lines in a window's image, pixel by pixel: the end point left out, wide
// pens as runs across the line, the dash and dot patterns, exclusive-or, and
// lines reaching far beyond the image.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"

namespace vna {
namespace {

Window canvas{"lines_win"};
constexpr int kInk = Rgb(0, 0, 0);

class LinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenWindow(canvas, 0, 0, 200, 100, kWinCaption, "Lines", [] { return 0; });
    FillWindow(canvas, Rgb(255, 255, 255));
  }
  void TearDown() override {
    CloseWindow(canvas);
    PumpEvents();
  }
  // The 16 x 12 corner as text, '#' for ink.
  static std::string Corner() {
    std::string s;
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 16; ++x) s += ReadPixel(canvas, x, y) == kInk ? '#' : '.';
      s += '\n';
    }
    return s;
  }
  static std::string Draw(int width, int style, int x1, int y1, int x2, int y2) {
    FillWindow(canvas, Rgb(255, 255, 255));
    SetPen(canvas, kInk, style, width);
    DrawLine(canvas, x1, y1, x2, y2);
    return Corner();
  }
  // Rows of the corner with ink, as "y:x0-x1" runs.
  static std::vector<std::string> Runs() {
    std::vector<std::string> r;
    for (int y = 0; y < 12; ++y) {
      int start = -1;
      for (int x = 0; x <= 16; ++x) {
        const bool ink = x < 16 && ReadPixel(canvas, x, y) == kInk;
        if (ink && start < 0) start = x;
        if (!ink && start >= 0) {
          r.push_back(std::to_string(y) + ":" + std::to_string(start) + "-" +
                      std::to_string(x - 1));
          start = -1;
        }
      }
    }
    return r;
  }
  using V = std::vector<std::string>;
};

TEST_F(LinesTest, WidthsAndEnds) {
  Draw(1, kPenSolid, 2, 3, 10, 3);  // the end point is left out
  EXPECT_EQ(Runs(), (V{"3:2-9"}));
  Draw(2, kPenSolid, 2, 3, 10, 3);  // two rows: the line's and the one above
  EXPECT_EQ(Runs(), (V{"2:2-9", "3:2-9"}));
  Draw(3, kPenSolid, 2, 3, 10, 3);
  EXPECT_EQ(Runs(), (V{"2:2-9", "3:2-9", "4:2-9"}));
  Draw(2, kPenSolid, 3, 2, 3, 9);  // vertical: columns 2 and 3
  EXPECT_EQ(Runs(), (V{"2:2-3", "3:2-3", "4:2-3", "5:2-3", "6:2-3", "7:2-3", "8:2-3"}));
  Draw(1, kPenSolid, 10, 3, 2, 3);  // drawn backwards: still without its end
  EXPECT_EQ(Runs(), (V{"3:3-10"}));
  Draw(1, kPenSolid, 2, 2, 8, 5);  // halves go toward the start
  EXPECT_EQ(Runs(), (V{"2:2-3", "3:4-5", "4:6-7"}));
  Draw(1, kPenSolid, 3, 2, 3, 2);  // no length: one pixel, one pixel wide only
  EXPECT_EQ(Runs(), (V{"2:3-3"}));
  Draw(2, kPenSolid, 3, 2, 3, 2);
  EXPECT_TRUE(Runs().empty());
}

TEST_F(LinesTest, DashesAndDotsStartAfreshWithEachLine) {
  Draw(1, kPenDash, 0, 1, 15, 1);
  EXPECT_EQ(Runs(), (V{"1:0-3", "1:6-9", "1:12-14"}));
  Draw(1, kPenDot, 0, 1, 15, 1);
  EXPECT_EQ(Runs(), (V{"1:0-0", "1:3-3", "1:6-6", "1:9-9", "1:12-12"}));
  DrawLine(canvas, 0, 4, 2, 4);
  DrawLine(canvas, 2, 4, 4, 4);
  EXPECT_EQ(ReadPixel(canvas, 2, 4), kInk);
}

TEST_F(LinesTest, ExclusiveOrTwiceRestoresEveryPixel) {
  SetFill(canvas, true, Rgb(200, 30, 40));
  DrawRect(canvas, 10, 10, 60, 40);
  auto picture = [] {
    std::vector<int> px;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x) px.push_back(ReadPixel(canvas, x, y));
    return px;
  };
  const auto before = picture();
  SetXorMode(canvas, true);
  for (int width : {1, 2, 3, 8}) {
    for (int style : {kPenSolid, kPenDash, kPenDot}) {
      SetPen(canvas, Rgb(19, 19, 247), style, width);
      for (int pass = 0; pass < 2; ++pass) {
        DrawLine(canvas, 5, 90, 190, 3);
        DrawLine(canvas, 40, 5, 41, 95);
        DrawLine(canvas, 7, 7, 7, 7);
        if (pass == 0) {
          EXPECT_NE(picture(), before) << width << " " << style;
        }
      }
      EXPECT_EQ(picture(), before) << width << " " << style;
    }
  }
  SetXorMode(canvas, false);
}

TEST_F(LinesTest, LinesFarBeyondTheImageAreClippedNotWalked) {
  SetPen(canvas, kInk, kPenSolid, 2);
  DrawLine(canvas, INT_MIN, 50, INT_MAX, 50);
  DrawLine(canvas, 100, INT_MIN, 100, INT_MAX);
  DrawLine(canvas, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(ReadPixel(canvas, 0, 50), kInk);
  EXPECT_EQ(ReadPixel(canvas, 199, 49), kInk);
  EXPECT_EQ(ReadPixel(canvas, 100, 0), kInk);
  EXPECT_EQ(ReadPixel(canvas, 99, 99), kInk);
  EXPECT_EQ(ReadPixel(canvas, 30, 30), kInk);  // the diagonal through the origin
  EXPECT_EQ(canvas.draw.pos_x, INT_MAX);       // the print position still goes to the end
}

TEST_F(LinesTest, LinesBesideTheImageDrawNothing) {
  // Along the image's edge but wholly outside it, across and along their
  // own axis: nothing of them lands in the image.
  auto blank = [] {
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x)
        if (ReadPixel(canvas, x, y) != Rgb(255, 255, 255)) return false;
    return true;
  };
  for (int width : {1, 2, 3}) {
    SetPen(canvas, kInk, kPenSolid, width);
    DrawLine(canvas, -5, 10, -5, 90);     // left of the image
    DrawLine(canvas, 205, 10, 205, 90);   // right of it
    DrawLine(canvas, 10, -5, 190, -5);    // above it
    DrawLine(canvas, 10, 105, 190, 105);  // below it
    EXPECT_TRUE(blank()) << width;
  }
}

}  // namespace
}  // namespace vna
