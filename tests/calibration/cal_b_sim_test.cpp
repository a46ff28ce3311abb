// The Port B calibration against the instrument simulator: a through
// calibration makes attenuators read right at every gain step and
// sensitivity; every way out of it leaves the relays off and no half
// calibration in force; the multichannel calibration writes one file per
// channel; the relay cleaning cycles as often as the days since the last.
#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/cal_port_b.h"
#include "calibration/cal_sim.h"
#include "calibration/correct_b.h"
#include "calibration/multichannel.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "support/shell_fixture.h"
#include "support/watchdog.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

constexpr int kPoints = 28;  // 1 .. 68.5 MHz in 2.5 MHz steps

class CalBSim : public CalSim {
 protected:
  // The instrument of `model`, a Port A calibration of kPoints frequencies
  // in force and the through connection between the ports.
  void BeginB(const std::string& model, std::vector<std::string> args = {}) {
    Begin(model, std::move(args));
    for (int i = 0; i < kPoints; ++i) CalDataA[i].freq = 1 + 2.5 * i;
    cal_points = kPoints;
    MaxCalANdx = kPoints - 1;
    cal_start_freq = 1;
    cal_end_freq = CalDataA[kPoints - 1].freq;
    PortA_cal = cal_valid = 1;
    ExtensionLength = 0;
    ExtensionFlag = 0;
    calB_only = 0;
    autorange = 0;
    delay_offset = 0;
    average = 16;
    AverageADC(16);
    DDS_Amplitude = 100;
    // A Port B calibration in force before this one, to be told apart.
    for (int i = 0; i < kPoints; ++i) CalDataB[i] = CalPointB{CalDataA[i].freq, 7, 7, 1, 1};
    RngGain[2] = 5.25;
    Rng[2] = 0.125;
    testhook::ClearLogs();
  }
  void TearDown() override {
    SetTickOffset(0);
    SetLocalDate(0, 0, 0);
    calB_only = 0;
    CalSim::TearDown();
  }

  // As the Calibrate menu leaves the range: its HF band.
  static void RunMultiChannel() {
    Watchdog dog(std::chrono::seconds(200), "a multichannel calibration");
    msg_text = " HF band cal ";
    cal_band = 2;
    cal_start_freq = HFcalStart;
    cal_end_freq = HFcalEnd;
    cal_delta_freq = HFcalDelta;
    CalMultiChannel();
  }
  static void RunCalB() {
    Watchdog dog(std::chrono::seconds(100), "a Port B calibration");
    CalB();
  }

  // S21 of one point as the point-data mode reads it, with the gain step
  // and sensitivity set by hand: dB and degrees.
  void ReadS21(double f, int gain, int sens, double& db, double& deg) {
    relayA = relayB = 1;
    ProgRelay(3);
    PortB_on = transmission_mode = 1;
    PortB_Gain = gain;
    PortB_Sens = sens;
    ProgGain();
    freq = f;
    ReadPoint_B(0);
    ASSERT_EQ(vna_status, 0);
    ratio_BA = MagLoad / MagRef;
    CorrectB();
    db = 20 * std::log10(ratio_BA);
    deg = Zphase * 180 / M_PI;
  }

  // Nothing of the calibration that was in force changed but the flag.
  static void ExpectOldTablesKept() {
    EXPECT_EQ(CalDataB[3].ratio_low, 7);
    EXPECT_EQ(RngGain[2], 5.25);
    EXPECT_EQ(Rng[2], 0.125);
  }
  void ExpectRelaysOff() {
    EXPECT_EQ(relayA, 0);
    EXPECT_EQ(relayB, 0);
    EXPECT_EQ(Sim().Status("relays"), "0");
  }
  static bool Printed(const std::string& text) {
    for (const auto& p : testhook::Prints()) {
      if (p.text.find(text) != std::string::npos) return true;
    }
    return false;
  }
};

class CalBModels : public CalBSim, public ::testing::WithParamInterface<std::string> {};

