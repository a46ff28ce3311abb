// What one run of the program leaves for the next in the program folder (the
// init file, the config file, the calibration file it names), across runs
// with and without the instrument, and with a second copy of the program
// started while the first has the instrument.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/tdr_file.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/main_program.h"
#include "shell/mailbox.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/file_lines.h"
#include "support/process.h"
#include "support/sim_calibration.h"
#include "support/shell_fixture.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "tools/state.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;
using Bytes = std::vector<uint8_t>;

const char* const kInitFile = "VNA_Init_Data_ 4177.ini";
const char* const kCalFile = "Bench Cal.vcal";

class SharedSettingsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_);
    testhook::ClearLogs();
  }
  void TearDown() override { keep_shared_files = 0; }

  // The program folder, spelled with capitals as a user may name it.
  std::string Folder() const { return folder_ + "/"; }
  std::string InitText() const { return dir.Read("Program Files/" + std::string(kInitFile)); }
  std::vector<std::string> InitLines() const { return testing::SplitCrLf(InitText()); }

  // A run with the single-DDS instrument: a Port A calibration measured on
  // it and saved, which the init file written at exit then names; then
  // whatever else the run does before its exit.
  void RunWithTheInstrumentAndCalibrate(test::SimRunner& sim,
                                        const std::function<void()>& before_exit = {}) {
    StartUp();
    ASSERT_EQ(vna_present, 1);
    ASSERT_DOUBLE_EQ(maximumfreq, 180);
    relayA = relayB = 1;  // as the calibration switches them
    ProgRelay(3);
    test::CalibratePortAOnSim(sim, test::CalFrequencies(1, 12, 1));
    cal_start_freq = 1;
    cal_end_freq = 12;
    cal_delta_freq = 1;
    cal_comment = "bench";
    testhook::QueueFileAnswer(Folder() + kCalFile);
    SaveCalFile();
    ASSERT_EQ(cal_file_path, Folder() + kCalFile);
    if (before_exit) before_exit();
    CloseAndExit();
    ASSERT_EQ(InitLines().at(72), Folder() + kCalFile);
    testhook::ClearLogs();
  }

  static void CloseAndExit() {
    ASSERT_TRUE(main_win.IsOpen());
    main_win.impl->top->close();
    MainLoop();
    ExitSequence();
  }

  static std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption);
    return out;
  }

  TempDir dir{true};  // also the current folder
  std::string folder_ = dir / "Program Files";
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", folder_};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
};

// Another copy of the program, started as a person starts it; ended with
// SIGTERM, as a closed session ends it, however the test ends.
class OtherCopy {
 public:
  explicit OtherCopy(const std::string& cwd)
      : pid_(test::StartProcess({std::string(VNA_BINARY_DIR) + "/bin/vna"},
                                {"QT_QPA_PLATFORM=offscreen"}, cwd)) {}
  ~OtherCopy() { End(); }
  OtherCopy(const OtherCopy&) = delete;
  OtherCopy& operator=(const OtherCopy&) = delete;
  bool Started() const { return pid_ > 0; }
  // Its exit code (-1 when it had to be killed).
  int End() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    const int code = test::WaitProcess(pid_, std::chrono::seconds(60));
    pid_ = -1;
    return code;
  }

 private:
  pid_t pid_;
};

// The files one run leaves for the next: everything in the program folder,
// and the TDR file of the current folder.
std::map<std::string, std::string> SharedFiles(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir / "Program Files")) {
    if (e.is_regular_file()) {
      const std::string name = e.path().filename().string();
      files[name] = dir.Read("Program Files/" + name);
    }
  }
  if (std::filesystem::exists(dir / "last_VNATDR_file.tdr"))
    files["last_VNATDR_file.tdr"] = dir.Read("last_VNATDR_file.tdr");
  return files;
}

// The last work of a run with the instrument: scans of both ports and a
// TDR trace saved by name (files of the user's own), then newer ones on
// display, which its exit saves.
void LeaveScans(test::SimRunner& sim, const std::string& folder) {
  start_freq = 1;
  end_freq = 12;
  delta_freq = 1;
  DispatchCommand(kBtnScan);
  ASSERT_EQ(scana_ok, 1);
  testhook::QueueFileAnswer(folder + "Mine.scn");
  save_mode = 0;
  SaveScanA();
  sim.SetDut("r=75");
  DispatchCommand(kBtnScan);
  const auto port_b = [](double db) {
    for (int i = 0; i < 12; ++i) {
      scanB_freq[i] = 1 + i;
      s21_dB[i] = db - 0.25 * i;
      scanB_phase[i] = -0.1 * i;
    }
    scanB_npoints = 12;
    scanb_ok = 1;
    scanB_limits = {1, 12, 1};  // as a Port B scan over these limits leaves it
  };
  port_b(-20);
  testhook::QueueFileAnswer(folder + "Mine.scnb");
  save_mode = 0;
  SaveScanB();
  port_b(-3);
  DispatchCommand(32191);  // TDR mode on: no TDR file yet
  ASSERT_EQ(tdr_mode, 1);
  const auto tdr = [](int step_at) {
    tdr_trace_points = 64;
    tdr_feet_per_index = 2;
    for (int i = 0; i <= 64; ++i) tdr_response[i] = i < step_at ? 0 : 0.2;
  };
  tdr(40);
  testhook::QueueFileAnswer(folder + "Mine.tdr");
  SaveTDR(0);
  tdr(20);
}

