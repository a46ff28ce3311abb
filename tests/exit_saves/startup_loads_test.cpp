// What start-up hands to the scan and calibration loaders: which loader, the
// file name and the name mode at the moment of the call, and what start-up
// does with the result. The loaders are replaced in this test program by
// recorders, as the writers are in exit_saves_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/init_file.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/temp_dir.h"

namespace vna {

struct LoadCall {
  std::string what, file_name;
  int save_mode, scan_load_mode;
};
std::vector<LoadCall> load_calls;
int cal_load_status = 0;  // what the calibration loader leaves in vna_status

void LoadScanA() {
  load_calls.push_back({"A", file_name, save_mode, scan_load_mode});
}
void LoadScanB() {
  load_calls.push_back({"B", file_name, save_mode, scan_load_mode});
}
void GetPortACal(int show_summary) {
  load_calls.push_back({"cal" + std::to_string(show_summary), file_name, save_mode, 0});
  vna_status = cal_load_status;
}

namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class StartupLoadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhook::ClearLogs();
    load_calls.clear();
    cal_load_status = 0;
  }
  // An init file of the last run: Port A or B mode and a calibration file.
  void WriteInitFile(int port_b) {
    InitVars();
    PortB_on = port_b;
    cal_file_path = "/home/u/cal/bench.vcal";
    cal_file_name = "bench.vcal";
    file_name = dir / "VNA_Init_Data_ 4177.ini";
    ASSERT_TRUE(SaveInitData());
  }
  void Start(const std::string& line) {
    command_line = line;
    StartUp();
    PostEvent(main_win, kEvClose);
    MainLoop();
    ExitSequence();
  }
  std::vector<std::string> Loaders() const {
    std::vector<std::string> what;
    for (const LoadCall& c : load_calls) what.push_back(c.what);
    return what;
  }
  TempDir dir{true};
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
  ScopedEnv port{"VNA_COM8", dir / "no-such-port"};
};

// Port A mode: the scan named on the command line reaches the Port A loader
// with the mode "keep the name"; without one, the loader gets the auto-save
// mode and picks the auto-saved scan itself. Port B mode ignores the command
// line: the Port B loader gets the auto-save mode, and the command-line mode
// is cleared.
TEST_F(StartupLoadsTest, TheScanNamedOrTheAutoSaveReachesItsLoader) {
  struct Case {
    int port_b;
    std::string command_line;
    LoadCall expected;
  };
  const Case cases[] = {
      {0, "\"/opt/vna/vna\" \"/home/u/my scan.scn\"", {"A", "/home/u/my scan.scn", 3, 3}},
      {0, "\"/opt/vna/vna\"", {"A", "", 1, 0}},
      {1, "\"/opt/vna/vna\" \"/home/u/my scan.scn\"", {"B", "", 1, 0}},
      {1, "\"/opt/vna/vna\"", {"B", "", 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.port_b) + " " + c.command_line);
    WriteInitFile(c.port_b);
    load_calls.clear();
    file_name = "";
    Start(c.command_line);
    ASSERT_EQ(Loaders(), (std::vector<std::string>{c.expected.what, "cal0"}));
    const LoadCall& scan = load_calls[0];
    if (c.expected.save_mode == 3) {
      EXPECT_EQ(scan.file_name, c.expected.file_name);
    }
    EXPECT_EQ(scan.save_mode, c.expected.save_mode);
    EXPECT_EQ(scan.scan_load_mode, c.expected.scan_load_mode);
    EXPECT_EQ(scan_from_file, 1);
  }
}

// A config file that was not read whole: no scan is loaded, the calibration
// still is.
TEST_F(StartupLoadsTest, AnIncompleteConfigFileLoadsNoScan) {
  WriteInitFile(0);
  dir.Write("_VNA_Config_1.cfg", "Title\r\nconfig_version=252\r\n\r\n\r\n\r\n\r\n1 2 3\r\n");
  Start("\"/opt/vna/vna\" \"/home/u/my scan.scn\"");
  EXPECT_EQ(config_loaded, 0);
  EXPECT_EQ(Loaders(), std::vector<std::string>{"cal0"});
}

// The calibration file of the init file is loaded without its summary; when
// it cannot be, no calibration file is named afterwards.
TEST_F(StartupLoadsTest, ACalibrationFileThatFailsToLoadIsForgotten) {
  for (int status : {0, 34508}) {
    SCOPED_TRACE(status);
    WriteInitFile(0);
    load_calls.clear();
    cal_load_status = status;
    Start("\"/opt/vna/vna\"");
    ASSERT_EQ(load_calls.size(), 2u);
    EXPECT_EQ(load_calls[1].what, "cal0");
    EXPECT_EQ(load_calls[1].file_name, "/home/u/cal/bench.vcal");
    EXPECT_EQ(cal_file_path, status == 0 ? "/home/u/cal/bench.vcal" : "");
    EXPECT_EQ(cal_file_name, status == 0 ? "bench.vcal" : "");
  }
}

}  // namespace
}  // namespace vna
