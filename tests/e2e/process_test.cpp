// The program as a user starts it: the executable, headless, ended by SIGTERM
// while the start-up's boxes wait for a person, still leaves through its exit
// sequence (the init file is written) with exit code 0.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/process.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using Clock = std::chrono::steady_clock;

bool WaitFor(const std::string& path, std::chrono::seconds limit) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    if (std::filesystem::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(ProcessTest, SigtermEndsAHeadlessRunThroughItsExitSequence) {
  testing::TempDir dir;
  const std::string exe = std::string(VNA_BINARY_DIR) + "/bin/vna";
  ASSERT_TRUE(std::filesystem::exists(exe));
  // No init file, no config file, no instrument: start-up shows its boxes
  // and waits for a person on the first of them.
  const pid_t pid = test::StartProcess(
      {exe},
      {"QT_QPA_PLATFORM=offscreen", "VNA_PROGRAM_DIR=" + dir.path(),
       "VNA_DRIVE_ROOT=" + (dir / "drives"), "VNA_COM8=" + (dir / "no-such-port")},
      dir.path());
  ASSERT_GT(pid, 0);
  // The flag-file test makes the drive folder: the signal handling is in
  // place by then.
  ASSERT_TRUE(WaitFor(dir / "drives/c", std::chrono::seconds(20)));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(pid, SIGTERM);
  EXPECT_EQ(test::WaitProcess(pid, std::chrono::seconds(30)), 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "VNA_Init_Data_ 4177.ini"));
}

}  // namespace
}  // namespace vna
