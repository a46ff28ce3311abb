// The number box driven like a person would (type into field 1, press Enter,
// Cancel or the close box), and the two input parsers as tables of cases.
#include <gtest/gtest.h>

#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

class NumberEntryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    testhook::ClearLogs();
    SetDigits(4);
    focus_win = 0;
  }
  void TearDown() override {
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }
  // The box titled with the prompt; the field typed over unless typed is
  // null; then the button pressed (0 = the close box).
  static void Answer(const std::string& prompt, const char* typed, int press) {
    testhook::Answer a;
    a.caption = prompt;
    if (typed) a.texts = {{1, typed}};
    if (press)
      a.press = press;
    else
      a.close_box = true;
    testhook::QueueAnswer(a);
  }
};

TEST_F(NumberEntryTest, AcceptedTextsGiveValueScaleAndText) {
  struct Case {
    const char* typed;
    double value;  // input_value afterwards (7 before)
    double scale;
    const char* text;  // msg_text afterwards
  };
  const Case cases[] = {
      {"2.5k", 2.5, 0.001, "2.5"},
      {"1 KHZ", 1, 0.001, "1 "},
      {"k", 0, 0.001, ""},
      {"100 KHz", 100, 0.001, "100 "},
      {"10 MHz", 10, 1.0, "10 mhz"},
      {"-3.25", -3.25, 1.0, "-3.25"},
      {"abc", 0, 1.0, "abc"},
      {"", 7, 1.0, ""},
      {"  12.5xyz", 12.5, 1.0, "  12.5xyz"},
  };
  for (const Case& c : cases) {
    msg_text = " Start freq (MHz)";
    input_value = 7;
    input_scale = 0.5;
    Answer(" Start freq (MHz)", c.typed, 2);
    InputNumber();
    EXPECT_EQ(dlg_result, 1) << c.typed;
    EXPECT_DOUBLE_EQ(input_value, c.value) << c.typed;
    EXPECT_DOUBLE_EQ(input_scale, c.scale) << c.typed;
    EXPECT_EQ(msg_text, c.text) << c.typed;
    EXPECT_EQ(dlg_text1, c.typed);
    EXPECT_EQ(focus_win, 1);
  }
}

// The field shows a blank and the number text; accepting it unchanged gives
// back the value as read from that text.
TEST_F(NumberEntryTest, UnchangedFieldGivesBackTheShownValue) {
  struct Case {
    double value;
    const char* shown;
    double back;
  };
  const Case cases[] = {{1.0 / 3, "  0.3333", 0.3333},
                        {2, "  2", 2},
                        {2.5, "  2.5000", 2.5},
                        {-0.00004, "  -0.0000", 0}};
  for (const Case& c : cases) {
    msg_text = "Value";
    input_value = c.value;
    Answer("Value", nullptr, 2);
    InputNumber();
    EXPECT_EQ(dlg_result, 1);
    EXPECT_EQ(dlg_text1, c.shown);
    EXPECT_DOUBLE_EQ(input_value, c.back);
  }
}

TEST_F(NumberEntryTest, CancelAndCloseBoxChangeNothing) {
  for (int press : {3, 0}) {
    msg_text = " Zref";
    input_value = 50;
    dlg_text1 = "left over";
    Answer(" Zref", "75", press);
    InputNumber();
    EXPECT_EQ(dlg_result, 2) << press;
    EXPECT_DOUBLE_EQ(input_value, 50);
    EXPECT_DOUBLE_EQ(input_scale, 1.0);
    EXPECT_EQ(msg_text, " Zref");
    EXPECT_EQ(dlg_text1, "");
    EXPECT_EQ(focus_win, 1);
  }
  ASSERT_EQ(testhook::Dialogs().size(), 2u);
  EXPECT_EQ(testhook::Dialogs()[0].title, " Zref");  // the prompt is the title
}

TEST_F(NumberEntryTest, UndefinedBoxShowsNothingAndCountsAsCancel) {
  const bool was = dlg_enter_data.defined;
  dlg_enter_data.defined = false;
  msg_text = "prompt";
  input_value = 3;
  InputNumber();
  dlg_enter_data.defined = was;
  EXPECT_EQ(dlg_result, 0);
  EXPECT_DOUBLE_EQ(input_value, 3);
  EXPECT_EQ(msg_text, "prompt");
  EXPECT_TRUE(testhook::Dialogs().empty());
}

TEST(ParseKSuffixTest, Cases) {
  struct Case {
    const char* in;
    const char* out;
    double scale;
  };
  const Case cases[] = {
      {"10 MHz", "10 mhz", 1.0}, {"2.5K", "2.5", 0.001},   {"", "", 1.0},
      {"kHz", "", 0.001},        {"100KKK", "100", 0.001}, {"1.5e3", "1.5e3", 1.0}};
  for (const Case& c : cases) {
    msg_text = c.in;
    input_scale = 7;
    ParseKSuffix();
    EXPECT_EQ(msg_text, c.out) << c.in;
    EXPECT_DOUBLE_EQ(input_scale, c.scale) << c.in;
  }
}

TEST(ParseComplexZTest, Cases) {
  struct Case {
    const char* in;
    double r, x;
  };
  const Case cases[] = {
      {"50", 50, 0},
      {"50-j25", 50, -25},
      {"50 + j 12.5", 50, 12.5},
      {"   50 - j 10", 50, -10},
      {"50-25j", 50, -25},
      {"50 25", 50, 25},
      {"50 ohms", 50, 0},
      {"-50", -50, 0},
      {"+50-j5", 50, -5},
      {"j25", 25, 0},
      {"", 0, 0},
      {"1.5e3", 1500, 0},
      {"1.5E-1-j2e1", 0.15, -20},
      {"50+j2.5e-3j", 50, 0.0025},
      {"2e+1 -5E1", 20, -50},
      {"50e", 50, 0},        // no exponent without its digits
      {"50-j3 e5", 50, -3},  // nor away from its number
      {"50+j", 50, 0},
      {"50-", 50, 0},
      {"12.5+j-3i", 12.5, -3},
      {"-j5", -5, 0},
      {"75 -j50 extra", 75, -50},
  };
  for (const Case& c : cases) {
    msg_text = c.in;
    input_value = input_imag = 99;
    ParseComplexZ();
    EXPECT_DOUBLE_EQ(input_value, c.r) << '"' << c.in << '"';
    EXPECT_DOUBLE_EQ(input_imag, c.x) << '"' << c.in << '"';
    EXPECT_EQ(msg_text, c.in);
  }
}

}  // namespace
}  // namespace vna
