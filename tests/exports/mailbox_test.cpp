// The registry mailbox end to end: the program started here against the
// simulator with a calibration and a config that switches the mailbox on;
// another process (mailbox_client) orders scans through the registry file
// and records the answers.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/init_file.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/point_sim.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "platform/serial.h"
#include "platform/store.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/init_vars.h"
#include "shell/menus.h"
#include "shell/mailbox.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "support/file_lines.h"
#include "support/process.h"
#include "support/sim_calibration.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

const std::string kKey = "hkey_current_user\\software\\TARVOVNA\\";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The program's own config file with the mailbox on and the result file set.
void WriteConfig(const std::string& path, int mode, const std::string& csv) {
  std::ifstream in(std::string(VNA_SOURCE_DIR) + "/src/files/defaults/_VNA_Config_1.cfg");
  std::ofstream out(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("// 52 ") != std::string::npos) line = std::to_string(mode) + "  // 52";
    // A file-name line takes a position of its own.
    if (line.find("// 54 ") != std::string::npos) line = "outputfile=" + csv;
    out << line << "\r\n";
  }
}

class MailboxTest : public ::testing::Test {
 protected:
  void SetUp() override { testhook::ClearLogs(); }
  TempDir dir{true};
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
  ScopedEnv registry{"VNA_REGISTRY_FILE", dir / "registry.ini"};

  // A request for 1 to 30 MHz in 0.5 MHz steps (on `port` unless null) while
  // the user's own scan runs; the mailbox is polled until `done` holds.
  static void RequestDuringAScan(const char* port, bool (*done)()) {
    InitVars();
    maximumfreq = 1200;
    vna_present = 1;
    regctl_mode = 2;
    scan_running = 1;
    main_loop_on = 1;
    ASSERT_TRUE(StoreWrite(kKey, "startfreq", "1"));
    ASSERT_TRUE(StoreWrite(kKey, "endfreq", "30"));
    ASSERT_TRUE(StoreWrite(kKey, "deltafreq", "0.5"));
    if (port != nullptr) {
      ASSERT_TRUE(StoreWrite(kKey, "scanport", port));
    }
    ASSERT_TRUE(StoreWrite(kKey, "dataready", "go"));
    testhook::SetPumpHook([done] {
      if (done()) main_loop_on = 0;
    });
    RegistryControl();
    testhook::SetPumpHook(nullptr);
    scan_running = 0;
  }
};

// Without an instrument the mailbox is never read: a request stays unanswered.
TEST_F(MailboxTest, WithoutAnInstrumentTheMailboxIsNeverPolled) {
  ScopedEnv port("VNA_COM8", dir / "no-such-port");
  WriteConfig(dir / "_VNA_Config_1.cfg", 2, "c:\\result.csv");
  ASSERT_TRUE(StoreWrite(kKey, "dataready", "1"));
  StartUp();
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(regctl_mode, 2);
  EXPECT_EQ(StoreRead(kKey, "dataready", "missing"), "1");
  EXPECT_EQ(StoreRead(kKey, "csvready", "missing"), "missing");
  main_loop_on = 0;
  ExitSequence();
}

// A request that arrives while the user's own scan runs is dropped, and the
// client is told so instead of waiting for a file.
TEST_F(MailboxTest, ARequestDuringAScanIsAnsweredAsDropped) {
  RequestDuringAScan(nullptr, [] { return StoreRead(kKey, "csvready", "") != ""; });
  EXPECT_EQ(StoreRead(kKey, "csvready", ""), "error 7");
  EXPECT_EQ(StoreRead(kKey, "dataready", ""), "null");
  EXPECT_DOUBLE_EQ(end_freq, 30);  // the request's values stay
}

// The scan port is the request's number rounded: any value that rounds to a
// non-zero integer asks for Port B. (A running scan drops each request, so
// only the port is taken.)
TEST_F(MailboxTest, TheScanPortIsRoundedNotTruncated) {
  const std::pair<const char*, int> cases[] = {{"0.4", 0}, {"0.6", 1},   {"1", 1},
                                               {"1.5", 2}, {"-0.7", -1}, {"", 0}};
  for (auto [text, port] : cases) {
    PortB_on = 7;
    // The request is taken once its flag reads "null" again.
    RequestDuringAScan(text, [] { return StoreRead(kKey, "dataready", "") == "null"; });
    EXPECT_EQ(PortB_on, port) << '"' << text << '"';
  }
  PortB_on = 0;
}

// A store that cannot be written switches the mailbox off, with a box.
TEST_F(MailboxTest, AStoreThatCannotBeWrittenSwitchesTheMailboxOff) {
  std::ofstream(dir / "plain-file") << "x";
  ScopedEnv unwritable("VNA_REGISTRY_FILE", dir / "plain-file/registry.ini");
  main_loop_on = 1;
  vna_present = 1;
  regctl_mode = 3;
  RegistryControl();
  EXPECT_EQ(regctl_mode, 1);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const auto& box = testhook::MsgBoxes()[0];
  EXPECT_EQ(box.text, "Registry Key Creation failed:\rthe registry file named: " +
                          (dir / "plain-file/registry.ini") +
                          "\rcannot be written.\rExternal control is switched off.");
  EXPECT_EQ(box.caption, " Cannot use registry external control");
  EXPECT_EQ(box.icon, kIconExclamation);
}

class MailboxSimTest : public PointSim {
 protected:
  TempDir dir{true};
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
  ScopedEnv registry{"VNA_REGISTRY_FILE", dir / "registry.ini"};
};

