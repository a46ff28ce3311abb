// The Graph Scales and TDR Scales dialogs: what each typed text becomes.
#include "graph_settings/settings_fixture.h"

#include "graph/scales_dialogs.h"
#include "tools/tdr.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kGraphScales = " Graph  Scales";

// Scales that every box of the dialog can show and read back.
void KnownScales() {
  swr_scale = 3;
  swr_log = 0;
  zmag_scale = 500;
  phase_scale = 180;
  array_phase_scale = 180;
  rtloss_scale = 40;
  Q_scale = 100;
  s21gain_scale = 5;
  s21phase_scale = 180;
  Zero_Ref = 2;
  delay_scale = 1000;
}

// Types `text` into one box and presses Enter.
void EnterScale(int box, const std::string& text) {
  AnswerDialog(kGraphScales, {{box, text}}, 7);
  GraphScales();
}

TEST_F(SettingsTest, GraphScalesTextsBecomeSettings) {
  struct Case {
    int box;
    std::string text;
    double* setting;
    double expected;
  };
  const Case cases[] = {
      {1, "5 Log", &swr_scale, 5},
      {1, "3", &swr_scale, 3},
      {1, "------- ", &swr_scale, 11},
      {1, "0.5", &swr_scale, 1.1},
      {1, "500", &swr_scale, 101},
      {2, "75", &zmag_scale, 75},
      {3, "0", &phase_scale, 1},
      {3, "300", &phase_scale, 225},
      {3, "225.5", &phase_scale, 225.5},
      {12, "0.2", &rtloss_scale, 1},
      {12, "95", &rtloss_scale, 80},
      {14, "800", &Q_scale, 500},
      {15, "4", &s21gain_scale, 3},
      {15, "0.01", &s21gain_scale, 0.05},
      {15, "25", &s21gain_scale, 10},
      {15, " 2     ( 36)", &s21gain_scale, 2},
      {15, "0.5 dB", &s21gain_scale, 0.5},
      {25, "0", &s21phase_scale, 200},
      {25, "-90", &s21phase_scale, 90},
      {21, " 5 us", &delay_scale, 5000},
      {21, " 1 ms", &delay_scale, 1000000},
      {21, "250", &delay_scale, 250},
      {21, " 50 ns", &delay_scale, 50},
  };
  for (const Case& c : cases) {
    KnownScales();
    EnterScale(c.box, c.text);
    EXPECT_DOUBLE_EQ(*c.setting, c.expected) << "box " << c.box << " text \"" << c.text << "\"";
  }
}

TEST_F(SettingsTest, GraphScalesLogSwrAndPhaseOfTheArrayScan) {
  KnownScales();
  EnterScale(1, "5 Log");
  EXPECT_EQ(swr_log, 1);
  EnterScale(1, "3");
  EXPECT_EQ(swr_log, 0);
  // An empty SWR box keeps the scale but switches the log scale off.
  swr_log = 1;
  EnterScale(1, "");
  EXPECT_EQ(swr_scale, 3);
  EXPECT_EQ(swr_log, 0);

  // The impedance phase sets the array scan's phase scale too, and the S21
  // phase wins when both are entered.
  AnswerDialog(kGraphScales, {{3, "90"}, {25, "45"}}, 7);
  GraphScales();
  EXPECT_EQ(phase_scale, 90);
  EXPECT_EQ(s21phase_scale, 45);
  EXPECT_EQ(array_phase_scale, 45);
}

TEST_F(SettingsTest, GraphScalesOffsetIsCountedInDivisionsOfTheNewStep) {
  struct Case {
    std::string step, offset;
    int zero_ref;
  };
  const Case cases[] = {
      {"6", "-12", -2}, {"5", "10", 2}, {"5", "12", 3}, {"1", "0", 0}, {"3", "-5", -1},
  };
  for (const Case& c : cases) {
    KnownScales();
    AnswerDialog(kGraphScales, {{15, c.step}, {26, c.offset}}, 7);
    GraphScales();
    EXPECT_EQ(Zero_Ref, c.zero_ref) << c.offset << " dB at " << c.step << " dB/div";
  }
}

