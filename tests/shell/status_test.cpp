// The " Status" window and the About box: every row of the Status window at
// its place for the settings it names, the supply voltage read from the
// simulated instrument, the window's wait (second press, close box, Quit,
// keys), and the About box's controller line for both simulated models and
// without an instrument.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "graph/window_bitmap.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/status.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/program_link.h"
#include "support/shell_fixture.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"
#include "support/when.h"

namespace vna {
namespace {

using Row = std::pair<int, std::string>;  // y and text of one print
using Rows = std::vector<Row>;

// What has been printed into the Status window since the logs were cleared.
std::vector<testhook::PrintRecord> StatusPrints() {
  std::vector<testhook::PrintRecord> out;
  for (const auto& p : testhook::Prints())
    if (p.window == "point_win") out.push_back(p);
  return out;
}

Rows StatusRows() {
  Rows rows;
  for (const auto& p : StatusPrints()) rows.push_back({p.y, p.text});
  return rows;
}

bool PrintedRow(const std::string& prefix, int times = 1) {
  int n = 0;
  for (const auto& p : StatusPrints()) n += p.text.starts_with(prefix);
  return n >= times;
}

// The last row of a complete print, so a step can wait for it.
constexpr const char* kLastRow = "Config file version=";

void CloseStatusBox() {
  PostEvent(point_win, kEvClose);
}

class StatusTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineAboutDialog();
    DefineDialogs();
  }
  void SetUp() override {
    test::OpenShell(0, MainWindowHandler);
    BuildMenus();
    main_loop_on = 1;
    pointwin_run = 0;
    SetKnownValues();
    PumpEvents();
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(point_win);
    pointwin_run = 0;
    CloseWindow(main_win);
    PumpEvents();
    SerialClose(hcom);
    hcom = kInvalidPort;
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }

  // Every value the window shows, set apart from the defaults so each row
  // proves it reads its own value.
  static void SetKnownValues() {
    model_uhf = 1;
    model = "Zelmar";
    maximumfreq = 1200;
    cursor_freq = 14.2;
    average = 4;
    DDSdelay = 5;
    smoothing = 2;
    smooth_auto = 3;
    smooth_man = 5;
    WinWidth = 1024;
    WinLeft = 0;
    WinHeight = 700;
    WinTop = 0;
    graph_left = 60;
    graph_right = 900;
    graph_top = 40;
    graph_bottom = 560;
    freq_comp = 1.000002;
    delay_smoothing = 0;
    DDS_Amplitude = 80;
    PortB_Sens = 2;
    PortB_Gain = 3;
    ruler_1 = -10;
    ruler1_on = 1;
    ruler_2 = 2.5;
    ruler2_on = 0;
    ExtensionLength = 0.05;
    Zextension = 75;
    ExtensionVP = 0.66;
    ExtensionFlag = 1;
    Z0real = 50;
    Z0imag = -5;
    VF = 0.8;
    PortA_cal = 1;
    PortB_cal = 0;
    cal_file_name = "port.vcal";
    cal_date = "03-15-2012  14:05:09";
    cal_comment = "bench";
    cal_prog_version = "Zelmar_636A";
    cal_start_freq = 0.005;
    cal_end_freq = 1200;
    cal_delta_freq = 0.5;
    full_current_mode = 1;
    config_file_name = "_VNA_Config_1.cfg";
    cal_folder = "C:\\cal\\";
    config_folder = "C:\\cfg\\";
    scan_folder = "/home/u/scans/";
    bmp_folder = "";
    config_version = 252;
    MyVar1 = 1.5;
    MyVar2 = 0;
    MyVar3 = -2.25;
    MyVar4 = 0.000001;
    DIAGMODE = 0;
    min_dc_voltage = 1000;
    SetDigits(3);
  }

  // The version query writes its file into the current folder: a folder of
  // the test's own.
  vna::testing::TempDir cwd_{true};

  // Presses "Status" and closes the window as soon as every row is printed.
  static void ShowAndClose() {
    test::When([] { return PrintedRow(kLastRow); }, CloseStatusBox);
    test::Watchdog dog(std::chrono::seconds(20), "ShowStatus");
    ShowStatus();
  }
};

