// A program folder of its own for each test, the main window open with its
// real handler and menus, and the defaults start-up leaves.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "files/settings.h"
#include "files/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "file_commands/fakes.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/when.h"

namespace vna::test {

class FileCommandsTest : public ::testing::Test {
 protected:
  FileCommandsTest() : program_dir_("VNA_PROGRAM_DIR", dir.path()) {}
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    OpenShell(1, MainWindowHandler);
    BuildMenus();
    main_loop_on = 1;
    format = 25;
    config_version_min = 252;
    config_interactive = 0;
    config_changed = 0;
    dialog_folder = "";
    SetDigits(3);
    PumpEvents();
    testhook::ClearLogs();
    ClearCalls();
  }
  void TearDown() override {
    CloseWindow(cfg_editor_win);
    cfg_editor_open = 0;
    CloseWindow(main_win);
    PumpEvents();
    CloseTextFile(data_file);
    CloseTextFile(file_out);
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // The message boxes shown since the logs were cleared, as "caption|text".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }
  static void Pick(int id) {
    PostEvent(main_win, kEvMenu, 0, 0, 0, 0, id);
    PumpEvents();
  }

  vna::testing::TempDir dir;

 private:
  vna::testing::ScopedEnv program_dir_;
};

}  // namespace vna::test
