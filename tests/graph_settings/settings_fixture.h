// What the tests of the graph's settings dialogs, legend and Cursor Data
// window start from: the defaults without an instrument, the dialogs and
// menus defined, the main window open on the program's own layout with an
// empty graph of 1..30 MHz, and no scan running.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/dialogs.h"
#include "shell/keys.h"
#include "shell/main_program.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "tools/state.h"

namespace vna::test {

class SettingsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    OpenShell(0, [] {
      if (msg_id == kEvKeyDown) HandleKey();
      return 0;
    });
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    BuildMenus();
    start_freq = 1;
    end_freq = 30;
    plot_at_zero = 0;
    scan_running = 0;
    recycle_on = recycle_count = 0;
    live_data = 1;
    main_loop_on = 1;
    scanloop = 0;
    scana_ok = scanb_ok = 0;
    alt_colors = 0;
    cursordata_open = legend_open = 0;
    cursor1_x = cursor2_x = 0;
    cursor_x = cursor_line_x = 0;
    FreqGrid();
    DrawGraph();
    SetDigits(3);
    testhook::ClearLogs();
  }
  void TearDown() override {
    testhook::SetPumpHook(nullptr);
    CloseWindow(cursor_win);
    CloseWindow(legend_win);
    CloseWindow(smith_win);
    CloseWindow(main_win);
    cursordata_open = legend_open = 0;
    tdr_mode = 0;
    PortB_on = 0;
    PumpEvents();
    EXPECT_EQ(testhook::PendingAnswers(), 0u);
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // A patch of a colour no drawing uses, inside the plot box: a redraw
  // paints over it.
  static void MarkGraph() { FillRect(main_win, graph_left + 5, graph_top + 5, 10, 10, kPatch); }
  static bool Redrawn() { return ReadPixel(main_win, graph_left + 7, graph_top + 7) != kPatch; }

  // The message boxes shown since the last ClearLogs, as "caption|text".
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption + "|" + b.text);
    return out;
  }
  static std::vector<std::string> DialogTitles() {
    std::vector<std::string> out;
    for (const auto& d : testhook::Dialogs()) out.push_back(d.title);
    return out;
  }

  // Texts printed into a window since the last ClearLogs.
  static std::vector<testhook::PrintRecord> Prints(const Window& w) {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == w.name) out.push_back(p);
    return out;
  }
  // The last text printed into the window at (x, y), or "(none)".
  static std::string PrintAt(const Window& w, int x, int y) {
    std::string text = "(none)";
    for (const auto& p : Prints(w))
      if (p.x == x && p.y == y) text = p.text;
    return text;
  }

  // The check mark of the menu item with this id (false when missing).
  static bool MenuChecked(int id) { return Checked(GetMenuBar(main_win), id); }

  // Runs `act` once, at the first pass of the event loop from now on: inside
  // the wait of a window procedure called next.
  static void SoonInsideWait(std::function<void()> act) { QTimer::singleShot(0, act); }

 public:
  static QImage Picture(Window& w) {
    int cw = 0, ch = 0;
    ClientSize(w, cw, ch);
    return w.impl ? w.impl->image.copy(0, 0, cw, ch) : QImage();
  }

 protected:
  // Keeps a picture under build/graph_settings/ for a person to look at.
  static void KeepPng(const QImage& img, const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "graph_settings";
    std::filesystem::create_directories(dir);
    img.save(QString::fromStdString((dir / (name + ".png")).string()));
  }

  static constexpr int kPatch = Rgb(1, 2, 3);

 private:
  static bool Checked(const std::vector<MenuItem>& items, int id) {
    for (const MenuItem& m : items) {
      if (m.id == id && m.items.empty()) return m.checked;
      if (Checked(m.items, id)) return true;
    }
    return false;
  }
};

}  // namespace vna::test
