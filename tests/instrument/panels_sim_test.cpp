// The VNA Test, Constant Test Frequency and Port B Mux panels driven by
// clicks against the simulator of either model: each control sends exactly
// the command it names, and leaving a panel leaves the relays in a known
// state.
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/panel_sim.h"
#include "instrument/state.h"
#include "instrument/test_panels.h"
#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "tools/state.h"

namespace vna {
namespace {

using Commands = std::vector<Command>;

class Panels : public PanelSim, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override { Open(GetParam()); }
  bool Uhf() const { return GetParam() == "uhf"; }

  // Clicks and returns what the click sent, once `least` commands arrived.
  Commands ClickSends(Dialog& d, int id, size_t least) {
    Mark();
    Click(d, id);
    return Sent(least);
  }
  // The gain command the gain settings give on this model.
  Command GainCommand() const {
    const int m = PortA_Gain > 1 ? 2 : 1;
    if (Uhf()) {
      const int port_b[] = {30, 28, 16, 4, 0};
      return Cmd("A", {4 * m, port_b[PortB_Gain - 1]});
    }
    return Cmd("A", {4 * m + PortA_Sens + 64 * sig_select, PortB_Sens | (4 * PortB_Gain)});
  }
  // The simulator's output frequency is f after a frequency-only command.
  void ExpectTuned(const Command& c, double f) {
    EXPECT_TRUE(SetOnlyFreq(c)) << std::string(c.begin(), c.end());
    EXPECT_NEAR(ParseNumber(Sim().Status("freq")), f, 1e-4);
  }
  void ExpectChecked(Dialog& d, std::vector<int> on, std::vector<int> off) {
    for (int id : on) EXPECT_TRUE(GetCheck(d, id)) << "box " << id;
    for (int id : off) EXPECT_FALSE(GetCheck(d, id)) << "box " << id;
  }
};

INSTANTIATE_TEST_SUITE_P(BothModels, Panels, ::testing::Values("uhf", "7306"));

TEST_P(Panels, VnaTestSendsWhatEachControlNames) {
  test_freq = 20000;  // beyond any instrument: the panel opens at 1 MHz
  DDS_Amplitude = 50;
  last_dds_amp = 50;
  if (Uhf()) {
    SelectOsc(1);
  } else {
    OSC = 1;
  }
  PortA_Sens = 1;
  sig_select = 1;
  PortB_Sens = 2;
  PortA_Gain = 2;
  PortB_Gain = 4;
  ProgRelay(0);
  Mark();
  PickMenu(2147);
  Dialog& d = dlg_vna_test;
  ASSERT_TRUE(d.IsOpen());
  EXPECT_TRUE(Sent(0).empty()) << "opening sends nothing";
  EXPECT_EQ(vna_test_open, 1);
  EXPECT_DOUBLE_EQ(test_freq, 1);
  EXPECT_EQ(GetCtlText(d, 2), "  1");
  EXPECT_EQ(GetCtlText(d, 5), "  50");
  ExpectChecked(d, {71, 25, 33, 23, 43, 40, 28, 47},
                {72, 26, 34, 32, 42, 41, 27, 30, 44, 45, 46, 52});

  // Frequency: set only, then both relays on without a retune.
  SetCtlText(d, 2, " 10");
  Commands sent = WithoutPointExtras(ClickSends(d, 4, 3));
  ASSERT_EQ(sent.size(), 3u);
  ExpectTuned(sent[0], 10);
  EXPECT_EQ(sent[1], Cmd("K", {43}));
  EXPECT_EQ(sent[2], Cmd("K", {171}));
  EXPECT_DOUBLE_EQ(test_freq, 10);
  ExpectChecked(d, {32, 41}, {23, 40});  // the relay boxes follow every command

  const struct {
    int id;
    double mhz;
    const char* field;
  } presets[] = {{8, 1, "    1.000000"},    {9, 2, "    2.000000"},   {10, 5, "    5.000000"},
                 {11, 10, "   10.000000"},  {12, 20, "   20.000000"}, {13, 50, "   50.000000"},
                 {14, 100, "  100.000000"}, {15, 150, "  150.000000"}};
  for (const auto& p : presets) {
    sent = WithoutPointExtras(ClickSends(d, p.id, 3));
    ASSERT_EQ(sent.size(), 3u) << p.mhz;
    EXPECT_EQ(sent[0], Cmd("K", {43})) << p.mhz;
    EXPECT_EQ(sent[1], Cmd("K", {171})) << p.mhz;
    ExpectTuned(sent[2], p.mhz);
    EXPECT_EQ(GetCtlText(d, 2), p.field);
    EXPECT_DOUBLE_EQ(test_freq, p.mhz);
  }

  // Typed amplitudes are kept within 10..100 % (3 % in diagnostic mode) and
  // each large change asks first.
  const struct {
    const char* typed;
    int diag;
    const char* command;
    const char* field;
  } typed[] = {
      {"250", 0, "M03FF", "   100"}, {"3", 0, "M0067", "   10"}, {"-3", 1, "M001F", "   3"}};
  for (const auto& t : typed) {
    DIAGMODE = t.diag;
    testhook::QueueMsgBoxAnswer(kIdNo, "Amplitude check");
    SetCtlText(d, 5, t.typed);
    EXPECT_EQ(ClickSends(d, 7, 1), (Commands{Cmd(t.command)})) << t.typed;
    EXPECT_EQ(GetCtlText(d, 5), t.field);
  }
  DIAGMODE = 0;
  EXPECT_EQ(testhook::PendingAnswers(), 0u);

  const struct {
    int id;
    const char* command;
    const char* field;
  } amplitudes[] = {{16, "M03FF", "   100"}, {17, "M0300", "   75"}, {18, "M0200", "   50"},
                    {19, "M0100", "   25"},  {20, "M0067", "   10"}, {21, "M0034", "   5"}};
  for (const auto& a : amplitudes) {
    EXPECT_EQ(ClickSends(d, a.id, 1), (Commands{Cmd(a.command)})) << a.id;
    EXPECT_EQ(GetCtlText(d, 5), a.field);
  }

  // Relays: a click never switches the other relay.
  const struct {
    int id, code;
    std::vector<int> on, off;
  } relays[] = {{23, 42, {23, 41}, {32, 40}},
                {32, 43, {32, 41}, {23, 40}},
                {40, 41, {32, 40}, {23, 41}},
                {41, 43, {32, 41}, {23, 40}}};
  for (const auto& r : relays) {
    EXPECT_EQ(ClickSends(d, r.id, 2), (Commands{Cmd("K", {r.code}), Cmd("K", {171})})) << r.id;
    ExpectChecked(d, r.on, r.off);
  }

  // Every gain and sensitivity box: one gain command of this model.
  const struct {
    int id;
    int* setting;
    int value;
    std::vector<int> off;
  } gains[] = {{26, &PortA_Sens, 2, {25}},         {25, &PortA_Sens, 1, {26}},
               {27, &PortA_Gain, 1, {28, 30}},     {30, &PortA_Gain, 3, {27, 28}},
               {28, &PortA_Gain, 2, {27, 30}},     {34, &sig_select, 2, {33}},
               {33, &sig_select, 1, {34}},         {42, &PortB_Sens, 1, {43}},
               {43, &PortB_Sens, 2, {42}},         {44, &PortB_Gain, 1, {45, 46, 47, 52}},
               {45, &PortB_Gain, 2, {44, 46, 47}}, {46, &PortB_Gain, 3, {45, 47, 52}},
               {47, &PortB_Gain, 4, {44, 46, 52}}, {52, &PortB_Gain, 5, {44, 45, 46, 47}}};
  for (const auto& g : gains) {
    const Commands got = ClickSends(d, g.id, 1);
    EXPECT_EQ(*g.setting, g.value) << g.id;
    EXPECT_EQ(got, (Commands{GainCommand()})) << g.id;
    ExpectChecked(d, {g.id}, g.off);
  }
  EXPECT_TRUE(Sim().StderrText().empty()) << Sim().StderrText();

  // Clocks: "O" on the two-oscillator model, nothing on the 7306; the boxes
  // follow the click either way.
  EXPECT_EQ(ClickSends(d, 72, Uhf() ? 1 : 0), Uhf() ? Commands{Cmd("O", {2})} : Commands{});
  ExpectChecked(d, {72}, {71});
  EXPECT_EQ(ClickSends(d, 71, Uhf() ? 1 : 0), Uhf() ? Commands{Cmd("O", {1})} : Commands{});
  ExpectChecked(d, {71}, {72});

  // Restore Defaults: full amplitude, relays off (no retune while the panel
  // is open), default gains, 1 MHz.
  sent = WithoutPointExtras(ClickSends(d, 48, 5));
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(sent[0], Cmd("M03FF"));
  EXPECT_EQ(sent[1], Cmd("K", {40}));
  EXPECT_EQ(sent[2], Cmd("K", {168}));
  EXPECT_EQ(sent[3], GainCommand());
  ExpectTuned(sent[4], 1);
  EXPECT_DOUBLE_EQ(test_freq, 1);
  // The panel then shows the defaults, not the values it had before.
  ExpectChecked(d, {23, 40, 26, 27, 42, 44}, {32, 41, 25, 28, 30, 43, 45, 46, 47, 52});
  EXPECT_EQ(GetCtlText(d, 2), "  1");
  EXPECT_EQ(GetCtlText(d, 5), "  100");

  SavePicture(d.impl->top, "vna_test_panel_" + GetParam());
  ClickSends(d, 41, 2);
  ClickSends(d, 32, 2);
  ASSERT_EQ(Sim().Status("relays"), "3");
  EXPECT_EQ(ClickSends(d, 35, 2), (Commands{Cmd("K", {40}), Cmd("K", {168})}));
  EXPECT_FALSE(d.IsOpen());
  EXPECT_EQ(vna_test_open, 0);
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_TRUE(testhook::Problems().empty());
}

TEST_P(Panels, TheCloseBoxOfTheModelessPanelsActsAsTheirExit) {
  full_current_mode = 1;  // a relay command outside the VNA Test panel retunes
  PickMenu(2147);
  ASSERT_TRUE(dlg_vna_test.IsOpen());
  Mark();
  ProgRelay(3);
  EXPECT_EQ(Sent(2), (Commands{Cmd("K", {43}), Cmd("K", {171})}));
  CloseBox(dlg_vna_test);
  EXPECT_FALSE(dlg_vna_test.IsOpen());
  EXPECT_EQ(vna_test_open, 0);
  Mark();
  ProgRelay(3);
  const Commands sent = WithoutPointExtras(Sent(3));
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], Cmd("K", {43}));
  ExpectTuned(sent[1], relay_freq);
  EXPECT_EQ(sent[2], Cmd("K", {171}));

  PickMenu(28361);
  ASSERT_TRUE(dlg_mux.IsOpen());
  focus_win = 0;
  CloseBox(dlg_mux);
  EXPECT_FALSE(dlg_mux.IsOpen());
  EXPECT_EQ(focus_win, 1);
}

