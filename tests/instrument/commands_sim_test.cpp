// Every instrument command's bytes as the simulator logs them, and the
// replies of the external port, temperature and supply.
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "instrument/commands.h"
#include "instrument/sim_link.h"
#include "instrument/supply.h"
#include "instrument/version.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using Commands = std::vector<Command>;

class CommandBytes : public SimLink {
 protected:
  void SetUp() override {
    mult_code = new_mults = 0;  // as at start-up: no multiplier pair programmed yet
    StartSim({"--model", "uhf"});
    Identify();
    ASSERT_EQ(comm_ok, 1);
    full_current_mode = 0;  // no parking at the relay frequency unless a test asks
    vna_test_open = 0;
    relayA = relayB = 0;
    last_dds_amp = -1;
    mult_code = 0;  // no multiplier pair programmed yet, as after start-up
    SetDigits(4);
  }
  testing::TempDir dir_{true};
  testing::ScopedEnv program_dir_{"VNA_PROGRAM_DIR", dir_.path()};  // version.txt
};

TEST_F(CommandBytes, RelaysKeepTheOtherRelayAndSwitchTheDdsPower) {
  Mark();
  ProgRelay(2);
  ProgRelay(1);
  EXPECT_EQ(Sent(4), (Commands{Cmd("K", {42}), Cmd("K", {171}), Cmd("K", {43}), Cmd("K", {171})}));
  EXPECT_EQ(relay_state, 1);
  Mark();
  ProgRelay(0);  // low-current mode: both outputs off too
  EXPECT_EQ(Sent(2), (Commands{Cmd("K", {40}), Cmd("K", {168})}));
  EXPECT_EQ(hw_reset_prompt, 0);
  EXPECT_EQ(relayA + relayB, 0);

  full_current_mode = 1;
  relay_freq = 120;  // outside 2..99: the relay frequency falls back to 3.075
  freq = 14.2;
  Mark();
  ProgRelay(0);
  EXPECT_DOUBLE_EQ(relay_freq, 3.075);
  EXPECT_DOUBLE_EQ(freq, 14.2);
  const Commands sent = Sent(2);
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent.front(), Cmd("K", {40}));
  EXPECT_EQ(sent.back(), Cmd("K", {171}));

  live_data = 0;  // replaying a scan: nothing goes out
  Mark();
  ProgRelay(3);
  DDSPower(3);
  EXPECT_TRUE(Sent(0).empty());
}

TEST_F(CommandBytes, AmplitudeCodeStaysInsideItsFourDigits) {
  Mark();
  DDSAmplitude(100);
  DDSAmplitude(100);
  DDSAmplitude(0);
  DDSAmplitude(50);
  DDSAmplitude(-20);  // below 0 counts as 0
  DDSAmplitude(250);  // above 100 counts as 100
  DDSAmplitude(100);  // the same as the last: nothing
  EXPECT_EQ(Sent(5),
            (Commands{Cmd("M03FF"), Cmd("M0000"), Cmd("M0200"), Cmd("M0000"), Cmd("M03FF")}));
  EXPECT_DOUBLE_EQ(DDS_Amplitude, 100);
  EXPECT_TRUE(sim_->StderrText().empty()) << sim_->StderrText();
}

TEST_F(CommandBytes, GainsOfBothModels) {
  model_uhf = 1;
  PortA_Gain = 5;
  PortB_Gain = 5;
  PortA_HiGain = 5.015;
  Mark();
  ProgGain();
  EXPECT_EQ(Sent(), (Commands{Cmd("A", {8, 0})}));  // the zero is the last byte
  EXPECT_DOUBLE_EQ(gain_factor_A, 5.015);
  EXPECT_DOUBLE_EQ(gain_factor_B, RngGain[5]);

  model_uhf = 0;
  PortA_Gain = 1;
  PortA_Sens = 2;
  sig_select = 2;
  PortB_Sens = 2;
  PortB_Gain = 3;
  Mark();
  ProgGain();
  EXPECT_EQ(Sent(), (Commands{Cmd("A", {134, 14})}));
  EXPECT_DOUBLE_EQ(gain_factor_A, 1);
  EXPECT_DOUBLE_EQ(gain_factor_B, 4 * RngGain[3]);
  EXPECT_EQ(freq_changed, 1);
}

