// The frequency commands of both models as the simulator receives them.
#include <cmath>
#include <limits>

#include "instrument/frequency_programming.h"
#include "instrument/measurement_reply.h"
#include "instrument/point_reads.h"
#include "point_sim.h"
#include "scan/state.h"
#include "shell/state.h"

namespace vna {
namespace {

// "U"/"T" with the settling byte, or "E" with its three bytes, then digits.
Command FreqCmd(const std::string& head, std::vector<int> bytes, const std::string& digits) {
  Command c = Cmd(head, std::move(bytes));
  c.insert(c.end(), digits.begin(), digits.end());
  return c;
}

// The commands of a point at a temporary averaging: the averaging for the
// point, the frequency command, the averaging before it again.
void ExpectAveragingAround(const std::vector<Command>& c, int during, char letter, int after) {
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0], Cmd("J", {during}));
  EXPECT_EQ(c[1][0], letter);
  EXPECT_EQ(c[2], Cmd("J", {after}));
}

class PointSimVhf : public PointSim {
 protected:
  void SetUp() override {
    Start("7306");
    DDSdelay = 2;
    scan_running = 0;
  }
  // The frequency command of one point at f.
  Command Programmed(double f, int flags = 0) {
    freq = f;
    Mark();
    Send_Freq(flags);
    const char letter = flags != 0 ? 'G' : transmission_mode != 0 ? 'T' : 'U';
    std::vector<Command> c = SentOf(letter, 1);
    return c.empty() ? Command() : c.back();
  }
};

TEST_F(PointSimVhf, TuningWordAndSpurShift) {
  EXPECT_EQ(Programmed(10), FreqCmd("U", {3}, "06666667"));
  // Exactly halfway rounds to even: 50 MHz is 2^29 + 0.5.
  EXPECT_EQ(Programmed(50), FreqCmd("U", {3}, "20000000"));
  scan_running = 1;  // spur centres move only while a scan runs
  const struct {
    double mhz;
    const char* digits;
  } cases[] = {{50.000, "1FFE5C92"},    // 49.99
               {50.005, "20027526"},    // 50.015
               {50.02, "200346DD"},     // unchanged
               {119.995, "4CCBFB16"},   // no centre near it below 120
               {124.995, "4FFD8ADB"}};  // 124.985
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mhz);
    EXPECT_EQ(Programmed(c.mhz), FreqCmd("U", {3}, c.digits));
    EXPECT_EQ(freq, c.mhz);  // the caller gets its frequency back
    EXPECT_EQ(scan_running, 1);
  }
}

TEST_F(PointSimVhf, FrequencyOnlyAndTransmission) {
  const std::string before = Sim().Status("measurements");
  EXPECT_EQ(Programmed(10, 2), Cmd("G06666667"));
  EXPECT_EQ(Programmed(10, 1), Cmd("G06666667"));
  EXPECT_EQ(Sim().Status("measurements"), before);  // no reply asked for
  transmission_mode = 1;
  EXPECT_EQ(Programmed(10), FreqCmd("T", {3}, "06666667"));
  EXPECT_EQ(Sim().Status("port"), "B");
}

TEST_F(PointSimVhf, LowFrequencyAveragingIsQuietAndRestored) {
  ExpectAveragingAround(PointAtAveraging(256, 0.01, 3), 64, 'U', 200);
  EXPECT_EQ(average, 256);
}

TEST_F(PointSimVhf, FrequenciesOutsideTheRangeAreKeptInIt) {
  EXPECT_EQ(Programmed(500), FreqCmd("U", {3}, "73333334"));  // 180 MHz
  EXPECT_EQ(freq, 500);
  EXPECT_EQ(Programmed(std::numeric_limits<double>::quiet_NaN()), FreqCmd("U", {3}, "0000D1B8"));
  EXPECT_EQ(Programmed(-3), FreqCmd("U", {3}, "0000D1B8"));  // min_freq, 0.005
}

