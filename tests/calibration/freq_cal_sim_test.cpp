// The frequency calibration against a simulator whose clock runs off: a
// person tunes the output onto a 10 MHz reference as a frequency counter
// shows it, types the reference, and the program's 10 MHz then comes out at
// 10 MHz. Also the tolerance at both steps, kHz entry and Cancel.
#include <cmath>
#include <string>

#include "calibration/freq_cal.h"
#include "instrument/point_sim.h"
#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr double kPpm = 20;

class FreqCalSim : public PointSim {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void Begin(const std::string& model, std::vector<std::string> args = {}) {
    Start(model, std::move(args));
    OpenWindow(main_win, 0, 0, 1024, 700, kWinCaption | kWinSysMenu, "", [] { return 0; });
    freq_comp = freq_comp1 = freq_comp2 = 1;
    freqcal_ref = 10;
    freq = 10;
    testhook::ClearLogs();
  }
  void TearDown() override {
    CloseWindow(main_win);
    EXPECT_EQ(testhook::PendingAnswers(), 0u);
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    PointSim::TearDown();
  }

  // What a counter on the output reads, MHz: the frequency the instrument
  // was told, run off by its clock.
  double Counter() { return std::stod(Sim().Status("freq")) * (1 + ppm_ * 1e-6); }

  // Turns the panel's knob in 100, 10 and 1 Hz steps until the counter
  // reads the reference.
  void TuneOnto(double reference) {
    for (double step : {0.0001, 0.00001, 0.000001}) {
      for (int i = 0; i < 100 && Counter() > reference + step / 2; ++i) Step(-step);
      for (int i = 0; i < 100 && Counter() < reference - step / 2; ++i) Step(step);
    }
  }
  // A step of the panel: the new frequency programmed at once.
  static void Step(double mhz) {
    freq += mhz;
    Send_Freq(1);
  }

  static void Box(int button, const std::string& caption, std::function<void()> act = nullptr) {
    testhook::Answer a;
    a.caption = caption;
    a.press = button;
    a.act = std::move(act);
    testhook::QueueAnswer(a);
  }
  static void Reference(const std::string& typed) {
    testhook::Answer a;
    a.caption = " Enter Standard (Reference) Frequency (MHz)";
    if (typed.empty()) {
      a.press = 3;  // Cancel
    } else {
      a.texts = {{1, typed}};
      a.press = 2;
    }
    testhook::QueueAnswer(a);
  }
  static std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.text);
    return out;
  }
  static bool Said(const std::string& part) {
    for (const std::string& t : Texts())
      if (t.find(part) != std::string::npos) return true;
    return false;
  }

  double ppm_ = 0;
};

const char* const kNotDone = "Freq Calibration was not done";
const char* const kComplete = "Freq Calibration is complete.";

TEST_F(FreqCalSim, BothOscillatorsTunedOntoTheReference) {
  ppm_ = kPpm;
  Begin("uhf", {"--clock-ppm", "20"});
  Box(kIdYes, " Freq Cal");
  Box(kIdOk, " Adjust freq, step 1", [this] { TuneOnto(10); });
  Reference("10");
  Box(kIdOk, " Freq cal, step 2", [this] { TuneOnto(10); });
  Box(kIdOk, " Freq Cal");
  FreqCal();
  EXPECT_NEAR(freq_comp1, 1 / (1 + kPpm * 1e-6), 0.15e-6);
  EXPECT_NEAR(freq_comp2, 1 / (1 + kPpm * 1e-6), 0.15e-6);
  EXPECT_EQ(freq, 10);
  EXPECT_EQ(const_freq_prev, 10);
  EXPECT_EQ(freqcal_ref, 10);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(osc_manual, 0);
  ASSERT_EQ(testhook::MsgBoxes().size(), 4u);
  EXPECT_EQ(Texts()[3].rfind(std::string(kComplete) + "\r\rCompensation Factor = 0.99998", 0), 0u)
      << Texts()[3];
  EXPECT_NE(Texts()[3].find("  (-20.00 ppm)"), std::string::npos) << Texts()[3];
  // The program's 10 MHz now comes out at 10 MHz on either oscillator.
  for (int osc : {1, 2}) {
    SelectOsc(osc);
    osc_manual = 1;
    freq = 10;
    Send_Freq(1);
    EXPECT_NEAR(Counter(), 10, 1e-6) << "oscillator " << osc;
  }
  osc_manual = 0;
}

TEST_F(FreqCalSim, ToleranceKilohertzAndCancelWithOneOscillator) {
  struct Case {
    const char* typed;  // "" cancels the reference box
    double offset;      // MHz the output is left above 10 MHz
    bool done;
    double factor;
  };
  const Case cases[] = {
      {"10", 0.002, false, 1},
      {"10", 0.0019, true, 10.0019 / 10},
      {"10000k", 0.00001, true, 1 + 1e-6},
      {"", 0, false, 1},
  };
  Begin("7306");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " at +" + std::to_string(c.offset));
    freq_comp = freq_comp1 = 1;
    freq = 10;
    testhook::ClearLogs();
    Box(kIdYes, " Freq Cal");
    Box(kIdOk, " Adjust freq", [&] { freq = 10 + c.offset; });
    Reference(c.typed);
    if (c.typed[0] != '\0' && !c.done) Box(kIdOk, " Freq Cal");  // not close enough
    Box(kIdOk, " Freq Cal");
    FreqCal();
    EXPECT_NEAR(freq_comp1, c.factor, 1e-12);
    EXPECT_EQ(freq_comp, freq_comp1);
    EXPECT_EQ(Said(kComplete), c.done);
    EXPECT_EQ(Said(kNotDone), !c.done);
    EXPECT_EQ(Said("not close enough"), c.typed[0] != '\0' && !c.done);
    if (c.done) {
      EXPECT_EQ(freq, 10) << "the reference, also when typed in kHz";
    }
  }
}

TEST_F(FreqCalSim, SecondStepCancelledOrOffKeepsOscillatorTwo) {
  Begin("uhf");
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "off by 3 kHz");
    freq_comp = freq_comp1 = freq_comp2 = 1;
    freq = 10;
    testhook::ClearLogs();
    Box(kIdYes, " Freq Cal");
    Box(kIdOk, " Adjust freq, step 1", [] { freq = 10.00001; });
    Reference("10");
    Box(cancel ? kIdCancel : kIdOk, " Freq cal, step 2", [] { freq = 10.003; });
    if (!cancel) Box(kIdOk, " Freq Cal");  // refused as at step 1
    Box(kIdOk, " Freq Cal");
    Box(kIdOk, " Freq Cal");
    FreqCal();
    EXPECT_NEAR(freq_comp1, 1 + 1e-6, 1e-12);
    EXPECT_EQ(freq_comp2, 1);
    EXPECT_TRUE(Said(kComplete)) << "with the factor of oscillator 1";
    EXPECT_TRUE(Said("Compensation Factor = 1.000001000"));
    EXPECT_TRUE(Said(kNotDone));
    EXPECT_EQ(Said("not close enough"), !cancel);
  }
}

TEST_F(FreqCalSim, NoAtTheStartChangesNothing) {
  Begin("7306");
  Box(kIdNo, " Freq Cal");
  Box(kIdOk, " Freq Cal");
  FreqCal();
  EXPECT_EQ(freq_comp1, 1);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Do you want to calibrate the frequency ?", kNotDone}));
}

}  // namespace
}  // namespace vna