TEST_P(Panels, MuxBoxesSwitchTheMultiplexer) {
  mux_select = 0;
  mux_chan = 0;
  extport_b1 = 15;
  extport_analog = 1;
  Mark();
  PickMenu(28361);
  Dialog& d = dlg_mux;
  ASSERT_TRUE(d.IsOpen());
  EXPECT_TRUE(Sent(0).empty());
  const int boxes[] = {3, 4, 5, 6, 17, 18};
  auto only = [&](int channel) {
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(GetCheck(d, boxes[k - 1]), k == channel) << k;
  };
  only(0);

  EXPECT_EQ(ClickSends(d, 5, 1), (Commands{Cmd("L", {16, 128 + 3 + 1, 1})}));
  EXPECT_EQ(Sim().Status("mux"), "3");
  EXPECT_EQ(mux_select, 3);
  EXPECT_EQ(mux_chan, 3);
  only(3);
  // The checked channel again: the multiplexer goes to channel 0, and the
  // channel of the present measurement stays.
  EXPECT_EQ(ClickSends(d, 5, 1), (Commands{Cmd("L", {16, 128 + 1, 1})}));
  EXPECT_EQ(Sim().Status("mux"), "0");
  EXPECT_EQ(mux_select, 0);
  EXPECT_EQ(mux_chan, 3);
  only(0);
  EXPECT_EQ(ClickSends(d, 18, 1), (Commands{Cmd("L", {16, 128 + 6 + 1, 1})}));
  EXPECT_EQ(Sim().Status("mux"), "6");
  only(6);
  SavePicture(d.impl->top, "mux_panel_" + GetParam());

  Click(d, 10);
  EXPECT_FALSE(d.IsOpen());
  PickMenu(28361);  // opens again with the channel still selected
  only(6);
  EXPECT_TRUE(testhook::Problems().empty());
}

