// The crystal measurement against the simulator's real bridge: Port A
// calibrated from 0.1 to 60 MHz with the simulated short, open and load,
// then simulated crystals measured through the tool as a user runs it.
#include <cmath>
#include <complex>
#include <filesystem>
#include <functional>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/point_sim.h"
#include "platform/draw.h"
#include "platform/qt_internal.h"
#include "scan/scan_a.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "support/glyphs.h"
#include "support/shell_fixture.h"
#include "support/sim_calibration.h"
#include "tools/crystal.h"
#include "tools/state.h"

namespace vna {
namespace {

constexpr int kProbe = 9999;  // control id of the probe event below

// What the probe does at every event pause the tool makes (its searches,
// its dialogs); true when done.
std::function<bool()> g_probe;

// main_win's handler: runs the probe and asks again until it is done.
int ProbeHandler() {
  if (msg_id == kEvCommand && msg_ctl_id == kProbe && g_probe) {
    if (g_probe()) {
      g_probe = nullptr;
    } else {
      PostEvent(main_win, kEvCommand, kProbe);
    }
  }
  return 0;
}

void StartProbe(std::function<bool()> probe) {
  g_probe = std::move(probe);
  PostEvent(main_win, kEvCommand, kProbe);
}

// Presses Halt (clears scan_running, as the button does) once the
// measurement runs and `when` holds.
void HaltWhen(std::function<bool()> when) {
  StartProbe([when] {
    if (scan_running != 1 || !when()) return false;
    scan_running = 0;
    return true;
  });
}

class CrystalSimTest : public PointSim {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  virtual std::string Model() const { return "uhf"; }
  void SetUp() override {
    test::OpenShell(1, ProbeHandler);
    Start(Model());
    graph_left = 50;
    graph_right = 850;
    graph_top = 50;
    graph_bottom = 550;
    PortB_on = 0;
    test::CalibratePortAOnSim(Sim(), test::CalFrequencies(0.1, 60, 0.2));
    cal_start_freq = 0.1;
    cal_end_freq = 60;
    average = 8;
    AverageADC(average);
    DDSdelay = 3;
    end_freq = 5;  // below the crystals: the search window stays its own
    xtal_cp_warned = 0;
    xtal_Fs = xtal_Fp = xtal_Rs = xtal_Cp = 0;
    g_probe = nullptr;
    testhook::ClearLogs();
  }
  void TearDown() override {
    g_probe = nullptr;
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(testhook::PendingAnswers(), 0u) << "answers left unused";
    CloseWindow(main_win);
    PointSim::TearDown();
  }