TEST_P(CalBModels, ThroughCalibrationReadsAttenuatorsAtEveryGainStep) {
  BeginB(GetParam());
  DIAGMODE = 1;  // restored at the end
  Mux_Cal = 0;
  AnswerPrompt("");
  AnswerBox(kIdOk, " Port B Cal");
  RunCalB();
  ExpectScriptFollowed();
  EXPECT_EQ(Captions(), (Strings{" Port B Cal"}));
  EXPECT_EQ(calB_error, 0);
  EXPECT_EQ(PortB_cal, 1);
  EXPECT_EQ(MaxCalBNdx, kPoints - 1);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(DIAGMODE, 1);
  EXPECT_EQ(PortB_title, " ");
  ExpectRelaysOff();
  // Every gain step measured (the simulator's are 4.93, 24.3, 117.4 and
  // 487.7, at -0.25, -1.5, 2.881 and -1.371 degrees).
  EXPECT_NEAR(RngGain[2], 4.93, 0.01);
  EXPECT_NEAR(RngGain[3], 24.3, 0.05);
  EXPECT_NEAR(RngGain[4], 117.4, 0.2);
  EXPECT_NEAR(RngGain[5], 487.7, 1);
  EXPECT_NEAR(Rng[2] * 57.3, -0.25, 0.02);
  EXPECT_NEAR(Rng[3] * 57.3, -1.5, 0.02);
  EXPECT_NEAR(Rng[4] * 57.3, 2.881, 0.05);
  EXPECT_NEAR(Rng[5] * 57.3, -1.371, 0.05);
  const bool uhf = GetParam() == "uhf";
  for (int i = 0; i < kPoints; ++i) {
    EXPECT_EQ(CalDataB[i].freq, CalDataA[i].freq);
    if (uhf) {
      EXPECT_EQ(CalDataB[i].ratio_high, CalDataB[i].ratio_low) << i;
      EXPECT_EQ(CalDataB[i].phase_high, CalDataB[i].phase_low) << i;
    } else {
      // The high sensitivity's ratio as the low one's (its true gain is
      // 3.98, not 4): not 24 dB below it.
      EXPECT_NEAR(CalDataB[i].ratio_high / CalDataB[i].ratio_low, 3.98 / 4, 0.01) << i;
    }
  }

  DIAGMODE = 0;
  struct Case {
    const char* device;
    double db;
    int gain, sens;
    double tol_db;
  };
  std::vector<Case> cases = {{"thru", 0, 1, 1, 0.2},
                             {"atten:db=20", -20, 1, 1, 0.2},
                             {"atten:db=20", -20, 2, 1, 0.2},
                             {"atten:db=40", -40, 3, 1, 0.2},
                             {"atten:db=70", -70, 5, 1, 0.5}};
  if (!uhf) {
    cases.push_back({"atten:db=40", -40, 2, 2, 0.2});
    cases.push_back({"atten:db=70", -70, 4, 2, 0.5});
  }
  for (const Case& c : cases) {
    Sim().SetDutB(c.device);
    for (double f : {1.0, 3.7, 17.3, 41.1, 66.0}) {
      SCOPED_TRACE(std::string(c.device) + " gain " + std::to_string(c.gain) + " sens " +
                   std::to_string(c.sens) + " at " + std::to_string(f));
      double db = 0, deg = 0;
      ReadS21(f, c.gain, c.sens, db, deg);
      EXPECT_NEAR(db, c.db, c.tol_db);
      EXPECT_NEAR(deg, 0, 0.5);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothModels, CalBModels, ::testing::Values("uhf", "7306"));

TEST_F(CalBSim, PortBOnlyNeedsAPortACalibrationAndRunsOverItsLimits) {
  BeginB("uhf");
  calB_only = 1;
  PortA_cal = 0;
  RunCalB();
  EXPECT_EQ(Boxes(), (Strings{" No Port A cal file|A valid calibration file for Port A must be "
                              "loaded first."}));
  EXPECT_EQ(calB_error, 999);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(Sim().Status("relays"), "3");  // no command sent
  ExpectOldTablesKept();

  PortA_cal = 1;
  start_freq = 5;
  testhook::ClearLogs();
  AnswerBox(kIdOk, " Cal Port B only ");
  AnswerPrompt("", false);
  RunCalB();
  ExpectScriptFollowed();
  EXPECT_EQ(start_freq, 5);  // the scan settings back after the cancel
  EXPECT_EQ(calB_error, 999);
}

TEST_F(CalBSim, CancelAndHaltLeaveNoPortBCalibration) {
  BeginB("uhf");
  PortB_cal = 1;
  AnswerPrompt("", false);
  RunCalB();
  ExpectScriptFollowed();
  EXPECT_EQ(calB_error, 999);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(CalinProgress, 0);
  ExpectRelaysOff();
  ExpectOldTablesKept();

  PortB_cal = 1;
  testhook::ClearLogs();
  AnswerPrompt("", true, [] { OnPump([] { return CalDataB[3].ratio_low != 7; }, PressHalt); });
  RunCalB();
  ExpectScriptFollowed();
  EXPECT_EQ(Captions(), Strings{});
  EXPECT_EQ(calB_error, 999);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_NE(CalDataB[3].ratio_low, 7);  // measured up to the Halt
  EXPECT_EQ(CalDataB[kPoints - 1].ratio_low, 7);
  EXPECT_EQ(RngGain[2], 5.25);      // the gain steps in force before
  EXPECT_EQ(transmission_mode, 1);  // as the calibration set them
  EXPECT_EQ(PortA_Sens, 2);
  ExpectRelaysOff();
}

TEST_F(CalBSim, NoReferenceAndARefusedWeakThroughEndTheCalibration) {
  BeginB("7306");
  AnswerPrompt("", true, [this] { Sim().Fault("noref"); });
  RunCalB();
  ExpectScriptFollowed();
  EXPECT_TRUE(Printed("    ****   There is no reference signal from the VNA at"));
  EXPECT_EQ(calB_error, 999);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(transmission_mode, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(CalinProgress, 0);
  ExpectRelaysOff();
  EXPECT_EQ(RngGain[2], 5.25);

  Sim().Fault("none");
  testhook::ClearLogs();
  AnswerPrompt("", true, [this] { Sim().SetDutB("atten:db=40"); });
  AnswerBox(kIdNo, " Check through cable");
  AnswerBox(kIdOk, " Cal Problem");
  RunCalB();
  ExpectScriptFollowed();
  ASSERT_EQ(testhook::MsgBoxes().size(), 2u);
  EXPECT_NE(testhook::MsgBoxes()[0].text.find("Port B signal = "), std::string::npos);
  EXPECT_EQ(testhook::MsgBoxes()[1].text, "Calibration has been aborted.");
  EXPECT_EQ(calB_error, 999);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(CalDataB[3].ratio_low, 7);  // stopped at record 2
  ExpectRelaysOff();
}

TEST_F(CalBSim, OverloadAndLowSupplyRejectTheCalibrationAtItsEnd) {
  BeginB("7306");
  // An overloaded range 1 reading: the reading gives up after its own
  // notice, which says the failure once: no gain is judged from a reading
  // that measured nothing, and the calibration fails with the reading.
  AnswerPrompt("", true, [this] { Sim().Fault("overload 1"); });
  AnswerBox(kIdOk, "  RF INPUT OVERLOAD ");  // once for the reply, the only notice
  RunCalB();
  ExpectScriptFollowed();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(calB_error, 0);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(CalDataB[3].ratio_low, 7);  // the first pass skipped
  ExpectOldTablesKept();
  ExpectRelaysOff();

  Sim().Fault("none");
  Sim().Control("supply 9");
  testhook::ClearLogs();
  AnswerPrompt("");
  AnswerBox(kIdOk, " Low voltage");  // the supply check's own warning
  AnswerBox(kIdOk, " Port B cal error  13");
  AnswerBox(kIdOk, " Port B Cal");
  RunCalB();
  ExpectScriptFollowed();
  EXPECT_EQ(Boxes(),
            (Strings{Boxes()[0], " Port B cal error  13|Port B cal error : DC Voltage too low.",
                     " Port B Cal|Port B Cal is Complete"}));
  EXPECT_EQ(calB_error, 13);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(CalDataB[3].ratio_low, 7);   // no first pass
  EXPECT_NE(CalDataB[3].ratio_high, 7);  // the second pass still measured
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(average, 16);
  ExpectRelaysOff();
}

// The cleaning waits 500 ms on each channel: the test's clock moves on at
// every pump instead.
void FastClock() {
  static uint64_t offset = 0;
  testhook::SetPumpHook([] {
    offset += 600;
    SetTickOffset(offset);
  });
}

int ChannelSwitches(SimRunner& sim, const std::string& mark, size_t least) {
  int n = 0;
  for (const auto& c : sim.WaitForCommands(least, mark, 1000)) n += c[0] == 'L' ? 1 : 0;
  return n;
}

TEST_F(CalBSim, RelayCleaningCyclesByTheDaysSinceTheLast) {
  BeginB("uhf");
  struct Case {
    int y, m, d;
    int last;  // Mux_Cal
    int count, cycles;
  } cases[] = {
      {2026, 12, 10, 2026 + 330 + 10, 5, 5},  // again today
      {2026, 12, 10, 2026 + 330 + 4, 1, 4},   // 6 days later
      {2026, 12, 31, 2026 + 330 + 15, 1, 8},  // 16 days later
      {2027, 1, 1, 2026 + 330 + 31, 1, 8},    // the next day, a new year
      {2026, 12, 10, 2026 + 330 + 14, 1, 3},  // the clock set back
  };
  int k = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(k);
    SetLocalDate(c.y, c.m, c.d);
    Mux_Cal = c.last;
    const std::string mark = "clean" + std::to_string(k++);
    Sim().Mark(mark);
    FastClock();
    CleanRelays(c.count);
    testhook::SetPumpHook(nullptr);
    EXPECT_EQ(ChannelSwitches(Sim(), mark, 6 * c.cycles), 6 * c.cycles);
    GetDayNumber();
    EXPECT_EQ(Mux_Cal, day_number);
    EXPECT_EQ(mux_chan, 6);
    EXPECT_EQ(mux_select, 6);
    EXPECT_EQ(scan_running, 0);
  }
  // Halt stops before the next channel; the day is already kept.
  SetLocalDate(2026, 12, 10);
  Mux_Cal = 0;
  Sim().Mark("halted");
  int pumps = 0;
  testhook::SetPumpHook([&pumps] {
    SetTickOffset(600 * 1000 + 600 * ++pumps);
    if (pumps == 3) PressHalt();
  });
  CleanRelays(5);
  testhook::SetPumpHook(nullptr);
  EXPECT_EQ(ChannelSwitches(Sim(), "halted", 2), 2);
  EXPECT_EQ(Mux_Cal, 2026 + 330 + 10);
  EXPECT_EQ(mux_chan, 2);
}

TEST_F(CalBSim, MultichannelCalibrationWritesAFilePerChannelUntilNo) {
  BeginB("uhf", {"--chan", "2=atten:db=6"});
  GetDayNumber();
  Mux_Cal = day_number;  // one cleaning cycle
  AnswerLimits("1", "30", "1");
  AnswerPrompt("short");
  AnswerPrompt("open");
  AnswerPrompt("load");
  AnswerRstd("50");
  AnswerBox(kIdYes, " Cal B Option ");
  AnswerPrompt("");  // the reference line on channel 1
  AnswerPrompt("");  // save
  AnswerDialog(" Enter a comment", {{1, "multi"}}, 2);
  testhook::QueueFileAnswer(dir / "multi.vcal");
  AnswerBox(kIdOk, " Calibration");
  AnswerBox(kIdYes, " Chan 2 ");
  AnswerBox(kIdNo, " Chan 3 ");
  AnswerBox(kIdOk, " Multichan Cal Complete");
  RunMultiChannel();
  ExpectScriptFollowed();
  EXPECT_EQ(Captions(), (Strings{" Cal B Option ", " Calibration", " Chan 2 ", " Chan 3 ",
                                 " Multichan Cal Complete"}));
  const auto boxes = testhook::MsgBoxes();
  EXPECT_EQ(boxes[2].text,
            " Be sure Line 2 is connected to MUX Chan 2.\r\n\r\n   Click 'NO' to "
            "finish the cal procedure.");
  EXPECT_EQ(boxes[4].text, " Multichannel cal for 2 channels is complete.");
  EXPECT_TRUE(Printed("   CLEANING RELAY CONTACTS...    "));
  EXPECT_EQ(mux_chan, 1);
  EXPECT_EQ(indep_chan, 5);
  EXPECT_EQ(PortB_cal, 1);
  EXPECT_TRUE(std::filesystem::exists(dir / "multi.chan1"));
  EXPECT_TRUE(std::filesystem::exists(dir / "multi.chan2"));
  EXPECT_FALSE(std::filesystem::exists(dir / "multi.chan3"));
  EXPECT_FALSE(std::filesystem::exists(dir / "multi.vcal"));

  // Channel 2 holds its own line: 6 dB below channel 1's.
  mux_chan = 0;
  double ratio[3] = {};
  for (int chan : {1, 2}) {
    file_name = dir / ("multi.chan" + std::to_string(chan));
    GetPortACal(0);
    ASSERT_EQ(vna_status, 0);
    EXPECT_EQ(PortB_cal, 1);
    ratio[chan] = CalDataB[5].ratio_low;
  }
  EXPECT_NEAR(20 * std::log10(ratio[2] / ratio[1]), -6, 0.1);
}

TEST_F(CalBSim, MultichannelStopsAtAFailedChannel) {
  BeginB("uhf", {"--chan", "2=isolated"});
  GetDayNumber();
  Mux_Cal = day_number;
  AnswerLimits("1", "30", "1");
  AnswerPrompt("short");
  AnswerPrompt("open");
  AnswerPrompt("load");
  AnswerRstd("50");
  AnswerBox(kIdYes, " Cal B Option ");
  AnswerPrompt("");
  AnswerPrompt("");
  AnswerDialog(" Enter a comment", {{1, "multi"}}, 2);
  testhook::QueueFileAnswer(dir / "multi.vcal");
  AnswerBox(kIdOk, " Calibration");
  AnswerBox(kIdYes, " Chan 2 ");
  AnswerBox(kIdNo, " Check through cable");
  AnswerBox(kIdOk, " Cal Problem");
  AnswerBox(kIdOk, " Multichan Cal Complete");
  RunMultiChannel();
  ExpectScriptFollowed();
  EXPECT_EQ(testhook::MsgBoxes().back().text, " Multichannel cal for 1 channels is complete.");
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "multi.chan2"));  // written without Port B
  mux_chan = 0;
  file_name = dir / "multi.chan2";
  GetPortACal(0);
  EXPECT_EQ(PortB_cal, 0);
}

}  // namespace
}  // namespace vna::test
