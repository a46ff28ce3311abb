// The traces of a scan drawn point by point into the frame: where the
// segments land, the styles, the light colour set, the dotted rest of a
// halted scan, and a picture of the whole graph.
#include "graph_fixture.h"

namespace vna {
namespace {

using test::GraphTest;

class TracePlotTest : public GraphTest {
 protected:
  // A scan of the series circuit over the graph's span, n points.
  static void Scan(int n) {
    StartTracePlot();
    for (int i = 0; i < n; ++i) {
      test::SeriesRlcPoint(graph_start + (graph_end - graph_start) * i / (n - 1));
      PlotPointA();
    }
    EndTracePlot();
  }
};

TEST_F(TracePlotTest, PictureOfTheGraphWithAScan) {
  PortA_title = "Series R-L-C, 20 ohms at 14.2 MHz";
  DrawGraph();
  Scan(401);
  const std::string path = SavePng("main_graph");
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace vna