TEST_F(PointSimVhf, NoClockSendsNothing) {
  osc_freq = 0;
  freq = 10;
  Mark();
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusNotProgrammed);
  EXPECT_EQ(raw_valid, 0);
  Sim().Status("freq");  // a round trip, so anything sent would be logged by now
  EXPECT_TRUE(SentOf('U').empty());
}

class PointSimUhf : public PointSim {
 protected:
  void SetUp() override {
    // The values of the worked examples: oscillator 1 at 50 MHz, offset
    // 0.0025 MHz (250000 x 1e-8), which the instrument itself announces.
    Start("uhf", {"--dfr1", "03d090"});
    ASSERT_DOUBLE_EQ(freq_offset1, 0.0025);
    SelectOsc(1);
    two_osc = 0;
    DDSdelay = 2;
  }
  Command Programmed(double f, int flags = 0) {
    freq = f;
    Mark();
    Send_Freq(flags);
    std::vector<Command> e = SentOf('E', 1);
    return e.empty() ? Command() : e.back();
  }
};

TEST_F(PointSimUhf, WordsMultipliersAndSettling) {
  // The first point after start-up at a new plan entry: mode 5 and 20 ms more.
  freq = 1;
  Send_Freq(1);
  EXPECT_EQ(Programmed(100), FreqCmd("E", {1, 152, 3}, "249249252762B6AE"));
  EXPECT_EQ(Programmed(500), FreqCmd("E", {1, 152, 3}, "492492493B1370B4"));  // both folded once
  // 350 MHz: plan entry 14,12 (a change), ratio exactly 0.5 sent as 7FFFFFFF.
  Command c = Programmed(350);
  EXPECT_EQ(Command(c.begin(), c.begin() + 4), Command({'E', 5, 16 * 9 + 7, 23}));
  EXPECT_EQ(std::string(c.begin() + 4, c.begin() + 12), "7FFFFFFF");
  EXPECT_EQ(mult_changed, 1);
  // Port B after a change: settling 22 OR 1 OR 32.
  PortB_on = 1;
  c = Programmed(40.1);
  EXPECT_EQ(Command(c.begin(), c.begin() + 4), Command({'E', 5, 16 * 8 + 7, 55}));
  EXPECT_EQ(Sim().Status("port"), "B");
  c = Programmed(40.2);
  EXPECT_EQ(c[3], 3 | 32);
  // Port A with a settling time of 20 ms and a change: 40 ms does not fit
  // the five bits and is sent as 31, leaving the Port B flag clear.
  PortB_on = 0;
  DDSdelay = 20;
  c = Programmed(350);
  EXPECT_EQ(c[1], 5);
  EXPECT_EQ(c[3], 31);
  EXPECT_EQ(Sim().Status("port"), "A");
}

TEST_F(PointSimUhf, FlagsChooseMeasurementOrFrequencyOnly) {
  freq = 100;
  Send_Freq(1);
  Mark();
  const long before = std::stol(Sim().Status("measurements"));
  // flags 2: a full measurement, only the correction is skipped.
  EXPECT_EQ(Programmed(100, 2)[1], 1);
  EXPECT_EQ(std::stol(Sim().Status("measurements")), before + 1);
  // flags 1: mode 2 and the one-byte acknowledgement.
  rx_buf[0] = 0;
  EXPECT_EQ(Programmed(100, 1)[1], 2);
  EXPECT_EQ(rx_buf[0], 6);
  EXPECT_EQ(std::stol(Sim().Status("measurements")), before + 1);
  // Bit 7 is dropped: 128 measures like 0.
  EXPECT_EQ(Programmed(100, 128)[1], 1);
}

TEST_F(PointSimUhf, PortAGainDropsBelow548MHz) {
  PortA_Gain = 5;
  ProgGain();
  ASSERT_GT(gain_factor_A, 2);
  freq = 548.0;
  Mark();
  Send_Freq(0);
  EXPECT_TRUE(SentOf('A').empty());
  EXPECT_EQ(PortA_Gain, 5);
  freq = 547.9;
  Mark();
  Send_Freq(0);
  std::vector<Command> c = Sent(2);
  ASSERT_GE(c.size(), 2u);
  EXPECT_EQ(c[0][0], 'A');  // the gain command goes before the frequency command
  EXPECT_EQ(c[1][0], 'E');
  EXPECT_EQ(PortA_Gain, 1);
  EXPECT_EQ(Sim().Status("gainA"), "1");
}

