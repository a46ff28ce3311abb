// Point data mode against the simulator: Single Shot and Tune through the
// real frequency dialog, the point window and its buttons, the Port A
// correction of every reading, the Ports A & B reading, a failed reading and
// the Smith dot.
#include <chrono>
#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "graph/smith_chart.h"
#include "instrument/measurement_reply.h"
#include "scan/point_data.h"
#include "scan/point_display.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

constexpr int kStopButton = 174;
constexpr int k1MhzUp = 179;

class PointDataSim : public ScanSim {
 protected:
  void Begin(std::vector<std::string> args = {}) {
    ScanSim::Begin(std::move(args));
    PointWinWidth = 1024;
    PointWinHeight = 700;
    pointwin_run = pointdata_on = 0;
    point_smith = point_smith_new = 0;
    tone_on = 0;
    voice = 0;
    average = 4;
    AverageADC(average);
    Calibrate(5, 30, 0.5);
  }
  void TearDown() override {
    PortB_on = transmission_mode = 0;
    point_smith = 0;
    CloseWindow(smith_win);
    ScanSim::TearDown();
  }

  // Answers the frequency dialog with `text` and the button `button` (7
  // Single Shot, 2 Tune); `during` runs at every pump of the mode's loops
  // until it returns true, and the window is closed by its close box then.
  void Run(const std::string& text, int button, std::function<bool()> during) {
    testhook::Answer a;
    a.caption = " Enter Frequency (MHz)";
    a.texts = {{1, text}};
    a.press = button;
    testhook::QueueAnswer(a);
    pointdata_on = 0;  // set again before each reading is shown
    bool closed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    Watch([&] {
      if (closed || pointwin_run == 0 || pointdata_on == 0) return closed;
      // A mode that never shows what the test waits for still ends.
      const bool given_up = std::chrono::steady_clock::now() > deadline;
      if (!during() && !given_up) return false;
      EXPECT_FALSE(given_up) << "the mode never showed what the test waited for";
      if (pointwin_run != 0) PostEvent(point_win, kEvClose);
      closed = true;
      return true;
    });
    PointDataMode();
    EXPECT_TRUE(closed) << "the mode ended before the test was done";
  }

  // Readings shown so far: the frequency lines printed into the point window.
  static int Readings() {
    int n = 0;
    for (const auto& p : testhook::Prints())
      n += p.window == "point_win" && p.text.rfind("Freq=", 0) == 0;
    return n;
  }
  static std::string PointText() { return testhook::PrintedText("point_win"); }

  static void SavePointWindowPng(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "scan";
    std::filesystem::create_directories(dir);
    point_win.impl->image.copy(0, 0, PointWinWidth, PointWinHeight)
        .save(QString::fromStdString((dir / (name + ".png")).string()));
  }
};

// The readings of both models, each through its own gain and decoding.
class PointDataSimModels : public PointDataSim, public ::testing::WithParamInterface<const char*> {
 protected:
  void Begin() {
    model_ = GetParam();
    PointDataSim::Begin();
  }
};
INSTANTIATE_TEST_SUITE_P(BothModels, PointDataSimModels, ::testing::Values("uhf", "7306"));

TEST_P(PointDataSimModels, SingleShotShowsTheCorrectedReading) {
  Begin();
  Sim().SetDut("r=75");
  int bar_inside = 0, bar_beyond = 0;
  Run("10", 7, [&] {
    SavePointWindowPng(std::string("point_data_single_shot_") + GetParam());
    // The bar from x 75 at y 70, 15 high: log10(1.5) of the 656 pixels of the
    // decade 1..10 is 116 pixels, so it ends near x 191.
    bar_inside = ReadPixel(point_win, 185, 77);
    bar_beyond = ReadPixel(point_win, 197, 77);
    return true;
  });
  EXPECT_EQ(bar_inside, RedColor);
  EXPECT_EQ(bar_beyond, bg_color);
  EXPECT_EQ(vna_status, 0);
  EXPECT_NEAR(freq, 10, 1e-9);
  EXPECT_NEAR(swr, 1.5, 0.015);
  EXPECT_NEAR(point_Rs, 75, 0.75);
  EXPECT_NEAR(point_Xs, 0, 0.75);
  EXPECT_EQ(Readings(), 1);
  const std::string text = PointText();
  EXPECT_NE(text.find("    SWR =     1.5"), std::string::npos) << text;
  EXPECT_NE(text.find("    Rs =     75."), std::string::npos) << text;
  EXPECT_NE(text.find("    s11 = 0.2"), std::string::npos) << text;
  // Everything is as before: window, relays, averaging, oscillator.
  EXPECT_FALSE(point_win.IsOpen());
  EXPECT_EQ(pointwin_run, 0);
  EXPECT_EQ(average, 4);
  EXPECT_EQ(relayA + relayB, 0);
  EXPECT_EQ(checkpoint, 14352);
  EXPECT_EQ(osc_manual, 0);
  EXPECT_EQ(Sim().Status("relays"), "0");
}

