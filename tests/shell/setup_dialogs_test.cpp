// The setup entries driven like a person would: type into the dialog, press
// its buttons or close it; the values kept, the messages shown, and what
// reaches the instrument simulator.
#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>
#include <cmath>
#include <memory>

#include "files/settings.h"
#include "files/state.h"
#include "graph/info_panel.h"
#include "graph/state.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/menus.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/file_lines.h"
#include "support/shell_fixture.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace vna {
namespace {

using test::AnswerDialog;

class SetupDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    test::OpenShell(0, [] { return 0; });  // no link unless a test starts the simulator
    SetDigits(3);
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(main_win);
    SerialClose(hcom);
    hcom = kInvalidPort;
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  static std::vector<std::string> BoxTexts() {
    std::vector<std::string> t;
    for (const auto& b : testhook::MsgBoxes()) t.push_back(b.text);
    return t;
  }
};

// ---- settling time ----

TEST_F(SetupDialogsTest, SettlingTimeIsRoundedAndKeptWithin1To31) {
  const std::pair<const char*, int> cases[] = {{"0", 1},   {"31.4", 31}, {"31.6", 31},
                                               {"2.5", 2}, {"3.5", 4},   {"-7", 1},
                                               {"5k", 5},  {"abc", 1},   {"12", 12}};
  for (const auto& [typed, ms] : cases) {
    DDSdelay = 9;
    AnswerDialog("DDS Settling Time (msec)", {{1, typed}}, 2);
    EnterDDSdelay();
    EXPECT_EQ(DDSdelay, ms) << typed;
    EXPECT_EQ(focus_win, 1);
  }
  DDSdelay = 9;
  AnswerDialog("DDS Settling Time (msec)", {{1, "20"}}, 3);  // Cancel
  EnterDDSdelay();
  AnswerDialog("DDS Settling Time (msec)", {{1, "20"}}, 0);  // close box
  EnterDDSdelay();
  EXPECT_EQ(DDSdelay, 9);
}

// Tinted while its dialog is up, then shown again by the info panel.
TEST_F(SetupDialogsTest, TheEditedInfoButtonIsTinted) {
  AddControl(main_win, {CtlKind::Button, "Settling Time=", 900, 100, 100, 20, 0, kInfoSettling});
  int text = -1, bg = -1, hover = -1;
  QTimer::singleShot(0, [&] { GetCtlColors(main_win, kInfoSettling, text, bg, hover); });
  AnswerDialog("DDS Settling Time (msec)", {{1, "12"}}, 2);
  EnterDDSdelay();
  EXPECT_EQ(bg, btn_hilite);
  EXPECT_EQ(text, Black);
  GetCtlColors(main_win, kInfoSettling, text, bg, hover);
  EXPECT_EQ(bg, kInfoActiveColor);
  EXPECT_EQ(GetCtlText(main_win, kInfoSettling), "Settling Time= 12 ms  ");
}

// ---- averaging ----

TEST_F(SetupDialogsTest, AveragingCountsStayWithin1To256) {
  struct Case {
    const char* typed;
    int count;
  };
  // Above 256 the count stays 256: the instrument takes anything larger as 1.
  const Case cases[] = {{"-8", 8},    {"0", 1},      {"3", 3},     {"256", 256}, {"300", 256},
                        {"750", 256}, {"1024", 256}, {"16.5", 16}, {"x", 1}};
  for (const Case& c : cases) {
    average = 4;
    shown_average = 7;
    AnswerDialog(" Average value 1..256", {{1, c.typed}}, 2);
    EnterAverage();
    EXPECT_EQ(average, c.count) << c.typed;
    EXPECT_EQ(shown_average, c.count) << c.typed;  // the info panel shows the new count
    EXPECT_EQ(focus_win, 1);
  }
}

