// The program started against instruments whose version replies name
// neither model or both.
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

// The model decision at start-up, from the instrument's version reply.
TEST(VersionReplyModel, DecidesTheModelAndItsRange) {
  struct Case {
    const char* reply;
    int present, uhf, single;
    const char* model;
    double max_freq;
    int two_osc;
    const char* title;
  };
  const Case cases[] = {
      // No model named: the demonstration two-multiplier model with its full
      // range, never a maximum frequency of 0.
      {"VNA ver 9.99 ddsclk=50.00000 dfr1=000100 temp@", 0, 1, 0, "Zelmar", 1200, 2,
       "Zelmar   version 636A        DEMO MODE   "},
      // Both models named: the single-DDS test comes second and wins.
      {"VNA uhf vna7306 ver 9.99 ddsclk1=50.00000 dfr1=000100 temp@", 1, 1, 1, "7306", 180, 0,
       "VNA-7306   version 636A   "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    TempDir dir(true);
    ScopedEnv program_dir("VNA_PROGRAM_DIR", dir.path());
    ScopedEnv drive_root("VNA_DRIVE_ROOT", dir / "drives");
    ScriptedPort port(8);  // the program's default port
    port.Answer('V', 1, c.reply);
    port.Answer('B', 1, std::string("\x0A\x14", 2));  // a 12 V supply: no time-out at start-up
    testhook::ClearLogs();
    StartUp();
    EXPECT_EQ(vna_present, c.present);
    EXPECT_EQ(model_uhf, c.uhf);
    EXPECT_EQ(model7306, c.single);
    EXPECT_EQ(model, c.model);
    EXPECT_DOUBLE_EQ(maximumfreq, c.max_freq);
    EXPECT_DOUBLE_EQ(cal_end_freq, c.max_freq);
    EXPECT_EQ(two_osc, c.two_osc);
    if (c.single) {
      EXPECT_DOUBLE_EQ(osc_freq, 400);
    }
    EXPECT_EQ(GetTitle(main_win), c.title);
    main_win.impl->top->close();
    MainLoop();
    ExitSequence();
    if (!c.present) {
      // In demonstration mode nothing but the version queries went out.
      EXPECT_EQ(port.Received(), "VVV");
    }
  }
}

}  // namespace
}  // namespace vna
