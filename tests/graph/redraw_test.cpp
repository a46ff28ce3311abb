// The graph redraw: which branch runs, what it calls, and the state it
// leaves. The scans and the TDR drawing are stand-ins here that note how
// they were called.
#include "graph/redraw.h"
#include "graph/state.h"
#include "graph_fixture.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "tools/state.h"
#include "tools/tdr_frame.h"

namespace vna {
namespace {

struct Call {
  std::string name;
  int live_data, smoothing;
  int points;           // Numpts
  double feet_per_ndx;  // FeetPerNdx
};
std::vector<Call> calls;

void Note(const std::string& name) {
  calls.push_back({name, live_data, smoothing, Numpts, FeetPerNdx});
}

}  // namespace

void Scan_A() {
  Note("Scan_A");
}
void Scan_B() {
  Note("Scan_B");
}
void DrawTDR() {
  Note("DrawTDR");
}
void PlotTDR() {
  Note("PlotTDR");
}

namespace {

using test::GraphTest;

class RedrawTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    calls.clear();
  }
  static std::vector<std::string> Called() {
    std::vector<std::string> n;
    for (const Call& c : calls) n.push_back(c.name);
    return n;
  }
  static bool FrameDrawn() { return Printed("FREQ (2.0 MHz/div)"); }
};

using Names = std::vector<std::string>;

TEST_F(RedrawTest, AStoredPortAScanIsReplayedWithoutSmoothing) {
  scanloop = 100;
  scana_ok = 1;
  smoothing = 5;
  live_data = 1;
  RedrawGraph();
  ASSERT_EQ(Called(), Names{"Scan_A"});
  EXPECT_EQ(calls[0].live_data, 0);
  EXPECT_EQ(calls[0].smoothing, 0);
  EXPECT_TRUE(FrameDrawn());
  EXPECT_EQ(smoothing, 5);
  EXPECT_EQ(live_data, 1);
}

TEST_F(RedrawTest, ThePortBScanInPortBMode) {
  scanloop = 100;
  scana_ok = scanb_ok = 1;
  PortB_on = 1;
  live_data = 0;  // 1 afterwards, whatever it was
  RedrawGraph();
  EXPECT_EQ(Called(), Names{"Scan_B"});
  EXPECT_EQ(live_data, 1);
  // A Port A scan alone in Port B mode: the grid and an empty frame.
  calls.clear();
  scanb_ok = 0;
  RedrawGraph();
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(FrameDrawn());
  PortB_on = 0;
}

TEST_F(RedrawTest, NothingStoredDrawsTheFrameAlone) {
  scanloop = 0;
  scana_ok = 1;
  live_data = 0;
  smoothing = 3;
  RedrawGraph();
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(FrameDrawn());
  EXPECT_EQ(live_data, 0);
  EXPECT_EQ(smoothing, 3);
}

TEST_F(RedrawTest, TdrModeDrawsTheTdrScreenAndTheStoredStamp) {
  tdr_mode = 1;
  scanloop = 100;
  scana_ok = 1;
  live_data = 0;
  smoothing = 2;
  tdr_graph_title = "Coax to the mast";
  scan_stamp = "Mar 7, 2021  09:15:00";
  // The stored trace is drawn with its own point count and feet per sample,
  // not with those of the present settings (256 points).
  tdr_high_res = 0;
  tdr_trace_points = 512;
  tdr_feet_per_index = 0.528;
  RedrawGraph();
  EXPECT_EQ(Called(), (Names{"DrawTDR", "PlotTDR"}));
  EXPECT_EQ(calls[1].points, 512);
  EXPECT_EQ(calls[1].feet_per_ndx, 0.528);
  EXPECT_EQ(Numpts, 256);  // the plan follows the settings again
  EXPECT_TRUE(Printed("Coax to the mast"));
  const auto p = PrintOf("Mar 7, 2021  09:15:00   ");
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, line2_y);
  EXPECT_FALSE(FrameDrawn());
  EXPECT_EQ(live_data, 0);
  EXPECT_EQ(smoothing, 2);
  // Without a stored trace there is nothing to draw.
  calls.clear();
  tdr_trace_points = 0;
  RedrawGraph();
  EXPECT_EQ(Called(), (Names{"DrawTDR"}));
  tdr_mode = 0;
}

}  // namespace
}  // namespace vna