// The value lines of the point window, whole and where they stand, for 30 +
// j20 and 30 - j20 ohms at 14.2 MHz against 50 ohms (s11 = -0.1765 +-
// j0.2941, |s11| 0.3430, SWR 2.0441). Shown again over a live reading, with
// the reading's results replaced by these.
TEST_F(PointDataSim, ValueLinesOfAnInductiveAndACapacitiveLoad) {
  Begin();
  Sim().SetDut("r=75");
  struct Case {
    double xs;
    std::vector<std::tuple<int, int, std::string>> lines;
  };
  const Case cases[] = {
      {20,
       {{10, 133, "    Rs =     30.00"},
        {230, 133, "  Ls =      0.2242 uH "},
        {450, 133, " ( Xs =     20.00 )     "},
        {10, 183, "    Rp =     43.33"},
        {230, 183, "  Lp =      0.7285 uH"},
        {450, 183, " ( Xp =     65.00 )     "},
        {10, 233, "    SWR =     2.0441"},
        {240, 233, "  Zmag =    36.0555"},
        {470, 233, "  Phase =  33.69 deg       "},
        {10, 283, "    Rho = 0.3430"},
        {240, 283, "   Return loss =  -9.29 dB"},
        {10, 333, "    s11 = -0.1765 + j0.2941"}}},
      {-20,
       {{10, 133, "    Rs =     30.00"},
        {230, 133, "  Cs =    560.40 pF "},
        {450, 133, " ( Xs =    -20.00 )     "},
        {10, 183, "    Rp =     43.33"},
        {230, 183, "  Cp =    172.43 pF "},
        {450, 183, " ( Xp =    -65.00 )     "},
        {10, 233, "    SWR =     2.0441"},
        {240, 233, "  Zmag =    36.0555"},
        {470, 233, "  Phase = -33.69 deg       "},
        {10, 283, "    Rho = 0.3430"},
        {240, 283, "   Return loss =  -9.29 dB"},
        {10, 333, "    s11 = -0.1765 - j0.2941"}}},
  };
  for (const Case& c : cases) {
    std::vector<std::tuple<int, int, std::string>> shown;
    Run("14.2", 7, [&] {
      freq = 14.2;
      point_Rs = 30;
      point_Xs = c.xs;
      Rp = 1300.0 / 30;
      Xp = 1300 / c.xs;
      Zphase = std::atan2(c.xs, 30.0);
      s11 = {-0.17647058823529413, c.xs > 0 ? 0.29411764705882354 : -0.29411764705882354};
      rho = 0.3429971702850177;
      swr = 2.0441269193127067;
      testhook::ClearLogs();
      ShowPointData();
      SavePointWindowPng(c.xs > 0 ? "point_values_inductive" : "point_values_capacitive");
      for (const auto& p : testhook::Prints())
        if (p.window == "point_win" && p.y > 110) shown.emplace_back(p.x, p.y, p.text);
      return true;
    });
    EXPECT_EQ(shown, c.lines) << "Xs " << c.xs;
  }
}

TEST_P(PointDataSimModels, TuneClampsFollowsTheDeviceAndStops) {
  Begin();
  Sim().SetDut("r=75");
  int switched_at = 0;
  double rs_after_switch = 0, freq_seen = 0;
  Run("500", 2, [&] {
    const int n = Readings();
    if (n == 0) return false;
    if (switched_at == 0) {
      freq_seen = freq;
      PostEvent(point_win, kEvCommand, k1MhzUp);  // already at the top: stays there
      Sim().SetDut("r=25");
      switched_at = n;
      return false;
    }
    if (n == switched_at) return false;
    rs_after_switch = point_Rs;
    PostEvent(point_win, kEvCommand, kStopButton);
    return true;
  });
  EXPECT_NEAR(freq_seen, 30, 1e-9) << "500 MHz is clamped to the calibrated range";
  EXPECT_NEAR(test_freq, 30, 1e-9);
  EXPECT_NEAR(rs_after_switch, 25, 0.25) << "the reading after the switch";
  EXPECT_EQ(average, 4);
  EXPECT_EQ(relayA + relayB, 0);
  EXPECT_FALSE(point_win.IsOpen());
}

TEST_F(PointDataSim, FailedReadingShowsDataError) {
  Begin();
  Sim().Fault("checksum 20");
  Run("12", 7, [] { return true; });
  EXPECT_NE(PointText().find(" ### DATA ERROR ###"), std::string::npos);
  EXPECT_EQ(PointText().find("SWR"), std::string::npos);
  EXPECT_EQ(average, 4);
}

// An overload at the single shot's reading is said once, on both ports and
// both models; the reading is shown as the data error and the status stays.
TEST_P(PointDataSimModels, OverloadAtASingleShotIsSaidOnce) {
  Begin();
  RunThroughCal();
  Sim().SetDut("r=75");
  Sim().SetDutB("atten:db=6");
  for (int port : {0, 1}) {
    SCOPED_TRACE(port == 0 ? "Port A" : "Ports A & B");
    PortB_on = transmission_mode = port;
    testhook::ClearLogs();
    Sim().Fault("overload");
    Run("12", 7, [] { return true; });
    Sim().Fault("none");
    EXPECT_EQ(vna_status, kStatusOverload);
    int boxes = 0;
    for (const auto& b : testhook::MsgBoxes()) {
      boxes += b.caption == "  RF INPUT OVERLOAD ";
      EXPECT_EQ(b.caption, "  RF INPUT OVERLOAD ") << b.text;
    }
    EXPECT_EQ(boxes, 1);
    EXPECT_NE(PointText().find(" ### DATA ERROR ###"), std::string::npos);
    EXPECT_EQ(PointText().find("SWR"), std::string::npos);
  }
}