TEST_F(SettingsTest, GraphScalesListsToolTipsAndOpeningTexts) {
  KnownScales();
  Zero_Ref = 2;
  delay_scale = 5000;
  Strings list15, list21, list1;
  std::string delay_text, swr_text;
  std::string tip18, tip19, tip27, tip28;
  testhook::Answer a;
  a.caption = kGraphScales;
  a.press = 20;
  a.act = [&] {
    list1 = ComboItems(dlg_graph_scales, 1);
    list15 = ComboItems(dlg_graph_scales, 15);
    list21 = ComboItems(dlg_graph_scales, 21);
    delay_text = GetCtlText(dlg_graph_scales, 21);
    swr_text = GetCtlText(dlg_graph_scales, 1);
    tip18 = GetToolTip(dlg_graph_scales, 18);
    tip19 = GetToolTip(dlg_graph_scales, 19);
    tip27 = GetToolTip(dlg_graph_scales, 27);
    tip28 = GetToolTip(dlg_graph_scales, 28);
  };
  testhook::QueueAnswer(a);
  GraphScales();
  EXPECT_EQ(list15, (Strings{" 0.2   ( 3.6)", " 0.5   ( 9)", " 1     ( 18)", " 2     ( 36)",
                             " 3     ( 54)", " 5     ( 90)", " 6     ( 108)"}));
  EXPECT_EQ(list1.size(), 16u);
  EXPECT_EQ(list1[9], "------- ");
  EXPECT_EQ(list21.front(), " 1 ns");
  EXPECT_EQ(list21.back(), " 10 ms");
  EXPECT_EQ(delay_text, " 5us");
  EXPECT_EQ(swr_text, " 3");
  EXPECT_EQ(tip18, "S21 mag. dB/div");
  EXPECT_EQ(tip19, "Rate of change of phase with respect to frequency.");
  EXPECT_EQ(tip27, "S21 (dB) value at top line of graph.");
  EXPECT_EQ(tip28, "Phase shift between Ports A and B. Wraps around at 180 deg.");

  // Below a microsecond the delay opens in nanoseconds.
  delay_scale = 500;
  a.act = [&] { delay_text = GetCtlText(dlg_graph_scales, 21); };
  testhook::QueueAnswer(a);
  GraphScales();
  EXPECT_EQ(delay_text, " 500 ns");
}

// Enter on the dialog as it opens gives back every scale in force, also
// those with fractions.
TEST_F(SettingsTest, GraphScalesEnterAloneChangesNothing) {
  swr_scale = 1.5;
  swr_log = 1;
  zmag_scale = 37.5;
  phase_scale = 22.5;
  rtloss_scale = 12.5;
  Q_scale = 2.5;
  s21gain_scale = 0.05;
  s21phase_scale = 112.5;
  Zero_Ref = -3;
  delay_scale = 1500;
  array_phase_scale = 7;
  std::string shown_swr, shown_delay;
  testhook::Answer a;
  a.caption = kGraphScales;
  a.press = 7;
  a.act = [&] {
    shown_swr = GetCtlText(dlg_graph_scales, 1);
    shown_delay = GetCtlText(dlg_graph_scales, 21);
  };
  testhook::QueueAnswer(a);
  GraphScales();
  EXPECT_EQ(shown_swr, " 1.50 Log");
  EXPECT_EQ(shown_delay, " 1.500us");
  EXPECT_EQ(swr_scale, 1.5);
  EXPECT_EQ(swr_log, 1);
  EXPECT_EQ(zmag_scale, 37.5);
  EXPECT_EQ(phase_scale, 22.5);
  EXPECT_EQ(rtloss_scale, 12.5);
  EXPECT_EQ(Q_scale, 2.5);
  EXPECT_EQ(s21gain_scale, 0.05);
  EXPECT_EQ(s21phase_scale, 112.5);
  EXPECT_EQ(Zero_Ref, -3);
  EXPECT_EQ(delay_scale, 1500);
  EXPECT_EQ(array_phase_scale, 112.5);

  // A value with more decimals is shown with them.
  zmag_scale = 33.125;
  a.act = [&] { shown_swr = GetCtlText(dlg_graph_scales, 2); };
  testhook::QueueAnswer(a);
  GraphScales();
  EXPECT_EQ(shown_swr, " 33.125");
  EXPECT_NEAR(zmag_scale, 33.125, 1e-12);
}

// The graph divides by these full scales: a text that reads as 0 keeps the
// one in force.
TEST_F(SettingsTest, GraphScalesZeroKeepsTheScaleItWouldDivideBy) {
  KnownScales();
  AnswerDialog(kGraphScales, {{2, "0"}, {14, "abc"}, {21, " 0 us"}}, 7);
  GraphScales();
  EXPECT_EQ(zmag_scale, 500);
  EXPECT_EQ(Q_scale, 100);
  EXPECT_EQ(delay_scale, 1000);
}

