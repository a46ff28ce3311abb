#include <gtest/gtest.h>

#include <cmath>

#include "shell/complex.h"

namespace vna {
namespace {

using Op = void (*)(Complex&, const Complex&, const Complex&);

struct OpCase {
  const char* name;
  Op op;
  Complex a, b, expected;
};

const OpCase kCases[] = {
    {"add", CAdd, {1, 2}, {3, -5}, {4, -3}},
    {"sub", CSub, {1, 2}, {3, -5}, {-2, 7}},
    {"mul", CMul, {1, 2}, {3, 4}, {-5, 10}},
    {"mul by j", CMul, {50, 0}, {0, 1}, {0, 50}},
    {"div", CDiv, {1, 0}, {0, 1}, {0, -1}},
    {"div", CDiv, {-5, 10}, {3, 4}, {1, 2}},
    {"div real", CDiv, {75, 25}, {2, 0}, {37.5, 12.5}},
};

TEST(Complex, Operations) {
  for (const OpCase& c : kCases) {
    Complex out{99, 99};
    c.op(out, c.a, c.b);
    EXPECT_DOUBLE_EQ(out.r, c.expected.r) << c.name;
    EXPECT_DOUBLE_EQ(out.i, c.expected.i) << c.name;
  }
}

TEST(Complex, ResultMayBeEitherOperandOrBoth) {
  for (const OpCase& c : kCases) {
    Complex a = c.a;
    c.op(a, a, c.b);  // out is a
    EXPECT_DOUBLE_EQ(a.r, c.expected.r) << c.name << " out=a";
    EXPECT_DOUBLE_EQ(a.i, c.expected.i) << c.name << " out=a";
    Complex b = c.b;
    c.op(b, c.a, b);  // out is b
    EXPECT_DOUBLE_EQ(b.r, c.expected.r) << c.name << " out=b";
    EXPECT_DOUBLE_EQ(b.i, c.expected.i) << c.name << " out=b";
  }
  Complex z{1, 2};
  CMul(z, z, z);  // (1+2j)^2
  EXPECT_DOUBLE_EQ(z.r, -3);
  EXPECT_DOUBLE_EQ(z.i, 4);
  Complex w{3, -4};
  CDiv(w, w, w);
  EXPECT_DOUBLE_EQ(w.r, 1);
  EXPECT_DOUBLE_EQ(w.i, 0);
}

TEST(Complex, DivisionByZeroGivesNotANumberWithoutError) {
  for (Complex a : {Complex{1, 1}, Complex{0, 0}, Complex{-3, 0}}) {
    Complex out;
    CDiv(out, a, Complex{0, 0});
    EXPECT_TRUE(std::isnan(out.r));
    EXPECT_TRUE(std::isnan(out.i));
  }
}

}  // namespace
}  // namespace vna