// The rows for the values above, two-multiplier model, no instrument.
const Rows kBaseRows = {
    {10, "Model = Zelmar"},
    {50, "Maximum Frequency = 1200"},
    {70, "Cursor Freq=  14.200000"},
    {90, "Averaging= 4"},
    {110, "Settling Time= 5 msec"},
    {130, "Smoothing= 2  auto= 3  manual= 5 "},
    {150, "Graph Window: width= 1024    height= 700 "},
    {170, "Graph Plot:   width= 840    height= 520 "},
    {190, "Freq Compensation= 1.00000200 =  2.00 ppm"},
    {210, "Port A Amplitude= 80 percent"},
    {270, "Ruler 1 = -10.000 dB Enabled"},
    {290, "Ruler 2 =  2.500 dB"},
    {310, "Line Extension= 5 cm    Z= 75 ohms     VF= 0.660  Enabled"},
    {330, "Zref= 50  -5j"},
    {350, "Velocity Factor= 0.800"},
    {390, "Port A is calibrated"},
    {410, "Port B is not calibrated"},
    {450, "Cal File = port.vcal"},
    {470, "Cal Date = 03-15-2012  14:05:09"},
    {490, "Cal Comment = bench"},
    {510, "Prog used to make cal file = Zelmar_636A"},
    {550, " high sensitivity"},
    {570, "Cal start freq= 0.005"},
    {590, "Cal end freq = 1200"},
    {610, "Cal delta freq= 0.500"},
    {640, "Low current mode is not enabled"},
    {670, "Config file=_VNA_Config_1.cfg"},
    {690, "Cal folder=C:\\cal\\"},
    {710, "Config folder=C:\\cfg\\"},
    {730, "Scan folder=/home/u/scans/"},
    {750, "Picture folder="},
    {770, "Config file version= 252"},
};

// The base rows with the rows from y `from` on moved down by `shift`, then
// some texts replaced (same y) and some rows added (after the rows of the
// same y).
Rows Changed(const Rows& replace, const Rows& add = {}, int from = 10000, int shift = 0) {
  Rows rows;
  for (Row r : kBaseRows) {
    if (r.first >= from) r.first += shift;
    rows.push_back(r);
  }
  for (const Row& c : replace) {
    auto same =
        std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.first == c.first; });
    if (same != rows.end()) same->second = c.second;
  }
  for (const Row& a : add) {
    auto at =
        std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.first > a.first; });
    rows.insert(at, a);
  }
  return rows;
}

const Rows kMyVarRows = {{810, "Myvar1= 1.500000"},
                         {830, "Myvar2= 0"},
                         {850, "Myvar3= -2.250000"},
                         {870, "Myvar4= 0.000001"}};