TEST_F(PointSimUhf, LowFrequencyAveraging) {
  ExpectAveragingAround(PointAtAveraging(8, 0.03, 3), 16, 'E', 8);
  // Averaging that is already high enough is left alone.
  std::vector<Command> c = PointAtAveraging(256, 0.01, 1);
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0][0], 'E');
  EXPECT_EQ(average, 256);
}

TEST_F(PointSimUhf, FrequenciesOutsideTheRangeAreKeptInIt) {
  const struct {
    double asked, programmed;
  } cases[] = {{5000, 1200},
               {1e300, 1200},
               {-3, 0.005},
               {std::numeric_limits<double>::quiet_NaN(), 0.005},
               {std::numeric_limits<double>::infinity(), 1200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    freq = c.asked;
    Send_Freq(0);
    EXPECT_NEAR(std::stod(Sim().Status("freq")), c.programmed, 1e-5);
    EXPECT_EQ(vna_status, 0);
    if (std::isnan(c.asked)) {
      EXPECT_TRUE(std::isnan(freq));
    } else {
      EXPECT_EQ(freq, c.asked);
    }
  }
}

TEST_F(PointSimUhf, NoValidMultiplierSendsNothingAndFails) {
  // A damaged plan entry (9,25: 25 does not fit the multiplier byte).
  freq_mult_table[700] = 9 * 32 + 25;
  freq = 700.5;
  scan_running = 1;
  Mark();
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusNotProgrammed);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(raw_valid, 0);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Error 2711");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, " Invalid multipliers=  313");

  // A maximum frequency beyond the lookup table reads its last entry, never past it.
  maximumfreq = 5000;
  freq_mult_table[kFreqTableSize - 1] = 0;  // no plan reaches it
  freq = 4000;
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusNotProgrammed);
  EXPECT_EQ(dds_mult1, 0);

  // A kept pair that was never set, and a clock of 0.
  freq = 100;
  Send_Freq(4);
  EXPECT_EQ(vna_status, kStatusNotProgrammed);
  Sim().Status("freq");  // a round trip, so anything sent would be logged by now
  EXPECT_TRUE(SentOf('E').empty());

  maximumfreq = 1200;
  Send_Freq(0);
  ASSERT_EQ(vna_status, 0);
  DDS_Clk = 0;
  Mark();
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusNotProgrammed);
  Sim().Status("freq");
  EXPECT_TRUE(SentOf('E').empty());
  EXPECT_EQ(testhook::MsgBoxes().size(), 2u);  // the second for the empty entry at 1999 MHz
}

TEST_F(PointSimUhf, MeasureAtFreqWarnsBelowTwoKilohertz) {
  freq = 0.001;
  MeasureAtFreq();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " 892131");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Freq= 0.001");
  EXPECT_EQ(testhook::MsgBoxes()[0].icon, kIconExclamation);
  EXPECT_NEAR(std::stod(Sim().Status("freq")), 0.005, 1e-6);  // measured at the lowest frequency
  EXPECT_EQ(freq, 0.001);
}

TEST_F(PointSimUhf, DiagnosticReadouts) {
  DIAGMODE = 1;
  scan_running = 0;
  freq = 1;
  Send_Freq(1);
  testhook::ClearLogs();
  freq = 100;
  Send_Freq(0);
  const std::string printed = testhook::PrintedText("main_win");
  EXPECT_NE(printed.find(" Raw freq=  100.000    //38532"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Freq=  100.000: MagRef= "), std::string::npos) << printed;
  EXPECT_NE(printed.find("deg  Mults=14 ,13  AGain= 1.000 BGain=1  settling=2  clk=1   //6283   "),
            std::string::npos)
      << printed;
}

}  // namespace
}  // namespace vna
