// The graph on a real (virtual) X display: what the main window shows on the
// screen is its backing image. The test runs itself again under xvfb-run;
// without xvfb-run it is skipped.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <unistd.h>

#include <cstdlib>

#include "graph/graph_frame.h"
#include "graph/trace_plot.h"
#include "graph_fixture.h"
#include "support/process.h"

namespace vna {
namespace {

using test::GraphTest;

bool XvfbRunInstalled() {
  return std::system("command -v xvfb-run >/dev/null 2>&1") == 0;
}

class ScreenTest : public GraphTest {};

TEST_F(ScreenTest, TheWindowShowsItsImage) {
  if (!std::getenv("VNA_IN_XVFB")) {
    if (!XvfbRunInstalled()) GTEST_SKIP() << "xvfb-run is not installed";
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    const pid_t xvfb = test::StartProcess({"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", self,
                                           "--gtest_filter=ScreenTest.TheWindowShowsItsImage"},
                                          {"VNA_IN_XVFB=1", "QT_QPA_PLATFORM=xcb"});
    ASSERT_GT(xvfb, 0);
    EXPECT_EQ(test::WaitProcess(xvfb, std::chrono::seconds(90)), 0)
        << "the check under xvfb-run failed (its output is above)";
    return;
  }

  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  PortA_title = "Series R-L-C, 20 ohms at 14.2 MHz";
  DrawGraph();
  StartTracePlot();
  for (int i = 0; i < 401; ++i) {
    test::SeriesRlcPoint(graph_start + (graph_end - graph_start) * i / 400);
    PlotPointA();
  }
  EndTracePlot();
  FocusForm(main_win);
  DelayMs(500);

  // The graph's part of the window: left of the info column (its buttons are
  // widgets over the image) and above the status area.
  QWidget* canvas = main_win.impl->client;
  ASSERT_NE(canvas, nullptr);
  const QPoint at = canvas->mapToGlobal(QPoint(0, 0));
  const int w = info_x, h = status_y;
  QImage shown;
  long differing = -1;
  for (int attempt = 0; attempt < 20 && differing != 0; ++attempt) {
    shown = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), w, h).toImage();
    const QImage image = main_win.impl->image.copy(0, 0, w, h);
    differing = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((shown.pixel(x, y) & 0xFFFFFF) != (image.pixel(x, y) & 0xFFFFFF)) ++differing;
    if (differing != 0) DelayMs(250);
  }
  shown.save(QString::fromStdString(
      (std::filesystem::path(VNA_BINARY_DIR) / "graph" / "main_graph_screen.png").string()));
  EXPECT_EQ(differing, 0) << "pixels on the screen that differ from the window's image";
}

}  // namespace
}  // namespace vna
