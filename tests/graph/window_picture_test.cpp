// "Save Image BitMap" keeps the main window as the user sees it: the menu
// bar on top, the graph under it, the info panel's buttons and the button
// bar where the layout puts them; on a scaled display (two device pixels to
// a pixel) still the whole window at its own size.
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "graph/graph_frame.h"
#include "graph_fixture.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "support/glyphs.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using test::GraphTest;

class WindowPictureTest : public GraphTest {
 protected:
  void ExpectWholeWindowSaved(const std::string& picture);
};

TEST_F(WindowPictureTest, TheSavedPictureShowsTheMenuBarAndTheButtons) {
  ExpectWholeWindowSaved("main_window_bitmap.png");
}

// The display scaled by 2 (QT_SCALE_FACTOR, which sets the device pixel
// ratio as a high-resolution screen does): the test runs again in a program
// of its own on such a display and checks the same pixels.
TEST_F(WindowPictureTest, OnAScaledDisplayThePictureIsTheWholeWindowAtItsSize) {
  if (std::getenv("VNA_SCALED_DISPLAY")) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    ExpectWholeWindowSaved("main_window_bitmap_scaled.png");
    return;
  }
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = 0;
  const pid_t pid = test::StartProcess(
      {self,
       "--gtest_filter=WindowPictureTest.OnAScaledDisplayThePictureIsTheWholeWindowAtItsSize"},
      {"QT_QPA_PLATFORM=offscreen", "QT_SCALE_FACTOR=2", "VNA_SCALED_DISPLAY=1"});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(test::WaitProcess(pid, std::chrono::seconds(120)), 0);
}

void WindowPictureTest::ExpectWholeWindowSaved(const std::string& picture) {
  main_win.handler = MainWindowHandler;
  BuildMenus();
  DrawGraph();
  PumpEvents();
  testing::TempDir dir;
  const std::string path = dir / "main.bmp";
  testhook::QueueFileAnswer(path);
  PostEvent(main_win, kEvMenu, 0, 0, 0, 0, 2173);  // Save Image BitMap
  PumpEvents();
  const QImage bmp(QString::fromStdString(path));
  ASSERT_FALSE(bmp.isNull());
  bmp.save(QString::fromStdString(VNA_BINARY_DIR "/graph/" + picture));
  int ow = 0, oh = 0, cw = 0, ch = 0;
  OuterSize(main_win, ow, oh);
  ClientSize(main_win, cw, ch);
  EXPECT_EQ(bmp.size(), QSize(ow, oh));
  const int menu = oh - ch;  // the menu bar above the drawing area
  ASSERT_GT(menu, 0);
  auto at = [&](int x, int y) { return qt::Packed(QColor(bmp.pixel(x, menu + y))); };

  // The graph under the menu bar: the box's black left edge, from its top
  // to its bottom, and the window's background right above it.
  EXPECT_EQ(at(graph_left, graph_top + 1), Black);
  EXPECT_EQ(at(graph_left, graph_bottom - 1), Black);
  EXPECT_EQ(at(graph_left, graph_top - 3), bg_color);

  // The five info-panel buttons one under another from info_button_y, in
  // light blue or grey as their settings say: averaging on from 2 on,
  // smoothing and the line extension off.
  const int blue = Rgb(190, 220, 240);
  ASSERT_EQ(smoothing, 0);
  ASSERT_EQ(ExtensionFlag, 0);
  const int colors[5] = {average >= 2 ? blue : Grey, blue, Grey, Grey, blue};
  for (int k = 0; k < 5; ++k) {
    const int y = info_button_y + k * info_button_h;
    EXPECT_EQ(at(info_x + 3, y + 3), colors[k]) << k;
    EXPECT_EQ(at(info_x + info_button_w - 4, y + info_button_h - 4), colors[k]) << k;
  }
  // The button bar along status_y, twelve buttons of a twelfth of the
  // window: each caption (bold, one point above the base font) inside its
  // button. The button lays out its caption itself, some pixels apart from
  // the text drawn alone: three in four of its pixels suffice (without the
  // buttons there are none).
  const test::TextFont font{"arial", font_size + 1, 600};
  const int bw = (WinWidth - WinLeft) / 12 - 1;
  const int line = test::LineHeight(font);
  // (The first word of each: the button spaces its words its own way.)
  const char* captions[] = {"Scan", "Rescan", "Recycle", "Point", "Limits"};
  for (int k = 0; k < 5; ++k) {
    const int x = WinLeft + (k + 1) * bw;
    const int adv = test::Advance(font, captions[k]);
    int ink = 0;
    test::ForEachInk(font, captions[k], 0, 0, [&](int, int) { ++ink; });
    int best = ink;
    for (int py = status_y; py <= status_y + line; ++py)
      for (int px = x; px + adv <= x + bw; ++px)
        best = std::min(best, test::MissingInk(bmp, font, captions[k], px, menu + py, Black));
    EXPECT_LE(best, ink / 4) << captions[k] << ": " << best << " of " << ink << " missing";
  }
}

}  // namespace
}  // namespace vna