TEST_P(Panels, ConstantTestFrequencyHoldsStepsAndLeavesWithRelaysOff) {
  const double top = Uhf() ? 1200 : 180;
  ASSERT_DOUBLE_EQ(maximumfreq, top);
  const_freq_prev = 14;
  DDS_Amplitude = 100;
  last_dds_amp = 100;
  Dialog& d = dlg_const_freq;
  bool ran = false;
  Mark();
  DuringModal(
      d, [&] { return GetCtlText(d, 1) != "Edit1"; },
      [&] {
        ran = true;
        // Opening: Port A relay on, one DDS output, the frequency.
        Commands sent = WithoutPointExtras(Sent(4));
        ASSERT_EQ(sent.size(), 4u);
        EXPECT_EQ(sent[0], Cmd("K", {41}));
        EXPECT_EQ(sent[1], Cmd("K", {171}));
        EXPECT_EQ(sent[2], Cmd("K", {169}));
        ExpectTuned(sent[3], 14);
        EXPECT_EQ(GetCtlText(d, 1), "  14");
        EXPECT_EQ(GetCtlText(d, 43), "  100");
        EXPECT_EQ(Sim().Status("relays"), "1");

        // 1 Hz down from the lowest frequency stays there.
        SetCtlText(d, 1, "0.005");
        sent = WithoutPointExtras(ClickSends(d, 3, 1));
        ASSERT_EQ(sent.size(), 1u);
        ExpectTuned(sent[0], 0.005);
        sent = WithoutPointExtras(ClickSends(d, 26, 1));
        ASSERT_EQ(sent.size(), 1u);
        ExpectTuned(sent[0], min_freq);
        EXPECT_DOUBLE_EQ(freq, min_freq);
        EXPECT_EQ(GetCtlText(d, 1), "    0.005000");

        // 10 MHz up near the top stops at the top; a smaller step may pass
        // it on screen, never on the wire.
        SetCtlText(d, 1, Uhf() ? " 1195" : " 175");
        ClickSends(d, 3, 1);
        sent = WithoutPointExtras(ClickSends(d, 37, 1));
        ASSERT_EQ(sent.size(), 1u);
        ExpectTuned(sent[0], top);
        EXPECT_EQ(GetCtlText(d, 1), Uhf() ? "  1200.000000" : "  180.000000");
        sent = WithoutPointExtras(ClickSends(d, 4, 1));
        ASSERT_EQ(sent.size(), 1u);
        ExpectTuned(sent[0], top);
        EXPECT_EQ(GetCtlText(d, 1), Uhf() ? "  1201.000000" : "  181.000000");
        EXPECT_DOUBLE_EQ(freq, top);

        // Presets: the band ones by the pattern, 1, 5 and 100 as numbers.
        const struct {
          int id;
          double mhz;
          const char* field;
        } presets[] = {
            {27, 3.5, "   3.500000"}, {32, 28, "  28.000000"}, {40, 1, "  1"}, {42, 100, "  100"}};
        for (const auto& p : presets) {
          sent = WithoutPointExtras(ClickSends(d, p.id, 1));
          ASSERT_EQ(sent.size(), 1u) << p.mhz;
          ExpectTuned(sent[0], p.mhz);
          EXPECT_EQ(GetCtlText(d, 1), p.field);
        }

        EXPECT_EQ(ClickSends(d, 46, 1), (Commands{Cmd("M0200")}));
        EXPECT_EQ(GetCtlText(d, 43), "  50");
        EXPECT_EQ(ClickSends(d, 49, 1), (Commands{Cmd("M0000")}));
        EXPECT_EQ(GetCtlText(d, 43), "  0");

        // A negative amplitude goes out as 0, never as a negative code.
        EXPECT_EQ(ClickSends(d, 45, 1), (Commands{Cmd("M03FF")}));
        SetCtlText(d, 1, " 7.05");
        SetCtlText(d, 43, "-50");
        sent = WithoutPointExtras(ClickSends(d, 3, 2));
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], Cmd("M0000"));
        ExpectTuned(sent[1], 7.05);

        sent = WithoutPointExtras(ClickSends(d, 4, 1));
        ASSERT_EQ(sent.size(), 1u);
        ExpectTuned(sent[0], 8.05);
        SavePicture(d.impl->top, "constant_freq_panel_" + GetParam());
        Mark();
        Click(d, 34);
      });
  EnterConstantFreq();
  ASSERT_TRUE(ran);
  EXPECT_EQ(dlg_result, 1);
  EXPECT_EQ(Sent(4), (Commands{Cmd("M03FF"), Cmd("K", {171}), Cmd("K", {40}), Cmd("K", {168})}));
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_DOUBLE_EQ(freq, 7.05);              // the frequency last typed
  EXPECT_NEAR(const_freq_prev, 8.05, 1e-9);  // where the next opening starts
  EXPECT_EQ(focus_win, 1);
  EXPECT_TRUE(Sim().StderrText().empty()) << Sim().StderrText();
}

