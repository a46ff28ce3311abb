// The exported functions as another program uses them: a plain C program
// loads libvna.so with dlopen and drives the simulator of each model (see
// exports_client.c). This side makes the calibration it loads, on the real
// bridge, and reads the simulator's byte log afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "scan/scan_sim.h"
#include "support/process.h"

namespace vna {
namespace {

struct ModelCase {
  const char* model;
  const char* maxfreq;
};

class ExportsTest : public ScanSim, public ::testing::WithParamInterface<ModelCase> {
 protected:
  ExportsTest() { model_ = GetParam().model; }

  // Both ports calibrated on the real bridge, as a person calibrates them,
  // into a file for the client.
  std::string CalibrateAndSave() {
    Calibrate(1, 100, 1);
    cal_delta_freq = 1;
    PortB_on = transmission_mode = 1;
    RunThroughCal();
    const std::string cal = dir_ / "real_bridge.vcal";
    testhook::QueueFileAnswer(cal);
    EXPECT_TRUE(SaveCalFile());
    return cal;
  }

  // The port handed to the client (it is exclusive), which runs `part` of
  // its checks against the simulator: an ideal bridge, r=75 on Port A, a
  // through connection on Port B.
  void RunClient(const std::string& part, const std::string& cal,
                 std::vector<std::string> env = {}) {
    SerialClose(hcom);
    hcom = kInvalidPort;
    Sim().Control("bridge ideal");
    Sim().SetDut("r=75");
    Sim().SetDutB("thru");
    env.insert(env.end(),
               {"VNA_COM1=" + Sim().Link(), "VNA_COM99=" + (dir_ / "no-device"),
                "VNA_PROGRAM_DIR=" + dir_.path(), "VNA_DRIVE_ROOT=" + (dir_ / "drives")});
    const pid_t pid = test::StartProcess(
        {EXPORTS_CLIENT, LIBVNA_FILE, VNA_BINARY_DIR "/bin/vna-sim", Sim().Folder() + "/control",
         GetParam().maxfreq, cal, part},
        env);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(test::WaitProcess(pid, std::chrono::seconds(200)), 0)
        << "the client's FAIL lines say what went wrong";
    EXPECT_EQ(Sim().Status("protocolerrors"), "0") << Sim().StderrText();
  }

  testing::TempDir dir_;
};

bool HasCommand(const std::vector<Command>& sent, const Command& c) {
  return std::find(sent.begin(), sent.end(), c) != sent.end();
}

TEST_P(ExportsTest, AProgramLoadingTheLibraryDrivesTheInstrument) {
  Begin();
  const std::string cal = CalibrateAndSave();
  RunClient("tour", cal);
  // Opening switches the automatic power-down off; closing sends nothing.
  const std::vector<Command> opened = Sim().CommandsSince("open");
  const std::vector<Command> until_opened(
      opened.begin(), opened.end() - static_cast<long>(Sim().CommandsSince("opened").size()));
  EXPECT_TRUE(HasCommand(until_opened, Cmd("D0")));
  EXPECT_FALSE(HasCommand(Sim().CommandsSince("close"), Cmd("D0")));
}

// VNA_ReadPointB reads Port B as the Port B scan does: the gain ranged from
// step 1 whatever step the application's last scan left on the instrument,
// this point's ratio corrected; and after VNA_InitVars the instrument runs
// what the settings say (the oscillator the frequency is programmed for).
TEST_P(ExportsTest, PortBReadsRangeTheGainWhateverStepTheInstrumentWasLeftOn) {
  Begin();
  const std::string cal = CalibrateAndSave();
  // A Port B scan of a weak signal leaves the instrument on a high gain step
  // (at high sensitivity on the single-DDS model) for the next program.
  PortBMode();
  Sim().SetDutB("atten:db=70");
  ScanButton(1, 59, 2);
  ASSERT_EQ(vna_status, 0);
  ASSERT_GE(std::stoi(Sim().Status("gainB")), 4);
  RunClient("port-b", cal);
}

// NULL outputs and frequencies the model cannot measure are refused before
// anything is measured.
TEST_P(ExportsTest, PointReadsRefuseNullOutputsAndUnmeasurableFrequencies) {
  Begin();
  RunClient("refused", CalibrateAndSave());
}

// Before any open, after an open that failed and after the close, every
// function that addresses the instrument fails and writes nothing.
TEST_P(ExportsTest, WithoutAnInstrumentNothingReportsSuccess) {
  Begin();
  RunClient("no-instrument", "");
}

// A read that fails hands out its status and nothing else.
TEST_P(ExportsTest, AFailedReadWritesNothing) {
  Begin();
  RunClient("failed-reads", CalibrateAndSave());
}

// A program that opens the port again may find another instrument there
// (here the other model): the library identifies it anew instead of
// programming it as the first.
TEST_P(ExportsTest, AnotherInstrumentOpenedIsIdentifiedAnew) {
  Begin();
  const std::string cal = CalibrateAndSave();
  test::SimSettings other;
  other.args = {"--model", std::string(GetParam().model) == "uhf" ? "7306" : "uhf"};
  other.com_port = 2;
  other.set_env = false;
  test::SimRunner second(other);
  RunClient("reopen", cal, {"VNA_COM2=" + second.Link()});
}

INSTANTIATE_TEST_SUITE_P(BothModels, ExportsTest,
                         ::testing::Values(ModelCase{"uhf", "1200"}, ModelCase{"7306", "180"}),
                         [](const auto& info) { return std::string(info.param.model); });

}  // namespace
}  // namespace vna
