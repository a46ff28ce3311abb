// The program as a person meets it under a window manager: the real program
// against the simulator on a virtual display with openbox, driven by real
// key presses and clicks (XTest through xdotool), the stacking order and the
// keyboard focus read from the window manager. Each state seen is saved as a
// picture under build/wm/<test>/.
//
// Places on the screen: menu titles are found in a picture of the menu bar
// (their order is the program's), buttons of dialogs at the pixels their
// dialogs define, the main window's button bar as twelve slots of its row.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "instrument/point_sim.h"
#include "platform/testhook.h"
#include "support/installed_init.h"
#include "support/process.h"
#include "support/sim_calibration.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "tools/state.h"
#include "wm/x_session.h"

namespace vna {
namespace {

using namespace std::chrono_literals;
using test::XSession;
using test::XWin;

const char* const kMainTitle = "Zelmar";
const char* const kCalName = "wm.vcal";

// A Port A calibration of the simulated instrument from 1 to 30 MHz, taken
// once by the program's own code and saved as the program saves it: the
// program started in each test loads it, so its tools measure at once.
class CalibrationMaker : public PointSim {
 public:
  void TestBody() override {}
  void Make(const std::string& path) {
    Start("uhf");
    test::CalibratePortAOnSim(Sim(), test::CalFrequencies(1, 30, 0.1));
    cal_start_freq = 1;
    cal_end_freq = 30;
    cal_delta_freq = 0.1;
    cal_comment = "wm";
    mux_chan = 0;
    testhook::QueueFileAnswer(path);
    SaveCalFile();
    PointSim::TearDown();
  }
};

const std::string& CalibrationFile() {
  static testing::TempDir* dir = new testing::TempDir;  // lives as long as the run
  static const std::string path = [] {
    const std::string p = *dir / kCalName;
    CalibrationMaker().Make(p);
    return p;
  }();
  return path;
}

int Luminance(QRgb c) {
  return (qRed(c) * 30 + qGreen(c) * 59 + qBlue(c) * 11) / 100;
}

// The menu titles of a window's menu bar, left to right: columns of text
// that differ from the bar's background (greyed ones too), apart by more
// than a blank.
std::vector<int> MenuTitleCentres(const QImage& screen, const QRect& client) {
  const QRgb bg = screen.pixel(client.right() - 3, client.top() + 10);
  std::vector<bool> ink(client.width(), false);
  for (int x = 0; x < client.width(); ++x) {
    for (int y = client.top() + 2; y < client.top() + 18; ++y) {
      if (std::abs(Luminance(screen.pixel(client.left() + x, y)) - Luminance(bg)) > 30) {
        ink[x] = true;
        break;
      }
    }
  }
  std::vector<int> centres;
  int start = -1, last = -100;
  for (int x = 0; x < client.width(); ++x) {
    if (!ink[x]) continue;
    if (x - last > 8) {
      if (start >= 0) centres.push_back(client.left() + (start + last) / 2);
      start = x;
    }
    last = x;
  }
  if (start >= 0) centres.push_back(client.left() + (start + last) / 2);
  return centres;
}

class WindowManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shots_ = std::string(VNA_BINARY_DIR) + "/wm/" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(shots_);
    x_ = std::make_unique<XSession>();
    ASSERT_TRUE(x_->Ready()) << x_->Why() << " (./test installs Xvfb, openbox and xdotool)";
  }

