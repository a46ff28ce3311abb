// The main window opened with its real handler, menus and buttons, and the
// other subsystems' routines replaced by recording fakes: commands arrive as
// a person's picks, clicks and keys would, through the event fields.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calibration/state.h"
#include "commands/fakes.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"

namespace vna::test {

using Strings = std::vector<std::string>;

class CommandsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    OpenShell(1, MainWindowHandler);
    mouse_x = mouse_y = last_mouse_x = last_mouse_y = 0;
    key_down = ctrl_key_down = shift_key_down = 0;
    BuildMenus();
    PumpEvents();
    // Measured points of each port, so the save command reaches its writer.
    scana_ok = scanb_ok = 1;
    scanA_npoints = scanB_npoints = 3;
    testhook::ClearLogs();
    ClearCalls();
    ClearBehaviours();
  }
  void TearDown() override {
    ClearBehaviours();
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  static void Pick(int id) {
    PostEvent(main_win, kEvMenu, 0, 0, 0, 0, id);
    PumpEvents();
  }
  static void Click(int id) {
    PostEvent(main_win, kEvCommand, id);
    PumpEvents();
  }
  // A key pressed and released in the main window.
  static void Key(int code) {
    PostEvent(main_win, kEvKeyDown, 0, code);
    PostEvent(main_win, kEvKeyUp, 0, code);
    PumpEvents();
  }
  static void KeyDown(int code) {
    PostEvent(main_win, kEvKeyDown, 0, code);
    PumpEvents();
  }
  static void Type(const std::string& keys) {
    for (char c : keys) Key(c);
  }
  // Texts of the message boxes shown since the logs were cleared.
  static Strings BoxTexts() {
    Strings texts;
    for (const auto& b : testhook::MsgBoxes()) texts.push_back(b.text);
    return texts;
  }
  static const MenuItem* FindItem(const std::vector<MenuItem>& items, int id) {
    for (const MenuItem& m : items) {
      if (m.items.empty() && m.id == id) return &m;
      if (const MenuItem* sub = FindItem(m.items, id)) return sub;
    }
    return nullptr;
  }
  static bool Checked(int id) {
    const MenuItem* m = FindItem(GetMenuBar(main_win), id);
    return m && m->checked;
  }
};

}  // namespace vna::test
