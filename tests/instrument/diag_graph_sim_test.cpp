// The diagnostic graph against the simulator: ten readings per frequency,
// the oscillator of each band, the raw levels of a 100-ohm load seen through
// an ideal bridge drawn where the plot box puts them, Halt, and readings
// that cannot become pixels; and the debug values of the number box.
#include <QImage>
#include <QTimer>

#include <cmath>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/diag_graph.h"
#include "instrument/freq_plan.h"
#include "instrument/panel_sim.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "support/shell_fixture.h"

namespace vna {
namespace {

using Commands = std::vector<Command>;

// One reading as its status line under the plot box shows it.
struct Reading {
  int osc = 0;
  double mag_ref = 0, freq = 0, ratio = 0;
};

double After(const std::string& text, const std::string& key) {
  const size_t p = text.find(key);
  return p == std::string::npos ? std::nan("") : ParseNumber(text.substr(p + key.size()));
}

std::vector<Reading> Readings() {
  std::vector<Reading> out;
  for (const auto& p : testhook::Prints()) {
    if (p.window != "main_win" || p.text.rfind("DDSclk=", 0) != 0) continue;
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, graph_bottom + 5);
    out.push_back({static_cast<int>(After(p.text, "DDSclk=")), After(p.text, "Magref="),
                   After(p.text, " freq="), After(p.text, "ratio=")});
  }
  return out;
}

bool Printed(int x, int y, const std::string& text) {
  for (const auto& p : testhook::Prints())
    if (p.window == "main_win" && p.x == x && p.y == y && p.text == text) return true;
  return false;
}

// A pixel of this colour at x within one pixel of y.
bool ColourNear(int x, double y, int colour) {
  for (int dy = -1; dy <= 1; ++dy)
    if (ReadPixel(main_win, x, static_cast<int>(std::lround(y)) + dy) == colour) return true;
  return false;
}

// The layout of the open main window, and the sweep. The grid the graph
// chooses for these limits ends exactly at `end`.
void Sweep(double start, double step, double end) {
  MeasureGraphLayout();
  bg_color = ReadPixel(main_win, 2, 2);
  SetTextBackground(main_win, true, bg_color);
  start_freq = start;
  delta_freq = step;
  end_freq = end;
  plot_at_zero = 0;
  cal_end_freq = maximumfreq;  // as start-up leaves it: the grid may end at `end`
}

// Pixel column of frequency f and row of a level in the plot box.
int Column(double f) {
  return static_cast<int>(std::lround(
      (f - graph_start) * (graph_right - graph_left) / (graph_end - graph_start) + graph_left));
}
double Row(double level) {
  return graph_bottom - level * (graph_bottom - graph_top) / 30000.0;
}

using DiagGraphSim = PanelSim;

TEST_F(DiagGraphSim, TenReadingsPerFrequencyDrawnWhereThePlotBoxPutsThem) {
  Open("uhf", {"--bridge", "ideal", "--dut", "r=100"});
  Sweep(600, 10, 700);
  MyVar1 = 0;  // the ratio trace stays on the zero line
  ASSERT_EQ(two_osc, 2);
  Mark();
  DiagGraph();
  SaveImage(main_win, "diag_graph");

  // Ten readings per frequency. A step that lands within 0.05 MHz above a
  // multiple of a quarter of the clock (12.5 MHz on oscillator 1) is moved
  // 0.05 MHz up: 650 is read at 650.05, and 700 becomes 700.05, beyond the
  // graph's end, so the sweep ends after 690.
  const double freqs[] = {600, 610, 620, 630, 640, 650.05, 660, 670, 680, 690};
  const std::vector<Reading> r = Readings();
  ASSERT_EQ(r.size(), 100u);
  for (size_t k = 0; k < r.size(); ++k) {
    const double f = freqs[k / 10];
    EXPECT_NEAR(r[k].freq, f, 1e-9) << "reading " << k + 1;
    // 50 ohms / |Z| through an ideal bridge.
    EXPECT_NEAR(r[k].ratio, 0.5, 0.005) << "reading " << k + 1;
    EXPECT_EQ(r[k].osc, f == 600 || f == 650.05 ? 2 : 1) << f;
  }

  // Set-up: gains, both relays, the loop-counter reset, oscillator 2; the
  // oscillator follows the bands; at the end both relays off.
  const Commands sent = Sent();
  ASSERT_GE(sent.size(), 6u);
  EXPECT_EQ(Commands(sent.begin(), sent.begin() + 5),
            (Commands{Cmd("A", {4, 30}), Cmd("K", {43}), Cmd("K", {171}),
                      Cmd("Y", {37, 100, 41, 99, 26, 127}), Cmd("O", {2})}));
  Commands osc, tail(sent.end() - 2, sent.end());
  for (const Command& c : sent)
    if (c[0] == 'O') osc.push_back(c);
  // The last one for 700.05, chosen at the step that ends the sweep.
  EXPECT_EQ(osc,
            (Commands{Cmd("O", {2}), Cmd("O", {1}), Cmd("O", {2}), Cmd("O", {1}), Cmd("O", {2})}));
  EXPECT_EQ(tail, (Commands{Cmd("K", {40}), Cmd("K", {168})}));
  EXPECT_EQ(Sim().Status("loopresets"), "1");
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(scanloop, 1);
  EXPECT_EQ(two_osc, 2);  // the automatic choice is back for later scans
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(scanA_freq[1], 600);
  EXPECT_EQ(scanA_freq[2], 610);
  EXPECT_NEAR(scanA_freq[6], 650.05, 1e-9);
  EXPECT_NEAR(scanA_freq[11], 700.05, 1e-9);

  // Legend and the twenty scale labels.
  EXPECT_TRUE(Printed(graph_left + 10, graph_top + 15, "  MagRef    "));
  EXPECT_TRUE(Printed(graph_left + 10, graph_top + 30, "  MagLoad    "));
  EXPECT_TRUE(Printed(graph_left + 10, graph_top + 45, "  Ratio Load/Ref    "));
  const int label_step = static_cast<int>(std::nearbyint((graph_bottom - graph_top) / 20.0));
  for (int k = 0; k < 20; ++k) {
    const std::string label = "  " + std::to_string(30000 - 1500 * k) + "             ";
    EXPECT_TRUE(Printed(graph_right + 10, graph_top + label_step * k - 10, label)) << label;
  }

  // Each segment between two frequencies: the levels at their rows, the
  // ratio on the zero line; checked half-way, away from the end points.
  for (size_t k = 9; k + 1 < r.size(); k += 10) {
    const Reading& a = r[k];
    const Reading& b = r[k + 1];
    const int x0 = Column(a.freq), x1 = Column(b.freq), xm = (x0 + x1) / 2;
    ASSERT_GT(x1 - x0, 4);
    const double t = static_cast<double>(xm - x0) / (x1 - x0);
    const double ref = Row(a.mag_ref) + t * (Row(b.mag_ref) - Row(a.mag_ref));
    const double load =
        Row(a.mag_ref * a.ratio) + t * (Row(b.mag_ref * b.ratio) - Row(a.mag_ref * a.ratio));
    EXPECT_TRUE(ColourNear(xm, ref, Green)) << "MagRef at " << xm << "," << ref;
    EXPECT_TRUE(ColourNear(xm, load, RedColor)) << "MagLoad at " << xm << "," << load;
    EXPECT_TRUE(ColourNear(xm, graph_zero_y, Blue)) << "ratio at " << xm;
  }
  EXPECT_TRUE(testhook::Problems().empty());
}

TEST_F(DiagGraphSim, AFrequencyOnASpurIsMovedAbove) {
  Open("uhf", {"--bridge", "ideal", "--dut", "r=100"});
  Sweep(98.02, 1, 100.05);
  DiagGraph();
  // 98.02 with oscillator 2, 99.02 with oscillator 1 (12.5 MHz a quarter of
  // its clock): 100.02 lies 0.02 above 8 x 12.5 and is moved to 100.05.
  std::vector<double> freqs;
  for (const Reading& r : Readings())
    if (freqs.empty() || freqs.back() != r.freq) freqs.push_back(r.freq);
  ASSERT_GE(freqs.size(), 3u);
  EXPECT_NEAR(freqs[0], 98.02, 1e-9);
  EXPECT_NEAR(freqs[1], 99.02, 1e-9);
  EXPECT_NEAR(freqs[2], 100.05, 1e-9);
  EXPECT_TRUE(Printed(100, graph_top + 20, "freq0=  100.020 v= 0.020  n= 8 "));
  EXPECT_NEAR(scanA_freq[3], 100.05, 1e-9);
}

TEST_F(DiagGraphSim, HaltEndsTheSweepWithRelaysOff) {
  Open("uhf", {"--bridge", "ideal", "--dut", "r=100"});
  Sweep(600, 10, 1000);
  // A person watching presses Halt after the 25th reading.
  QTimer halt;
  bool pressed = false;
  QObject::connect(&halt, &QTimer::timeout, [&] {
    if (pressed || scanloop < 25) return;
    pressed = true;
    PostEvent(main_win, kEvCommand, kBtnHalt);
  });
  halt.start(1);
  Mark();
  DiagGraph();
  halt.stop();
  ASSERT_TRUE(pressed);
  const size_t readings = Readings().size();
  EXPECT_GE(readings, 25u);
  EXPECT_LT(readings, 40u);  // 410 without Halt
  const Commands sent = Sent();
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(Commands(sent.end() - 2, sent.end()), (Commands{Cmd("K", {40}), Cmd("K", {168})}));
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(two_osc, 2);
}

TEST_F(DiagGraphSim, TheSingleDdsModelGetsNoOscillatorCommand) {
  Open("7306", {"--bridge", "ideal", "--dut", "r=100"});
  Sweep(10, 1, 12);
  Mark();
  DiagGraph();
  EXPECT_EQ(Readings().size(), 30u);
  for (const Command& c : Sent()) EXPECT_NE(c[0], 'O');
  EXPECT_EQ(two_osc, 0);
  // TearDown: no protocol error at the simulator.
}

// Without an instrument nothing is read and the readings keep what the
// last one left: here MagRef 0 before any reading.
void OpenDemo(double start, double step, double end) {
  test::OpenShell(0, [] { return 0; });
  hcom = kInvalidPort;
  port_status = 1;  // no failed read to end the sweep at its first reading
  vna_status = 0;
  InitFreqPlan();
  MagRef = MagLoad = 0;
  raw_valid = 0;
  Sweep(start, step, end);
}

// Their ratio is no number, so nothing of them becomes a pixel, while the
// sweep still steps through its frequencies and stores them.
TEST(DiagGraphDemo, ReadingsWithoutANumberAreStoredNotDrawn) {
  OpenDemo(1, 1, 3);
  MyVar1 = 10;
  DrawGraph();
  const QImage frame = main_win.impl->image.copy();
  testhook::ClearLogs();
  DiagGraph();
  EXPECT_EQ(Readings().size(), 30u);
  EXPECT_EQ(scanA_freq[3], 3);
  // No pixel of the plot box or of the marks above it took a trace's colour
  // that the frame had not given it (the legend's text aside).
  int changed = 0;
  for (int y = graph_top - 10; y <= graph_bottom; ++y)
    for (int x = graph_left; x <= graph_right; ++x) {
      if (y >= graph_top + 10 && y < graph_top + 70 && x < graph_left + 200) continue;
      const int now = ReadPixel(main_win, x, y);
      const int before =
          static_cast<int>(qRed(frame.pixel(x, y)) + 256 * qGreen(frame.pixel(x, y)) +
                           65536 * qBlue(frame.pixel(x, y)));
      changed += now != before && (now == Green || now == RedColor || now == Blue);
    }
  EXPECT_EQ(changed, 0);
  CloseWindow(main_win);
}

// Every whole MHz from 640 to the graph's end: oscillator 2 strictly inside
// each band of the sweep's own table, oscillator 1 on its edges and between.
// Only the status lines are looked at, so no instrument is needed: the
// readings keep the words left from before, a reference among them. The
// clocks are the two-multiplier model's, so a step close above a spur moves
// up by less than 0.05 MHz.
TEST(DiagGraphDemo, EachOscillatorBandOfTheSweep) {
  OpenDemo(640, 1, 1200);
  for (int& word : ADCdata) word = 1000;
  model7306 = 0;
  ddsclk1 = DDS_Clk = 50;
  ddsclk2 = 49.152;
  dds_clk4 = DDS_Clk / 4;
  testhook::ClearLogs();
  DiagGraph();
  const std::pair<double, double> bands[] = {
      {645, 655},   {695, 705},   {795, 805},   {820, 830},  {845, 855},  {870, 880},
      {895, 905},   {920, 930},   {945, 955},   {972, 982},  {995, 1005}, {1020, 1028},
      {1045, 1055}, {1070, 1080}, {1145, 1155}, {1190, 1205}};
  const std::vector<Reading> r = Readings();
  const size_t steps = static_cast<size_t>(graph_end) - 640 + 1;
  ASSERT_GE(graph_end, 1200);
  ASSERT_EQ(r.size(), 10 * steps);
  int inside = 0;
  std::string wrong;  // readings on the other oscillator
  // The first ten readings take the oscillator the set-up selects.
  for (size_t k = 10; k < r.size(); ++k) {
    const double step = 640 + static_cast<double>(k / 10);
    ASSERT_TRUE(r[k].freq >= step && r[k].freq <= step + 0.05 + 1e-9)
        << r[k].freq << " for " << step;
    int want = 1;
    for (auto [lo, hi] : bands)
      if (r[k].freq > lo && r[k].freq < hi) want = 2;
    inside += want == 2;
    if (r[k].osc != want && k % 10 == 0)
      wrong += NumStr(r[k].freq) + " on " + std::to_string(r[k].osc) + ";";
  }
  EXPECT_EQ(wrong, "");
  EXPECT_GE(inside, 10 * (14 * 9 + 7 + 10));
}

TEST(DiagGraphDemo, ALongSweepEndsWithTheScanArrays) {
  // 100000 steps to the graph's end; the scan arrays hold 30011 of them.
  OpenDemo(0.005, 0.0001, 10);
  testhook::Enable(false);  // 300000 status lines
  CloseWindow(main_win);    // and no drawing: only the count matters here
  DiagGraph();
  testhook::Enable(true);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(scanloop, 1);
  // The step that would pass the last element ends the sweep.
  EXPECT_NEAR(freq, 0.005 + 0.0001 * (kScanArraySize - 1), 1e-9);
  EXPECT_NEAR(scanA_freq[kScanArraySize - 1], 0.005 + 0.0001 * (kScanArraySize - 2), 1e-9);
}

TEST(DiagGraphDemo, MyVarsGoThroughTheNumberBox) {
  test::OpenShell(0, [] { return 0; });
  DefineDialogs();
  testhook::ClearLogs();
  MyVar3 = 0;
  test::AnswerDialog("Enter myvar3", {{1, "5"}}, 2);
  EnterMyVar(3);
  EXPECT_EQ(MyVar3, 5);
  EXPECT_EQ(number_decimals, 3);
  // Cancel keeps the value.
  MyVar1 = 0.125;
  test::AnswerDialog("Enter myvar1", {}, 3);
  EnterMyVar(1);
  EXPECT_EQ(MyVar1, 0.125);
  EnterMyVar(7);  // no such value: nothing asked
  EXPECT_EQ(testhook::PendingAnswers(), 0u);
  EXPECT_EQ(testhook::Dialogs().size(), 2u);
  EXPECT_EQ(number_decimals, 3);
  EXPECT_TRUE(testhook::Problems().empty());
  CloseWindow(main_win);
}

}  // namespace
}  // namespace vna
