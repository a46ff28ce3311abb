// The range of a Port A calibration: what the " Cal Limits" dialog shows and
// takes, the clamps every range passes through with the message that says
// what changed, the refusal of a range without width, and the scan settings
// a calibration borrows and gives back.
#include <cstring>

#include "calibration/cal_end.h"
#include "calibration/cal_fixture.h"
#include "calibration/cal_limits.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/text.h"
#include "support/shell_fixture.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

class CalLimitsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    StartModel("uhf", 0);
    std_cal = 0;
    cal_band = 2;
    CalinProgress = 1;
    DDS_Amplitude = 100;
    PortA_Sens = 1;
    average = 4;
    cal_start_freq = 1;
    cal_end_freq = 30;
    cal_delta_freq = 0.1;
    start_freq = 5;
    end_freq = 25;
    delta_freq = 0.202;
  }
  void TearDown() override { CalinProgress = 0; }
};

TEST_F(CalLimitsTest, DialogTakesTheTypedRange) {
  const struct {
    const char *start, *stop, *step, *amplitude, *average;
    int amplitude_answer;  // to " Amplitude Too Low", 0 when not asked
    double want_start, want_end, want_delta, want_amplitude;
    int want_average;
  } cases[] = {
      {"10", "1", "0.5", "100", "4", 0, 1, 10, 0.5, 100, 4},  // swapped silently
      {"1", "2", "50k", "75%", "8", 0, 1, 2, 0.05, 75, 8},
      {"1", "2", "2.5K", "150", "16", 0, 1, 2, 0.0025, 100, 16},
      {"1", "2", "0.1", "3", "4", kIdYes, 1, 2, 0.1, 5, 4},
      {"-5", "-20", "-1", "-50", "-7", 0, 5, 20, 1, 50, 7},  // signs dropped
      {"500k", "1.5", "10k", "60", "2.6", 0, 0.5, 1.5, 0.01, 60, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " " + c.stop + " " + c.step + " " + c.amplitude);
    SetUp();
    testhook::ClearLogs();
    AnswerDialog(" Cal Limits",
                 {{2, c.start}, {3, c.stop}, {4, c.step}, {5, c.amplitude}, {21, c.average}}, 7);
    if (c.amplitude_answer) testhook::QueueMsgBoxAnswer(c.amplitude_answer, " Amplitude Too Low");
    GetCalLimits();
    EXPECT_TRUE(testhook::Problems().empty());
    EXPECT_EQ(testhook::PendingAnswers(), 0u);
    EXPECT_EQ(vna_status, 0);
    EXPECT_EQ(CalinProgress, 1);
    EXPECT_DOUBLE_EQ(cal_start_freq, c.want_start);
    EXPECT_DOUBLE_EQ(cal_end_freq, c.want_end);
    EXPECT_DOUBLE_EQ(cal_delta_freq, c.want_delta);
    EXPECT_EQ(DDS_Amplitude, c.want_amplitude);
    EXPECT_EQ(average, c.want_average);
    EXPECT_EQ(step_text, c.step);
  }
}

TEST_F(CalLimitsTest, AmplitudeQuestionText) {
  AnswerDialog(" Cal Limits", {{5, "3"}}, 7);
  testhook::QueueMsgBoxAnswer(kIdNo, " Amplitude Too Low");
  GetCalLimits();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "The DDS amplitude cannot be less than 5 percent of full scale.\r\rIt has been set "
            "to 5 percent.\r\rDo you want to continue?");
  EXPECT_EQ(testhook::MsgBoxes()[0].buttons, kMbYesNo);
  // Refused: the calibration ends as after Cancel, the amplitude as it was.
  EXPECT_EQ(vna_status, 3810);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(DDS_Amplitude, 100);
  EXPECT_EQ(average, 4);
}