TEST_F(SetupDialogsTest, AveragingDialogShowsTheCountAndItsChoices) {
  average = 32;
  std::vector<std::string> choices;
  testhook::Answer enter;  // Enter on the shown text
  enter.caption = " Average value 1..256";
  enter.press = 2;
  enter.act = [&choices] { choices = ComboItems(dlg_average, 1); };
  testhook::QueueAnswer(enter);
  EnterAverage();
  EXPECT_EQ(choices,
            (std::vector<std::string>{"0", "2", "4", "8", "16", "32", "64", "128", "256"}));
  EXPECT_EQ(dlg_text1, " 32");
  EXPECT_EQ(average, 32);
  // A cancel keeps the count (and still sends it, below).
  shown_average = 7;
  AnswerDialog(" Average value 1..256", {{1, "64"}}, 3);
  EnterAverage();
  EXPECT_EQ(average, 32);
  EXPECT_EQ(shown_average, 32);
}

// Against the instrument: the count goes out with "J", 256 as the code 200,
// and a cancel resends the unchanged count.
TEST_F(SetupDialogsTest, AveragingReachesTheInstrument) {
  test::SimRunner sim({"--model", "uhf"});
  commport = sim.ComPort();
  vna_present = 1;
  live_data = 1;
  OpenCommPort();
  ASSERT_NE(hcom, kInvalidPort);
  auto sent_after = [&](const std::string& mark) {
    for (int i = 0; i < 100 && sim.CommandsSince(mark).empty(); ++i) DelayMs(10);
    DelayMs(30);
    return sim.CommandsSince(mark);
  };
  using Bytes = std::vector<std::vector<uint8_t>>;
  sim.Mark("typed 1000");
  AnswerDialog(" Average value 1..256", {{1, "1000"}}, 2);
  EnterAverage();
  EXPECT_EQ(sent_after("typed 1000"), (Bytes{{'J', 200}}));
  EXPECT_EQ(average, 256);
  EXPECT_EQ(adc_scale, 1);
  sim.Mark("cancel");
  AnswerDialog(" Average value 1..256", {{1, "8"}}, 3);
  EnterAverage();
  EXPECT_EQ(sent_after("cancel"), (Bytes{{'J', 200}}));
}

// ---- Zref ----

TEST_F(SetupDialogsTest, ZrefTakesResistanceAndASmallReactance) {
  struct Case {
    const char* typed;
    double r, x;
    bool caution;
  };
  const Case cases[] = {{"75", 75, 0, false},  {"50-j5", 50, -5, false}, {"50+j20", 50, 0, false},
                        {"-75", 75, 0, false}, {"0.5", 50, 0, true},     {"0.5-j3", 50, 0, true},
                        {"", 60, 2, false}};  // an empty entry changes nothing
  for (const Case& c : cases) {
    testhook::ClearLogs();
    Z0real = Zref = 60;
    Z0imag = 2;
    AnswerDialog(" Zref", {{1, c.typed}}, 2);
    EnterZref();
    EXPECT_DOUBLE_EQ(Z0real, c.r) << c.typed;
    EXPECT_DOUBLE_EQ(Zref, c.r) << c.typed;
    EXPECT_DOUBLE_EQ(Z0imag, c.x) << c.typed;
    EXPECT_EQ(focus_win, 1);
    if (c.caution) {
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << c.typed;
      EXPECT_EQ(testhook::MsgBoxes()[0].text,
                "Caution: Zref is less than  1  ohms.\rIt will be set to 50.0 ohm by default.");
      EXPECT_EQ(testhook::MsgBoxes()[0].caption, "");
    } else {
      EXPECT_EQ(testhook::MsgBoxes().size(), 0u) << c.typed;
    }
  }
}

TEST_F(SetupDialogsTest, SmithReferenceFollowsZrefOnlyWhenItWasEqual) {
  Z0real = Zref = 50;
  Z0imag = 0;
  Zsm_real = 50;
  Zsm_imag = 0;
  AnswerDialog(" Zref", {{1, "75"}}, 2);
  EnterZref();
  EXPECT_EQ(Zsm_real, 75);
  EXPECT_EQ(Zsm_imag, 0);
  Zsm_real = 50;
  AnswerDialog(" Zref", {{1, "100-j4"}}, 2);
  EnterZref();
  EXPECT_EQ(Zsm_real, 50);
  EXPECT_EQ(Zsm_imag, 0);
  EXPECT_EQ(Z0imag, -4);
}

