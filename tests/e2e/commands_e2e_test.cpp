// The started program driven through its widgets, as a person would: button
// clicks, menu picks and keys reach the commands, and Q ends the program.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

#include <chrono>
#include <filesystem>
#include <string>

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

void ClickButton(int id) {
  auto* b = qobject_cast<QAbstractButton*>(main_win.impl->Find(id)->widget.data());
  ASSERT_NE(b, nullptr) << id;
  b->click();
  PumpEvents();
}

void PickMenu(int id) {
  auto it = main_win.impl->actions.find(id);
  ASSERT_NE(it, main_win.impl->actions.end()) << id;
  it->second->trigger();
  PumpEvents();
}

void PressKey(Qt::Key key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(main_win.impl->top, &down);
  QCoreApplication::sendEvent(main_win.impl->top, &up);
  PumpEvents();
}

int Boxes(const std::string& text) {
  int n = 0;
  for (const auto& b : testhook::MsgBoxes()) n += b.text == text;
  return n;
}

TEST(CommandsE2E, APersonDrivesTheProgramInDemonstrationMode) {
  TempDir dir(true);
  ScopedEnv program_dir("VNA_PROGRAM_DIR", dir.path());
  ScopedEnv drive_root("VNA_DRIVE_ROOT", dir / "drives");
  ScopedEnv port("VNA_COM8", dir / "no-such-port");
  StartUp();
  ASSERT_EQ(vna_present, 0);
  testhook::ClearLogs();

  ClickButton(201);  // Scan A
  EXPECT_EQ(Boxes("This function requires the hardware"), 1);

  // Both calibrations count as loaded without an instrument: Port B mode.
  ClickButton(20192);
  EXPECT_EQ(PortB_on, 1);
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan B");
  EXPECT_EQ(GetMenuBar(main_win)[0].items[0].caption, "Load Port B Graph");

  const int cursor_before = cursorena;
  PickMenu(3163);  // Cursor Normally ON
  EXPECT_EQ(cursorena, 1 - cursor_before);

  // The hidden code for diagnostic mode, then a rebuild shows its menus.
  for (Qt::Key k : {Qt::Key_4, Qt::Key_8, Qt::Key_2, Qt::Key_6}) PressKey(k);
  EXPECT_EQ(DIAGMODE, 1);
  ClickButton(20192);  // back to Port A: the menus are rebuilt
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(GetMenuBar(main_win).size(), 12u);
  PickMenu(12843);  // set Diagmode off
  EXPECT_EQ(DIAGMODE, 0);
  EXPECT_EQ(GetMenuBar(main_win).size(), 11u);

  PressKey(Qt::Key_Q);
  EXPECT_EQ(main_loop_on, 0);
  MainLoop();
  ExitSequence();
  EXPECT_FALSE(main_win.IsOpen());
  for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
}

// The instrument goes away while the program runs: the first command that
// reaches the port finds it gone, the program says so once and goes on as
// without an instrument, and nothing waits for the missing replies.
TEST(CommandsE2E, ALostInstrumentIsSaidOnceAndTheProgramGoesOnWithoutIt) {
  TempDir dir(true);
  ScopedEnv program_dir("VNA_PROGRAM_DIR", dir.path());
  ScopedEnv drive_root("VNA_DRIVE_ROOT", dir / "drives");
  test::SimRunner sim({"--model", "uhf"});
  StartUp();
  ASSERT_EQ(vna_present, 1);
  const std::string lost_text =
      "The connection to the VNA on \\\\.\\COM8 was lost.\r\n"
      "The program now runs without the VNA (demonstration mode).\r\n\r\n"
      "Check the power and the data cable, then restart the program.";
  sim.Stop();
  testhook::ClearLogs();
  {
    test::Watchdog watchdog(std::chrono::seconds(20), "commands after the loss");
    PickMenu(46);  // Batt automatic off: writes to the instrument
    EXPECT_EQ(Boxes(lost_text), 1);
    EXPECT_EQ(vna_present, 0);
    EXPECT_TRUE(GetTitle(main_win).ends_with("     DEMO MODE   ")) << GetTitle(main_win);
    ClickButton(201);  // Scan A: refused as without an instrument
    EXPECT_EQ(Boxes("This function requires the hardware"), 1);
    PickMenu(46);
    EXPECT_EQ(Boxes(lost_text), 1);  // said once
  }
  for (const auto& b : testhook::MsgBoxes()) {
    if (b.text != lost_text) continue;
    EXPECT_EQ(b.caption, " VNA connection lost");
    EXPECT_EQ(b.owner, "main_win");
  }
  PressKey(Qt::Key_Q);
  MainLoop();
  ExitSequence();
  EXPECT_TRUE(std::filesystem::exists(dir / "VNA_Init_Data_ 4177.ini"));
  for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
}

}  // namespace
}  // namespace vna