TEST_F(CalLimitsTest, CancelChangesNoLimit) {
  for (int press : {8, 0}) {  // Cancel, then the close box
    SetUp();
    AnswerDialog(" Cal Limits", {{2, "7"}, {3, "9"}, {4, "0.01"}}, press);
    GetCalLimits();
    EXPECT_EQ(vna_status, 3812);
    EXPECT_EQ(CalinProgress, 0);
    EXPECT_EQ(cal_start_freq, 1);
    EXPECT_EQ(cal_end_freq, 30);
    EXPECT_EQ(cal_delta_freq, 0.1);
  }
}

TEST_F(CalLimitsTest, StandardCalibrationHasNoDialog) {
  std_cal = 1;
  vna_status = 5;
  GetCalLimits();
  EXPECT_TRUE(testhook::Dialogs().empty());
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(CalinProgress, 1);
}

TEST_F(CalLimitsTest, DialogShowsTheRange) {
  cal_start_freq = 1.25;
  cal_end_freq = 30;
  cal_delta_freq = 0.1;
  DDS_Amplitude = 87.5;
  average = 4;
  SetDigits(4);
  Strings shown;
  std::string title, tip_amplitude, tip_average;
  testhook::Answer a;
  a.press = 8;
  a.act = [&] {
    title = GetTitle(dlg_cal_limits);
    for (int id : {2, 3, 4, 5, 21}) shown.push_back(GetCtlText(dlg_cal_limits, id));
    tip_amplitude = GetToolTip(dlg_cal_limits, 22);
    tip_average = GetToolTip(dlg_cal_limits, 24);
  };
  testhook::QueueAnswer(a);
  GetCalLimits();
  EXPECT_EQ(title, " Cal Limits");
  // Start and stop with the decimals in force, the step with those of the
  // 20 MHz scan span, amplitude and averaging with one.
  EXPECT_EQ(shown, (Strings{" 1.2500", " 30", " 0.100", " 87.5", " 4"}));
  EXPECT_EQ(tip_amplitude, " Port A Driver output amplitude (percent)  ");
  EXPECT_EQ(tip_average, " Readings to average per cal point. (4x typical)");
}

