// The calibration file named in the init file, loaded by start-up against the
// simulator: a good file is in force with its amplitude sent; a damaged one
// is reported and forgotten.
#include <filesystem>
#include <fstream>

#include "calibration/cal_fixture.h"
#include "files/init_file.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/windows.h"
#include "support/sim_runner.h"

namespace vna::test {
namespace {

const std::string kGolden =
    std::string(VNA_SOURCE_DIR) + "/tests/calibration/data/two_multiplier.vcal";

class StartupCalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearCalibration();
    testhook::ClearLogs();
  }
  void TearDown() override { ClearCalibration(); }

  // An init file that names `cal` as the calibration file.
  void InitFileNaming(const std::string& cal) {
    InitVars();
    cal_file_path = cal;
    file_name = dir / "VNA_Init_Data_ 4177.ini";
    ASSERT_TRUE(SaveInitData());
  }
  // The boxes shown, but for the notice of the missing config file.
  static std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) {
      if (b.caption != "Config File") out.push_back(b.caption);
    }
    return out;
  }
  void CloseAndExit() {
    ASSERT_TRUE(main_win.IsOpen());
    main_win.impl->top->close();
    MainLoop();
    ExitSequence();
  }

  testing::TempDir dir{true};
  testing::ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  testing::ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
};

TEST_F(StartupCalTest, TheLastCalibrationIsInForce) {
  std::filesystem::copy_file(kGolden, dir / "last.vcal");
  InitFileNaming(dir / "last.vcal");
  SimRunner sim({"--model", "uhf"});
  StartUp();
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(PortB_cal, 1);
  EXPECT_EQ(cal_valid, 1);
  EXPECT_EQ(cal_points, 10);
  EXPECT_EQ(cal_file_name, "last.vcal");
  EXPECT_EQ(cal_file_path, dir / "last.vcal");
  EXPECT_EQ(cal_comment, "bench cal");
  EXPECT_EQ(Captions(), std::vector<std::string>{});
  // The file's amplitude, 87 %, went to the instrument: 891 of 1023.
  bool sent = false;
  for (const auto& c : sim.Commands()) sent |= c == std::vector<uint8_t>{'M', '0', '3', '7', 'B'};
  EXPECT_TRUE(sent);
  CloseAndExit();
}

TEST_F(StartupCalTest, ADamagedCalibrationIsForgotten) {
  std::ifstream in(kGolden, std::ios::binary);
  std::vector<std::string> lines = SplitCrLf(std::string(std::istreambuf_iterator<char>(in), {}));
  lines[17] = " 0";  // parameter count
  dir.Write("bad.vcal", JoinCrLf(lines));
  InitFileNaming(dir / "bad.vcal");
  SimRunner sim({"--model", "uhf"});
  StartUp();
  EXPECT_EQ(PortA_cal, 0);
  EXPECT_EQ(cal_points, 0);
  EXPECT_EQ(cal_file_path, "");
  EXPECT_EQ(cal_file_name, "");
  EXPECT_EQ(Captions(), std::vector<std::string>{" Cal Data File Error 72852"});
  CloseAndExit();
}

TEST_F(StartupCalTest, TheFilesPanelForgetsTheRefusedFileToo) {
  // The last scan is drawn first (a whole config file, an auto-saved scan),
  // its files panel naming the calibration file of the init file; that file
  // is then refused.
  std::filesystem::copy_file(std::string(VNA_SOURCE_DIR) + "/src/files/defaults/_VNA_Config_1.cfg",
                             dir / "_VNA_Config_1.cfg");
  std::filesystem::copy_file(std::string(VNA_SOURCE_DIR) + "/tests/scan_files/data/port_a.scn",
                             dir / "ZiviRURGraph.scn");
  std::ifstream in(kGolden, std::ios::binary);
  std::vector<std::string> lines = SplitCrLf(std::string(std::istreambuf_iterator<char>(in), {}));
  lines[17] = " 0";  // parameter count
  dir.Write("refused calibration of the feed line.vcal", JoinCrLf(lines));
  InitVars();
  cal_file_path = dir / "refused calibration of the feed line.vcal";
  cal_file_name = "refused calibration of the feed line.vcal";
  file_name = dir / "VNA_Init_Data_ 4177.ini";
  ASSERT_TRUE(SaveInitData());
  SimRunner sim({"--model", "uhf"});
  StartUp();
  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(cal_file_name, "");
  main_win.impl->image.save(VNA_BINARY_DIR "/calibration/startup_refused_cal.png");
  // The panel's calibration line, one line under "FILES:" and 5 further in,
  // is empty to the window's edge.
  int tw = 0, h = 0, right = 0, bottom = 0, line_h = 0;
  FontTextExtent("arial", font_size + 1, font_weight, "FileName", tw, h);
  FontTextExtent("arial", font_size, font_weight, "X", tw, line_h);
  ClientSize(main_win, right, bottom);
  const int x = info_x + 5, y = graph_bottom - 2 * h;
  int ink = 0;
  for (int py = y; py < y + line_h; ++py)
    for (int px = x; px < right; ++px) ink += ReadPixel(main_win, px, py) != bg_color;
  EXPECT_EQ(ink, 0);
  CloseAndExit();
}

}  // namespace
}  // namespace vna::test
