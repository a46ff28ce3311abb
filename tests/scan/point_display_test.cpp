// The point window's value lines: each value keeps to its own cell of the
// line, so a value too long for its mask never runs into the next one.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "scan/point_display.h"
#include "scan/point_win.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "support/glyphs.h"

namespace vna {
namespace {

using test::ForEachInk;
using test::MissingInk;
using test::TextFont;

class PointDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    maximumfreq = 1200;
    InitVars();
    DIAGMODE = 0;
    PortB_on = 0;
    tone_on = 0;
    voice = 0;
    point_show_s21 = 0;
    PointWinWidth = 1024;
    PointWinHeight = 700;
    OpenWindow(point_win, 0, 0, PointWinWidth, PointWinHeight, kWinCaption | kWinSysMenu,
               " Point Data - Port A", PointWinHandler);
    bg_color = ReadPixel(point_win, 2, 2);  // the window's own background
    pointwin_run = 1;
    pointdata_on = 1;
    hcom = 1;  // the display only asks that a port is open
    vna_status = 0;
    DDS_Amplitude = 100;
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(point_win);
    pointwin_run = pointdata_on = 0;
    hcom = kInvalidPort;
  }
  static void SavePng(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "point_data";
    std::filesystem::create_directories(dir);
    int w = 0, h = 0;
    ClientSize(point_win, w, h);
    point_win.impl->image.copy(0, 0, w, h).save(QString::fromStdString((dir / name).string()));
  }
  static testhook::PrintRecord PrintStarting(const std::string& start) {
    for (const auto& p : testhook::Prints())
      if (p.window == point_win.name && p.text.rfind(start, 0) == 0) return p;
    return {"", 0, 0, "(none)"};
  }
};

// A short circuit seen through a little resistance at 14.2 MHz: 0.01 ohm
// and -50 ohms in series make a parallel resistance of 2.5e5 ohms; 1e-12
// ohm makes one of 10^16, far more digits than its mask "######.##" holds.
TEST_F(PointDisplayTest, AValueTooLongForItsCellStaysInIt) {
  freq = 14.2;
  point_Rs = 1e-12;
  point_Xs = -50;
  Rp = 1.0264778802789314e16;
  Xp = -50;
  swr = 9999;
  Zphase = -1.5707963;
  rho = 0.9999;
  s11 = {-0.9992, -0.04};
  ShowPointData();
  SavePng("point_window_long_value.png");

  // The second value line: Rp in the cell at x 10, Cp in the cell at
  // x 10 + 220 (the column step of the large font), Xp at 10 + 440.
  const TextFont big{"arial", font_size + 6, font_weight};
  const auto rp = PrintStarting("    Rp = ");
  const auto cp = PrintStarting("  Cp = ");
  ASSERT_EQ(cp.x, 230);
  ASSERT_EQ(rp.y, cp.y);
  EXPECT_LE(rp.x + test::Advance(big, rp.text), 230) << rp.text;
  EXPECT_EQ(rp.text.substr(rp.text.size() - 3), "...");  // said to be cut
  // The Cp cell holds the Cp text and nothing else in black.
  std::set<std::pair<int, int>> ink;
  ForEachInk(big, cp.text, 230, cp.y, [&](int x, int y) { ink.insert({x, y}); });
  EXPECT_EQ(MissingInk(point_win, big, cp.text, 230, cp.y, Black), 0);
  const int height = test::LineHeight(big);
  int foreign = 0;
  for (int y = cp.y; y < cp.y + height; ++y)
    for (int x = 230; x < 450; ++x)
      if (ReadPixel(point_win, x, y) == Black && !ink.count({x, y})) ++foreign;
  EXPECT_EQ(foreign, 0);
}

}  // namespace
}  // namespace vna
