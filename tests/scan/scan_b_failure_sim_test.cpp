// A live Port B scan whose instrument fails part way, against the simulator:
// the scan ends with the failure's status (whatever the closing commands
// report), and a point whose reading failed is not kept as measured.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "instrument/measurement_reply.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

class ScanBFailureSim : public ScanSim {
 protected:
  // Port B mode with a through calibration over 1 to 61 MHz; S21 and its
  // phase on, the averaging following the level (so the averaging command
  // runs after every point's reading).
  void BeginB() {
    Begin();
    CalibrateThrough(1, 61, 1);
    PortBMode();
    fixed_avg = 0;
    avgweight = 1;
    Sim().SetDutB("atten:db=20");
  }
};

TEST_F(ScanBFailureSim, AReadingThatFailsPartWayKeepsItsStatus) {
  struct Case {
    const char* fault;
    int status;
  };
  // Above 10 MHz: a reference too weak to fit, and no reference at all.
  const Case cases[] = {
      {"silence 1", kStatusNoData},
      {"checksum 5", kStatusBadChecksums},
      {"noref 1000", kStatusWeakReference},
      {"nosignal 1000", kStatusNoReference},
  };
  BeginB();
  // With the averaging fixed only the closing commands run after the
  // failure; following the level, the averaging command runs after it too.
  for (int fixed : {1, 0}) {
    fixed_avg = fixed;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.fault) + (fixed != 0 ? ", fixed averaging" : ""));
      Sim().Fault("none");
      // An earlier failure does not keep the next scan from running.
      ScanButton(11, 60, 1);
      ASSERT_EQ(vna_status, 0) << "a clean scan first";
      ASSERT_EQ(scan_npoints, Numscanpts);
      if (std::string(c.fault).rfind("silence", 0) == 0) {
        testhook::QueueMsgBoxAnswer(kIdIgnore, " Hardware Reset");
      }
      FaultAt(20, c.fault);
      ScanButton(11, 60, 1);
      Sim().Fault("none");
      EXPECT_EQ(vna_status, c.status);
      EXPECT_GE(scan_npoints, 20);
      EXPECT_LT(scan_npoints, Numscanpts) << "the scan ends at the failed point";
      EXPECT_EQ(scanB_npoints, scan_npoints);
      EXPECT_EQ(relayA + relayB, 0);
    }
  }
}

// With the S11 trace on, the Port A point read before each Port B point
// failing: that point is neither stored nor saved, and the failure stays.
TEST_F(ScanBFailureSim, AFailedPortAReferenceStoresNothingForItsPoint) {
  struct Case {
    double start, end, step;
    const char* fault;
    int status;
  };
  // Below 10 MHz no reading reports a missing reference: the scan's own
  // check of the Port A point does.
  const Case cases[] = {
      {11, 60, 1, "checksum 5", kStatusBadChecksums},
      {1, 9.8, 0.2, "noref 1000", kStatusNoPortARef},
  };
  BeginB();
  PortB_on = transmission_mode = 0;  // Port A's reads and list, for the S11 trace
  Calibrate(1, 61, 0.2);
  PortB_on = transmission_mode = 1;
  plot_s11 = 1;
  Sim().SetDut("r=75");
  const double s11_db = 20 * std::log10(25.0 / 125);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    Sim().Fault("none");
    testhook::ClearLogs();
    FaultAt(20, c.fault);
    ScanButton(c.start, c.end, c.step);
    Sim().Fault("none");
    EXPECT_EQ(vna_status, c.status);
    // Every point stored is a measured one; the scan ends before the point
    // whose Port A reading failed.
    EXPECT_GE(scan_npoints, 20);
    EXPECT_LT(scan_npoints, Numscanpts);
    for (int i = 0; i < scan_npoints; ++i) {
      EXPECT_NEAR(s21_dB[i], -20, 0.2) << scanB_freq[i];
      EXPECT_NEAR(scanB_s11rl[i], s11_db, 0.1) << scanB_freq[i];
    }
    EXPECT_EQ(plot_s11, 1);
    test::SaveMainWindowPng(std::string("port_b_failed_reference_") + c.fault);
  }
  EXPECT_NE(testhook::PrintedText("main_win").find("There is no reference signal from Port A at"),
            std::string::npos);
}

// A scan refused before it measured leaves its refusal's status, and the
// first reading failing leaves the reading's: none of them reads as done.
TEST_F(ScanBFailureSim, ARefusedOrFailedStartKeepsItsStatus) {
  BeginB();
  PortB_cal = 0;
  ScanButton(11, 60, 1);
  EXPECT_EQ(vna_status, kStatusNotCalibrated);
  PortB_cal = 1;
  PortA_cal = 0;
  plot_s11 = 1;
  ScanButton(11, 60, 1);
  EXPECT_EQ(vna_status, kStatusS11NotCalibrated);
  plot_s11 = 0;
  Sim().Fault("checksum 5");
  ScanButton(11, 60, 1);
  EXPECT_EQ(vna_status, kStatusBadChecksums);
  EXPECT_EQ(relayA + relayB, 0);
  ASSERT_EQ(testhook::MsgBoxes().size(), 2u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Port B needs cal");
  EXPECT_EQ(testhook::MsgBoxes()[1].caption, " Cal Required   3479");
}

// Whichever way a Port B scan ends (run through, refused before its ranging
// or after its settling reading, its first reading or a later one failing),
// it gives back what it changed while it ran: the Port A plots it held off
// and the averaging the signal's level moved; transmission mode and the
// running flag are off.
TEST_F(ScanBFailureSim, EveryEndGivesBackWhatTheScanChanged) {
  struct Case {
    const char* what;
    std::function<void()> set, reset;
    int status;
  };
  const Case cases[] = {
      {"run through", [] {}, [] {}, 0},
      {"no Port B calibration", [] { PortB_cal = 0; }, [] { PortB_cal = 1; }, kStatusNotCalibrated},
      {"S11 without a Port A calibration", [] { plot_s11 = 1; }, [] { plot_s11 = 0; },
       kStatusS11NotCalibrated},
      {"first reading fails", [this] { Sim().Fault("checksum 1000"); },
       [this] { Sim().Fault("none"); }, kStatusBadChecksums},
      {"a later reading fails", [this] { FaultAt(20, "checksum 5"); },
       [this] { Sim().Fault("none"); }, kStatusBadChecksums},
  };
  BeginB();
  ASSERT_EQ(PortA_cal, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    plot_rt = plot_Q = 1;
    average = 32;  // the -20 dB through asks for 8 while the scan runs
    c.set();
    ScanButton(11, 60, 1);
    c.reset();
    EXPECT_EQ(vna_status, c.status);
    EXPECT_EQ(plot_rt, 1);
    EXPECT_EQ(plot_Q, 1);
    EXPECT_EQ(average, 32);
    EXPECT_EQ(transmission_mode, 0);
    EXPECT_EQ(scan_running, 0);
  }
}

}  // namespace
}  // namespace vna
