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
#include "instrument/point_sim.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "support/process.h"
#include "support/sim_calibration.h"

namespace vna {
namespace {

struct ModelCase {
  const char* model;
  const char* maxfreq;
};

class ExportsTest : public PointSim, public ::testing::WithParamInterface<ModelCase> {};

bool HasCommand(const std::vector<Command>& sent, const Command& c) {
  return std::find(sent.begin(), sent.end(), c) != sent.end();
}

TEST_P(ExportsTest, AProgramLoadingTheLibraryDrivesTheInstrument) {
  testing::TempDir dir;
  Start(GetParam().model);
  cal_start_freq = 1;
  cal_end_freq = 100;
  cal_delta_freq = 1;
  PortB_cal = 0;  // a Port A calibration only, whatever an earlier test left
  test::CalibratePortAOnSim(Sim(), test::CalFrequencies(1, 100, 1));
  const std::string cal = dir / "real_bridge.vcal";
  testhook::QueueFileAnswer(cal);
  ASSERT_TRUE(SaveCalFile());
  // The port is exclusive: the client opens it next.
  SerialClose(hcom);
  hcom = kInvalidPort;
  Sim().Control("bridge ideal");
  Sim().SetDut("r=75");  // the calibration left its load connected

  const pid_t pid = test::StartProcess({EXPORTS_CLIENT, LIBVNA_FILE, VNA_BINARY_DIR "/bin/vna-sim",
                                        Sim().Folder() + "/control", GetParam().maxfreq, cal},
                                       {"VNA_COM1=" + Sim().Link(), "VNA_PROGRAM_DIR=" + dir.path(),
                                        "VNA_DRIVE_ROOT=" + (dir / "drives")});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(test::WaitProcess(pid, std::chrono::seconds(100)), 0)
      << "the client's FAIL lines say what went wrong";

  // Opening switches the automatic power-down off; closing sends nothing.
  const std::vector<Command> opened = Sim().CommandsSince("open");
  const std::vector<Command> until_opened(
      opened.begin(), opened.end() - static_cast<long>(Sim().CommandsSince("opened").size()));
  EXPECT_TRUE(HasCommand(until_opened, Cmd("D0")));
  EXPECT_FALSE(HasCommand(Sim().CommandsSince("close"), Cmd("D0")));
  EXPECT_EQ(Sim().Status("protocolerrors"), "0") << Sim().StderrText();
}

INSTANTIATE_TEST_SUITE_P(BothModels, ExportsTest,
                         ::testing::Values(ModelCase{"uhf", "1200"}, ModelCase{"7306", "180"}),
                         [](const auto& info) { return std::string(info.param.model); });

}  // namespace
}  // namespace vna