  // The program with its init file, config file and calibration, against
  // a simulator with `dut` on Port A; `args` on its command line.
  void StartProgram(const std::string& dut, const std::vector<std::string>& args = {}) {
    const std::string cal = CalibrationFile();
    const std::string folder = dir_.path() + "/";
    std::string init = testing::InstalledInitFile(folder);
    // Line 73 names the calibration file in force.
    size_t at = 0;
    for (int line = 0; line < 72; ++line) at = init.find("\r\n", at) + 2;
    init.replace(at, init.find("\r\n", at) - at, folder + kCalName);
    dir_.Write("VNA_Init_Data_ 4177.ini", init);
    std::filesystem::copy_file(std::string(VNA_SOURCE_DIR) + "/tests/files/data/golden.cfg",
                               dir_ / "_VNA_Config_1.cfg");
    std::filesystem::copy_file(cal, dir_ / kCalName);
    sim_ = std::make_unique<test::SimRunner>(std::vector<std::string>{"--model", "uhf", "--dut", dut});
    std::vector<std::string> cmd = {std::string(VNA_BINARY_DIR) + "/bin/vna"};
    cmd.insert(cmd.end(), args.begin(), args.end());
    app_ = test::StartProcess(cmd,
                              {"DISPLAY=" + x_->Name(), "QT_QPA_PLATFORM=xcb",
                               "VNA_PROGRAM_DIR=" + dir_.path(), "VNA_DRIVE_ROOT=" + (dir_ / "drives")},
                              dir_.path());
    ASSERT_GT(app_, 0);
    main_ = x_->WaitFor(kMainTitle, 40s);
    ASSERT_NE(main_, 0u) << "no main window";
    ASSERT_TRUE(x_->WaitFocus(main_, 20s)) << "the main window never had the focus";
    // Start-up greys the menus until it is done: a click before goes nowhere.
    const auto end = std::chrono::steady_clock::now() + 40s;
    while (!MenusEnabled()) {
      ASSERT_LT(std::chrono::steady_clock::now(), end) << "the menus stayed grey";
      std::this_thread::sleep_for(100ms);
    }
  }

  // The menu bar's titles are drawn in black, not greyed.
  bool MenusEnabled() {
    const QImage s = x_->Grab();
    const QRect c = x_->Rect(main_);
    if (MenuTitleCentres(s, c).size() < 10) return false;
    int black = 0;
    for (int y = c.top() + 2; y < c.top() + 18; ++y)
      for (int x = c.left(); x < c.left() + c.width() / 2; ++x) black += Luminance(s.pixel(x, y)) < 60;
    return black > 200;
  }

  void TearDown() override {
    if (app_ > 0) {
      Shot("left_over");
      kill(app_, SIGKILL);
      test::WaitProcess(app_, 10s);
    }
  }

  void Shot(const std::string& name) {
    if (x_ && x_->Ready()) x_->Shot(shots_, std::to_string(++shot_count_) + "_" + name);
  }

  // Opens the main window's top menu `index` (0 = File) with a click on its
  // title and picks its item `item` (0 = first) with the arrow keys; then
  // `more` keys (a submenu's Right, Down ...) and Return.
  void PickMenu(int index, int item, const std::vector<std::string>& more = {}) {
    const std::vector<int> titles = MenuTitleCentres(x_->Grab(), x_->Rect(main_));
    ASSERT_GT(static_cast<int>(titles.size()), index) << "menu titles not found";
    // A menu that opens and closes again on a second click: tried anew
    // until it stays open.
    for (int attempt = 0; attempt < 3 && !x_->PopupShown(); ++attempt) {
      x_->Click(titles[index], x_->Rect(main_).top() + 9);
      x_->WaitPopup(3s);
    }
    ASSERT_TRUE(x_->PopupShown()) << "menu " << index << " did not open";
    std::vector<std::string> keys(item + 1, "Down");
    keys.insert(keys.end(), more.begin(), more.end());
    keys.push_back("Return");
    x_->Keys(keys);
  }

  // Clicks the Smith button until the chart comes: a click while the bar is
  // still greyed (start-up loading the scan) goes nowhere.
  XWin OpenSmithChart() {
    for (int attempt = 0; attempt < 5; ++attempt) {
      ClickBarButton(7);
      if (XWin chart = x_->WaitFor(" VNA Smith Chart", 4s)) return chart;
    }
    return 0;
  }

  // Clicks slot `slot` (0 = first) of the main window's button bar: the row
  // in its lower half drawn across the whole width, in twelve slots.
  void ClickBarButton(int slot) {
    const QImage s = x_->Grab();
    const QRect c = x_->Rect(main_);
    for (int y = c.top() + c.height() / 2; y < c.bottom(); ++y) {
      int dark = 0, x0 = -1, x1 = -1;
      for (int x = c.left(); x <= c.right(); ++x) {
        if (Luminance(s.pixel(x, y)) >= 120) continue;
        ++dark;
        if (x0 < 0) x0 = x;
        x1 = x;
      }
      if (dark < c.width() * 9 / 10) continue;
      x_->Click(x0 + (x1 - x0) * (2 * slot + 1) / 24, y + 8);
      return;
    }
    FAIL() << "no button bar on the main window";
  }