TEST_F(SetupDialogsTest, ZrefFieldShowsTheReactanceOnlyWhenItCounts) {
  const std::pair<double, const char*> cases[] = {{-0.0005, "  50"},
                                                  {0.001, "   50 + j 0.001"},
                                                  {10, "   50 + j 10"},
                                                  {-2.5, "   50 - j 2.500"}};
  for (const auto& [x, shown] : cases) {
    Z0real = 50;
    Z0imag = x;
    AnswerDialog(" Zref", {}, 2);  // Enter on the field as shown
    EnterZref();
    EXPECT_EQ(dlg_text1, shown) << x;
  }
}

// The step buttons act at once and stay, even when the dialog is then closed.
TEST_F(SetupDialogsTest, ZrefStepsActAtOnce) {
  Zref = Z0real = 1.5;
  Z0imag = 0;
  AnswerDialog(" Zref", {}, 4);  // + 1
  AnswerDialog(" Zref", {}, 7);  // - 0.1
  AnswerDialog(" Zref", {}, 5);  // - 1
  AnswerDialog(" Zref", {}, 5);  // - 1: not below 1
  AnswerDialog(" Zref", {}, 6);  // + 0.1
  AnswerDialog(" Zref", {}, 0);  // closed
  EnterZref();
  EXPECT_NEAR(Zref, 1.1, 1e-12);
  EXPECT_EQ(Z0real, 1.5);
  AnswerDialog(" Zref", {}, 4);
  AnswerDialog(" Zref", {}, 2);  // Enter: the field now shows the stepped Zref alone
  EnterZref();
  EXPECT_EQ(dlg_text1, NumStr(2.1));
  EXPECT_NEAR(Z0real, 2.1, 1e-12);
}

// ---- recycle depth ----

TEST_F(SetupDialogsTest, RecycleDepthIsStoredAsTyped) {
  const std::pair<const char*, int> cases[] = {{"3", 3}, {"0", 0}, {"-4", -4}, {"2.5", 2}};
  for (const auto& [typed, depth] : cases) {
    AnswerDialog(" Recycle Depth (1..N=Clear screen after N cycles,  [0=Don't clear screen]) ",
                 {{1, typed}}, 2);
    EnterRecycleDepth();
    EXPECT_EQ(Recycle_depth, depth) << typed;
    EXPECT_EQ(recycle_count, Rnd(ParseNumber(typed) + 2)) << typed;
  }
  AnswerDialog(" Recycle Depth (1..N=Clear screen after N cycles,  [0=Don't clear screen]) ",
               {{1, "9"}}, 3);
  EnterRecycleDepth();
  EXPECT_EQ(Recycle_depth, 2);
}

// ---- comm port ----

TEST_F(SetupDialogsTest, CommPortOutsideTheRangeIsRefused) {
  commport = 8;
  for (const char* typed : {"0", "256", "abc"}) {
    testhook::ClearLogs();
    AnswerDialog(" Enter Comm Port", {{1, typed}}, 2);
    EnterCommPort();
    EXPECT_EQ(commport, 8) << typed;
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Comm port must be between 1 and 255"});
  }
  const std::pair<const char*, int> cases[] = {{"3.5", 4}, {"4.5", 4}, {"-3", 3}, {"255", 255}};
  for (const auto& [typed, port] : cases) {
    AnswerDialog(" Enter Comm Port", {{1, typed}}, 2);
    EnterCommPort();
    EXPECT_EQ(commport, port) << typed;
  }
  // The field shows two blanks before the number.
  AnswerDialog(" Enter Comm Port", {}, 2);
  EnterCommPort();
  EXPECT_EQ(dlg_text1, "  255");
  EXPECT_EQ(focus_win, 1);
}

