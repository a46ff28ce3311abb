// The Vector Scope's face and vectors. The face is centred at (228, 232)
// with the full-scale radius 213; five reference circles including the rim.
#include <cmath>

#include "vscope/vscope_fixture.h"

namespace vna::test {
namespace {

constexpr int kCx = 228, kCy = 232, kR = 213;

class FaceTest : public ScopeTest {};

TEST_F(FaceTest, FullScaleBoxSetsTheScaleAndTheCircleLabels) {
  struct Case {
    const char* typed;
    double full_scale;
    Strings labels;  // of the circles at radius 43, 85, 128, 170
  };
  const Case cases[] = {
      {"1", 1, {" 0.2", " 0.4", " 0.6", " 0.8"}},
      {"0.5", 0.5, {" 0.1", " 0.2", " 0.3", " 0.4"}},
      {"0.2", 0.2, {" 0.04", " 0.08", " 0.12", " 0.16"}},
      {"0.1", 0.1, {" 0.02", " 0.04", " 0.06", " 0.08"}},
      {"5", 5, {" 1.0", " 2.0", " 3.0", " 4.0"}},
      {"2", 2, {" 0.4", " 0.8", " 1.2", " 1.6"}},
      {"3", 1, {" 0.2", " 0.4", " 0.6", " 0.8"}},
      {"0.25", 1, {" 0.2", " 0.4", " 0.6", " 0.8"}},
      {"abc", 1, {" 0.2", " 0.4", " 0.6", " 0.8"}},
      {"", 1, {" 0.2", " 0.4", " 0.6", " 0.8"}},
      {"0.505", 0.5, {" 0.1", " 0.2", " 0.3", " 0.4"}},
      {"0.511", 1, {" 0.2", " 0.4", " 0.6", " 0.8"}},
  };
  InScope([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
      SetCtlText(win_vector_scope, kVsFullScale, c.typed);
      testhook::ClearLogs();
      DrawVectorScope();
      EXPECT_EQ(vscope_full_scale, c.full_scale);
      const int radii[4] = {43, 85, 128, 170};
      for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(PrintsAt("win_vector_scope", kCx - radii[k] - 15, kCy - 10),
                  Strings{c.labels[k]})
            << "circle " << k + 1;
      }
    }
  });
}

TEST_F(FaceTest, CirclesAxesAndLabelsStandWhereTheGeometryPutsThem) {
  InScope([] {
    SetCtlText(win_vector_scope, kVsFullScale, "1");
    testhook::ClearLogs();
    DrawVectorScope();
    const QImage img = Picture(win_vector_scope);
    KeepPng(win_vector_scope, "vector_scope_face");
    // Points of each circle at 30 degrees (off the axes and diagonals).
    auto on_circle = [&](int r, int colour) {
      const double a = M_PI / 6;
      return ColorNear(img, kCx + Rnd(r * std::cos(a)), kCy - Rnd(r * std::sin(a)), colour);
    };
    for (int r : {43, 85, 128, 170}) EXPECT_TRUE(on_circle(r, LightGreen)) << "green circle " << r;
    for (int r : {22, 64, 106, 149, 191})
      EXPECT_TRUE(on_circle(r, light_grey_color)) << "grey circle " << r;
    for (int r : {32, 53, 117, 180}) {
      EXPECT_FALSE(on_circle(r, LightGreen)) << r;
      EXPECT_FALSE(on_circle(r, light_grey_color)) << r;
    }
    EXPECT_TRUE(on_circle(kR + 2, Black)) << "rim";
    EXPECT_EQ(PixelAt(img, kCx + 100, kCy), Black) << "horizontal axis";
    EXPECT_EQ(PixelAt(img, kCx, kCy - 100), Black) << "vertical axis";
    EXPECT_EQ(PixelAt(img, kCx + kR + 10, kCy - 30), PixelAt(img, 990, 590)) << "outside the disc";
    // d = 0.707 x 213 = 151, o = 154.
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx + 154, kCy + 154), Strings{"-45"});
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx + 154, kCy - 170), Strings{"+45"});
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx - 187, kCy + 147), Strings{"-135"});
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx - 189, kCy - 166), Strings{"+135"});
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx + kR + 4, kCy - 8), Strings{"0"});
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx - 10, kCy + kR + 2), Strings{"-90"});
    EXPECT_EQ(PrintsAt("win_vector_scope", kCx - 10, kCy - kR - 20), Strings{"+90"});
  });
}

