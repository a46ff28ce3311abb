// The program started against an instrument whose version reply names
// neither model: it must run as the demonstration two-multiplier model with
// its full frequency range, never with a maximum frequency of 0.
#include <gtest/gtest.h>

#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/scripted_port.h"
#include "instrument/state.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::ScriptedPort;
using vna::testing::TempDir;

TEST(UnnamedModel, StartsAsTheDemonstrationModelWithItsFullRange) {
  TempDir dir(true);
  ScopedEnv program_dir("VNA_PROGRAM_DIR", dir.path());
  ScopedEnv drive_root("VNA_DRIVE_ROOT", dir / "drives");
  ScriptedPort port(8);  // the program's default port
  // A reply the link test accepts, with an offset, but no model name.
  port.Answer('V', 1, "VNA ver 9.99 ddsclk=50.00000 dfr1=000100 temp@");
  testhook::ClearLogs();
  StartUp();
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(model_uhf, 1);
  EXPECT_EQ(model7306, 0);
  EXPECT_EQ(model, "Zelmar");
  EXPECT_DOUBLE_EQ(maximumfreq, 1200);
  EXPECT_DOUBLE_EQ(cal_end_freq, 1200);
  EXPECT_EQ(GetTitle(main_win), "Zelmar   version 636A        DEMO MODE   ");
  main_win.impl->top->close();
  MainLoop();
  ExitSequence();
  // In demonstration mode nothing but the version queries went out.
  EXPECT_EQ(port.Received(), "VVV");
}

}  // namespace
}  // namespace vna
