// What the scan tests start from: the defaults as start-up leaves them on
// the two-multiplier model without an instrument, the dialogs defined, the
// main window open, the scan arrays and scan state cleared.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"

namespace vna::test {

inline void ClearScanArrays() {
  for (double* a :
       {scanA_freq, scanA_swr, scanA_Rs, scanA_Xs, scanA_zmag, scanA_phase, readA_zmag, readA_phase,
        scanB_freq, s21_dB, scanB_phase, scanB_s11rl, scanB_s11phase, delay_B}) {
    std::fill(a, a + kScanArraySize, 0.0);
  }
}

// The main window's picture, under build/scan/ for a person to look at.
inline void SaveMainWindowPng(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "scan";
  std::filesystem::create_directories(dir);
  int w = 0, h = 0;
  ClientSize(main_win, w, h);
  main_win.impl->image.copy(0, 0, w, h)
      .save(QString::fromStdString((dir / (name + ".png")).string()));
}

class ScanTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    OpenShell(0, [] { return 0; });
    ClearScanArrays();
    scana_ok = scanb_ok = 0;
    scan_running = 0;
    scanloop = 0;
    scan_from_file = 0;
    sv_start = sv_end = sv_delta = 0;
    svplotatzero = 0;
    vna_status = 0;
    CalinProgress = 0;
    MyVar2 = 0;
    bandskip = 0;
    max_points = 30000;
    min_freq = 0.005;
    cal_start_freq = 0.1;
    cal_end_freq = 1200;
    plot_at_zero = 0;
    smoothing = smooth_man = smooth_auto = 0;
    PortA_title = PortB_title = "";
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    SetDigits(3);
    testhook::ClearLogs();
  }
  void TearDown() override {
    EXPECT_EQ(testhook::PendingAnswers(), 0u) << "an answer no box or dialog took";
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // The titles of the message boxes shown since the logs were cleared.
  static std::vector<std::string> BoxCaptions() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption);
    return out;
  }
};

}  // namespace vna::test