Rows Plus(Rows a, const Rows& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(StatusTest, EveryRowShowsTheValueItNames) {
  struct Case {
    const char* name;
    std::function<void()> set;
    Rows rows;
  };
  const Case cases[] = {
      {"two-multiplier model, no instrument", [] {}, kBaseRows},
      {"delay smoothing -5 (percent) moves the rows below it down", [] { delay_smoothing = -5; },
       Changed({}, {{210, "Delay Smoothing= 5 percent "}}, 210, 20)},
      {"delay smoothing 7 (samples)", [] { delay_smoothing = 7; },
       Changed({}, {{210, "Delay Smoothing= 7 samples "}}, 210, 20)},
      {"single-DDS model",
       [] {
         model_uhf = 0;
         model = "7306";
         PortB_Sens = 1;
       },
       Changed({{10, "Model = VNA7306"}, {550, " low sensitivity"}},
               {{250, "PortB RF gain =  -12dB  low sensitivity  "}})},
      {"diagnostic mode", [] { DIAGMODE = 1; },
       Changed({}, Plus({{250, " AF gain =  28dB     "}}, kMyVarRows))},
      {"diagnostic mode, single-DDS model: the gains share a row",
       [] {
         DIAGMODE = 1;
         model_uhf = 0;
         model = "7306";
       },
       Changed({{10, "Model = VNA7306"}}, Plus({{250, "PortB RF gain =  0dB  high sensitivity  "},
                                                {250, " AF gain =  28dB     "}},
                                               kMyVarRows))},
      {"clock factor below 1", [] { freq_comp = 0.99999; },
       Changed({{190, "Freq Compensation= 0.99999000 = -10.00 ppm"}})},
      {"real reference impedance", [] { Z0imag = 0; }, Changed({{330, "Zref= 50 + 0j"}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetKnownValues();
    c.set();
    testhook::ClearLogs();
    ShowAndClose();
    EXPECT_EQ(StatusRows(), c.rows);
    // Each row starts at x 5, except a gain text that continues its row.
    const auto prints = StatusPrints();
    for (size_t i = 0; i < prints.size(); ++i) {
      const bool continues = i > 0 && prints[i].y == prints[i - 1].y;
      if (continues) {
        EXPECT_GT(prints[i].x, 5) << prints[i].text;
      } else {
        EXPECT_EQ(prints[i].x, 5) << prints[i].text;
      }
    }
    EXPECT_EQ(number_decimals, 3);
    // The ppm figure leaves the factor and its ppm in the number scratch values.
    EXPECT_DOUBLE_EQ(input_value, freq_comp);
    EXPECT_NEAR(input_imag, freq_comp == 0.99999 ? -10 : 2, 1e-6);
  }
}

TEST_F(StatusTest, TheWindowWaitsUntilClosedAndHandsTheFocusBack) {
  // Opened at the main window's size plus 150 pixels, titled " Status".
  int w = 0, h = 0;
  test::When([] { return PrintedRow(kLastRow); },
             [&] {
               OuterSize(point_win, w, h);
               EXPECT_EQ(GetTitle(point_win), " Status");
               EXPECT_EQ(focus_win, 3);
               EXPECT_EQ(pointwin_run, 1);
               // A picture of the window for a person to look at.
               const std::string dir = VNA_BINARY_DIR "/test_images";
               std::filesystem::create_directories(dir);
               ASSERT_TRUE(SaveBitmap(dir + "/status_window.bmp", point_win, 0, 0, w, h));
               QImage(QString::fromStdString(dir + "/status_window.bmp"))
                   .save(QString::fromStdString(dir + "/status_window.png"));
               std::filesystem::remove(dir + "/status_window.bmp");
               // Keys typed into the window are the graph windows' keys: P prints
               // the window that has the focus, this one.
               PostEvent(point_win, kEvKeyDown, 0, 'P');
               PostEvent(point_win, kEvKeyUp, 0, 'P');
               ctrl_key_down = 1;
               PostEvent(point_win, kEvKeyUp, 0, kVkCtrl);
               PostEvent(point_win, kEvClose);
             });
  osc_manual = 1;  // a hand-chosen oscillator ends with the window
  {
    test::Watchdog dog(std::chrono::seconds(20), "ShowStatus");
    PostEvent(main_win, kEvCommand, kBtnStatus);
    while (!PrintedRow(kLastRow) || pointwin_run != 0) WaitEvents();
  }
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 850);
  EXPECT_EQ(testhook::PrintedWindows(), std::vector<std::string>{"point_win"});
  EXPECT_EQ(ctrl_key_down, 0);
  EXPECT_EQ(key_down, 0);
  EXPECT_FALSE(point_win.IsOpen());
  EXPECT_EQ(pointwin_run, 0);
  EXPECT_EQ(osc_manual, 0);
  EXPECT_EQ(focus_win, 1);
  EXPECT_EQ(main_loop_on, 1);
}

TEST_F(StatusTest, ASecondPressReprintsIntoTheOpenWindowAndQuitEndsBothWaits) {
  const int opened_before = point_win.instance;
  // First press: the window opens. While it waits, the averaging changes and
  // Status is pressed again: the rows are printed afresh into the same window.
  test::When([] { return PrintedRow(kLastRow); },
             [] {
               average = 16;
               PostEvent(main_win, kEvCommand, kBtnStatus);
               test::When([] { return PrintedRow(kLastRow, 2); },
                          [] { PostEvent(main_win, kEvMenu, 0, 0, 0, 0, 9); });  // File, Quit
             });
  {
    test::Watchdog dog(std::chrono::seconds(20), "two Status waits and Quit");
    ShowStatus();
  }
  const Rows rows = StatusRows();
  ASSERT_EQ(rows.size(), 2 * kBaseRows.size());
  EXPECT_EQ(Rows(rows.begin(), rows.begin() + kBaseRows.size()), kBaseRows);
  EXPECT_EQ(rows[kBaseRows.size() + 3], Row(90, "Averaging= 16"));
  EXPECT_EQ(point_win.instance, opened_before + 1);  // one window, printed twice
  EXPECT_FALSE(point_win.IsOpen());
  EXPECT_EQ(main_loop_on, 0);
  EXPECT_EQ(focus_win, 1);
}

// The instrument simulator attached: the supply is read afresh ("B") just
// before its row, shown with 2 decimals, and the decimals end at 3.
TEST_F(StatusTest, TheSupplyRowReadsTheInstrument) {
  test::SimRunner sim({"--supply", "12.6"});
  test::OpenLinkTo(sim);
  ASSERT_NE(hcom, kInvalidPort);
  SetDigits(5);
  sim.Mark("status");
  testhook::ClearLogs();
  ShowAndClose();

  const auto sent = sim.WaitForCommands(1, "status");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], std::vector<uint8_t>{'B'});
  // 12.6 V reaches the program as round((12.6 - 0.45) x 215) = 2612, which
  // reads 2612 / 215 + 0.45 = 12.599 V.
  const Rows rows = StatusRows();
  auto at = [&](int y) {
    for (const Row& r : rows)
      if (r.first == y) return r.second;
    return std::string("(none)");
  };
  EXPECT_EQ(at(270), "Ruler 1 = -10.00000 dB Enabled");  // the decimals before
  EXPECT_EQ(at(330), "DC Input Voltage= 12.60    min Voltage since power-up =  12.60");
  EXPECT_EQ(at(350), "Zref= 50  -5j");
  EXPECT_EQ(at(370), "Velocity Factor= 0.800");  // 3 decimals after the supply row
  EXPECT_EQ(at(790), "Config file version= 252");
  EXPECT_EQ(number_decimals, 3);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

// The controller line of the About box, as the dialog shows it when it opens.
std::string ShowAboutAndRead() {
  static std::string seen;
  seen = "(not shown)";
  auto handler = dlg_about.handler;
  dlg_about.handler = [handler] {
    const int r = handler();
    if (msg_id == kEvInitDialog) seen = GetCtlText(dlg_about, 9);
    return r;
  };
  test::AnswerDialog(" VNA", {}, 3);
  ShowAbout();
  dlg_about.handler = handler;
  return seen;
}

TEST_F(StatusTest, AboutShowsTheControllerOfEachModel) {
  const std::pair<const char*, const char*> models[] = {
      {"uhf", " CONTROLLER: VNA UHF VER 2.41 DDSCLK1="},
      {"7306", " CONTROLLER: VNA7306 VER 3.10 DDSCLK=100.0000 TEMP "},
  };
  for (const auto& [name, line] : models) {
    SCOPED_TRACE(name);
    test::SimRunner sim({"--model", name});
    test::OpenLinkTo(sim);
    ASSERT_NE(hcom, kInvalidPort);
    sim.Mark("about");
    focus_win = 0;
    const std::string shown = ShowAboutAndRead();
    EXPECT_TRUE(shown.starts_with(line)) << shown;
    EXPECT_EQ(shown.find("CPUCLK"), std::string::npos) << shown;
    const auto sent = sim.WaitForCommands(1, "about");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], std::vector<uint8_t>{'V'});
    EXPECT_EQ(dlg_result, 1);
    EXPECT_EQ(focus_win, 1);
    SerialClose(hcom);
    hcom = kInvalidPort;
  }
}

TEST_F(StatusTest, AboutWithoutAnInstrumentSaysDemoMode) {
  commport = 8;
  hcom = kInvalidPort;
  vna_present = 1;  // taken to be there until the version query finds nothing
  EXPECT_EQ(ShowAboutAndRead(), " DEMO MODE ");
  EXPECT_EQ(vna_present, 0);
  // The close box ends it with 2.
  test::AnswerDialog(" VNA", {}, 0);
  ShowAbout();
  EXPECT_EQ(dlg_result, 2);
  EXPECT_EQ(focus_win, 1);
}

}  // namespace
}  // namespace vna
