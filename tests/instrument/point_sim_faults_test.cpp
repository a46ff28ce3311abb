// Reply failures injected by the simulator: what the point reports, what the
// user sees and whether the running scan stops.
#include <complex>

#include "calibration/state.h"
#include "instrument/frequency_programming.h"
#include "instrument/measurement_reply.h"
#include "instrument/point_reads.h"
#include "point_sim.h"
#include "scan/state.h"
#include "shell/state.h"

namespace vna {
namespace {

class PointSimFaults : public PointSim {
 protected:
  void SetUp() override {
    Start("uhf", {"--bridge", "ideal", "--dut", "r=100"});
    average = 16;  // finest words: the filler reply of a calibration stays below overload
    AverageADC(average);
    freq = 14;
    ReadPoint_A(0);  // a good point first, whose values a failed one must not pass for
    ASSERT_EQ(vna_status, 0);
    ASSERT_NEAR(Rsm, 100, 0.5);
    scan_running = 1;
    recycle_on = 1;
    testhook::ClearLogs();
  }
  std::string Printed() { return testhook::PrintedText("main_win"); }
  int Resends() {
    int n = 0;
    for (const Command& c : Sent()) n += c == Command({'R'});
    return n;
  }
};

TEST_F(PointSimFaults, SilentPortReportsNoDataWithoutStoppingTheScan) {
  Sim().Fault("silence 1");
  testhook::QueueMsgBoxAnswer(kIdIgnore, " Hardware Reset");
  Mark();
  freq = 14;
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusNoData);
  EXPECT_EQ(scan_running, 1);
  EXPECT_EQ(recycle_on, 1);
  EXPECT_NE(Printed().find("  === No data from I/O port. ===        "), std::string::npos);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const testhook::MsgBoxRecord& box = testhook::MsgBoxes()[0];
  EXPECT_EQ(box.caption, " Hardware Reset");
  EXPECT_EQ(box.buttons, kMbAbortRetryIgnore);
  EXPECT_EQ(box.icon, kIconNone);
  EXPECT_TRUE(box.topmost);
  EXPECT_EQ(box.text,
            " A data error has occured on comm port 8.\rFreq =  14 Turn the VNA power "
            "off and back on to reset.\r\r If this problem persists, check the USB "
            "driver associated with port 8.\r\r        Click Abort to close the program.");
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(main_loop_on, 1);
  EXPECT_EQ(Resends(), 0);
}

TEST_F(PointSimFaults, AbortInTheHardwareResetBoxEndsTheProgram) {
  Sim().Fault("silence 1");
  testhook::QueueMsgBoxAnswer(kIdAbort, " Hardware Reset");
  Send_Freq(0);
  EXPECT_EQ(main_loop_on, 0);
  EXPECT_EQ(vna_present, 0);
}

TEST_F(PointSimFaults, NoBoxUnlessARoutineAskedForIt) {
  hw_reset_prompt = 0;  // e.g. after the relays went off
  Sim().Fault("silence 1");
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusNoData);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(PointSimFaults, OneBadChecksumIsReadAgain) {
  Sim().SetDut("r=200");
  Sim().Fault("checksum 1");
  Mark();
  freq = 14;
  Send_Freq(0);
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(port_status, 1);
  EXPECT_EQ(raw_valid, 1);
  EXPECT_EQ(Resends(), 1);
  // One retry line (the uncalibrated point's notice may follow it).
  EXPECT_EQ(Printed().find("  retry:1 \n"), 0u);
  EXPECT_EQ(Printed().find("retry:", 3), std::string::npos);
  EXPECT_NEAR(Rsm, 200, 1);
  EXPECT_EQ(scan_running, 1);
}

TEST_F(PointSimFaults, FiveBadChecksumsFailThePoint) {
  Sim().SetDut("r=200");
  Sim().Fault("checksum 5");
  Mark();
  freq = 14;
  Send_Freq(0);
  EXPECT_EQ(Resends(), 4);
  EXPECT_EQ(vna_status, kStatusBadChecksums);
  EXPECT_LT(port_status, 1);
  EXPECT_EQ(raw_valid, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(recycle_on, 0);
  // Nothing of a damaged reply reached the point: the words are the blanks
  // of the last resend request, and the impedance is still the last good one.
  for (int k = 0; k < kReplyAdcWords; ++k) EXPECT_EQ(ADCdata[k], -1) << k;
  EXPECT_NEAR(Rsm, 100, 0.5);
  const std::string printed = Printed();
  EXPECT_NE(printed.find("  retry:1 "), std::string::npos);
  EXPECT_NE(printed.find("  retry:5 "), std::string::npos);
  EXPECT_NE(printed.find("  === Bad data from I/O port. ===        "), std::string::npos);
  EXPECT_EQ(printed.find("No Reference"), std::string::npos);
}

// Words at the top of the range, word 1 well above the floor: the overload
// and nothing else.
TEST_F(PointSimFaults, OverloadAtTheLowestGainSwitchesTheRelaysOff) {
  Sim().Fault("clip 1");
  Mark();
  freq = 14;
  Send_Freq(0);
  EXPECT_EQ(vna_status, kStatusOverload);
  EXPECT_GE(ADCdata[1], 10);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(raw_valid, 0);
  EXPECT_EQ(relayA, 0);
  EXPECT_EQ(relayB, 0);
  EXPECT_EQ(hw_reset_prompt, 0);
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_EQ(Printed().find("No Reference"), std::string::npos);
  // One reaction, and one box, for the reply, however many of its words lie
  // beyond the limit.
  int over = 0;
  for (int k = 0; k < kReplyAdcWords; ++k) over += ADCdata[k] > 65500;
  EXPECT_GT(over, 1);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  for (const testhook::MsgBoxRecord& box : testhook::MsgBoxes()) {
    EXPECT_EQ(box.caption, "  RF INPUT OVERLOAD ");
    EXPECT_EQ(box.text,
              "OVERLOAD at the RF Input.\r\nFreq= 14 PortB_on= 0  PortB_gain= 1  "
              "PortA_gain= 1");
    EXPECT_EQ(box.icon, kIconNone);
    EXPECT_TRUE(box.topmost);
  }
  int relays_off = 0;
  for (const Command& c : Sent()) relays_off += c == Cmd("K", {40});
  EXPECT_EQ(relays_off, 1);
  EXPECT_NEAR(Rsm, 100, 0.5);  // the overloaded reply was not analysed
}

// A load overdriven at both ends also pulls word 1 to the floor: the later
// reference check replaces the overload's status, after its reaction ran.
TEST_F(PointSimFaults, OverloadThatAlsoEmptiesWordOneReportsNoReference) {
  Sim().Fault("overload 1");
  freq = 14;
  Send_Freq(0);
  ASSERT_LT(ADCdata[1], 10);
  EXPECT_EQ(vna_status, kStatusNoReference);
  EXPECT_EQ(relayA, 0);
  EXPECT_EQ(Sim().Status("relays"), "0");
  ASSERT_FALSE(testhook::MsgBoxes().empty());
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "  RF INPUT OVERLOAD ");
  EXPECT_NE(Printed().find("*** No Reference signal at  14.000 MHz      "), std::string::npos);
}

TEST_F(PointSimFaults, LargeWordsAtAHigherGainAreNoOverload) {
  PortA_Gain = 5;  // kept above 548 MHz
  ProgGain();
  FaultyPoint("overload 1", 600);
  EXPECT_NE(vna_status, kStatusOverload);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(relayA, 1);
  EXPECT_EQ(Sim().Status("relays"), "3");
}

TEST_F(PointSimFaults, DeadReferenceChannelIsFlaggedByTheFit) {
  // The reply itself is sound; the fit finds no reference sine, takes it as
  // 50 and ORs 128 in. The scan decides itself whether to stop.
  FaultyPoint("noref 1", 14);
  EXPECT_EQ(vna_status, kStatusWeakReference);
  EXPECT_EQ(scan_running, 1);
  EXPECT_DOUBLE_EQ(MagRef, 50);
  EXPECT_NE(Printed().find("*** No Reference signal at  14.000 MHz      "), std::string::npos);
}

TEST_F(PointSimFaults, NoSignalAboveTenMegahertzStopsTheScan) {
  FaultyPoint("nosignal 1", 14);
  EXPECT_EQ(vna_status, kStatusNoReference);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(raw_valid, 0);
  EXPECT_NE(Printed().find("*** No Reference signal at  14.000 MHz      "), std::string::npos);
  EXPECT_NEAR(Rsm, 100, 0.5);  // the point keeps the last analysed values

  // At 10 MHz exactly the test does not apply.
  testhook::ClearLogs();
  scan_running = 1;
  FaultyPoint("nosignal 1", 10);
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(scan_running, 1);
  EXPECT_EQ(Printed().find("No Reference"), std::string::npos);
}

TEST_F(PointSimFaults, SilenceDuringACalibrationUsesTheFillerReply) {
  CalinProgress = 1;
  FaultyPoint("silence 1", 14);
  EXPECT_EQ(vna_status, kStatusNoDataCal);
  EXPECT_EQ(raw_valid, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(Printed().find("No data"), std::string::npos);
  // Filler byte i is i + 1, so ADC word k is 256 (5 + 2k) + 6 + 2k, scaled.
  for (int k = 0; k < kReplyAdcWords; ++k) {
    EXPECT_EQ(ADCdata[k], adc_scale * (256 * (5 + 2 * k) + 6 + 2 * k)) << k;
  }
  CalinProgress = 0;
}

TEST_F(PointSimFaults, WithoutAnInstrumentNothingIsReadAndTheOldWordsAreChecked) {
  vna_present = 0;
  vna_status = 5;
  for (int k = 0; k < kReplyAdcWords; ++k) ADCdata[k] = 0;
  freq = 20;
  Get_Raw_Data(0);
  EXPECT_EQ(vna_status, kStatusNoReference);  // the reference check runs on the old words
  EXPECT_EQ(scan_running, 0);
  vna_present = 1;
}

// Below 0.2 MHz (single-DDS model) and 0.05 MHz (two-multiplier model) the
// point runs at a higher averaging and puts the old one back afterwards; the
// point's failure must come through that.
class PointSimLowFrequency : public PointSim {
 protected:
  struct Case {
    double mhz;
    const char* fault;
    int status;
  };
  void Check(const char* model, std::initializer_list<Case> cases) {
    Start(model, {"--bridge", "ideal", "--dut", "r=100"});
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.fault) + " at " + std::to_string(c.mhz));
      relayA = relayB = 1;
      ProgRelay(3);  // on again after an overload
      average = 1;
      AverageADC(average);
      testhook::QueueMsgBoxAnswer(kIdIgnore, " Hardware Reset");
      FaultyPoint(c.fault, c.mhz);
      EXPECT_EQ(vna_status, c.status);
      EXPECT_EQ(average, 1);  // put back all the same
      EXPECT_EQ(adc_scale, 16);
    }
  }
};