  // A click at pixels of a window's drawing area.
  void ClickIn(XWin w, int x, int y, int button = 1) {
    const QRect r = x_->Rect(w);
    x_->Click(r.left() + x, r.top() + y, button);
  }

  // A click on the close box the window manager draws at the right end of
  // the title bar.
  void ClickCloseBox(XWin w) {
    int l, r, t, b;
    x_->FrameExtents(w, l, r, t, b);
    const QRect rect = x_->Rect(w);
    x_->Click(rect.right() + r - 10, rect.top() - t / 2);
  }

  // A click on the title bar, as a person brings a window forward.
  void ClickTitle(XWin w) {
    int l, r, t, b;
    x_->FrameExtents(w, l, r, t, b);
    const QRect rect = x_->Rect(w);
    x_->Click(rect.left() + rect.width() / 3, rect.top() - t / 2);
  }

  std::string Titles() {
    std::string out;
    for (XWin w : x_->Stacking()) out += " [" + x_->Title(w) + "]";
    return out;
  }

  // `upper` lies above `lower` in the window manager's stack.
  void ExpectAbove(XWin upper, XWin lower, const std::string& what) {
    EXPECT_GT(x_->StackIndex(upper), x_->StackIndex(lower))
        << what << "; stack from the bottom:" << Titles();
  }

  // The window with this title came, has the keyboard focus (it shows and
  // takes keys), and its state is pictured.
  XWin ExpectFocusedWindow(const std::string& title, const std::string& shot) {
    const XWin w = x_->WaitFor(title, 30s);
    Shot(shot);
    EXPECT_NE(w, 0u) << "no window \"" << title << "\"; stack:" << Titles();
    if (w) {
      EXPECT_TRUE(x_->WaitFocus(w, 5s))
          << "\"" << title << "\" opened without the keyboard focus; the focus is on \""
          << x_->Title(x_->Focused()) << "\"";
    }
    return w;
  }

  // Q in the main window ends the program, cleanly.
  void QuitWithQ() {
    ASSERT_TRUE(x_->WaitFocus(main_, 10s))
        << "the main window did not get the focus back; it is on \""
        << x_->Title(x_->Focused()) << "\"";
    x_->Keys({"q"});
    EXPECT_EQ(test::WaitProcess(app_, 30s), 0) << "the program did not end on Q";
    app_ = -1;
  }

  std::unique_ptr<XSession> x_;
  testing::TempDir dir_;
  std::unique_ptr<test::SimRunner> sim_;
  pid_t app_ = -1;
  XWin main_ = 0;
  std::string shots_;
  int shot_count_ = 0;
};