TEST_F(PanelSim, AmplitudeCheckAsksAboutLargeChanges) {
  Open("uhf");
  amp_change_limit = 5;
  const std::string question =
      "The present calibrated amplitude is  100%\rThe VNA should be recalibrated if the "
      "amplitude is changed to  90%.\r\rClick YES to recal, Click NO to continue without recal.";
  struct Case {
    int port_b, answer;
    double requested;
    const char* command;
    bool asks;
    int cal_a, cal_b;
  };
  const Case cases[] = {{0, kIdYes, 90, "M0399", true, 0, 1},
                        {1, kIdYes, 90, "M0399", true, 1, 0},
                        {0, kIdNo, 90, "M0399", true, 1, 1},
                        {0, 0, 97, "M03E1", false, 1, 1},
                        {0, 0, 95, "M03CC", false, 1, 1}};  // at the limit: no question
  for (const Case& c : cases) {
    DDSAmplitude(100);
    PortB_on = c.port_b;
    PortA_cal = PortB_cal = 1;
    testhook::ClearLogs();
    if (c.asks) testhook::QueueMsgBoxAnswer(c.answer, "Amplitude check");
    if (c.answer == kIdYes) testhook::QueueMsgBoxAnswer(kIdOk, " Cal required");
    input_value = c.requested;
    Mark();
    AmplitudeCheck();
    EXPECT_EQ(Sent(), (Commands{Cmd(c.command)})) << c.requested;
    EXPECT_DOUBLE_EQ(DDS_Amplitude, c.requested);
    EXPECT_EQ(PortA_cal, c.cal_a);
    EXPECT_EQ(PortB_cal, c.cal_b);
    const auto& boxes = testhook::MsgBoxes();
    ASSERT_EQ(boxes.size(), c.asks ? (c.answer == kIdYes ? 2u : 1u) : 0u);
    if (!c.asks) continue;
    EXPECT_EQ(boxes[0].caption, "Amplitude check");
    EXPECT_EQ(boxes[0].text, question);
    EXPECT_EQ(boxes[0].buttons, kMbYesNo);
    EXPECT_TRUE(boxes[0].topmost);
    if (c.answer == kIdYes) {
      EXPECT_EQ(boxes[1].caption, " Cal required");
      EXPECT_EQ(boxes[1].text, "Recalibrate both ports ");
    }
  }
  EXPECT_EQ(testhook::PendingAnswers(), 0u);
  EXPECT_TRUE(testhook::Problems().empty());
}

}  // namespace
}  // namespace vna