// A new port number reopens the link there and asks the instrument who it is.
TEST_F(SetupDialogsTest, CommPortReopensTheLinkAtTheNewPort) {
  testing::TempDir cwd(true);
  testing::ScopedEnv nothing_at_8("VNA_COM8", "/nonexistent/vna-port");
  test::SimRunner sim({"--model", "uhf"}, 9);
  commport = 8;
  vna_present = 1;
  live_data = 1;
  highbaud = 0;
  OpenCommPort();
  EXPECT_EQ(hcom, kInvalidPort);
  sim.Mark("before");
  AnswerDialog(" Enter Comm Port", {{1, "9"}}, 2);
  EnterCommPort();
  EXPECT_EQ(commport, 9);
  EXPECT_NE(hcom, kInvalidPort);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(vna_status, 0);
  const auto sent = sim.CommandsSince("before");
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], std::vector<uint8_t>{'V'});
}

// Another instrument at the new port (here the other model) is met as a new
// one, as when the program leaves demonstration mode: identified, with its
// own range; the same instrument again is only asked who it is.
TEST_F(SetupDialogsTest, AnotherInstrumentAtTheNewPortIsIdentified) {
  testing::TempDir cwd(true);
  test::SimRunner first({"--model", "uhf"}, 8);
  test::SimRunner second({"--model", "7306"}, 9);
  commport = 8;
  vna_present = 1;
  live_data = 1;
  highbaud = 0;
  cal_file_path = "";
  CheckComm();
  IdentifyInstrument();
  ASSERT_EQ(model_uhf, 1);
  ASSERT_EQ(maximumfreq, 1200);
  const struct {
    const char* port;
    int uhf, single_dds;
    double maximum;
  } steps[] = {{"9", 0, 1, 180}, {"9", 0, 1, 180}, {"8", 1, 0, 1200}};
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string("port ") + s.port);
    AnswerDialog(" Enter Comm Port", {{1, s.port}}, 2);
    EnterCommPort();
    EXPECT_EQ(vna_status, 0);
    EXPECT_EQ(vna_present, 1);
    EXPECT_EQ(model_uhf, s.uhf);
    EXPECT_EQ(model7306, s.single_dds);
    EXPECT_EQ(maximumfreq, s.maximum);
  }
}

// ---- voice and comment ----

TEST_F(SetupDialogsTest, VoiceSwapsOnAndOff) {
  voice = 0;
  ToggleVoice();
  EXPECT_EQ(voice, 1);
  ToggleVoice();
  EXPECT_EQ(voice, 0);
  EXPECT_EQ(focus_win, 1);
}

TEST_F(SetupDialogsTest, CommentSetsTheTitleOfTheCurrentPort) {
  last_comment_A = "earlier A";
  AnswerDialog(" Enter a comment", {{1, "dipole at 3 m"}}, 2);
  EnterComment();
  EXPECT_EQ(PortA_title, "dipole at 3 m");
  EXPECT_EQ(last_comment_A, "dipole at 3 m");
  EXPECT_EQ(msg_text, "dipole at 3 m");
  EXPECT_EQ(focus_win, 1);

  PortB_on = 1;
  last_comment_B = "filter";
  AnswerDialog(" Enter a comment", {}, 2);  // the shown text accepted as it is
  EnterComment();
  EXPECT_EQ(dlg_text1, "filter");
  EXPECT_EQ(PortB_title, "filter");
  EXPECT_EQ(PortA_title, "dipole at 3 m");

  // Closed: no title changes and the shown text comes back.
  PortB_title = "kept";
  AnswerDialog(" Enter a comment", {{1, "not this"}}, 0);
  EnterComment();
  EXPECT_EQ(msg_text, "filter");
  EXPECT_EQ(PortB_title, "kept");
  // An empty entry changes nothing either.
  AnswerDialog(" Enter a comment", {{1, ""}}, 2);
  EnterComment();
  EXPECT_EQ(msg_text, "filter");
  EXPECT_EQ(PortB_title, "kept");
}

