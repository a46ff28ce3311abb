// A program folder of its own for each test, and the values start-up sets
// before it reads the init and config files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/settings.h"
#include "files/state.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "shell/text.h"
#include "support/file_lines.h"
#include "support/temp_dir.h"

namespace vna::testing {

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : program_dir_env_("VNA_PROGRAM_DIR", dir.path()) {}

  void SetUp() override {
    // What start-up sets before InitVars, then what the frequency plan sets.
    min_freq = 0.005;
    maximumfreq = 1200;
    min_Zref = 1.0;
    config_version_min = 252;
    model_uhf = 0;
    SetDigits(4);
    InitVars();
    format = 25;
    // Left by other tests in this process: a load asked for from the menu
    // (it redraws the graph, whose info panel clamps the settings), the
    // loaded config file's name, the clock the clamp sets.
    config_interactive = 0;
    config_file_name = "";
    osc_freq = 0;
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseTextFile(data_file);
    CloseTextFile(file_out);
  }

  // The message boxes shown since the test began, as "caption|text".
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }

  // Splits file bytes at CR LF.
  static std::vector<std::string> Lines(const std::string& bytes) { return SplitCrLf(bytes); }
  static std::string Join(const std::vector<std::string>& lines) { return JoinCrLf(lines); }

  TempDir dir;

 private:
  ScopedEnv program_dir_env_;
};

}  // namespace vna::testing