TEST_F(PointSimLowFrequency, SingleDdsModelKeepsTheFailure) {
  Check("7306", {{0.15, "silence 1", kStatusNoData},
                 {0.15, "clip 1", kStatusOverload},
                 {0.05, "checksum 5", kStatusBadChecksums}});
}

TEST_F(PointSimLowFrequency, TwoMultiplierModelKeepsTheFailure) {
  Check("uhf", {{0.03, "silence 1", kStatusNoData},
                {0.03, "clip 1", kStatusOverload},
                {0.01, "checksum 5", kStatusBadChecksums}});
}

// The instrument reports the tuning word it really set. Within 0.005 MHz of
// the frequency asked for, that is the point's frequency while it is
// analysed; further away the report is not believed. The reference message
// shows which frequency the reply check worked with.
class PointSimReadBack : public PointSim {
 protected:
  void Check(const char* model) {
    Start(model, {"--bridge", "ideal"});
    const struct {
      double error;
      const char* shown;
    } cases[] = {{0.004, "14.004"}, {-0.004, "13.996"}, {0.006, "14.000"}, {-0.006, "14.000"}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.error);
      Sim().Control("tune-error " + std::to_string(c.error));
      testhook::ClearLogs();
      FaultyPoint("nosignal 1", 14);
      EXPECT_EQ(vna_status, kStatusNoReference);
      EXPECT_NE(testhook::PrintedText("main_win")
                    .find(std::string("*** No Reference signal at  ") + c.shown + " MHz      "),
                std::string::npos)
          << testhook::PrintedText("main_win");
      EXPECT_EQ(freq, 14);  // the caller gets its own frequency back
    }
  }
};

TEST_F(PointSimReadBack, SingleDdsModel) {
  Check("7306");
}

TEST_F(PointSimReadBack, TwoMultiplierModel) {
  Check("uhf");
}

}  // namespace
}  // namespace vna