TEST_F(SetupDialogsTest, CommentInTdrDisplaySetsTheTdrTitles) {
  testing::TempDir cwd(true);  // the TDR data are saved in the current folder
  tdr_mode = 1;
  tdr_title = "old tdr";
  PortA_title = "A";
  msg_text = "replaced";
  AnswerDialog(" Enter a comment", {}, 0);
  EnterComment();
  EXPECT_EQ(msg_text, "old tdr");
  AnswerDialog(" Enter a comment", {{1, "feed line"}}, 2);
  EnterComment();
  EXPECT_EQ(tdr_title, "feed line");
  EXPECT_EQ(tdr_graph_title, "feed line");
  EXPECT_EQ(file_name, "last_VNATDR_file.tdr");
  EXPECT_EQ(testing::SplitCrLf(cwd.Read("last_VNATDR_file.tdr"))[2], "feed line");
  EXPECT_EQ(PortA_title, "A");
}

// ---- Port B entries ----

TEST_F(SetupDialogsTest, PortEntriesDoNothingInTheOtherMode) {
  PortB_on = 0;
  delay_offset = 1e-9;
  delay_smoothing = 2;
  EnterDelayOffset();
  EnterDelaySmoothing();
  ShowRulers();
  PortB_on = 1;
  EnterSmithRotation();
  EXPECT_TRUE(testhook::Dialogs().empty());
  EXPECT_EQ(delay_offset, 1e-9);
  EXPECT_EQ(delay_smoothing, 2);
}

TEST_F(SetupDialogsTest, DelayOffsetShowsItsUnitAndTakesTheTypedOne) {
  PortB_on = 1;
  const std::pair<double, const char*> shown[] = {{2e-9, " 2 nsec"},
                                                  {-5e-6, " -5000 nsec"},
                                                  {0, " 0 nsec"},
                                                  {2.5e-6, " 2.500 usec"},
                                                  {0.002, " 2 msec"}};
  for (const auto& [offset, text] : shown) {
    SetDigits(3);
    delay_offset = offset;
    AnswerDialog("  Delay time (sec, msec, usec, nsec)", {}, 4);  // Cancel
    EnterDelayOffset();
    EXPECT_EQ(GetCtlText(dlg_delay_time, 1), "");  // closed by now
    EXPECT_EQ(msg_text, text) << offset;
    EXPECT_EQ(delay_offset, offset);
    EXPECT_EQ(number_decimals, 9);
  }
  const std::pair<const char*, double> typed[] = {
      {"1.5 msec", 0.0015}, {"2.5 usec", 2.5e-6}, {"20", 20}, {"7 ns", 7e-9}, {"3 MS", 0.003}};
  for (const auto& [text, seconds] : typed) {
    AnswerDialog("  Delay time (sec, msec, usec, nsec)", {{1, text}}, 2);
    EnterDelayOffset();
    EXPECT_DOUBLE_EQ(delay_offset, seconds) << text;
  }
  // Null the Delay takes out the mean delay of the stored scan and closes:
  // a phase rising 2 pi x 3e-9 x 1e6 radians per MHz over 8 points, 3 ns.
  scanb_ok = 1;
  scanB_npoints = 8;
  for (int k = 0; k < 8; ++k) {
    scanB_freq[k] = 10 + k;
    scanB_phase[k] = 2 * M_PI * 3e-9 * 1e6 * k;
  }
  delay_offset = 1e-9;
  AnswerDialog("  Delay time (sec, msec, usec, nsec)", {{1, "99"}}, 3);
  EnterDelayOffset();
  EXPECT_NEAR(delay_offset, 4e-9, 1e-15);
  EXPECT_EQ(dlg_result, 2);
  scanb_ok = 0;
  scanB_npoints = 0;
}

