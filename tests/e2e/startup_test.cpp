// The program's start-up, main loop and exit, run in this process against no
// instrument (demonstration mode) and against the simulator of both models.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/init_file.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;
using Bytes = std::vector<uint8_t>;

const char* const kNotResponding =
    "The VNA is not responding.\r\nPlease check the power and the data cable.\r\n"
    "The power should be on before the PC program is started.\r\n\r\n"
    "Make sure another copy of this program is not running.\r\n\r\n"
    "When starting a new version of the program,\r\nbe sure to check the comm port number.\r\n\r\n"
    "Use the Setup Menu to set the comm port if the default is not correct.";

const char* const kInitFile = "VNA_Init_Data_ 4177.ini";

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { testhook::ClearLogs(); }

  // The main window's close box, then the main loop and the exit sequence.
  static void CloseAndExit() {
    ASSERT_TRUE(main_win.IsOpen());
    main_win.impl->top->close();
    MainLoop();
    ExitSequence();
  }

  static int BoxesWithText(const std::string& text) {
    int n = 0;
    for (const auto& b : testhook::MsgBoxes()) n += b.text == text;
    return n;
  }

  TempDir dir{true};  // also the current folder
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
};

TEST_F(StartupTest, WithoutAnInstrumentRunsInDemonstrationMode) {
  ScopedEnv port("VNA_COM8", dir / "no-such-port");
  StartUp();
  ASSERT_EQ(BoxesWithText(kNotResponding), 1);
  for (const auto& b : testhook::MsgBoxes()) {
    if (b.text != kNotResponding) continue;
    EXPECT_EQ(b.caption, "");
    EXPECT_EQ(b.buttons, kMbOk);
    EXPECT_EQ(b.icon, kIconNone);
    EXPECT_TRUE(b.topmost);
    EXPECT_EQ(b.owner, "main_win");
  }
  EXPECT_EQ(GetTitle(main_win), "Zelmar   version 636A        DEMO MODE   ");
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(PortB_cal, 1);
  EXPECT_EQ(model, "Zelmar");
  EXPECT_DOUBLE_EQ(maximumfreq, 1200);
  EXPECT_DOUBLE_EQ(cal_end_freq, 1200);
  EXPECT_EQ(two_osc, 2);
  EXPECT_EQ(main_loop_on, 1);
  EXPECT_EQ(focus_win, 1);
  EXPECT_TRUE(dlg_scan_limits.defined && dlg_tdrscales.defined && dlg_about.defined);
  // The new program folder got the program's own config file: read whole,
  // without a box.
  EXPECT_EQ(config_loaded, 1);
  EXPECT_TRUE(std::filesystem::exists(dir / "_VNA_Config_1.cfg"));
  for (const auto& b : testhook::MsgBoxes()) EXPECT_NE(b.caption, "Config File") << b.text;
  EXPECT_FALSE(std::filesystem::exists(dir / kInitFile));
  CloseAndExit();
  EXPECT_TRUE(std::filesystem::exists(dir / kInitFile));
  EXPECT_FALSE(main_win.IsOpen());
  EXPECT_EQ(BoxesWithText(kNotResponding), 1);
}

// A command as the simulator logged it, and whether it is one we expect.
struct Expected {
  Bytes bytes;
  const char* what;
};

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// Each expected command appears in the log in this order; other commands
// (a frequency programmed on the way) may lie between them.
void ExpectInOrder(const std::vector<Bytes>& log, const std::vector<Expected>& expected) {
  size_t at = 0;
  for (const Expected& e : expected) {
    while (at < log.size() && log[at] != e.bytes) ++at;
    ASSERT_LT(at, log.size()) << "missing or out of order: " << e.what;
    ++at;
  }
}

struct ModelCase {
  const char* sim_model;
  const char* title;
  const char* model;
  double max_freq;
  std::vector<Expected> startup;
};
void PrintTo(const ModelCase& c, std::ostream* os) {
  *os << c.sim_model;
}

