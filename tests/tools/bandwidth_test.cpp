// Filter bandwidth and antenna bandwidth on synthetic stored scans whose
// band edges are known, with the marks they leave on the graph.
#include <cmath>
#include <string>

#include "files/settings.h"
#include "instrument/state.h"
#include "tools/bandwidth.h"
#include "tools/state.h"
#include "tools/tools_fixture.h"

namespace vna::test {
namespace {

class FilterBandwidthTest : public ToolsTest {
 protected:
  void SetUp() override {
    ToolsTest::SetUp();
    PortB_on = 1;
    ruler1_on = ruler2_on = 1;
    Zero_Ref = 2;
  }
  // Port B scan of n points from 0 MHz in steps of df.
  static void StoreScanB(int n, double df, const std::function<double(double)>& db_of) {
    for (int k = 0; k < n; ++k) {
      scanB_freq[k] = k * df;
      s21_dB[k] = db_of(scanB_freq[k]);
    }
    scanB_npoints = n;
    scanb_ok = 1;
  }
  // A band-pass peak at 5 MHz falling 12 dB per MHz, on a grid of 1/64 MHz:
  // -3 dB at 4.75 and 5.25 MHz, -15 dB at 3.75 and 6.25 MHz, all grid points.
  static void Peak() {
    StoreScanB(641, 1.0 / 64, [](double f) { return -12 * std::fabs(f - 5); });
    cursor_index = 320;
  }
};

// Radius-4 circle of `colour` centred at (x, y): its four extreme pixels are
// that colour, its centre is not.
void ExpectCircle(int x, int y, int colour, const char* what) {
  EXPECT_EQ(ReadPixel(main_win, x, y - 4), colour) << what;
  EXPECT_EQ(ReadPixel(main_win, x, y + 4), colour) << what;
  EXPECT_EQ(ReadPixel(main_win, x - 4, y), colour) << what;
  EXPECT_EQ(ReadPixel(main_win, x + 4, y), colour) << what;
  EXPECT_NE(ReadPixel(main_win, x, y), colour) << what;
}

TEST_F(FilterBandwidthTest, OneWidthBelowAMegahertzIsGivenInKilohertz) {
  Peak();
  ruler_1 = -3;
  ruler_2 = -15;
  lbutton_down = ctrl_key_down = shift_key_down = 1;
  Bandwidth();
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(Captions(), std::vector<std::string>{" Bandwidth Data"});
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  EXPECT_EQ(LastText(),
            "Bandwidth at ruler 1 ( -3dB)= ( 5.250000 -  4.750000) =  500 KHz\r"
            "Bandwidth at ruler 2 ( -15dB)= ( 6.250000 -  3.750000) =  2500 KHz\r"
            "Shape factor =  5");
  EXPECT_EQ(lbutton_down + ctrl_key_down + shift_key_down, 0);
  EXPECT_EQ(number_decimals, 3);
  // x = 50 + 80 f; y = 50 + 2 x 25 - 2 L.
  ExpectCircle(430, 106, RedColor, "ruler 1, 4.75 MHz");
  ExpectCircle(470, 106, RedColor, "ruler 1, 5.25 MHz");
  ExpectCircle(350, 130, Blue, "ruler 2, 3.75 MHz");
  ExpectCircle(550, 130, Blue, "ruler 2, 6.25 MHz");
  // (No picture: on this bare window it would mislead; the tools' tests
  // against the simulator keep the graph with its scan.)
}

TEST_F(FilterBandwidthTest, ShapeFactorIsNeverBelowOne) {
  Peak();
  ruler_1 = -15;
  ruler_2 = -3;
  Bandwidth();
  const std::string text = LastText();
  EXPECT_EQ(text.substr(text.rfind('\r') + 1), "Shape factor =  5");
}

TEST_F(FilterBandwidthTest, TwoWidthsBelowAMegahertzStayInMegahertz) {
  // -15 dB per MHz on a 10 kHz grid: 0.4 MHz wide at -3 dB, 0.7 at -5.25.
  StoreScanB(1001, 0.01, [](double f) { return -15 * std::fabs(f - 5); });
  cursor_index = 500;
  ruler_1 = -3;
  ruler_2 = -5.25;
  Bandwidth();
  EXPECT_EQ(LastText(),
            "Bandwidth at ruler 1 ( -3dB)= ( 5.200 -  4.800) =  0.400 MHz\r"
            "Bandwidth at ruler 2 ( -5.250dB)= ( 5.350 -  4.650) =  0.700 MHz\r"
            "Shape factor =  1.750");
}

TEST_F(FilterBandwidthTest, NotchUnderTheRuler) {
  StoreScanB(641, 1.0 / 64, [](double f) { return -30 + 12 * std::fabs(f - 5); });
  cursor_index = 320;
  ruler_1 = -27;
  ruler2_on = 0;
  Bandwidth();
  EXPECT_EQ(LastText(), "Bandwidth at ruler 1 ( -27dB)= ( 5.250000 -  4.750000) =  500 KHz\r");
}

TEST_F(FilterBandwidthTest, WithoutRulersTheReportIsEmpty) {
  Peak();
  ruler1_on = ruler2_on = 0;
  Bandwidth();
  EXPECT_EQ(Captions(), std::vector<std::string>{" Bandwidth Data"});
  EXPECT_EQ(LastText(), "");
}

TEST_F(FilterBandwidthTest, PortAModeShowsNothing) {
  Peak();
  PortB_on = 0;
  Bandwidth();
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(FilterBandwidthTest, SecondRulerFailing) {
  Peak();
  ruler_1 = -3;
  ruler_2 = -100;  // below the whole trace
  Bandwidth();
  EXPECT_EQ(vna_status, 1);
  EXPECT_EQ(Captions(), (std::vector<std::string>{" No band limits found", " Bandwidth error"}));
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Cursor is not positioned inside the response curve.");
  EXPECT_FALSE(testhook::MsgBoxes()[0].topmost);
  EXPECT_EQ(LastText(), "Bandwidth could not be measured.");
  EXPECT_FALSE(testhook::MsgBoxes()[1].topmost);
  ExpectCircle(430, 106, RedColor, "ruler 1 is marked");
  EXPECT_EQ(CountInColumns(340, 360, Blue), 0) << "ruler 2 is not";
}

TEST_F(FilterBandwidthTest, BandLimitsFromTheStartPoint) {
  struct Case {
    bool notch;  // a notch under the level, else a peak over it
    double level;
    int start;
    int status;
    double f_low;  // when found
    const char* what;
  };
  // Peak at 0.1 MHz falling 12 dB per MHz, notch the mirror image; 1/64 MHz
  // grid: point 0 at -1.2 dB (+1.2), point 1 at -1.0125 dB.
  const Case cases[] = {
      {false, -1.1, 6, 0, 0.1 / 0.1875 * 0.015625, "crossing between points 0 and 1"},
      {false, -1.3, 6, 1, 0, "point 0 still above the level"},
      {true, 1.1, 6, 0, 0.1 / 0.1875 * 0.015625, "notch: crossing between points 0 and 1"},
      {true, 1.3, 6, 3, 0, "notch: point 0 still below the level"},
      {false, -120, 6, 1, 0, "level below the whole trace"},
      {false, -3, 100, 2, 0, "start point above the level at the last point"},
      {true, 3, 100, 4, 0, "notch: start point below the level at the last point"},
      {false, -1.1, 101, 2, 0, "start point beyond the scan"},
      {false, -1.1, -1, 1, 0, "start point before the scan"},
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    const double sign = c.notch ? -1 : 1;
    // 101 points; from point 90 on the trace stays 2 dB beyond zero.
    StoreScanB(101, 1.0 / 64,
               [sign](double f) { return f > 1.4 ? sign * 2 : sign * -12 * std::fabs(f - 0.1); });
    band_start_index = c.start;
    double lo = -1, hi = -1;
    FindBandLimit(c.level, lo, hi);
    EXPECT_EQ(vna_status, c.status) << c.what;
    if (c.status == 0) {
      EXPECT_NEAR(lo, c.f_low, 1e-12) << c.what;
      EXPECT_NEAR(hi, 0.2 - c.f_low, 1e-9) << c.what;
      EXPECT_TRUE(testhook::MsgBoxes().empty()) << c.what;
    } else {
      EXPECT_EQ(lo, -1) << c.what;
      EXPECT_EQ(hi, -1) << c.what;
      EXPECT_EQ(Captions(), std::vector<std::string>{" No band limits found"}) << c.what;
    }
  }
}

class AntennaBandwidthTest : public ToolsTest {
 protected:
  void SetUp() override {
    ToolsTest::SetUp();
    graph_start = 7;
    px_per_MHz = 100;
    swr_ruler = 1.5;
  }
  // 31 points from 7 to 10 MHz, SWR 1.2 at `centre` rising `slope` per MHz;
  // the element after the last point holds an SWR no result may use.
  static void VShape(double centre, double slope, int cursor) {
    StoreScanA(
        31, 7, 0.1,
        [centre, slope](int k) { return 1.2 + slope * std::fabs(7 + k * 0.1 - centre); },
        [](int) { return 0.0; });
    scanA_swr[31] = 0.1;
    scanA_freq[31] = 55;
    cursor_index = cursor;
  }
};

TEST_F(AntennaBandwidthTest, BandUnderTheRuler) {
  VShape(8, 0.4, 10);
  lbutton_down = ctrl_key_down = shift_key_down = 1;
  AntennaBandwidth();
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Bandwidth"});
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  // 1.5 is crossed 0.75 MHz either side of 8 MHz.
  EXPECT_EQ(LastText(),
            "Min SWR for this band is:  1.200 at  8\r"
            "Low freq= 7.250   High freq= 8.750\r"
            "Bandwidth =  1.500 for SWR less than  1.500");
  EXPECT_EQ(lbutton_down + ctrl_key_down + shift_key_down, 0);
  // Dashed green lines at x = 50 + 100 (f - 7): 75 and 225.
  EXPECT_GT(CountInColumns(74, 76, Green), 300);
  EXPECT_GT(CountInColumns(224, 226, Green), 300);
  EXPECT_EQ(CountInColumns(51, 72, Green) + CountInColumns(78, 222, Green) +
                CountInColumns(228, 849, Green),
            0);
}

TEST_F(AntennaBandwidthTest, CrossingBetweenTheFirstTwoPoints) {
  // SWR 1.52 at 7.0 MHz, 1.44 at 7.1 MHz: the band starts at 7.025 MHz.
  VShape(7.4, 0.8, 4);
  AntennaBandwidth();
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(LastText(),
            "Min SWR for this band is:  1.200 at  7.400\r"
            "Low freq= 7.025   High freq= 7.775\r"
            "Bandwidth =  0.750 for SWR less than  1.500");
}

TEST_F(AntennaBandwidthTest, BandReachingTheEndOfTheScan) {
  VShape(9.5, 0.4, 25);
  AntennaBandwidth();
  EXPECT_EQ(vna_status, 1);
  EXPECT_EQ(Captions(), std::vector<std::string>{""});
  EXPECT_EQ(LastText(),
            "\rNOTE: SWR at the highest frequency is still less than the SWR Ruler\r"
            "Change the start/stop limits and/or the freq step size.");
  // The band's upper edge is drawn at the last point, 10 MHz: x = 350.
  EXPECT_GT(CountInColumns(349, 351, Green), 300);
  EXPECT_EQ(CountInColumns(353, 849, Green), 0);
}

TEST_F(AntennaBandwidthTest, BandReachingTheStartOfTheScan) {
  VShape(7.1, 0.4, 3);
  AntennaBandwidth();
  EXPECT_EQ(vna_status, 1);
  EXPECT_EQ(LastText(),
            "NOTE: SWR at the lowest frequency is still less than the SWR Ruler\r\r"
            "Change the start/stop limits and/or the freq step size.");
  EXPECT_GT(CountInColumns(49, 51, Green), 300);
}

TEST_F(AntennaBandwidthTest, RefusedCursorPositions) {
  struct Case {
    double ruler;
    int cursor;
    const char* text;
  };
  const Case cases[] = {
      {1.5, 0,
       "The SWR at the cursor position must be less than the SWR Ruler value,\r\nwhich is  1.500"},
      {0.9, 10,
       "The SWR at the cursor position must be less than the SWR Ruler value,\r\nwhich is "
       " 0.900"},
      {1.5, 31, "Cursor is not positioned inside the scan data."},
      {1.5, -1, "Cursor is not positioned inside the scan data."},
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    VShape(8, 0.4, c.cursor);
    swr_ruler = c.ruler;
    AntennaBandwidth();
    EXPECT_EQ(vna_status, 0) << c.text;
    EXPECT_EQ(scan_running, 0) << c.text;
    EXPECT_EQ(Captions(), std::vector<std::string>{""}) << c.text;
    EXPECT_EQ(LastText(), c.text);
    EXPECT_EQ(CountInColumns(graph_left, graph_right, Green), 0) << c.text;
  }
}

}  // namespace
}  // namespace vna::test
