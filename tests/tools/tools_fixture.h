// What the tool tests start from: the shell's defaults without an
// instrument, the dialogs defined, the main window open with a known graph
// frame, and empty scan arrays.
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "files/settings.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/text.h"
#include "support/shell_fixture.h"

namespace vna::test {

class ToolsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    OpenShell(0, [] { return 0; });
    min_freq = 0.005;
    // The plot box and pixel factors a frame would leave.
    graph_left = 50;
    graph_right = 850;
    graph_top = 50;
    graph_bottom = 550;
    graph_start = 0;
    px_per_MHz = 80;
    grid_units_per_div = 25;
    s21mag_yscale = 2;
    FillWindow(main_win, White);
    for (double* a : {scanA_freq, scanA_swr, scanA_zmag, scanA_phase, scanB_freq, s21_dB}) {
      std::fill(a, a + kScanArraySize, 0.0);
    }
    std::fill(std::begin(resonance_freqs), std::end(resonance_freqs), -1.0);
    scan_npoints = scanA_npoints = scanB_npoints = Numscanpts = 0;
    scana_ok = scanb_ok = 0;
    cursor_index = 0;
    scan_running = 0;
    main_loop_on = 1;
    SetDigits(3);
    testhook::ClearLogs();
  }
  void TearDown() override {
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(testhook::PendingAnswers(), 0u) << "answers left unused";
    CloseWindow(main_win);
  }

  // Captions and texts of the message boxes shown since the logs were cleared.
  static std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (const auto& m : testhook::MsgBoxes()) out.push_back(m.caption);
    return out;
  }
  static std::string LastText() {
    return testhook::MsgBoxes().empty() ? "<no box>" : testhook::MsgBoxes().back().text;
  }

  // Port A scan of n points from f0 in steps of df, values by index.
  static void StoreScanA(int n, double f0, double df, const std::function<double(int)>& swr_of,
                         const std::function<double(int)>& phase_of) {
    for (int k = 0; k < n; ++k) {
      scanA_freq[k] = f0 + k * df;
      scanA_swr[k] = swr_of(k);
      scanA_phase[k] = phase_of(k);
      scanA_zmag[k] = 50 + k;
    }
    scan_npoints = scanA_npoints = n;
    scana_ok = 1;
    start_freq = f0;
    delta_freq = df;
  }

  // Pixels of `colour` in columns x0..x1 between the graph's top and bottom.
  static int CountInColumns(int x0, int x1, int colour) {
    int count = 0;
    for (int x = x0; x <= x1; ++x) {
      for (int y = graph_top; y <= graph_bottom; ++y) count += ReadPixel(main_win, x, y) == colour;
    }
    return count;
  }
};

}  // namespace vna::test