TEST_F(MailboxSimTest, EveryRequestEndsInItsCsvOrItsCode) {
  // At the line's own speed, so the client sees the scans take their time.
  Start("uhf", {"--pace"});
  // A calibration on the real bridge, named in the init file start-up reads.
  // It reaches beyond the scans: a scan stops short of the calibration's end.
  cal_start_freq = 1;
  cal_end_freq = 31;
  cal_delta_freq = 0.5;
  test::CalibratePortAOnSim(Sim(), test::CalFrequencies(1, 31, 0.5));
  const std::string cal = dir / "bench.vcal";
  testhook::QueueFileAnswer(cal);
  ASSERT_TRUE(SaveCalFile());
  Sim().SetDut("r=75");
  SerialClose(hcom);
  hcom = kInvalidPort;
  InitVars();
  cal_file_path = cal;
  cal_file_name = "bench.vcal";
  file_name = dir / "VNA_Init_Data_ 4177.ini";
  ASSERT_TRUE(SaveInitData());
  const std::string csv_name = "c:\\result.csv";
  const std::string csv = dir / "drives/c/result.csv";
  std::filesystem::create_directories(dir / "drives/c");
  WriteConfig(dir / "_VNA_Config_1.cfg", 2, csv_name);

  const std::string results = dir / "results.txt";
  const pid_t pid = test::StartProcess(
      {MAILBOX_CLIENT, results, csv, VNA_BINARY_DIR "/bin/vna-sim", Sim().Folder() + "/control"});
  ASSERT_GT(pid, 0);
  // The client's last line ends the program's polling.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(250);
  int halted_at = 0;
  bool halt_armed = false;
  testhook::SetPumpHook([&] {
    // The user halts the scan of 2 to 20 MHz part-way, once it measured
    // (scanloop holds the last scan's count until the scan starts its own).
    if (scan_running != 0 && start_freq == 2 && scanloop == 0) halt_armed = true;
    if (scan_running != 0 && halt_armed && halted_at == 0 && scanloop > 20) {
      halted_at = scanloop;
      DispatchCommand(kBtnHalt);
    }
    if (ReadAll(results).find("silenced_after") != std::string::npos ||
        std::chrono::steady_clock::now() > deadline) {
      main_loop_on = 0;
    }
  });
  StartUp();
  testhook::SetPumpHook(nullptr);
  EXPECT_EQ(test::WaitProcess(pid, std::chrono::seconds(30)), 0);
  main_loop_on = 0;
  ExitSequence();

  std::map<std::string, std::string> answer;
  std::istringstream lines(ReadAll(results));
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) answer[line.substr(0, tab)] = line.substr(tab + 1);
  }
  EXPECT_EQ(answer["idle"], "\tnullx");  // nothing answered, the flag left alone
  EXPECT_EQ(answer["scan"], csv_name);
  EXPECT_EQ(answer["halted"], csv_name);
  EXPECT_GT(halted_at, 0);
  // The points measured only: the halted rest, which repeats the last
  // reading, is not in the file.
  const auto halted = testing::SplitCrLf(ReadAll(csv + ".halted"));
  ASSERT_GE(halted.size(), 5u + halted_at);
  EXPECT_LE(halted.size(), 5u + halted_at + 11);  // read on until the next Halt test at most
  EXPECT_EQ(halted[5].substr(0, 9), " 2.000000");
  const std::string& last = halted.back();
  const std::string& before_last = halted[halted.size() - 2];
  EXPECT_NE(last.substr(last.find(',')), before_last.substr(before_last.find(',')));
  EXPECT_EQ(answer["delta"], "error" + std::string(" 1"));
  EXPECT_EQ(answer["reversed"], "error 4");
  EXPECT_EQ(answer["unwritable"], "error 6");
  EXPECT_EQ(answer["silenced_after"], "yes");
  // The scan's own failure status: a read the instrument did not answer.
  EXPECT_EQ(answer["silenced"], "error 10");
  EXPECT_EQ(StoreRead(kKey, "dataready", ""), "null");

  // The first scan's file: r = 75 ohms reads SWR 1.5, Rs 75, Xs 0.
  const auto rows = testing::SplitCrLf(ReadAll(csv + ".first"));
  // 1 to 30 MHz at least (how far past the end a scan goes is its own matter).
  ASSERT_GE(rows.size(), 5u + 59u) << ReadAll(csv + ".first");
  EXPECT_EQ(rows[1], "VNA version 636A");
  EXPECT_EQ(rows[3], "Z0, 50");
  EXPECT_EQ(rows[4], "Freq(MHz),SWR,Rs,Xs,Zmag,Phase(deg),Rho,ReturnLoss,%ReflectedPower");
  for (size_t i = 5; i < rows.size(); ++i) {
    std::vector<double> v;
    std::istringstream fields(rows[i]);
    for (std::string f; std::getline(fields, f, ',');) v.push_back(std::stod(f));
    ASSERT_EQ(v.size(), 9u) << rows[i];
    EXPECT_NEAR(v[0], 1 + 0.5 * static_cast<double>(i - 5), 1e-6);
    EXPECT_NEAR(v[1], 1.5, 0.015) << rows[i];
    EXPECT_NEAR(v[2], 75, 0.75) << rows[i];
    EXPECT_NEAR(v[3], 0, 0.75) << rows[i];
  }
  bool box = false;
  for (const auto& b : testhook::MsgBoxes()) box |= b.caption == "No control file";
  EXPECT_TRUE(box) << "the unwritable file is said so";
}

}  // namespace
}  // namespace vna