TEST_F(CommandBytes, AveragingCodesAndScale) {
  struct Case {
    int n, code, average, scale;
  };
  const Case cases[] = {{256, 200, 256, 1}, {3, 3, 3, 4},  {1, 1, 1, 16},   {8, 8, 8, 2},
                        {9, 9, 9, 1},       {0, 1, 1, 16}, {512, 1, 1, 16}, {1024, 1, 1, 16}};
  for (const Case& c : cases) {
    Mark();
    vna_status = 10;  // a failure before: the averaging command reports success
    AverageADC(c.n);
    EXPECT_EQ(Sent(), (Commands{Cmd("J", {c.code})})) << c.n;
    EXPECT_EQ(average, c.average) << c.n;
    EXPECT_EQ(adc_scale, c.scale) << c.n;
    EXPECT_EQ(vna_status, 0) << c.n;
  }
}

TEST_F(CommandBytes, OscillatorPowerDownPowerOffAndLogicTest) {
  Mark();
  SelectOsc(2);
  EXPECT_EQ(Sent(), (Commands{Cmd("O", {2})}));
  EXPECT_EQ(OSC, 2);
  EXPECT_DOUBLE_EQ(DDS_Clk, ddsclk2);
  EXPECT_DOUBLE_EQ(FreqOffset, freq_offset2);
  EXPECT_DOUBLE_EQ(dds_clk4, ddsclk2 / 4);

  two_osc = 0;  // a single oscillator: nothing sent, nothing changed
  Mark();
  SelectOsc(1);
  EXPECT_TRUE(Sent(0).empty());
  EXPECT_EQ(OSC, 2);

  Mark();
  SetAutoPowerDown(1);
  SetAutoPowerDown(0);
  EXPECT_EQ(Sent(2), (Commands{Cmd("D1"), Cmd("D0")}));

  testhook::QueueMsgBoxAnswer(kIdNo, " Power Off");
  testhook::QueueMsgBoxAnswer(kIdYes, " Logic Test");
  Mark();
  PowerOff();
  LogicTest();
  EXPECT_EQ(Sent(), (Commands{Cmd("ZD")}));
  EXPECT_EQ(testhook::MsgBoxes().back().caption, " Power down reset");

  testhook::QueueMsgBoxAnswer(kIdYes, " Power Off");
  Mark();
  PowerOff();
  EXPECT_EQ(Sent(), (Commands{Cmd("Q", {97, 229})}));
  EXPECT_EQ(testhook::MsgBoxes().back().caption, " Power Off ");
  EXPECT_EQ(testhook::MsgBoxes().back().text, "***** THE POWER HAS BEEN TURNED OFF *****");
  EXPECT_EQ(vna_present, 1);
  EXPECT_TRUE(testhook::Problems().empty());
}