class StartupSimTest : public StartupTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(StartupSimTest, IdentifiesTheModelSetsItUpAndSwitchesTheRelaysOffAtExit) {
  const ModelCase& c = GetParam();
  test::SimRunner sim({"--model", c.sim_model});
  StartUp();
  EXPECT_EQ(BoxesWithText(kNotResponding), 0);
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(GetTitle(main_win), c.title);
  EXPECT_EQ(model, c.model);
  EXPECT_DOUBLE_EQ(maximumfreq, c.max_freq);
  EXPECT_DOUBLE_EQ(cal_end_freq, c.max_freq);
  EXPECT_DOUBLE_EQ(Rbridge, 50);
  EXPECT_DOUBLE_EQ(raw_Z0, 50);
  ExpectInOrder(sim.Commands(), c.startup);

  sim.Mark("exit");
  full_current_mode = 1;  // the user's choice: kept in the init file, not used at exit
  CloseAndExit();
  const std::vector<Bytes> at_exit = sim.CommandsSince("exit");
  // Relays off in low-current mode: both DDS outputs off, no parking frequency.
  ExpectInOrder(at_exit, {{{'K', 40}, "relays off"}, {{'K', 168}, "DDS off"}});
  for (const Bytes& cmd : at_exit) EXPECT_NE(cmd, (Bytes{'K', 171})) << "DDS left on at exit";
  EXPECT_TRUE(std::filesystem::exists(dir / kInitFile));
  EXPECT_EQ(hcom, -1);
}

const std::vector<Expected> kCommonTail = {{{'K', 40}, "relays off (step 29)"},
                                           {{'K', 168}, "DDS power, low current"},
                                           {Text("D0"), "auto power-down off"},
                                           {{'J', 4}, "averaging 4"},
                                           {Text("B"), "supply voltage test"}};

std::vector<Expected> Join(std::vector<Expected> a, const std::vector<Expected>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    BothModels, StartupSimTest,
    ::testing::Values(ModelCase{"uhf", "Zelmar   version 636A   ", "Zelmar", 1200,
                                Join({{Text("V"), "link test"},
                                      {Text("V"), "version with detection"},
                                      {{'O', 1}, "oscillator 1"},
                                      {Text("V"), "second version query"},
                                      {Text("M03FF"), "amplitude 100 % (reset)"},
                                      {{'K', 40}, "relays off (reset)"},
                                      {{'K', 168}, "DDS power (reset)"},
                                      {{'A', 4, 30}, "gains (reset)"}},
                                     kCommonTail)},
                      ModelCase{"7306", "VNA-7306   version 636A   ", "7306", 180,
                                Join({{Text("V"), "link test"},
                                      {Text("V"), "version with detection"},
                                      {Text("V"), "second version query"},
                                      {Text("M03FF"), "amplitude 100 % (reset)"},
                                      {{'K', 40}, "relays off (reset)"},
                                      {{'K', 168}, "DDS power (reset)"},
                                      {{'A', 0x86, 5}, "gains and sensitivities (reset)"}},
                                     kCommonTail)}),
    [](const auto& info) {
      return std::string(info.param.sim_model == std::string("uhf") ? "Uhf" : "Model7306");
    });

// A close that arrives while start-up still runs ends the program right after
// it: the main loop does not wait for one more event.
TEST_F(StartupTest, CloseDuringStartUpEndsTheLoopAtOnce) {
  ScopedEnv port("VNA_COM8", dir / "no-such-port");
  StartUp();
  PostEvent(main_win, kEvClose);
  PumpEvents();
  EXPECT_EQ(main_loop_on, 0);
  MainLoop();  // returns without waiting
  ExitSequence();
  EXPECT_TRUE(std::filesystem::exists(dir / kInitFile));
}

// A damaged init file must not open a window of any size.
TEST_F(StartupTest, MainWindowStaysWithinTheScreen) {
  ScopedEnv port("VNA_COM8", dir / "no-such-port");
  InitVars();
  WinWidth = 100000;
  WinHeight = 90000;
  file_name = dir / kInitFile;
  ASSERT_TRUE(SaveInitData());
  StartUp();
  int w = 0, h = 0, sw = 0, sh = 0;
  OuterSize(main_win, w, h);
  ScreenSize(sw, sh);
  EXPECT_LE(w, sw);
  EXPECT_LE(h, sh);
  EXPECT_GT(w, 0);
  CloseAndExit();
}

}  // namespace
}  // namespace vna