  // Runs the tool on `device` for the entry typed; answers the results
  // dialog with END when `results` is set.
  void Measure(const std::string& device, const std::string& entry, bool high_q, bool results) {
    Sim().SetDut(device);
    test::AnswerDialog(GetTitle(dlg_crystal_meas), {{1, entry}}, 8, {{high_q ? 6 : 4, true}});
    if (results) test::AnswerDialog(GetTitle(dlg_crystal_params), {}, 18);
    MeasureCrystal();
  }
  // Relays off, and the averaging and settling time as they were.
  void ExpectRestored(const std::string& what) {
    EXPECT_EQ(Sim().Status("relays"), "0") << what;
    EXPECT_EQ(relayA + relayB, 0) << what;
    EXPECT_EQ(average, 8) << what;
    EXPECT_EQ(Sim().Status("avg"), "8") << what;
    EXPECT_EQ(DDSdelay, 3) << what;
    EXPECT_EQ(scan_running, 0) << what;
  }
  static std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (const auto& m : testhook::MsgBoxes()) out.push_back(m.caption);
    return out;
  }
};

// Motional arm from fs, r, c1 and the holder c0, as the simulator builds it.
struct Xtal {
  double fs_mhz, r, c1_pf, c0_pf;
  std::string Device() const {
    return "crystal:fs=" + std::to_string(fs_mhz) + "M,r=" + std::to_string(r) +
           ",c1=" + std::to_string(c1_pf * 1000) + "f,c0=" + std::to_string(c0_pf) + "p";
  }
  double Fp() const { return fs_mhz * std::sqrt(1 + c1_pf / c0_pf); }
  double L1_uH() const { return 1e6 / (4 * M_PI * M_PI * fs_mhz * fs_mhz * c1_pf); }
  double Q() const { return 1e6 / (2 * M_PI * fs_mhz * c1_pf * r); }
  // The series capacitance (pF) the crystal shows at f MHz, below its
  // resonance: the holder with the motional arm beside it.
  double SeriesCapacitanceAt(double f_mhz) const {
    const double w = 2 * M_PI * f_mhz * 1e6, ws = 2 * M_PI * fs_mhz * 1e6;
    const std::complex<double> arm(r, w / (ws * ws * c1_pf * 1e-12) - 1 / (w * c1_pf * 1e-12));
    const std::complex<double> z = 1.0 / (1.0 / arm + std::complex<double>(0, w * c0_pf * 1e-12));
    return -1e12 / (w * z.imag());
  }
};

// Fs within 1 ppm, Fp within 10 ppm and Rs within 1 %. The holder
// capacitance is read at 0.78 f, where the motional arm beside it still adds
// C1 / (1 - 0.78^2) = 2.55 C1: that is the method's own reading, and the
// measured Cp lies within 0.05 % of it, so 0.1 % is allowed (0.85 f would
// read 0.2 % to 0.4 % higher on these crystals). C1, L1 and Q follow from Cp
// and from Fp - Fs, which 10 ppm of Fp moves by 1 %: within 2 %, C1 high, L1
// and Q low.
TEST_F(CrystalSimTest, MotionalParametersOfSimulatedCrystals) {
  const Xtal crystals[] = {{10, 10, 0.01, 5}, {20, 20, 0.02, 5}};
  for (const Xtal& x : crystals) {
    for (bool high_q : {false, true}) {
      const std::string what = x.Device() + (high_q ? " High Q" : " Standard Q");
      testhook::ClearLogs();
      Measure(x.Device(), std::to_string(static_cast<int>(x.fs_mhz)), high_q, true);
      EXPECT_EQ(Captions(), std::vector<std::string>{}) << what;
      EXPECT_EQ(testhook::Dialogs().size(), 2u) << what;
      EXPECT_NEAR(xtal_Fs, x.fs_mhz, x.fs_mhz * 1e-6) << what;
      EXPECT_NEAR(xtal_Fp, x.Fp(), x.Fp() * 1e-5) << what;
      EXPECT_NEAR(xtal_Rs, x.r, x.r * 0.01) << what;
      const double cp = x.SeriesCapacitanceAt(0.78 * x.fs_mhz);
      EXPECT_NEAR(xtal_Cp, cp, cp * 0.001) << what;
      EXPECT_GE(xtal_Cs, x.c1_pf) << what;
      EXPECT_LE(xtal_Cs, x.c1_pf * 1.02) << what;
      EXPECT_LE(xtal_Ls, x.L1_uH()) << what;
      EXPECT_GE(xtal_Ls, x.L1_uH() * 0.98) << what;
      EXPECT_LE(xtal_Q, x.Q()) << what;
      EXPECT_GE(xtal_Q, x.Q() * 0.98) << what;
      EXPECT_DOUBLE_EQ(freq, xtal_Fp) << what;
      EXPECT_EQ(vna_status, 0) << what;
      ExpectRestored(what);
    }
  }
}

// On the window's own layout, after a scan of the crystal has printed its
// resonance on the text line above the graph: the measurement wipes the row
// of its progress dots between that line and the graph box when it ends,
// and leaves the line as the scan left it, its text whole.
TEST_F(CrystalSimTest, TheResonanceLineStaysWholeAndTheProgressDotsGo) {
  const Xtal x{10, 10, 0.01, 5};
  bg_color = ReadPixel(main_win, 2, 2);
  SetTextBackground(main_win, true, bg_color);
  MeasureGraphLayout();
  live_data = 1;
  start_freq = 9.998;
  end_freq = 10.002;
  delta_freq = 0.0001;
  FreqGrid();
  DrawGraph();
  Sim().SetDut(x.Device());
  Scan_A();
  ASSERT_EQ(vna_status, 0);
  testhook::PrintRecord line{"", 0, 0, "(none)"};
  for (const auto& p : testhook::Prints())
    if (p.window == main_win.name && p.text.rfind("Resonant freq: ", 0) == 0) line = p;
  ASSERT_NE(line.text, "(none)") << "the scan printed no resonance";
  ASSERT_EQ(line.y, line1_y);
  const test::TextFont font{"arial", font_size + 1, font_weight};
  const int rows = FontInkLineHeight(font.face, font.points, font.weight);
  int right = 0, bottom = 0;
  ClientSize(main_win, right, bottom);
  const QImage before = main_win.impl->image.copy(0, line1_y, right, rows);
  ASSERT_EQ(test::MissingInk(before, font, line.text, line.x, 0, line.color), 0);

  Measure(x.Device(), "10", false, true);
  ASSERT_NEAR(xtal_Fs, 10, 1e-5);
  const QImage after = main_win.impl->image.copy(0, line1_y, right, rows);
  std::filesystem::create_directories(VNA_BINARY_DIR "/crystal");
  after.save(VNA_BINARY_DIR "/crystal/resonance_line.png");
  main_win.impl->image.save(VNA_BINARY_DIR "/crystal/after_measurement.png");
  EXPECT_EQ(test::MissingInk(after, font, line.text, line.x, 0, line.color), 0);
  EXPECT_TRUE(after == before) << "the line above the graph changed";
  // The dots' row, where each dot of radius 3 was drawn 2 pixels above the
  // box at a frequency inside it: the background again.
  EXPECT_EQ(test::NotColor(main_win, graph_left - 2, line1_y + rows, graph_right - graph_left + 5,
                           graph_top - line1_y - rows, bg_color),
            0);
}

TEST_F(CrystalSimTest, LargeHolderCapacitanceIsWarnedOnce) {
  const Xtal big{10, 10, 0.01, 25};
  for (int run = 0; run < 2; ++run) {
    testhook::ClearLogs();
    Measure(big.Device(), "10", false, true);
    if (run == 0) {
      ASSERT_EQ(Captions(), std::vector<std::string>{" Large capacitance"});
      const std::string& text = testhook::MsgBoxes()[0].text;
      EXPECT_EQ(text.rfind("Parallel capacitance = ", 0), 0u) << text;
      EXPECT_NE(text.find(" pf\r\nThis is unusually large.\r\n"
                          "Make sure the crystal test holder has\r\n"
                          "been included in the calibration procedure.\r\n"
                          "The short, open & resistor cal loads should be placed\r\n"
                          "at the same point where the crystal is connected.\r\n\r\n"
                          "You can continue but the data may not be accurate."),
                std::string::npos)
          << text;
      EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
    } else {
      EXPECT_EQ(Captions(), std::vector<std::string>{}) << "warned once only";
    }
    EXPECT_NEAR(xtal_Cp, 25, 0.5);
    EXPECT_NEAR(xtal_Fs, 10, 1e-5);
    ExpectRestored("large capacitance");
  }
}

TEST_F(CrystalSimTest, MessagesThatEndTheMeasurement) {
  struct Case {
    std::string device, entry;
    std::function<bool()> halt_when;  // null: no Halt
    std::string caption, text_start;
  };
  const Case cases[] = {
      {"r=50", "10", nullptr, " Resonant Freq Incorrect",
       "The phase of the crystal impedance is out of range at  9.990 MHz.\r\n"
       "(It measured "},
      // Halt right after the first point of the series search.
      {Xtal{10, 10, 0.01, 5}.Device(), "10", [] { return freq > 9.99; }, " Error 27115",
       "Series resonant freq was not found.\rLast freq checked was  9.990"},
      // Halt once the series resonance is known.
      {Xtal{10, 10, 0.01, 5}.Device(), "10", [] { return xtal_Fs != 0; }, " Error 27116",
       "Parallel resonant freq was not found.\rLast freq checked was  10.000"},
      // A calibration ending at 60 MHz does not reach 59.7 + 0.5.
      {Xtal{10, 10, 0.01, 5}.Device(), "59.7", nullptr, "",
       "Note: the cal range is not appropriate for this crystal measurement.\r"
       "The min cal limits are: 46.566 to 60.200"},
  };
  xtal_cp_warned = 1;  // a resistor has no holder capacitance to speak of
  for (const Case& c : cases) {
    testhook::ClearLogs();
    SetDigits(3);  // the messages show numbers at the precision in force
    xtal_Fs = 0;
    if (c.halt_when) HaltWhen(c.halt_when);
    Measure(c.device, c.entry, false, false);
    ASSERT_EQ(Captions(), std::vector<std::string>{c.caption}) << c.caption;
    const std::string& text = testhook::MsgBoxes()[0].text;
    EXPECT_EQ(text.substr(0, c.text_start.size()), c.text_start) << c.caption;
    EXPECT_TRUE(testhook::MsgBoxes()[0].topmost) << c.caption;
    EXPECT_EQ(testhook::Dialogs().size(), 1u) << c.caption << ": no results dialog";
    ExpectRestored(c.caption);
    if (c.caption == " Error 27116") {
      EXPECT_NEAR(xtal_Fs, 10, 1e-5) << "the series resonance found before the Halt stays";
      EXPECT_NEAR(xtal_Rs, 10, 0.1);
    }
  }
}

// Without motional resistance Q is beyond measuring: the message, and the
// results are shown all the same, with the status a SAVE from them asks about.
TEST_F(CrystalSimTest, QBeyondTenMillion) {
  int status_in_results = -1;
  StartProbe([&status_in_results] {
    if (!dlg_crystal_params.IsOpen()) return false;
    status_in_results = vna_status;
    return true;
  });
  Sim().SetDut(Xtal{10, 0, 0.01, 5}.Device());
  test::AnswerDialog(GetTitle(dlg_crystal_meas), {{1, "10"}}, 8);
  testhook::QueueMsgBoxAnswer(kIdOk, " Error 72392");
  test::AnswerDialog(GetTitle(dlg_crystal_params), {}, 18);
  MeasureCrystal();
  ASSERT_EQ(Captions(), std::vector<std::string>{" Error 72392"});
  EXPECT_EQ(testhook::MsgBoxes()[0].text.rfind("Error in finding Q > 10,000,000.\r\nFseries = ", 0),
            0u);
  EXPECT_GT(xtal_Q, 1e7);
  EXPECT_EQ(testhook::Dialogs().size(), 2u) << "the results dialog follows";
  EXPECT_EQ(status_in_results, 72392);
  ExpectRestored("Q beyond ten million");
}

// The same measurement on both models, each with its own frequency
// programming and reply.
class CrystalFailureSim : public CrystalSimTest, public ::testing::WithParamInterface<const char*> {
 protected:
  std::string Model() const override { return GetParam(); }
};
INSTANTIATE_TEST_SUITE_P(BothModels, CrystalFailureSim, ::testing::Values("uhf", "7306"));

// A reading that fails ends the measurement: the failure is said once (in
// the link's own box when it has one, else in the tool's), no results dialog
// opens, so nothing can be saved, no result is changed, and the status stays.
// The first case is the first read of the holder capacitance (7.8 MHz),
// where the link itself tests no reference.
TEST_P(CrystalFailureSim, AFailedReadingEndsTheMeasurement) {
  const Xtal x{10, 10, 0.01, 5};
  struct Case {
    std::string fault;
    std::function<bool()> when;  // null: from the first reading on
    std::string box;             // the one box that says it
    int answer;                  // the button it is answered with
    std::string freq_text;       // the frequency the box names
  };
  const Case cases[] = {
      {"nosignal 1", nullptr, " Crystal Measurement", kIdOk, "at 7.8"},
      {"noref 1", nullptr, " Crystal Measurement", kIdOk, "at 7.8"},
      {"silence 1", nullptr, " Hardware Reset", kIdIgnore, "Freq =  7.8"},
      {"checksum 5", nullptr, " Crystal Measurement", kIdOk, "at 7.8"},
      // Part way through the series search, and through the parallel one.
      {"nosignal 1", [] { return xtal_Cp > 0 && freq > 9.995; }, " Crystal Measurement", kIdOk,
       "at 9.99"},
      {"silence 1", [] { return xtal_Fs > 0; }, " Hardware Reset", kIdIgnore, "Freq =  10.00"},
      // An overload is said by the link's own box, once.
      {"overload", nullptr, "  RF INPUT OVERLOAD ", kIdOk, "Freq= 7.8"},
      {"overload", [] { return xtal_Cp > 0 && freq > 9.995; }, "  RF INPUT OVERLOAD ", kIdOk,
       "Freq= 9.99"},
  };
  xtal_cp_warned = 0;
  for (const Case& c : cases) {
    const std::string what = c.fault + (c.when ? " part way" : " at the first reading");
    testhook::ClearLogs();
    Sim().Fault("none");
    xtal_Fs = xtal_Fp = xtal_Rs = xtal_Ls = xtal_Cs = xtal_Cp = xtal_Q = -1;
    if (c.when) {
      StartProbe([this, &c] {
        if (scan_running != 1 || !c.when()) return false;
        Sim().Fault(c.fault);
        return true;
      });
    } else {
      Sim().Fault(c.fault);
    }
    Sim().SetDut(x.Device());
    test::AnswerDialog(GetTitle(dlg_crystal_meas), {{1, "10"}}, 8);
    testhook::QueueMsgBoxAnswer(c.answer, c.box);
    MeasureCrystal();
    g_probe = nullptr;
    EXPECT_NE(vna_status, 0) << what;
    EXPECT_EQ(Captions(), std::vector<std::string>{c.box}) << what << ": said once";
    for (const auto& box : testhook::MsgBoxes()) {
      if (box.caption == c.box) {
        EXPECT_NE(box.text.find(c.freq_text), std::string::npos) << what << ": " << box.text;
      }
    }
    EXPECT_EQ(testhook::Dialogs().size(), 1u) << what << ": no results dialog";
    EXPECT_TRUE(testhook::FileDialogs().empty()) << what << ": nothing saved";
    for (double v : {xtal_Fs, xtal_Fp, xtal_Rs, xtal_Ls, xtal_Cs, xtal_Cp, xtal_Q}) {
      EXPECT_EQ(v, -1) << what << ": the results stay as they were";
    }
    EXPECT_EQ(Sim().Status("relays"), "0") << what;
    EXPECT_EQ(average, 8) << what;
    EXPECT_EQ(DDSdelay, 3) << what;
    EXPECT_EQ(scan_running, 0) << what;
  }
  Sim().Fault("none");
}

}  // namespace
}  // namespace vna
