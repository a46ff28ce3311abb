// The instrument going away while the program measures: the loss is said
// once, in one box, and no later box contradicts it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/menus.h"
#include "shell/commands.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/sim_calibration.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class LostInstrumentE2E : public ::testing::TestWithParam<std::string> {};

// A scan's point read offers the " Hardware Reset" box on a read without
// data; a read that finds the instrument gone must not add it to the notice
// of the loss (its Abort would even end the program).
TEST_P(LostInstrumentE2E, ALossInTheMiddleOfAScanIsSaidOnce) {
  TempDir dir(true);
  ScopedEnv program_dir("VNA_PROGRAM_DIR", dir.path());
  ScopedEnv drive_root("VNA_DRIVE_ROOT", dir / "drives");
  test::SimRunner sim({"--model", GetParam()});
  StartUp();
  ASSERT_EQ(vna_present, 1);
  ASSERT_EQ(model, GetParam() == "uhf" ? "Zelmar" : "7306");
  relayA = relayB = 1;  // as a scan switches them
  ProgRelay(3);
  test::CalibratePortAOnSim(sim, test::CalFrequencies(1, 31, 1));
  cal_start_freq = 1;
  cal_end_freq = 31;
  sim.SetDut("r=75");
  start_freq = 1;
  end_freq = 30;
  delta_freq = 0.1;
  testhook::ClearLogs();
  testhook::SetPumpHook([&sim] {
    if (scan_running == 0 || scanloop < 20) return;
    testhook::SetPumpHook(nullptr);
    // The link goes at the next point, after its command and before the
    // reply: the read finds the instrument gone.
    sim.Fault("hangup");
  });
  {
    test::Watchdog watchdog(std::chrono::seconds(60), "a scan that loses its instrument");
    DispatchCommand(kBtnScan);
  }
  testhook::SetPumpHook(nullptr);
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(scan_running, 0);
  // Everything said after the loss: the one box, and nothing offering to
  // abort the program or to reset the instrument.
  std::vector<std::string> captions;
  for (const auto& b : testhook::MsgBoxes()) captions.push_back(b.caption);
  EXPECT_EQ(captions, std::vector<std::string>{" VNA connection lost"});
  EXPECT_EQ(main_loop_on, 1);
  main_loop_on = 0;
  ExitSequence();
  for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
}

INSTANTIATE_TEST_SUITE_P(BothModels, LostInstrumentE2E, ::testing::Values("uhf", "7306"));

}  // namespace
}  // namespace vna
