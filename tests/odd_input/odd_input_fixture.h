// What the odd-input tests start from: the defaults with the main window open
// and an instrument taken to be present, the dialogs defined, a program
// folder of its own, and the odd files themselves: a named pipe nobody
// writes, and a sparse file of any size that takes no room on the disk.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace vna::test {

class OddInputTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    OpenShell(1, [] { return 0; });
    main_loop_on = 1;
    testhook::ClearLogs();
  }
  void TearDown() override {
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(testhook::PendingAnswers(), 0u) << "answers left unused";
    CloseWindow(main_win);
    PumpEvents();
    main_loop_on = 0;
  }

  std::string Fifo(const std::string& name) const {
    const std::string path = dir / name;
    EXPECT_EQ(mkfifo(path.c_str(), 0644), 0);
    return path;
  }
  std::string Sparse(const std::string& name, int64_t bytes) const {
    const std::string path = dir.Write(name, "");
    EXPECT_EQ(truncate(path.c_str(), bytes), 0);
    return path;
  }

  // The message boxes shown since the logs were cleared, as "caption|text".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }

  testing::TempDir dir{true};
  testing::ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  testing::ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
};

}  // namespace vna::test
