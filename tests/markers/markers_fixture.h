// What the marker tests start from: the defaults without an instrument, the
// dialogs defined, the main window open on the program's own layout with an
// empty graph of 1..15 MHz, an empty marker table, and a temporary folder as
// the program folder for the marker files.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/markers.h"
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
#include "support/temp_dir.h"
#include "tools/state.h"

namespace vna::test {

class MarkerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  MarkerTest() : program_dir_("VNA_PROGRAM_DIR", dir_.path()) {}
  void SetUp() override {
    OpenShell(0, [] { return 0; });
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    start_freq = 1;
    end_freq = 15;
    delta_freq = 0.1;
    cal_valid = 1;
    scan_recalled = 0;
    scan_running = 0;
    recycle_on = 0;
    live_data = 1;
    main_loop_on = 1;
    marker_measure = 0;
    marker_rotation = 0;
    markerena = 0;
    markers_drawn = 0;
    plot_rsA = 1;
    marker_folder = "";
    marker_file_path = "";
    scanloop = 0;
    graph_stamp = "Stamp 01-02-2026  10:11:12";
    for (double& r : marker_swr_ratio) r = 0;
    ClearMarkers();
    for (int i = 1; i <= kMaxMarkers; ++i) markers[i].s21mag = markers[i].s21phase = 0;
    SetDigits(3);
    testhook::ClearLogs();
  }
  void TearDown() override {
    testhook::SetPumpHook(nullptr);
    markerwin_open = 0;
    CloseWindow(marker_win);
    CloseWindow(main_win);
    PumpEvents();
    EXPECT_EQ(testhook::PendingAnswers(), 0u);
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // Markers at these frequencies in rows 1, 2, ..
  static void SetMarkers(const std::vector<double>& freqs) {
    ClearMarkers();
    for (size_t i = 0; i < freqs.size(); ++i) markers[i + 1].Freq = freqs[i];
  }

  // The message boxes shown since the last ClearLogs, as "caption|text".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }

  // Texts printed into a window since the last ClearLogs.
  static std::vector<testhook::PrintRecord> Prints(const Window& w) {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == w.name) out.push_back(p);
    return out;
  }

  // Runs `act` once the marker window is open and listed (at its first pump
  // after that), for example to click its buttons.
  static void WhenListed(std::function<void()> act) {
    testhook::SetPumpHook([act] {
      if (markerwin_open == 0 || !marker_win.IsOpen()) return;
      testhook::SetPumpHook(nullptr);
      act();
    });
  }
  // Runs `act` once the open marker window waits for events after a listing.
  static void WhenIdle(std::function<void()> act) {
    testhook::SetPumpHook([act] {
      if (markerwin_open == 0 || !marker_win.IsOpen() || scan_running != 0) return;
      testhook::SetPumpHook(nullptr);
      act();
    });
    // The wait for events wakes for these, so the step runs also when
    // nothing else happens.
    for (int ms : {100, 300, 1000}) QTimer::singleShot(ms, [] { WakeEvents(); });
  }
  static void Click(int id) { PostEvent(marker_win, kEvCommand, id); }

  static void SavePng(Window& w, const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "markers";
    std::filesystem::create_directories(dir);
    int cw = 0, ch = 0;
    ClientSize(w, cw, ch);
    w.impl->image.copy(0, 0, cw, ch).save(QString::fromStdString((dir / (name + ".png")).string()));
  }

  std::string Folder() const { return dir_.path(); }
  const testing::TempDir& Dir() const { return dir_; }

 private:
  testing::TempDir dir_;
  testing::ScopedEnv program_dir_;
};

}  // namespace vna::test
