// Number and text conventions: these are fixed byte for byte, because files
// written by one version are read by another and by other programs.
#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>
#include <regex>

#include "platform/clock.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct NumCase {
  double x;
  int decimals;
  const char* text;
};

TEST(NumStr, WholeValuesHaveNoPointOtherValuesExactlyTheDecimals) {
  const NumCase cases[] = {
      {4.0, 0, " 4"},
      {4.0, 4, " 4"},
      {4.0, 40, " 4"},
      {4.00001, 4, " 4.0000"},  // not whole, so the decimals are written
      {-0.5, 2, " -0.50"},
      {1200, 3, " 1200"},
      {3e9, 4, " 3000000000"},
      {-12.0, 4, " -12"},
      {0.0, 4, " 0"},
      {-0.0, 4, " 0"},
      {2.5, 4, " 2.5000"},
      {-0.00004, 4, " -0.0000"},
      {123456.78912, 4, " 123456.7891"},
      {9.99996, 4, " 10.0000"},
      {1e-7, 4, " 0.0000"},
      {0.1, 0, " 0"},
      {1e20, 2, " 100000000000000000000.00"},  // whole but beyond 64 bits
      {-9223372036854775808.0, 2, " -9223372036854775808"},
      {kNaN, 4, " 0"},
      {kInf, 4, " inf"},
      {-kInf, 4, " -inf"},
  };
  for (const NumCase& c : cases) {
    number_decimals = c.decimals;
    EXPECT_EQ(NumStr(c.x), c.text) << c.x << " with " << c.decimals << " decimals";
  }
}

TEST(NumStr, IntegersAreWrittenAsTheirWholeValue) {
  number_decimals = 4;
  EXPECT_EQ(NumStr(5), " 5");
  EXPECT_EQ(NumStr(-2147483647 - 1), " -2147483648");
}

TEST(SetDigits, StoresAtMostFortyAndNoNegative) {
  SetDigits(50);
  EXPECT_EQ(number_decimals, 40);
  EXPECT_EQ(NumStr(0.5), " 0.5" + std::string(39, '0'));
  SetDigits(-3);
  EXPECT_EQ(number_decimals, 0);
  SetDigits(3);
  EXPECT_EQ(number_decimals, 3);
}

struct PatternCase {
  const char* pattern;
  TextItems values;
  const char* text;
};

TEST(FormatUsing, FieldsLiteralsAndValues) {
  const PatternCase cases[] = {
      {"####.###", {12345.6789}, "12345.679"},  // a long integer part is never cut
      {"#.####", {-0.25}, "-0.2500"},
      {"####", {7}, "   7"},
      {"###.##", {3.14159}, "  3.14"},
      {"###.##", {-3.14159}, " -3.14"},
      {"###.##", {1234.5}, "1234.50"},
      {"#####", {42}, "   42"},
      {"#.0", {25.3}, "25"},  // "0" is no decimal place: no point at all
      {"#.0", {5}, "5"},
      {"#.0", {-0.4}, "-0"},
      {"#0##.##", {3.14159}, "003.14"},   // "0" pads with zeros ...
      {"#0##.##", {-3.14159}, "0-3.14"},  // ... in front of the sign too
      {"###", {2.5}, "  2"},              // integer fields round halves to even
      {"###", {3.5}, "  4"},
      {"###", {-2.5}, " -2"},
      {"###.##  ##.##j", {1.5, -2.25}, "  1.50  -2.25j"},
      {"Freq = ####.### MHz", {14.2}, "Freq =   14.200 MHz"},
      {"####.###              ", {1.0}, "   1.000              "},
      {"Step ##.", {5}, "Step  5."},  // a full stop after a field stays literal
      {"&=##", {"x", 3}, "x= 3"},
      {"[&]", {"a b "}, "[a b ]"},
      {"&", {2.5}, " 2.5000"},  // a number for a text takes its usual text
      {"## ##", {1}, " 1 ##"},  // a field without a value stays as written
      {"no fields", {1, 2}, "no fields"},
      {"##.#", {"7.25"}, " 7.2"},  // a text is parsed; an exact tie rounds to even
  };
  number_decimals = 4;
  for (const PatternCase& c : cases) {
    EXPECT_EQ(FormatUsing(c.pattern, c.values), c.text) << c.pattern;
  }
}