TEST_F(CommandBytes, ExternalPortReadsTheMultiplexerReply) {
  sim_->Control("extport 1.649");
  mux_select = 3;
  extport_b1 = 15;
  extport_analog = 1;
  Mark();
  ExternalPort();
  EXPECT_EQ(Sent(), (Commands{Cmd("L", {16, 132, 1})}));
  EXPECT_EQ(extport_b2, 131);
  EXPECT_EQ(extport_value, 2047);  // 1.649 V of 3.3 V at 12 bits
  EXPECT_NEAR(extport_volts, 2047 * 3.3 / 4096, 1e-12);
  EXPECT_EQ(extport_text, NumStr(2047 * 3.3 / 4096) + " V");
  EXPECT_EQ(sim_->Status("mux"), "3");

  extport_analog = 0;
  mux_select = 12;  // only three bits travel
  Mark();
  ExternalPort();
  EXPECT_EQ(Sent(), (Commands{Cmd("L", {16, 5, 1})}));
  EXPECT_EQ(extport_text, "0x0");

  sim_->Control("power off");
  Mark();
  ExternalPort();
  EXPECT_EQ(vna_status, 10);
  EXPECT_EQ(extport_text, "0x0");  // kept
  ASSERT_FALSE(testhook::MsgBoxes().empty());
  EXPECT_EQ(testhook::MsgBoxes().back().caption, " Comm Port Problem 3742");
  EXPECT_EQ(testhook::MsgBoxes().back().text,
            " No data from VNA. \r Check VNA power and comm cable.");
}

TEST_F(CommandBytes, DefaultStateOfTheInstrument) {
  model_uhf = 1;
  PortA_Gain = 5;
  PortB_Gain = 4;
  Mark();
  ResetInstrument();
  // Then 1 MHz, frequency only: oscillator 2 for the band below 60 MHz, and
  // "E" mode 6, the first multiplier pair since start-up.
  const Commands sent = Sent(6);
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_EQ(sent[0], Cmd("M03FF"));
  EXPECT_EQ(sent[1], Cmd("K", {40}));
  EXPECT_EQ(sent[2], Cmd("K", {168}));
  EXPECT_EQ(sent[3], Cmd("A", {4, 30}));
  EXPECT_EQ(sent[4], Cmd("O", {2}));
  EXPECT_EQ(Command(sent[5].begin(), sent[5].begin() + 2), Cmd("E", {6}));
  EXPECT_DOUBLE_EQ(freq, 1);
  EXPECT_EQ(PortA_Sens, 2);
  EXPECT_EQ(PortB_Sens, 1);

  vna_present = 0;
  Mark();
  ResetInstrument();
  AverageADC(4);
  ExternalPort();
  DDSAmplitude(20);
  SetAutoPowerDown(1);
  EXPECT_TRUE(Sent(0).empty());
  EXPECT_EQ(average, 4);  // the setting still changes
}

TEST_F(CommandBytes, HousekeepingReplies) {
  sim_->Control("temp 31.25");
  Mark();
  ReadTemperature();
  EXPECT_EQ(Sent(), (Commands{Cmd("ZU")}));
  EXPECT_EQ(vna_status, 0);
  EXPECT_NEAR(temperature_F, 31.25 * 1.8 + 32, 0.2);  // one raw step is about 0.07 degrees C

  sim_->Control("supply 13.8");
  Mark();
  CheckDCVoltage(8, 16, 1);
  EXPECT_EQ(Sent(), (Commands{Cmd("B")}));
  EXPECT_EQ(vna_status, 0);
  EXPECT_NEAR(dc_voltage, 13.8, 0.01);

  sim_->Control("supply 19");
  Mark();
  CheckDCVoltage(8, 16, 1);
  EXPECT_EQ(Sent(4), (Commands{Cmd("B"), Cmd("B"), Cmd("B"), Cmd("Q")}));
  EXPECT_EQ(vna_status, 19);
  EXPECT_EQ(testhook::MsgBoxes().back().caption, " WARNING: HIGH DC VOLTAGE ");
  EXPECT_EQ(sim_->Status("power"), "off");
}

TEST(MuxPanel, OpensModelessAndLeavesTheCallerRunning) {
  DefineDialogs();
  ShowMuxDialog();
  EXPECT_TRUE(dlg_mux.IsOpen());
  EXPECT_TRUE(dlg_mux.modeless);
  EXPECT_EQ(GetTitle(dlg_mux), " Port B Mux");
  CloseDialog(dlg_mux, 2);
  PumpEvents();
}

}  // namespace
}  // namespace vna
