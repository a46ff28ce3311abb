// What the TDR run, the distance to fault and the stub tool refuse before
// they measure anything, and their dialogs.
#include "instrument/state.h"
#include "shell/dialogs.h"
#include "tdr/tdr_fixture.h"
#include "tools/distance_to_fault.h"
#include "tools/tuning_stub.h"

namespace vna::test {
namespace {

class ToolRefusalTest : public TdrTest {
 protected:
  void SetUp() override {
    TdrTest::SetUp();
    DefineDialogs();
    vna_present = 1;
    cal_valid = 1;
    cal_start_freq = 0.05;
    cal_end_freq = 180;
    DXscale = 100;
    tdr_high_res = 0;
    average = 8;
    relayA = relayB = 0;
    PortA_title = "port A title";
    tdr_graph_title = "last trace";
    tdr_trace_points = 256;
    tdr_response[10] = 0.25;
  }
  // RunTDR changed nothing: no averaging, relay, title or trace.
  void ExpectUntouched() {
    EXPECT_EQ(average, 8);
    EXPECT_EQ(relayA + relayB, 0);
    EXPECT_EQ(PortA_title, "port A title");
    EXPECT_EQ(tdr_graph_title, "last trace");
    EXPECT_EQ(tdr_trace_points, 256);
    EXPECT_EQ(tdr_response[10], 0.25);
    EXPECT_TRUE(Prints().empty());
  }
};

TEST_F(ToolRefusalTest, RunTdrRefusesWhatItCannotMeasure) {
  struct Case {
    const char* name;
    int present, valid;
    double cal_start, cal_end;
    int high_res, running;
    std::vector<std::string> boxes;
  };
  // 100 ft on the 180 MHz model sweeps 0.1 .. 160 MHz; with high resolution
  // 0.1 .. 180 MHz.
  const std::string range_160 =
      " Cal Required|Calibration is required.\rThe TDR sweep needs calibration data from 0.1 to "
      "160 MHz.\rThe calibration in use covers ";
  const Case cases[] = {
      {"no instrument", 0, 1, 0.05, 180, 0, 0, {"|This function requires the hardware"}},
      {"no calibration", 1, 0, 0.05, 180, 0, 0, {" Cal Required|Calibration is required."}},
      {"ends below the sweep", 1, 1, 0.05, 150, 0, 0, {range_160 + "0.050 to 150 MHz."}},
      {"starts above 0.1 MHz", 1, 1, 0.5, 180, 0, 0, {range_160 + "0.500 to 180 MHz."}},
      {"high resolution reaches 180 MHz",
       1,
       1,
       0.1,
       170,
       1,
       0,
       {" Cal Required|Calibration is required.\rThe TDR sweep needs calibration data from 0.1 to "
        "180 MHz.\rThe calibration in use covers 0.100 to 170 MHz."}},
      // A Scan pressed while a run (or a scan) measures: no second run.
      {"a run is measuring", 1, 1, 0.05, 180, 0, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testhook::ClearLogs();
    vna_present = c.present;
    cal_valid = c.valid;
    cal_start_freq = c.cal_start;
    cal_end_freq = c.cal_end;
    tdr_high_res = c.high_res;
    scan_running = c.running;
    RunTDR();
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(scan_running, c.running);
    ExpectUntouched();
  }
  scan_running = 0;
}

TEST_F(ToolRefusalTest, DistanceToFaultNeedsCalibrationFrom50kHzTo90PercentOfTheTop) {
  maximumfreq = 180;
  const struct {
    double start, end;
    bool refused;
  } cases[] = {{0.05, 161.9, true}, {0.1, 180, true}, {0.05, 162, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.end);
    testhook::ClearLogs();
    cal_start_freq = c.start;
    cal_end_freq = c.end;
    start_freq = 3;
    end_freq = 30;
    // Past the check, Cancel in the opening notice ends the tool unmeasured.
    if (!c.refused) testhook::QueueMsgBoxAnswer(kIdCancel, "Distance to Fault");
    SetDigits(3);
    DistanceToFaultCheck();
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    const auto& box = testhook::MsgBoxes()[0];
    if (c.refused) {
      EXPECT_EQ(box.caption, " Standard cal required");
      EXPECT_EQ(box.text,
                "The Distance to Fault function requires Cal Data over\rthe range of "
                "0.05 to  180 MHz.\r\nThis file only covers " +
                    NumStr(c.start) + " to " + NumStr(c.end) +
                    " MHz.\r\n\r\nPlease load a cal file with a wider range.");
      EXPECT_EQ(box.icon, kIconExclamation);
    } else {
      EXPECT_EQ(box.caption, "Distance to Fault");
      EXPECT_EQ(box.buttons, kMbOkCancel);
      EXPECT_EQ(box.icon, kIconInformation);
      EXPECT_EQ(box.result, kIdCancel);
    }
    // The scan limits are given back.
    EXPECT_EQ(start_freq, 3);
    EXPECT_EQ(end_freq, 30);
    EXPECT_EQ(relayA + relayB, 0);
  }
}

TEST_F(ToolRefusalTest, VelocityFactorEntries) {
  const struct {
    const char* text;
    double vf;
  } cases[] = {{"-0.8", 0.8}, {"1.3", 1}, {"0.3", 0.66}, {" 0.5", 0.5}, {"1", 1}, {"x", 0.66}};
  for (const auto& c : cases) EXPECT_EQ(EnteredVelocityFactor(c.text), c.vf) << c.text;

  // The dialog shows the present VF and hands back what was typed.
  VF = 0.8;
  SetDigits(3);
  std::string shown;
  testhook::Answer a;
  a.caption = " Velocity Factor";
  a.press = 2;
  testhook::QueueAnswer(a);
  EXPECT_EQ(RunModal(dlg_velocity_factor, &main_win), 1);
  EXPECT_EQ(dlg_text1, "  0.800");
}

TEST_F(ToolRefusalTest, StubDialogAndWantedFrequencies) {
  metric = 0;
  stub_freq = 0;
  stub_length = 0;
  SetDigits(3);
  const double zmag = zmag_scale, phase = phase_scale;
  const std::string title = GetTitle(dlg_tuning_stub);
  // On first use 15 MHz and 27.5 feet are offered; a frequency outside
  // 1..170 MHz is refused before anything is measured.
  AnswerDialog(title, {{1, "0.9"}}, 5);
  MeasureVelocityFactor();
  EXPECT_EQ(dlg_text1, "0.9");
  EXPECT_EQ(dlg_text2, " 27.500");
  EXPECT_EQ(Boxes(), std::vector<std::string>{"|Invalid input frequency"});
  EXPECT_EQ(stub_length, 27.5 / 3.2808);  // taken all the same
  for (const char* f : {"170.5", "-171", "0.99"}) {
    testhook::ClearLogs();
    AnswerDialog(title, {{1, f}}, 5);
    MeasureVelocityFactor();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"|Invalid input frequency"}) << f;
  }
  EXPECT_EQ(relayA + relayB, 0);
  // The scales the tool sets for its graph come back.
  EXPECT_EQ(zmag_scale, zmag);
  EXPECT_EQ(phase_scale, phase);

  // In metres the length is offered in metres; the last frequency again.
  metric = 1;
  stub_freq = 7.1;
  stub_length = 10;
  testhook::ClearLogs();
  AnswerDialog(title, {{1, "0.5"}}, 5);
  MeasureVelocityFactor();
  EXPECT_EQ(dlg_text2, " 10");
  EXPECT_EQ(Boxes(), std::vector<std::string>{"|Invalid input frequency"});
}

}  // namespace
}  // namespace vna::test