// Functions -> Measure Crystal, then SAVE in the results: the number box
// opened over the results dialog has the focus and takes the number typed,
// the save goes on to its file, and the program still ends on Q.
TEST_F(WindowManagerTest, CrystalSaveTakesTheTypedNumberAndTheProgramStillEnds) {
  StartProgram("crystal:fs=10M,r=20,c1=20f,c0=5p");
  Shot("started");
  PickMenu(1, 4);  // Functions -> Measure Crystal
  const XWin entry = ExpectFocusedWindow(" Crystal Measurement", "crystal_frequency");
  ASSERT_NE(entry, 0u);
  x_->Keys({"ctrl+a"});
  x_->Type("10");
  x_->Keys({"Return"});
  const XWin results = x_->WaitFor(" Crystal Parameters", 90s);
  Shot("crystal_parameters");
  ASSERT_NE(results, 0u) << "no results; stack:" << Titles();
  ClickIn(results, 250, 333);  // SAVE (200, 318, 100 x 30)
  const XWin number = ExpectFocusedWindow("Xtal sequence number:", "sequence_number");
  ASSERT_NE(number, 0u);
  ExpectAbove(number, results, "the number box over the results");
  x_->Keys({"ctrl+a"});
  x_->Type("7");
  x_->Keys({"Return"});
  const XWin file = ExpectFocusedWindow(" Crystal Data File", "file_dialog");
  ASSERT_NE(file, 0u) << "the save did not go on to its file";
  ExpectAbove(file, results, "the file dialog over the results");
  const std::string path = dir_ / "crystals.xdat";
  x_->Type(path);
  x_->Keys({"Return"});
  ASSERT_TRUE(x_->WaitGone(" Crystal Data File", 10s));
  for (int i = 0; i < 100 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(std::filesystem::exists(path)) << "no crystal file written";
  std::ifstream in(path);
  std::string created, columns, data;
  std::getline(in, created);
  std::getline(in, columns);
  std::getline(in, data);
  EXPECT_EQ(data.rfind("     7,  ", 0), 0u)
      << "the line starts with the sequence number typed: " << data;
  // SAVE ends the results once the line is written.
  EXPECT_TRUE(x_->WaitGone(" Crystal Parameters", 10s));
  Shot("saved");
  QuitWithQ();
}

// A right click in the Smith chart opens the marker dialog above the chart
// (a chart that stays on top covered it), with the focus: a frequency typed
// and Return insert a marker and close it.
TEST_F(WindowManagerTest, MarkerDialogFromTheSmithChartIsAboveItAndTakesKeys) {
  StartProgram("load", {std::string(VNA_SOURCE_DIR) + "/tests/scan_files/data/port_a.scn"});
  const XWin chart = OpenSmithChart();
  ASSERT_NE(chart, 0u) << "no Smith chart; stack:" << Titles();
  const QRect c = x_->Rect(chart);
  ClickIn(chart, c.width() / 2, c.height() / 2, 3);
  const XWin marker = ExpectFocusedWindow(" Marker", "marker_dialog");
  ASSERT_NE(marker, 0u);
  ExpectAbove(marker, chart, "the marker dialog over the chart it was opened from");
  x_->Keys({"ctrl+a"});
  x_->Type("1.5");
  x_->Keys({"Return"});
  EXPECT_TRUE(x_->WaitGone(" Marker", 10s)) << "the marker dialog did not take Return";
  Shot("after_marker");
  if (XWin still = x_->Find(" VNA Smith Chart")) {
    ClickCloseBox(still);
    EXPECT_TRUE(x_->WaitGone(" VNA Smith Chart", 10s));
  }
  QuitWithQ();
}

// Polar Plot opened from the menu while the Smith chart is open opens above
// the chart; the chart's close box closes the chart while the polar plot,
// opened after it, stays open.
TEST_F(WindowManagerTest, PolarPlotOpensAboveTheSmithChartAndTheChartStillCloses) {
  StartProgram("load", {std::string(VNA_SOURCE_DIR) + "/tests/scan_files/data/port_a.scn"});
  const XWin chart = OpenSmithChart();
  ASSERT_NE(chart, 0u) << "no Smith chart; stack:" << Titles();
  Shot("smith_chart");
  PickMenu(4, 2, {"Right"});  // Markers -> Polar Plot -> SWR
  const XWin polar = x_->WaitFor("Polar Plot", 20s);
  Shot("polar_plot");
  ASSERT_NE(polar, 0u) << "no polar plot; stack:" << Titles();
  ExpectAbove(polar, chart, "the polar plot over the Smith chart");
  ClickCloseBox(chart);
  EXPECT_TRUE(x_->WaitGone(" VNA Smith Chart", 10s))
      << "the chart's close box did nothing while the polar plot is open";
  Shot("chart_closed");
  EXPECT_NE(x_->Find("Polar Plot"), 0u) << "the polar plot went with the chart";
  if (XWin p = x_->Find("Polar Plot")) {
    ClickCloseBox(p);
    EXPECT_TRUE(x_->WaitGone("Polar Plot", 10s));
  }
  QuitWithQ();
}

// The marker window opened from the menu while the Smith chart is shown
// opens above the chart, and its Recall opens " Load Markers" above it.
TEST_F(WindowManagerTest, MarkerWindowAndItsFileDialogOpenAboveTheSmithChart) {
  StartProgram("load", {std::string(VNA_SOURCE_DIR) + "/tests/scan_files/data/port_a.scn"});
  // A marker to list: a right click in the graph of the main window.
  const QRect m = x_->Rect(main_);
  ClickIn(main_, m.width() / 3, m.height() / 3, 3);
  ASSERT_NE(ExpectFocusedWindow(" Marker", "marker_dialog"), 0u);
  x_->Keys({"ctrl+a"});
  x_->Type("1.5");
  x_->Keys({"Return"});
  ASSERT_TRUE(x_->WaitGone(" Marker", 10s));
  const XWin chart = OpenSmithChart();
  ASSERT_NE(chart, 0u) << "no Smith chart; stack:" << Titles();
  PickMenu(4, 0, {"Right"});  // Markers -> Markers -> Display Marker Data
  const XWin list = ExpectFocusedWindow("Port A Marker Data", "marker_window");
  ASSERT_NE(list, 0u);
  ExpectAbove(list, chart, "the marker window over the Smith chart");
  const QRect r = x_->Rect(list);
  ClickIn(list, r.width() - 240 + 35, 3 + 11);  // Recall (W - 240, 3, 70 x 23)
  const XWin load = ExpectFocusedWindow(" Load Markers", "load_markers");
  ASSERT_NE(load, 0u);
  ExpectAbove(load, list, "the file dialog over the marker window");
  ExpectAbove(load, chart, "the file dialog over the Smith chart");
  x_->Keys({"Escape"});
  ASSERT_TRUE(x_->WaitGone(" Load Markers", 10s));
  // Recall opens the list again.
  const XWin again = x_->WaitFor("Port A Marker Data", 10s);
  Shot("recalled");
  ASSERT_NE(again, 0u);
  ClickCloseBox(again);
  EXPECT_TRUE(x_->WaitGone("Port A Marker Data", 10s));
  ClickCloseBox(chart);
  EXPECT_TRUE(x_->WaitGone(" VNA Smith Chart", 10s));
  QuitWithQ();
}

// Message boxes over a dialog: the frequency calibration, started from the
// Constant Test Frequency panel, asks in boxes of the main window while the
// panel is up. Each box has the focus and takes keys, and the panel's step
// buttons keep working under the box that asks to use them.
TEST_F(WindowManagerTest, BoxesOverADialogHaveTheFocusAndTheDialogStaysUsable) {
  StartProgram("load");
  PickMenu(1, 2);  // Functions -> Constant Freq
  const XWin panel = ExpectFocusedWindow("Constant Test Frequency", "panel");
  ASSERT_NE(panel, 0u);
  ClickIn(panel, 350, 335);  // Cal (300, 320, 100 x 30)
  const XWin ask = ExpectFocusedWindow(" Freq Cal", "freq_cal_question");
  ASSERT_NE(ask, 0u);
  ExpectAbove(ask, panel, "the question over the panel");
  x_->Keys({"Return"});  // Yes
  const XWin adjust = ExpectFocusedWindow(" Adjust freq", "adjust_freq");
  ASSERT_NE(adjust, 0u);
  ExpectAbove(adjust, panel, "the adjust box over the panel");
  // "Use the buttons on the Constant Freq dialog box": 1 MHz up.
  const double before = std::stod(sim_->Status("freq"));
  ClickIn(panel, 119, 112);  // "+" under "1MHz" (92, 100, 55 x 24)
  double after = before;
  for (int i = 0; i < 100 && after == before; ++i) {
    std::this_thread::sleep_for(50ms);
    after = std::stod(sim_->Status("freq"));
  }
  EXPECT_GT(after, before) << "the panel's step button did nothing under the box";
  Shot("stepped");
  EXPECT_NE(x_->Find(" Adjust freq"), 0u);
  ClickTitle(adjust);
  ASSERT_TRUE(x_->WaitFocus(adjust, 5s));
  x_->Keys({"Return"});  // OK
  const XWin reference = ExpectFocusedWindow(" Enter Standard (Reference) Frequency", "reference");
  ASSERT_NE(reference, 0u);
  ExpectAbove(reference, panel, "the number box over the panel");
  x_->Keys({"Escape"});
  const XWin not_done = ExpectFocusedWindow(" Freq Cal", "not_done");
  ASSERT_NE(not_done, 0u);
  x_->Keys({"Return"});
  ASSERT_TRUE(x_->WaitGone(" Freq Cal", 10s));
  ASSERT_TRUE(x_->WaitFocus(panel, 10s))
      << "the panel did not get the focus back; it is on \"" << x_->Title(x_->Focused()) << "\"";
  x_->Keys({"Escape"});
  ASSERT_TRUE(x_->WaitGone("Constant Test Frequency", 10s));
  QuitWithQ();
}

}  // namespace
}  // namespace vna