// Every command the simulator logged since `mark` that begins with `letter`.
bool Sent(const test::SimRunner& sim, const std::string& mark, char letter) {
  for (const Bytes& c : sim.CommandsSince(mark))
    if (!c.empty() && c[0] == static_cast<uint8_t>(letter)) return true;
  return false;
}

TEST_F(SharedSettingsE2E, ASecondCopyLeavesTheSettingsOfTheCopyWithTheInstrumentAlone) {
  test::SimRunner sim({"--model", "7306"});
  RunWithTheInstrumentAndCalibrate(sim, [&] { LeaveScans(sim, Folder()); });
  const std::string before = InitText();

  // The first copy, a process of its own, starts with the instrument: its
  // start-up ends with the supply test ("B").
  sim.Mark("first copy");
  OtherCopy first(dir.path());
  ASSERT_TRUE(first.Started());
  for (int i = 0; i < 600 && !Sent(sim, "first copy", 'B'); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(Sent(sim, "first copy", 'B')) << "the first copy did not start";
  const std::map<std::string, std::string> files = SharedFiles(dir);
  for (const char* name : {"ZiviRURGraph.scn", "ZiviRURGraph0.scn", "ZiviRURGraph1.scn",
                           "ZiviRURGraphB.scnb", "ZiviRURGraphB_B.csv", "last_VNATDR_file.tdr"})
    ASSERT_EQ(files.count(name), 1u) << name;

  // The second copy finds the port busy: it says once that it runs without
  // the instrument and will not save its settings.
  StartUp();
  EXPECT_EQ(vna_present, 0);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << testhook::MsgBoxes().back().text;
  const auto& box = testhook::MsgBoxes()[0];
  EXPECT_EQ(box.caption, " VNA in use");
  EXPECT_EQ(box.text,
            "The VNA on \\\\.\\COM8 is in use by another program,\r\n"
            "most likely another copy of this program.\r\n\r\n"
            "This copy runs without the VNA (demonstration mode).\r\n"
            "Its settings and last scans will not be saved when it closes:\r\n"
            "those of the copy that has the VNA are kept.");
  EXPECT_EQ(box.owner, "main_win");
  // Without the instrument it shows files: scans of both ports and a TDR
  // trace of the user's own.
  testhook::QueueFileAnswer(Folder() + "Mine.scnb");
  save_mode = 0;
  LoadScanB();
  EXPECT_EQ(scanb_ok, 1);
  testhook::QueueFileAnswer(Folder() + "Mine.scn");
  save_mode = 0;
  LoadScanA();
  EXPECT_EQ(scana_ok, 1);
  DispatchCommand(32191);
  ASSERT_EQ(tdr_mode, 1);
  testhook::QueueFileAnswer(Folder() + "Mine.tdr");
  LoadTDR(0);
  EXPECT_EQ(Captions(), std::vector<std::string>{" VNA in use"});
  CloseAndExit();
  EXPECT_EQ(InitText(), before);
  // The first copy's last scans are as it left them, and nothing was added.
  const std::map<std::string, std::string> after = SharedFiles(dir);
  for (const auto& [name, bytes] : files) {
    ASSERT_EQ(after.count(name), 1u) << name;
    EXPECT_TRUE(after.at(name) == bytes) << name << " was written over";
  }
  for (const auto& [name, bytes] : after) EXPECT_EQ(files.count(name), 1u) << name << " was added";

  // The first copy's own settings go in at its exit.
  EXPECT_EQ(first.End(), 0);
  const std::vector<std::string> lines = InitLines();
  ASSERT_EQ(lines.size(), 267u);
  EXPECT_EQ(lines[72], Folder() + kCalFile);
  EXPECT_EQ(lines[58], "maximumfreq    180");
}

// A second copy that found the port busy and later gets the instrument
// through Setup -> Comm Port holds it as any copy does: its scans measure,
// and at its exit it saves its settings and its last scan.
TEST_F(SharedSettingsE2E, ASecondCopyThatGetsTheInstrumentLaterSavesAsAnyCopyDoes) {
  test::SimRunner sim({"--model", "7306"});
  RunWithTheInstrumentAndCalibrate(sim);

  sim.Mark("first copy");
  OtherCopy first(dir.path());
  ASSERT_TRUE(first.Started());
  // It holds the port once it asks for the version.
  for (int i = 0; i < 600 && !Sent(sim, "first copy", 'V'); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(Sent(sim, "first copy", 'V')) << "the first copy did not start";
  StartUp();
  ASSERT_EQ(vna_present, 0);
  ASSERT_EQ(Captions(), std::vector<std::string>{" VNA in use"});
  // The first copy ends and leaves the instrument; this one takes it.
  EXPECT_EQ(first.End(), 0);
  testhook::ClearLogs();
  sim.Mark("comm port");
  test::AnswerDialog(" Enter Comm Port", {{1, "8"}}, 2);
  DispatchCommand(44);
  ASSERT_EQ(vna_present, 1) << "Setup -> Comm Port did not reach the instrument";
  EXPECT_TRUE(Sent(sim, "comm port", 'V'));
  // Taken as start-up takes it: the calibration the settings name in force.
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(cal_points, 12);
  EXPECT_EQ(cal_file_path, Folder() + kCalFile);
  start_freq = 1;
  end_freq = 12;
  delta_freq = 1;
  sim.SetDut("r=75");
  DispatchCommand(kBtnScan);
  ASSERT_EQ(scana_ok, 1);
  EXPECT_NEAR(scanA_Rs[5], 75, 1);
  average = 8;  // a setting of this copy's own
  CloseAndExit();
  const std::vector<std::string> lines = InitLines();
  ASSERT_GT(lines.size(), 60u);
  EXPECT_TRUE(std::find(lines.begin(), lines.end(), "average    8") != lines.end())
      << "the init file was not written";
  const std::vector<std::string> scan =
      testing::SplitCrLf(dir.Read("Program Files/ZiviRURGraph.scn"));
  ASSERT_FALSE(scan.empty()) << "the last scan was not saved";
  EXPECT_EQ(Captions(), std::vector<std::string>{});
}

// A start without the instrument (demonstration mode runs as the
// two-multiplier model) cannot load the single-DDS calibration, and must not
// forget it: the next start with the instrument has it in force again.
TEST_F(SharedSettingsE2E, AStartWithoutTheInstrumentKeepsTheCalibrationFileNamed) {
  {
    test::SimRunner sim({"--model", "7306"});
    RunWithTheInstrumentAndCalibrate(sim);
  }
  {
    ScopedEnv port("VNA_COM8", dir / "no-such-port");
    StartUp();
    EXPECT_EQ(vna_present, 0);
    EXPECT_EQ(cal_file_path, Folder() + kCalFile);
    EXPECT_EQ(cal_file_name, kCalFile);
    // The not-responding box alone: nothing about a file that only waits
    // for its instrument.
    EXPECT_EQ(Captions(), std::vector<std::string>{""});
    CloseAndExit();
    EXPECT_EQ(InitLines().at(72), Folder() + kCalFile);
    EXPECT_EQ(InitLines().at(52), kCalFile);
  }
  testhook::ClearLogs();
  test::SimRunner sim({"--model", "7306"});
  StartUp();
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(cal_points, 12);
  EXPECT_EQ(cal_comment, "bench");
  EXPECT_EQ(cal_file_path, Folder() + kCalFile);
  EXPECT_EQ(Captions(), std::vector<std::string>{});
  CloseAndExit();
}

// The names the program reads in lower case for comparison still name the
// user's files on a file system that tells the cases apart: the config file
// in a folder with capitals, and the result file the config file names.
TEST_F(SharedSettingsE2E, FileNamesKeepTheirLettersFromOneRunToTheNext) {
  ScopedEnv port("VNA_COM8", dir / "no-such-port");
  std::filesystem::create_directory(dir / "Results");
  const std::string csv = dir / "Results/AutoScan.csv";
  StartUp();  // the first run installs the program's own config file
  CloseAndExit();
  std::vector<std::string> cfg = testing::SplitCrLf(dir.Read("Program Files/_VNA_Config_1.cfg"));
  for (std::string& line : cfg) {
    if (line.find("// 54 ") != std::string::npos) line = "outputfile=" + csv;
  }
  dir.Write("Program Files/_VNA_Config_1.cfg", testing::JoinCrLf(cfg));

  for (int run = 2; run <= 3; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    testhook::ClearLogs();
    StartUp();
    EXPECT_EQ(config_loaded, 1);
    EXPECT_EQ(config_file_name, Folder() + "_VNA_Config_1.cfg");
    EXPECT_TRUE(std::filesystem::exists(config_file_name));
    EXPECT_EQ(control_csv, csv);
    CloseAndExit();
    EXPECT_EQ(InitLines().at(51), Folder() + "_VNA_Config_1.cfg");
  }
  // The result file of an external request goes where the config file says.
  testhook::ClearLogs();
  EXPECT_TRUE(WriteControlCsv());
  EXPECT_TRUE(std::filesystem::exists(csv));
  EXPECT_EQ(Captions(), std::vector<std::string>{});
}

}  // namespace
}  // namespace vna