TEST_F(FaceTest, VectorTipsFollowRatioPhaseAndFullScale) {
  struct Case {
    const char* full_scale;
    double mag2, phase2;  // element 2, element 1 at magnitude 0.5 and phase 0.3
    int x1, y1, x2, y2;   // expected tips
  };
  const double d = M_PI / 2;
  const Case cases[] = {
      // Element 1 runs to the rim for full scales 1 and below, to 43 pixels
      // at 5 and to 106 (106.5 to even) at 2.
      {"1", 0.25, 0.3, kCx + kR, kCy, kCx + 106, kCy},
      {"0.5", 0.05, 0.3 + d, kCx + kR, kCy, kCx, kCy - 43},
      {"0.2", 0.05, 0.3 - d, kCx + kR, kCy, kCx, kCy + 106},
      {"0.1", 0.025, 0.3, kCx + kR, kCy, kCx + 106, kCy},
      {"5", 1.25, 0.3 + d, kCx + 43, kCy, kCx, kCy - 106},
      {"2", 0.5, 0.3 + d, kCx + 106, kCy, kCx, kCy - 106},
      // Twice element 1 at full scale 1 ends on the rim, in its direction.
      {"1", 1.0, 0.3 + d, kCx + kR, kCy, kCx, kCy - kR},
      {"1", 5.0, 0.3 + M_PI, kCx + kR, kCy, kCx - kR, kCy},
  };
  InScope([&] {
    chan_enabled[3] = 0;
    vscope_elements[1].mag = 0.5;
    vscope_elements[1].phase = 0.3;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string("full scale ") + c.full_scale + " element 2 " +
                   std::to_string(c.mag2));
      vscope_elements[2].mag = c.mag2;
      vscope_elements[2].phase = c.phase2;
      SetCtlText(win_vector_scope, kVsFullScale, c.full_scale);
      DrawVectorScope();
      DrawVectors();
      EXPECT_EQ(vscope_elements[1].tip_x, c.x1);
      EXPECT_EQ(vscope_elements[1].tip_y, c.y1);
      EXPECT_EQ(vscope_elements[2].tip_x, c.x2);
      EXPECT_EQ(vscope_elements[2].tip_y, c.y2);
      const QImage img = Picture(win_vector_scope);
      // The tip circles (radius 3) in the elements' colours.
      EXPECT_TRUE(ColorNear(img, c.x2 + 3, c.y2, RedColor));
      EXPECT_TRUE(ColorNear(img, c.x2 - 3, c.y2, RedColor));
      EXPECT_TRUE(ColorNear(img, c.x1, c.y1 - 3, Black));
    }
  });
}

// Fraction of the points of a ray from the centre, at distances from..to,
// whose pixel (offset by dx, dy; or any pixel next to it when `near`) has the
// colour.
double Covered(const QImage& img, double phase, int from, int to, int colour, int dx = 0,
               int dy = 0, bool near = false) {
  int hits = 0;
  for (int t = from; t <= to; ++t) {
    const int x = kCx + Rnd(t * std::cos(phase)) + dx;
    const int y = kCy - Rnd(t * std::sin(phase)) + dy;
    hits += near ? ColorNear(img, x, y, colour) : PixelAt(img, x, y) == colour;
  }
  return static_cast<double>(hits) / (to - from + 1);
}

TEST_F(FaceTest, VectorsInPhaseWithOneDrawnBeforeAreDashedAndDoubled) {
  InScope([] {
    const double a = M_PI / 3;
    vscope_elements[1] = {1, 0, 0, 0, Black, "vector_1", 1};
    vscope_elements[2].mag = 0.9;
    vscope_elements[2].phase = a;
    vscope_elements[3].mag = 0.3;
    vscope_elements[3].phase = a;  // disabled: plays no part
    vscope_elements[4].mag = 0.5;
    vscope_elements[4].phase = a + 0.03;
    vscope_elements[5].mag = 0.7;
    vscope_elements[5].phase = 2;
    chan_enabled[3] = 0;
    chan_enabled[4] = 1;
    chan_enabled[5] = 1;  // never drawn: channel 5 is the independent one
    SetCtlText(win_vector_scope, kVsFullScale, "1");
    vscope_elements[3].tip_x = vscope_elements[5].tip_x = -1;
    DrawVectorScope();
    DrawVectors();
    const QImage img = Picture(win_vector_scope);
    KeepPng(win_vector_scope, "vector_scope_vectors");
    // Element 2 (solid, 2 pixels) beyond element 4's end; element 4 dashed
    // over it, and a second dashed line one pixel right and down.
    EXPECT_EQ(Covered(img, a, 120, 185, RedColor, 0, 0, true), 1);
    const double e4 = Covered(img, a + 0.03, 10, 100, Blue);
    EXPECT_GT(e4, 0.2);
    EXPECT_LT(e4, 0.85);
    EXPECT_GT(Covered(img, a + 0.03, 10, 100, Blue, 1, 1), 0.2);
    EXPECT_EQ(vscope_elements[3].tip_x, -1);
    EXPECT_EQ(vscope_elements[5].tip_x, -1);
    int orange = 0;
    for (int y = kCy - kR; y <= kCy + kR; ++y)
      for (int x = kCx - kR; x <= kCx + kR; ++x) orange += PixelAt(img, x, y) == Orange;
    EXPECT_EQ(orange, 0) << "element 5 drawn";
  });
}

TEST_F(FaceTest, SecondElementInPhaseWithTheFirstStaysVisibleBesideIt) {
  InScope([] {
    vscope_elements[1] = {1, 0.4, 0, 0, Black, "vector_1", 1};
    vscope_elements[2].mag = 0.5;
    vscope_elements[2].phase = 0.4 + 0.02;
    chan_enabled[3] = 0;
    SetCtlText(win_vector_scope, kVsFullScale, "1");
    DrawVectorScope();
    DrawVectors();
    const QImage img = Picture(win_vector_scope);
    // Along the reference (the horizontal axis, black, 2 pixels) element 2
    // shows as red dashes on the axis and one pixel below it.
    const double on = Covered(img, 0.02, 10, 100, RedColor);
    EXPECT_GT(on, 0.2);
    EXPECT_LT(on, 0.85);
    EXPECT_GT(Covered(img, 0.02, 10, 100, RedColor, 1, 1), 0.2);
  });
}

}  // namespace
}  // namespace vna::test