TEST(PrintItems, JoinsTextIntegersAndDoublesByTheirOwnRules) {
  number_decimals = 4;
  struct Case {
    TextItems items;
    const char* text;
  };
  const Case cases[] = {
      {{"a", 5, "|"}, "a5 |"},
      {{5.0}, " 5.0000"},  // whole, yet written with the decimals
      {{-5.0}, "-5.0000"},
      {{-0.0}, " 0.0000"},
      {{-3}, "-3 "},
      {{"Could not open ", "\\\\.\\COM8", "    hcom= ", -1, std::string(3, ' ')},
       "Could not open \\\\.\\COM8    hcom= -1    "},
      {{"line\n"}, "line"},
      {{"line\r\n"}, "line"},
      {{"two\n\n"}, "two\n"},  // only one line end is dropped
      {{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ItemsText(c.items), c.text);
  number_decimals = 2;
  EXPECT_EQ(ItemsText({0.125, 1.0}), " 0.12 1.00");
}

TEST(PrintItems, DrawsOneTextAndContinuesTheLine) {
  testhook::ClearLogs();
  Window win("print_test_win");
  OpenWindow(win, 0, 0, 300, 100, kWinCaption, "", [] { return 0; });  // a closed one draws nothing
  MoveTo(win, 20, 10);
  number_decimals = 3;
  PrintItems(win, {"f=", 1.5, " n=", 7, "\r\n"});
  const int end_x = win.draw.pos_x;
  EXPECT_GT(end_x, 20);
  EXPECT_EQ(win.draw.pos_y, 10);  // no line feed
  PrintItems(win, {"more"});
  ASSERT_EQ(testhook::Prints().size(), 2u);
  EXPECT_EQ(testhook::Prints()[0].text, "f= 1.500 n=7 ");
  EXPECT_EQ(testhook::Prints()[0].x, 20);
  EXPECT_EQ(testhook::Prints()[1].text, "more");
  EXPECT_EQ(testhook::Prints()[1].x, end_x);
  CloseWindow(win);
}

TEST(ParseNumber, DigitsPointMinusAndExponent) {
  const std::pair<const char*, double> cases[] = {
      {" \t-12.50xyz", -12.5},
      {"1.2.3", 1.2},
      {"+5", 0},
      {"1e6", 1e6},
      {"1.5E-3", 0.0015},
      {"-2.5e+2x", -250},
      {".5e1", 5},
      {"5.e1", 50},
      {"2e", 2},  // no digit after the "e": no exponent
      {"2e-", 2},
      {"2e+x", 2},
      {"7 e5", 7},  // an exponent follows the mantissa directly
      {"e5", 0},    // nor is there one without a mantissa
      {"-.e5", 0},
      {"1e-400", 0},  // below the smallest double
      {"0.0000000000000000000001e+325", 1e303},
      {"1.5E3E2", 1500},
      {"1,5", 1},
      {".5", 0.5},
      {"-", 0},
      {"", 0},
      {"12abc", 12},
      {"-.5", -0.5},
      {"  7.25 ", 7.25},
      {"abc", 0},
      {"0.001", 0.001},
      {"- 5", 0},
      {"0012", 12},
      {"3000000000", 3e9},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(ParseNumber(text), value) << text;
  EXPECT_FALSE(std::signbit(ParseNumber("-0")));
  EXPECT_FALSE(std::signbit(ParseNumber("-1e-400")));
  // Beyond the range of a double: infinite, never the mantissa alone.
  EXPECT_EQ(ParseNumber("1e308"), 1e308);
  EXPECT_EQ(ParseNumber("1e309"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseNumber("-7.8e99999999999999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseNumber("123456e-99999999999999"), 0);
}

// A number with an exponent is the double nearest to it, as another
// program meant it; without one the digits add up as they always did, so
// the program's own files read exactly as before.
TEST(ParseNumber, AnExponentGivesTheNearestDouble) {
  EXPECT_EQ(ParseNumber("0.3e0"), 0.3);
  EXPECT_EQ(ParseNumber("3E-1"), 0.3);
  EXPECT_EQ(ParseNumber("0.3"), 3 * (1 / 10.0));
  EXPECT_EQ(ParseNumber("14.1"), 14 + 1 * (1 / 10.0));
}

TEST(ParseNumber, ReadsBackWhatNumStrWrote) {
  number_decimals = 4;
  for (double x : {0.0, 1.0, -1.5, 3.14159, 1200.0, -0.0625, 1e9 + 0.5}) {
    double back = ParseNumber(NumStr(x));
    EXPECT_NEAR(back, x, 5e-5) << x;
  }
}

TEST(HexText, UpperCaseWithoutLeadingZeros) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0"},
      {255, "FF"},
      {0x1a2b, "1A2B"},
      {1023, "3FF"},
      {4294967295LL, "FFFFFFFF"},
      {0x123456789ALL, "123456789A"},
      {-1, "FFFFFFFF"},
  };
  for (const auto& [v, text] : cases) EXPECT_EQ(HexText(v), text) << v;
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int> cases[] = {
      {2.5, 2},
      {3.5, 4},
      {-2.5, -2},
      {-3.5, -4},
      {0.5, 0},
      {1.5, 2},
      {2.4999, 2},
      {2.5000001, 3},
      {-0.4, 0},
      {7.0, 7},
      {kNaN, 0},
      {1e12, std::numeric_limits<int>::max()},
      {-1e12, std::numeric_limits<int>::min()},
  };
  for (const auto& [x, n] : cases) EXPECT_EQ(Rnd(x), n) << x;
  EXPECT_EQ(Rnd64(5e9 + 0.5), 5000000000LL);
  EXPECT_EQ(Rnd64(5e9 + 1.5), 5000000002LL);
}

TEST(Rounding, RoundDownTakesTheLargestIntegerNotAbove) {
  const std::pair<double, int> cases[] = {{2.9, 2}, {-2.1, -3}, {-2.0, -2}, {0.0, 0}, {kNaN, 0}};
  for (const auto& [x, n] : cases) EXPECT_EQ(RndDown(x), n) << x;
}

TEST(DateAndTime, FixedFormats) {
  const LocalTime before = NowLocal();
  const std::string date = DateText();
  const std::string time = TimeText();
  EXPECT_TRUE(std::regex_match(date, std::regex(R"(\d\d-\d\d-\d\d\d\d)"))) << date;
  EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d\d:\d\d:\d\d)"))) << time;
  EXPECT_EQ(std::stoi(date.substr(0, 2)), before.month);
  EXPECT_EQ(std::stoi(date.substr(6)), before.year);
  EXPECT_LT(std::stoi(time.substr(0, 2)), 24);
}

TEST(DateAndTime, PicturesFollowTheLocale) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(DatePictureText("yyMMdd", 2025, 3, 7), "250307");
  EXPECT_EQ(DatePictureText("MMM d',' yyyy", 2025, 3, 7), "Mar 7, 2025");
  EXPECT_EQ(DatePictureText("MMM d',' yyyy", 2024, 12, 25), "Dec 25, 2024");
  const LocalTime now = NowLocal();
  EXPECT_EQ(DateText("yyMMdd"), DatePictureText("yyMMdd", now.year, now.month, now.day));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(DatePictureText("MMM d',' yyyy", 2025, 3, 7), "M\xC3\xA4rz 7, 2025");
}

}  // namespace
}  // namespace vna