TEST_F(SetupDialogsTest, DelaySmoothingInSamplesOrPercent) {
  PortB_on = 1;
  const std::string title = "Group Delay Smoothing 0..20 samples  (enter \"%\" for percent)";
  const std::pair<const char*, int> cases[] = {{"5", 5},     {"5%", -5}, {"5p", -5}, {"30", 20},
                                               {"25%", -20}, {"p", 0},   {"-7", 7}};
  for (const auto& [text, value] : cases) {
    delay_smoothing = 2;
    AnswerDialog(title, {{1, text}}, 2);
    EnterDelaySmoothing();
    EXPECT_EQ(delay_smoothing, value) << text;
  }
  delay_smoothing = -5;
  AnswerDialog(title, {{1, ""}}, 2);  // accepted empty: the same size in samples
  EnterDelaySmoothing();
  EXPECT_EQ(delay_smoothing, 5);
  AnswerDialog(title, {{1, "9"}}, 3);
  EnterDelaySmoothing();
  EXPECT_EQ(delay_smoothing, 5);
}

TEST_F(SetupDialogsTest, RulersInDbOrAsARatio) {
  PortB_on = 1;
  ruler_1 = ruler_2 = 0;
  ruler1_on = ruler2_on = 0;
  AnswerDialog(" Enter Rulers", {{5, "-10"}, {6, "-3 dB"}}, 9);
  ShowRulers();
  // Ruler 1 is never below ruler 2 while ruler 2 is on.
  EXPECT_EQ(ruler_1, -3);
  EXPECT_EQ(ruler_2, -10);
  EXPECT_EQ(ruler1_on, 1);
  EXPECT_EQ(ruler2_on, 1);
  EXPECT_EQ(focus_win, 1);

  const std::pair<const char*, double> ratios[] = {
      {"0.5x", -6.0206}, {"2X", 6.0206}, {"-3", -3}, {"-3dbx", -3}, {"4 x 7", 12.0412}};
  for (const auto& [text, db] : ratios) {
    double level = 99;
    ASSERT_TRUE(ParseRulerLevel(text, level)) << text;
    EXPECT_NEAR(level, db, 1e-4) << text;
  }
  double level = 7;
  EXPECT_FALSE(ParseRulerLevel("0x", level));  // no level in dB: nothing is taken
  EXPECT_EQ(level, 7);
}

TEST_F(SetupDialogsTest, RulerBoxesActAtOnceAndOnlyASizeChangeSwitchesOn) {
  PortB_on = 1;
  ruler_1 = -3;
  ruler_2 = -10;
  ruler1_on = 0;
  ruler2_on = 3;                                                  // shown as 1
  AnswerDialog(" Enter Rulers", {}, 0, {{7, true}, {8, false}});  // then closed
  ShowRulers();
  EXPECT_EQ(ruler1_on, 1);
  EXPECT_EQ(ruler2_on, 0);
  // The same levels again, or a change of sign only, switch nothing on.
  ruler1_on = 0;
  AnswerDialog(" Enter Rulers", {{5, "3"}, {6, "-10"}}, 9);
  ShowRulers();
  EXPECT_EQ(ruler1_on, 0);
  EXPECT_EQ(ruler2_on, 0);
  EXPECT_EQ(ruler_1, 3);
  AnswerDialog(" Enter Rulers", {{5, "0x"}, {6, "-20"}}, 9);
  ShowRulers();
  EXPECT_EQ(ruler_1, 3);  // a ratio of 0 is not taken
  EXPECT_EQ(ruler_2, -20);
  EXPECT_EQ(ruler2_on, 1);
}

// The rotation is asked, then the second chart is drawn until it is closed;
// a chart that cannot open must not keep the entry busy for ever.
TEST_F(SetupDialogsTest, SmithRotationEndsWhenTheChartDoesNotOpen) {
  smith_rotation = 0;
  smith2_closed = 0;
  {
    test::Watchdog guard(std::chrono::seconds(20), "EnterSmithRotation");
    AnswerDialog("Rotate Smith Chart (+/-degrees)", {{1, "-45"}}, 2);
    EnterSmithRotation();
  }
  EXPECT_EQ(smith_rotation, -45);
  EXPECT_EQ(focus_win, 1);
  AnswerDialog("Rotate Smith Chart (+/-degrees)", {{1, ""}}, 2);  // empty: the angle stays
  EnterSmithRotation();
  EXPECT_EQ(smith_rotation, -45);
}

}  // namespace
}  // namespace vna
