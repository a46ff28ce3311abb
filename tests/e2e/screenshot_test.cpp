// A real window on a real (virtual) X display: the program started against
// the simulator under xvfb-run, its main window grabbed from the screen after
// start-up, and the picture checked for being a window with something drawn
// in it. The test runs itself again under xvfb-run; without xvfb-run it is
// skipped.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/installed_init.h"
#include "support/process.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using Clock = std::chrono::steady_clock;

bool OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string p = path;
  size_t start = 0;
  while (start <= p.size()) {
    const size_t end = p.find(':', start);
    const std::string dir =
        p.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

struct Picture {
  int dominant = 0;  // the commonest colour, 0xRRGGBB
  long others = 0;   // pixels of any other colour
};

Picture Look(const QImage& img) {
  std::map<QRgb, long> counts;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ++counts[img.pixel(x, y) & 0xFFFFFF];
  Picture p;
  long best = -1, total = 0;
  for (auto [c, n] : counts) {
    total += n;
    if (n > best) {
      best = n;
      p.dominant = static_cast<int>(c);
    }
  }
  p.others = total - best;
  return p;
}

TEST(ScreenshotTest, MainWindowAfterStartUpIsNotBlank) {
  if (!std::getenv("VNA_IN_XVFB")) {
    if (!OnPath("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    const pid_t xvfb =
        test::StartProcess({"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", self,
                            "--gtest_filter=ScreenshotTest.MainWindowAfterStartUpIsNotBlank"},
                           {"VNA_IN_XVFB=1", "QT_QPA_PLATFORM=xcb"});
    ASSERT_GT(xvfb, 0);
    const int rc = test::WaitProcess(xvfb, std::chrono::seconds(90));
    EXPECT_EQ(rc, 0) << "the check under xvfb-run failed (its output is above)";
    return;
  }

  // Under the virtual display from here on.
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  testing::TempDir dir;
  // The init and config files of an installed program, so start-up has no
  // box of its own to show.
  const std::string data = std::string(VNA_SOURCE_DIR) + "/tests/files/data/";
  dir.Write("VNA_Init_Data_ 4177.ini", testing::InstalledInitFile(dir.path() + "/"));
  std::filesystem::copy_file(data + "golden.cfg", dir / "_VNA_Config_1.cfg");
  test::SimRunner sim({"--model", "uhf"});
  const std::string exe = std::string(VNA_BINARY_DIR) + "/bin/vna";
  const pid_t pid = test::StartProcess(
      {exe}, {"VNA_PROGRAM_DIR=" + dir.path(), "VNA_DRIVE_ROOT=" + (dir / "drives")}, dir.path());
  ASSERT_GT(pid, 0);
  // The main window opens at (0, 0); the init file's size is read as at least
  // 500 x 300, so this part of the screen is the main window's.
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  QImage shot;
  Picture seen;
  const auto end = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    shot = screen->grabWindow(0, 0, 0, 480, 280).toImage();
    seen = Look(shot);
    // A white window with text drawn into it; the bare screen is black.
    if (seen.dominant == 0xFFFFFF && seen.others >= 50) break;
  }
  shot.save(QString::fromStdString(dir / "main_window.png"));
  EXPECT_EQ(seen.dominant, 0xFFFFFF) << "no main window on the screen";
  EXPECT_GE(seen.others, 50) << "the main window is blank";
  kill(pid, SIGTERM);
  EXPECT_EQ(test::WaitProcess(pid, std::chrono::seconds(20)), 0) << "ended cleanly by SIGTERM";
}

}  // namespace
}  // namespace vna