TEST_F(CalLimitsTest, AdjustmentsAndTheirMessage) {
  const std::string set = "Delta freq has been set to ";
  const struct {
    double start, end, delta;
    int std;
    double want_start, want_end, want_delta;
    std::string message;  // "" when none is shown
  } cases[] = {
      {1, 2, 0.00005, 0, 1, 2, 0.0001, set + "0.1KHz"},
      {1, 11, 5, 0, 1, 11, 0.5, set + "2 MHz"},  // then 10 MHz / 20, without a text
      {1, 2, 0.1, 0, 1, 2, 0.05, set + " 0.050 MHz"},
      {100, 700, 0.01, 0, 100, 700, 600.0 / kMaxCalSteps, set + " 0.020 MHz"},
      {0.005, 1200, 0.005, 1, 0.005, 1200, 0.005, ""},  // the standard range is never thinned
      {1, 1300, 1, 0, 1, 1200, 1, ""},                  // the stop cut to maximumfreq silently
      {0.001, 10, 0.1, 0, 0.005, 10, 0.1, "Start freq has been set to  0.005 MHz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    SetUp();
    testhook::ClearLogs();
    SetDigits(3);
    std_cal = c.std;
    cal_band = c.std ? 0 : 3;
    cal_start_freq = c.start;
    cal_end_freq = c.end;
    cal_delta_freq = c.delta;
    vna_status = 9;
    AdjustCalLimits();
    EXPECT_EQ(vna_status, 0);
    EXPECT_EQ(CalinProgress, 1);
    EXPECT_DOUBLE_EQ(cal_start_freq, c.want_start);
    EXPECT_DOUBLE_EQ(cal_end_freq, c.want_end);
    EXPECT_DOUBLE_EQ(cal_delta_freq, c.want_delta);
    // Copied into the scan limits, and into band 3's range for a band.
    EXPECT_EQ(start_freq, cal_start_freq);
    EXPECT_EQ(end_freq, cal_end_freq);
    EXPECT_EQ(delta_freq, cal_delta_freq);
    if (!c.std) {
      EXPECT_EQ(VHFcalStart, cal_start_freq);
      EXPECT_EQ(VHFcalEnd, cal_end_freq);
      EXPECT_EQ(VHFcalDelta, cal_delta_freq);
    }
    // The points, with the three beyond the end, fit a calibration file.
    if (!c.std) {
      EXPECT_LE((cal_end_freq - cal_start_freq) / cal_delta_freq + 4, kMaxCalPoints + 1e-6);
    }
    if (c.message.empty()) {
      EXPECT_TRUE(testhook::MsgBoxes().empty());
    } else {
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
      EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Cal limits have been adjusted");
      EXPECT_EQ(testhook::MsgBoxes()[0].text, c.message);
    }
  }
}

// A range without width would never reach its end: refused with a message,
// and the calibration ends before it measures.
TEST_F(CalLimitsTest, EmptyRangeIsRefused) {
  const struct {
    double start, end, delta;
  } cases[] = {
      {5, 5, 1},               // start equals stop: a step of 0
      {1300, 1400, 1},         // above the instrument: the stop cut below the start
      {0.001, 0.004, 0.0001},  // below it: the start raised above the stop
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    SetUp();
    testhook::ClearLogs();
    SetDigits(3);
    cal_start_freq = c.start;
    cal_end_freq = c.end;
    cal_delta_freq = c.delta;
    AdjustCalLimits();
    EXPECT_EQ(CalinProgress, 0);
    EXPECT_EQ(vna_status, 3814);
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Cal limits");
    EXPECT_EQ(testhook::MsgBoxes()[0].text.rfind(
                  "Start and stop frequencies must differ and lie within 0.005 to 1200 MHz.", 0),
              0u)
        << testhook::MsgBoxes()[0].text;
    // The scan limits are left alone.
    EXPECT_EQ(start_freq, 5);
    EXPECT_EQ(end_freq, 25);
    EXPECT_EQ(delta_freq, 0.202);
  }
}

TEST_F(CalLimitsTest, FullAmplitudeIsOfferedAtLowSensitivity) {
  const struct {
    int sens, answer;  // answer 0: not asked
    double want;
  } cases[] = {{1, kIdYes, 100}, {1, kIdNo, 50}, {2, 0, 50}};
  for (const auto& c : cases) {
    SetUp();
    testhook::ClearLogs();
    PortA_Sens = c.sens;
    DDS_Amplitude = 50;
    if (c.answer) testhook::QueueMsgBoxAnswer(c.answer, " Full Amplitude");
    AdjustCalLimits();
    EXPECT_EQ(DDS_Amplitude, c.want);
    EXPECT_EQ(testhook::MsgBoxes().size(), c.answer ? 1u : 0u);
    if (c.answer) {
      EXPECT_EQ(testhook::MsgBoxes()[0].text,
                "When using Low Sensitivity, 100% full amplitude is recommended\r\rDo you want to "
                "set the amplitude to 100%?");
    }
  }
}

TEST_F(CalLimitsTest, ScanSettingsComeBackBitForBit) {
  average = 64;
  smoothing = 5;
  start_freq = 0.1 + 0.2;  // not a short decimal
  end_freq = 1.0 / 3;
  delta_freq = 2.0 / 7;
  plot_at_zero = 1;
  plot_swrA = 0;
  plot_rt = 1;
  SaveScanSettings();
  const double s = start_freq, e = end_freq, d = delta_freq;
  average = 4;
  smoothing = 0;
  start_freq = end_freq = delta_freq = 7;
  plot_at_zero = 0;
  plot_swrA = 1;
  plot_rt = 0;
  RestoreScanSettings();
  EXPECT_EQ(average, 64);
  EXPECT_EQ(smoothing, 5);
  EXPECT_EQ(std::memcmp(&start_freq, &s, sizeof s), 0);
  EXPECT_EQ(std::memcmp(&end_freq, &e, sizeof e), 0);
  EXPECT_EQ(std::memcmp(&delta_freq, &d, sizeof d), 0);
  EXPECT_EQ(plot_at_zero, 1);
  EXPECT_EQ(plot_swrA, 0);
  EXPECT_EQ(plot_rt, 1);
}

}  // namespace
}  // namespace vna::test