TEST_F(PointDataSim, PortsAAndBShowS21BesideThePortAValuesOfTheReading) {
  Begin();
  RunThroughCal();
  Sim().SetDut("r=75");
  PortB_on = transmission_mode = 1;
  Sim().SetDutB("atten:db=20");
  testhook::ClearLogs();
  Run("10", 7, [] {
    SavePointWindowPng("point_data_a_b");
    return true;
  });
  EXPECT_EQ(PortB_on, 1);
  EXPECT_EQ(transmission_mode, 1);
  EXPECT_EQ(vna_status, 0);
  EXPECT_NEAR(point_s21_db, -20, 0.2);
  EXPECT_NEAR(point_Rs, 75, 0.75);
  const std::string text = PointText();
  EXPECT_NE(text.find("    S21 = " + FormatUsing("####.##", {point_s21_db}) + " dB   S21 Phase = "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(" dB   S21 Phase = "), std::string::npos) << text;
  EXPECT_NE(text.find("    Rs =     75."), std::string::npos) << text;
}

// Ports A & B read Port B as the Port B scan does, whatever gain the last
// scan left: autoranged to a level the ADC takes, at the sensitivity the
// calibration is used for, with the gain step's phase taken off.
TEST_P(PointDataSimModels, PortsAAndBRangeTheGainOfTheReading) {
  Begin();
  RunThroughCal();
  PortB_on = transmission_mode = 1;
  Sim().SetDutB("atten:db=40");
  struct Case {
    int gain, sens;  // where an earlier scan left them
  };
  const Case cases[] = {{5, model_uhf != 0 ? 1 : 2}, {1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE("gain step " + std::to_string(c.gain));
    PortB_Gain = c.gain;
    PortB_Sens = c.sens;
    ProgGain();
    testhook::ClearLogs();
    Run("10", 7, [] { return true; });
    EXPECT_EQ(vna_status, 0);
    EXPECT_NEAR(point_s21_db, -40, 0.2);
    EXPECT_NEAR(point_s21_deg, 0, 0.5);
  }
}

TEST_F(PointDataSim, SmithDotSitsAtTheReflectionOfTheReading) {
  Begin();
  Sim().SetDut("z=30,20");
  chart_scale = 1;
  smith_zoom = 1;
  scanA_npoints = 3;  // the chart opens only with a Port A scan in memory
  scana_ok = 1;
  point_smith = 1;
  Smith();  // opened beside the point window, returns at once
  point_smith_new = 1;
  ASSERT_TRUE(smith_win.IsOpen());
  struct Pixel {
    int dx, dy;
    bool in_dot;
  };
  const Pixel table[] = {{3, 0, true}, {-3, 0, true}, {0, 3, true},  {0, -3, true},
                         {2, 2, true}, {7, 0, false}, {0, -7, false}};
  std::vector<int> before(std::size(table));
  int x = 0, y = 0;
  std::vector<int> after;
  Run("10", 7, [&] {
    // Where the Smith chart puts the reading against Zsm = 50 ohms: centre
    // (234, 203) = 0.78 x (300, 260), radius 0.78 x 250 = 195 pixels.
    const std::complex<double> z(point_Rs, point_Xs), z0(Zsm_real, Zsm_imag);
    const std::complex<double> g = (z - z0) / (z + z0);
    x = 234 + Rnd(195 * g.real());
    y = 203 - Rnd(195 * g.imag());
    for (const Pixel& p : table) after.push_back(ReadPixel(smith_win, x + p.dx, y + p.dy));
    std::filesystem::create_directories(std::string(VNA_BINARY_DIR) + "/scan");
    smith_win.impl->image.save(
        QString::fromStdString(std::string(VNA_BINARY_DIR) + "/scan/point_data_smith.png"));
    return true;
  });
  ASSERT_EQ(after.size(), std::size(table));
  EXPECT_NEAR(point_Rs, 30, 0.5);
  EXPECT_NEAR(point_Xs, 20, 0.5);
  // The chart again without the dot, for the pixels underneath.
  point_smith = 1;
  smith_open = 0;
  CloseWindow(smith_win);
  Smith();
  for (size_t i = 0; i < std::size(table); ++i) {
    const Pixel& p = table[i];
    const int under = ReadPixel(smith_win, x + p.dx, y + p.dy);
    EXPECT_EQ(after[i], p.in_dot ? (under ^ Magenta) : under)
        << "pixel (" << x + p.dx << ", " << y + p.dy << ")";
  }
}

}  // namespace
}  // namespace vna