TEST_F(SettingsTest, GraphScalesCancelCloseBoxAndARunningScanChangeNothing) {
  KnownScales();
  MarkGraph();
  AnswerDialog(kGraphScales, {{1, "21"}, {2, "20"}}, 20);
  GraphScales();
  AnswerDialog(kGraphScales, {{1, "21"}, {2, "20"}}, 0);
  GraphScales();
  EXPECT_EQ(swr_scale, 3);
  EXPECT_EQ(zmag_scale, 500);
  EXPECT_FALSE(Redrawn());
  EXPECT_EQ(DialogTitles(), (Strings{kGraphScales, kGraphScales}));

  testhook::ClearLogs();
  scan_running = 1;
  GraphScales();
  scan_running = 0;
  EXPECT_TRUE(testhook::Dialogs().empty());

  // Enter takes the texts and redraws; the Scales button gets here outside
  // TDR mode.
  AnswerDialog(kGraphScales, {{2, "20"}}, 7);
  DispatchCommand(205);
  EXPECT_EQ(zmag_scale, 20);
  EXPECT_TRUE(Redrawn());
}

// ---- TDR Scales ----

constexpr const char* kTdrScales = " TDR Scales  ver-636A";

class TdrScalesTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    tdr_mode = 1;
    metric = 0;
    tdr_zo = 50;
    DXscale = 100;
    tdr_zmax = 100;
    tdr_trace_points = 0;
    SetTDRPoints();
  }
  void TearDown() override {
    metric = 0;
    SettingsTest::TearDown();
  }
};

TEST_F(TdrScalesTest, TextsSnapToTheScalesThePlotDraws) {
  struct Case {
    std::string distance, impedance;
    double dx, zmax;
  };
  const Case cases[] = {
      {"120", "150", 200, 200},
      {"3", "50", 5, 70},
      {"2500", "5000", 2000, 1000},
      {"-20", "70", 20, 70},
  };
  for (const Case& c : cases) {
    DXscale = 100;
    tdr_zmax = 100;
    AnswerDialog(kTdrScales, {{1, c.distance}, {5, c.impedance}}, 8);
    TDRScales();
    EXPECT_EQ(DXscale, c.dx) << c.distance;
    EXPECT_EQ(tdr_zmax, c.zmax) << c.impedance;
    EXPECT_DOUBLE_EQ(tdr_range_factor, (c.zmax - 50) / (c.zmax + 50));
  }
}

TEST_F(TdrScalesTest, MetricListAndEntry) {
  metric = 1;
  Strings distances, impedances;
  std::string shown;
  testhook::Answer a;
  a.caption = kTdrScales;
  a.texts = {{1, " 30.5"}};
  a.press = 8;
  a.act = [&] {
    distances = ComboItems(dlg_tdrscales, 1);
    impedances = ComboItems(dlg_tdrscales, 5);
    shown = GetCtlText(dlg_tdrscales, 1);
  };
  testhook::QueueAnswer(a);
  DXscale = 200;
  TDRScales();
  EXPECT_EQ(distances, (Strings{" 1.5", " 3.0", " 6.1", " 15.2", " 30.5", " 61.0", " 152.4",
                                " 304.8", " 609.6"}));
  EXPECT_EQ(impedances, (Strings{"70", "100", "200", "500", "1000"}));
  EXPECT_EQ(shown, " 61.0");
  EXPECT_EQ(DXscale, 100);
}

TEST_F(TdrScalesTest, OnlyAChangedScaleRedraws) {
  MarkGraph();
  AnswerDialog(kTdrScales, {{1, "100"}, {5, "100"}}, 8);
  TDRScales();
  EXPECT_FALSE(Redrawn());
  tdr_show_params = 1;
  AnswerDialog(kTdrScales, {}, 0);
  TDRScales();
  EXPECT_FALSE(Redrawn());
  EXPECT_EQ(tdr_show_params, 1);

  AnswerDialog(kTdrScales, {{1, "50"}}, 8);
  DispatchCommand(205);
  EXPECT_EQ(DXscale, 50);
  EXPECT_TRUE(Redrawn());
  EXPECT_EQ(tdr_show_params, 0);
}

// A TDR sweep measures to the plan of the scales it started with.
TEST_F(TdrScalesTest, NotWhileASweepRuns) {
  scan_running = 1;
  TDRScales();
  scan_running = 0;
  EXPECT_TRUE(testhook::Dialogs().empty());
  EXPECT_EQ(DXscale, 100);
}

}  // namespace
}  // namespace vna::test
