// What the main window's buttons say and allow after a calibration on the
// simulator: a calibration started on the TDR plot leaves TDR mode and gives
// back the buttons TDR mode took away (as the temperature drift test does,
// the other way out of TDR mode); a Port A and Port B calibration made in
// Port A mode leaves the Scan and Rescan buttons naming Port A, the port they
// then scan.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "calibration/cal_sim.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/supply.h"
#include "platform/events.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/dialogs.h"
#include "shell/menus.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

// The buttons that make no sense on the TDR plot.
constexpr int kTdrOffButtons[] = {kBtnRecycle, kBtnPointData, kBtnLimits, kBtnSmith};

const MenuItem* FindItem(const std::vector<MenuItem>& items, int id) {
  for (const MenuItem& m : items) {
    if (m.items.empty() && m.id == id) return &m;
    if (const MenuItem* sub = FindItem(m.items, id)) return sub;
  }
  return nullptr;
}

bool Checked(int id) {
  const MenuItem* m = FindItem(GetMenuBar(main_win), id);
  return m && m->checked;
}

class CalModeSim : public CalSim {
 protected:
  // The instrument, the main window with its menus and buttons as start-up
  // leaves them, in Port A mode.
  void BeginWithButtons() {
    Begin("uhf");
    PortB_on = 0;
    BuildMenus();
    SetScanCaptions();
    testhook::ClearLogs();
  }

  static void TdrModeOn() {
    DispatchCommand(32191);
    ASSERT_EQ(tdr_mode, 1);
    for (int id : kTdrOffButtons) ASSERT_FALSE(IsCtlEnabled(main_win, id)) << id;
  }

  // The HF band calibration from the Calibrate menu, as a person starts it.
  static void CalibrateFromTheMenu() {
    Watchdog dog(std::chrono::seconds(100), "a band calibration");
    DispatchCommand(21336);
  }

  static void ExpectTdrModeOff() {
    EXPECT_EQ(tdr_mode, 0);
    EXPECT_FALSE(Checked(32191));
    for (int id : kTdrOffButtons) EXPECT_TRUE(IsCtlEnabled(main_win, id)) << id;
  }

  // Short, open and load on Port A from 1 to 30 MHz; then Port B with the
  // through connection when port_b, and the calibration saved.
  void AnswerCalibration(bool port_b) {
    AnswerLimits("1", "30", "1");
    AnswerPrompt("short");
    AnswerPrompt("open");
    AnswerPrompt("load");
    AnswerRstd("50");
    if (port_b) {
      AnswerBox(kIdYes, " Cal B Option ");
      AnswerPrompt("", true, [this] { Sim().SetDutB("thru"); });
      AnswerBox(kIdOk, " Port B Cal");
      AnswerPrompt("");  // save
      AnswerDialog(" Enter a comment", {{1, "A and B"}}, 2);
      testhook::QueueFileAnswer(dir / "ab.vcal");
    } else {
      AnswerSave("A only", "a.vcal");
    }
    AnswerBox(kIdOk, " Calibration");
  }
};

TEST_F(CalModeSim, ACalibrationStartedOnTheTdrPlotGivesBackTheButtons) {
  BeginWithButtons();
  TdrModeOn();
  AnswerCalibration(false);
  CalibrateFromTheMenu();
  ExpectScriptFollowed();
  ASSERT_EQ(PortA_cal, 1);
  ExpectTdrModeOff();
  KeepPicture(main_win, "cal_after_tdr_mode");
}

TEST_F(CalModeSim, TheTemperatureDriftTestStartedOnTheTdrPlotGivesBackTheButtons) {
  const vna::testing::TempDir here(true);  // the test's log goes to the current folder
  BeginWithButtons();
  TdrModeOn();
  // The person halts the test once it has shown its first line.
  OnPump(
      [] {
        for (const auto& p : testhook::Prints())
          if (p.text.find("//72332") != std::string::npos) return true;
        return false;
      },
      [] { scan_running = 0; });
  {
    Watchdog dog(std::chrono::seconds(100), "the temperature drift test");
    DispatchCommand(30182);
  }
  ExpectTdrModeOff();
}

TEST_F(CalModeSim, APortAAndBCalibrationInPortAModeLeavesTheButtonsOnPortA) {
  BeginWithButtons();
  ASSERT_EQ(GetCtlText(main_win, kBtnScan), "Scan A");
  AnswerCalibration(true);
  CalibrateFromTheMenu();
  ExpectScriptFollowed();
  ASSERT_EQ(PortA_cal, 1);
  ASSERT_EQ(PortB_cal, 1);
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(GetCtlText(main_win, kBtnScan), "Scan A");
  EXPECT_EQ(GetCtlText(main_win, kBtnRescan), "Rescan A");
  // The button scans the port it names: Port A, not Port B.
  scana_ok = scanb_ok = 0;
  Sim().SetDut("r=75");
  start_freq = 2;
  end_freq = 10;
  delta_freq = 1;
  {
    Watchdog dog(std::chrono::seconds(100), "a scan");
    DispatchCommand(kBtnScan);
  }
  EXPECT_EQ(scana_ok, 1);
  EXPECT_EQ(scanb_ok, 0);
  EXPECT_NEAR(scanA_Rs[3], 75, 1);
  KeepPicture(main_win, "cal_a_and_b_then_scan");
}

}  // namespace
}  // namespace vna::test
