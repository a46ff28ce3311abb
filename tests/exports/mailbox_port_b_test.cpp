// Port B requests through the registry mailbox against the simulator: the
// polling loop of the program answers a request written into the store, so
// the answer a client reads is the one tested.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "instrument/measurement_reply.h"
#include "platform/store.h"
#include "scan/scan_sim.h"
#include "shell/mailbox.h"
#include "support/file_lines.h"

namespace vna {
namespace {

const std::string kKey = "hkey_current_user\\software\\TARVOVNA\\";

class MailboxPortB : public ScanSim {
 protected:
  void SetUp() override {
    Begin();
    CalibrateThrough(1, 61, 1);
    PortB_on = transmission_mode = 0;
    Calibrate(1, 61, 1);
    PortBMode();
    control_csv = csv_;
    Sim().SetDut("r=75");
    Sim().SetDutB("atten:db=20");
  }
  void TearDown() override {
    testhook::SetPumpHook(nullptr);
    ScanSim::TearDown();
  }

  // A client's request for 11 to 60 MHz on `port`; the program's polling
  // loop runs until it answered. `during` runs at every pump meanwhile.
  std::string Request(const std::string& port, std::function<void()> during = nullptr) {
    std::filesystem::remove(csv_);
    StoreWrite(kKey, "csvready", "");
    StoreWrite(kKey, "startfreq", "11");
    StoreWrite(kKey, "endfreq", "60");
    StoreWrite(kKey, "deltafreq", "1");
    StoreWrite(kKey, "scanport", port);
    StoreWrite(kKey, "dataready", "1");
    main_loop_on = 1;
    regctl_mode = 2;
    scanloop = 0;
    testhook::SetPumpHook([during] {
      if (during) during();
      if (!StoreRead(kKey, "csvready", "").empty()) main_loop_on = 0;
    });
    RegistryControl();
    testhook::SetPumpHook(nullptr);
    main_loop_on = 1;
    return StoreRead(kKey, "csvready", "");
  }
  std::vector<std::string> CsvLines() const {
    std::ifstream in(csv_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return testing::SplitCrLf(s.str());
  }
  int Measurements() { return std::stoi(Sim().Status("measurements")); }

  testing::ScopedEnv registry_{"VNA_REGISTRY_FILE", Folder() + "/registry.ini"};
  const std::string csv_ = Folder() + "/result.csv";
};

// A Port B scan that fails part way is answered with the failure's code,
// never with the CSV of the points read before it.
TEST_F(MailboxPortB, AScanThatFailsPartWayIsAnsweredWithItsCode) {
  PortB_cal = 1;
  ASSERT_EQ(Request("1"), csv_);
  const auto rows = CsvLines();
  ASSERT_EQ(rows.size(), 5u + 50u);
  EXPECT_EQ(rows[4], "Freq(MHz),  S21mag(dB), S21phase(deg), Delay(usec)");
  EXPECT_EQ(rows[5].substr(0, 12), " 11.0000000,") << rows[5];
  EXPECT_NEAR(std::stod(rows[5].substr(12)), -20, 0.2) << rows[5];

  bool injected = false;
  const std::string answer = Request("1", [&] {
    if (!injected && scan_running != 0 && scanloop >= 20) {
      Sim().Fault("checksum 5");
      injected = true;
    }
  });
  Sim().Fault("none");
  EXPECT_TRUE(injected);
  EXPECT_EQ(answer, "error" + NumStr(kStatusBadChecksums));
  EXPECT_FALSE(std::filesystem::exists(csv_));
}

// Without a Port B calibration a Port B request is refused with its code:
// nothing is measured on either port and no CSV is written.
TEST_F(MailboxPortB, AnUncalibratedPortBRequestIsRefused) {
  PortB_cal = 0;
  scan_npoints = 0;
  const int before = Measurements();
  testhook::QueueMsgBoxAnswer(kIdOk, "Port B needs cal");
  EXPECT_EQ(Request("1"), "error 4482");
  EXPECT_EQ(Measurements(), before);
  EXPECT_FALSE(std::filesystem::exists(csv_));
  EXPECT_EQ(scan_npoints, 0);
  EXPECT_EQ(StoreRead(kKey, "dataready", ""), "null");
  // A Port A request still gets its scan.
  EXPECT_EQ(Request("0"), csv_);
  EXPECT_EQ(CsvLines().size(), 5u + 50u);
}

// A request the user halts part way is answered with the CSV of the points
// measured: the rest of the list, drawn with the last reading repeated, is
// not in it. Halted before its first point it is answered with its code and
// no CSV, and the stored scan of the port stays as it was.
TEST_F(MailboxPortB, AHaltedScanGivesTheMeasuredPointsOnly) {
  PortB_cal = 1;
  for (const std::string port : {"0", "1"}) {
    for (int halt_at : {20, 0}) {
      SCOPED_TRACE("scanport " + port + ", halted at " + std::to_string(halt_at));
      const int stored_before = port == "1" ? scanB_npoints : scanA_npoints;
      bool halted = false;
      const std::string answer = Request(port, [&] {
        if (!halted && scan_running != 0 && scanloop >= halt_at) {
          halted = true;
          DispatchCommand(kBtnHalt);
        }
      });
      ASSERT_TRUE(halted);
      const int measured = port == "1" ? scanB_npoints : scanA_npoints;
      if (halt_at == 0) {
        EXPECT_EQ(measured, stored_before);
        EXPECT_EQ(answer, "error" + NumStr(kCtlNothingMeasured));
        EXPECT_FALSE(std::filesystem::exists(csv_));
        continue;
      }
      EXPECT_EQ(answer, csv_);
      EXPECT_GE(measured, halt_at);
      EXPECT_LT(measured, 50);
      const auto rows = CsvLines();
      ASSERT_EQ(rows.size(), 5u + measured);
      const std::string& last = rows.back();
      const std::string& before_last = rows[rows.size() - 2];
      EXPECT_DOUBLE_EQ(ParseNumber(last.substr(0, last.find(','))), 11 + measured - 1) << last;
      EXPECT_NE(last.substr(last.find(',')), before_last.substr(before_last.find(',')));
    }
  }
}

}  // namespace
}  // namespace vna
