// The Port A calibration run against the instrument simulator as a person
// runs it: answering each prompt after connecting the standard it asks for.
// A complete calibration makes known loads read back right on both models;
// a cancelled, refused, halted or silent one leaves the calibration that
// was in force before it in force.
#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "calibration/cal_data_test.h"
#include "calibration/cal_port_a.h"
#include "calibration/cal_sim.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "scan/scan_sim.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna::test {
namespace {

using cplx = std::complex<double>;
using Strings = std::vector<std::string>;

const KnownLoad kLoads[] = {{"r=75", 75, 0}, {"z=50,50", 50, 50}, {"z=10,-30", 10, -30}};

int DialogsTitled(const std::string& title) {
  int n = 0;
  for (const auto& d : testhook::Dialogs()) n += d.title == title ? 1 : 0;
  return n;
}

class CalASim : public CalSim, public ::testing::WithParamInterface<std::string> {
 protected:
  // Each known load scanned with the Scan button from start to end: every
  // point of the stored scan within 1 % of |Z|. The step falls between the
  // calibration points as well as on them.
  void ExpectScansRead(double start, double end, double step) {
    for (size_t n = 0; n < std::size(kLoads); ++n) {
      const KnownLoad& load = kLoads[n];
      SCOPED_TRACE(load.device);
      Sim().SetDut(load.device);
      ScanButton(start, end, step);
      KeepPicture(main_win, "cal_a_scan_" + GetParam() + "_load" + std::to_string(n));
      ASSERT_EQ(vna_status, 0);
      ASSERT_EQ(scana_ok, 1);
      // The graph may round the end up to a whole division; the scan covers
      // at least start .. end in equal steps.
      ASSERT_GE(scan_npoints, static_cast<int>((end - start) / step) + 1);
      EXPECT_EQ(scanA_freq[0], start);
      EXPECT_NEAR(scanA_freq[1] - scanA_freq[0], step, 1e-9);
      EXPECT_LE(scanA_freq[scan_npoints - 1], end_freq);
      const cplx want(load.r, load.x);
      for (int k = 0; k < scan_npoints; ++k) {
        const cplx got(scanA_Rs[k], scanA_Xs[k]);
        EXPECT_LT(std::abs(got - want), 0.01 * std::abs(want)) << scanA_freq[k] << " MHz: " << got;
      }
    }
  }
};

TEST_P(CalASim, ScriptedBandCalibrationReadsKnownLoads) {
  Begin(GetParam());
  start_freq = 5;
  end_freq = 25;
  delta_freq = 0.202;
  average = 2;
  Rstd = 0.5;  // below 1 ohm: the box offers 50
  std::string padded, shown_rstd;
  int text_color = -2, background = -2, hover = 0;
  AnswerLimits("1", "60", "1");
  AnswerPrompt("short", true, [&] {
    padded = GetCtlText(dlg_calibration, 3);
    GetCtlColors(dlg_calibration, 3, text_color, background, hover);
  });
  AnswerPrompt("open");
  AnswerPrompt("load");
  testhook::Answer rstd;
  rstd.caption = " Cal Standard (ohms)";
  rstd.act = [&] { shown_rstd = GetCtlText(dlg_enter_data, 1); };
  rstd.texts = {{1, "50"}};
  rstd.press = 2;
  testhook::QueueAnswer(rstd);
  AnswerSave("sim cal", "sim.vcal");
  AnswerBox(kIdOk, " Calibration");
  RunBandCal();
  ExpectScriptFollowed();

  // The prompt is padded to 60 characters and shown black on green.
  EXPECT_EQ(padded,
            std::string(12, ' ') + " Attach short circuit load to Port A" + std::string(12, ' '));
  EXPECT_EQ(text_color, 0);
  EXPECT_EQ(background, Rgb(150, 255, 150));
  EXPECT_EQ(shown_rstd, "  50");
  EXPECT_EQ(DialogsTitled(" Calibrate Port A"), 3);
  // No alert, no gain error, no data-test warning: the questions and the
  // summary of the file read back.
  EXPECT_EQ(Captions(), (Strings{" Cal B Option ", " Calibration"}));

  // 1 to 60 MHz in 1 MHz steps and three points beyond; above 35 MHz a
  // point near a spur of the synthesizer moves up, and the points after it.
  int inside = 0;
  for (int i = 0; i < cal_points; ++i) inside += CalDataA[i].freq <= 60 ? 1 : 0;
  ASSERT_GE(inside, 59);
  ASSERT_EQ(cal_points, inside + 3);
  EXPECT_EQ(MaxCalANdx, cal_points - 1);
  for (int i = 0; i < 35; ++i) EXPECT_NEAR(CalDataA[i].freq, 1 + i, 1e-9) << i;
  for (int i = 35; i < cal_points; ++i) {
    const double step = CalDataA[i].freq - CalDataA[i - 1].freq;
    EXPECT_TRUE(step > 1 - 1e-9 && step < 1.2) << i << ": " << step;
  }
  EXPECT_NEAR(cal_start_freq, 1, 1e-9);
  EXPECT_NEAR(cal_end_freq, CalDataA[cal_points - 1].freq, 1e-6);
  EXPECT_GT(cal_end_freq, 62);  // three steps of at least 1 MHz beyond 60
  // Every interval, the last between the last two points.
  EXPECT_EQ(cal_test_count, cal_points - 1);
  EXPECT_EQ(HFcalStart, 1);
  EXPECT_EQ(HFcalEnd, 60);
  EXPECT_EQ(HFcalDelta, 1);

  // Saved, read back and in force.
  EXPECT_TRUE(std::filesystem::exists(dir / "sim.vcal"));
  EXPECT_EQ(cal_file_path, dir / "sim.vcal");
  EXPECT_EQ(cal_file_name, "sim.vcal");
  EXPECT_EQ(cal_comment, "sim cal");
  EXPECT_EQ(Rstd, 50);
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(cal_valid, 1);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(CalinProgress, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(pointwin_run, 0);
  EXPECT_FALSE(point_win.IsOpen());
  // The scan settings are the user's again, the relays off.
  EXPECT_EQ(start_freq, 5);
  EXPECT_EQ(end_freq, 25);
  EXPECT_EQ(delta_freq, 0.202);
  EXPECT_EQ(average, 2);
  EXPECT_EQ(Sim().Status("relays"), "0");
  KeepPicture(main_win, "cal_a_" + GetParam());

  ExpectScansRead(1, 60, 0.37);
}

// A calibration ended at each of its questions leaves the calibration in
// force before it in force: the previous file's, or none at all.
TEST_P(CalASim, CancelAtEachPromptKeepsThePreviousCalibration) {
  Begin(GetParam());
  enum Step { kShort, kOpen, kStandard, kResistor, kSave, kFile };
  for (bool previous : {true, false}) {
    for (Step step : {kShort, kOpen, kStandard, kResistor, kSave, kFile}) {
      SCOPED_TRACE(std::string(previous ? "previous file, " : "no calibration, ") + "step " +
                   std::to_string(step));
      ClearCalibration();
      cal_file_path = cal_file_name = "";
      if (previous) {
        LoadPrevious();
      } else {
        // What every calibration sets and keeps, so the rest can be compared.
        DDS_Amplitude = 100;
        PortA_Sens = PortA_Gain = 1;
      }
      const CalSnapshot before = CalSnapshot::Take();
      testhook::ClearLogs();
      AnswerLimits("1", "2", "0.05");
      AnswerPrompt("short", step > kShort);
      if (step > kShort) AnswerPrompt("open", step > kOpen);
      if (step > kOpen) AnswerPrompt("load", step > kStandard);
      if (step > kStandard) AnswerRstd(step > kResistor ? "50" : "");
      if (step == kSave) {
        AnswerBox(kIdNo, " Cal B Option ");
        AnswerPrompt("", false);  // not saved
      }
      if (step == kFile) AnswerSave("not kept", "");  // the file dialog cancelled
      AnswerBox(kIdOk, previous ? " Calibration" : " Cal Required");
      RunBandCal();
      ExpectScriptFollowed();
      CalSnapshot after = CalSnapshot::Take();
      if (!previous) {
        // Without a calibration its range is the one the menu command set.
        after.start = before.start;
        after.end = before.end;
        after.delta = before.delta;
      }
      EXPECT_TRUE(SameCalibration(before, after));
      EXPECT_EQ(PortA_cal, previous ? 1 : 0);
      EXPECT_EQ(cal_file_path, previous ? dir / "previous.vcal" : "");
      EXPECT_EQ(DialogsTitled(" Enter a comment"), step == kFile ? 1 : 0);
      EXPECT_EQ(CalinProgress, 0);
      EXPECT_EQ(Sim().Status("relays"), "0");
    }
  }
}

TEST_P(CalASim, HaltInEachPassKeepsThePreviousCalibration) {
  Begin(GetParam());
  for (int pass = 0; pass < 3; ++pass) {
    SCOPED_TRACE("pass " + std::to_string(pass));
    ClearCalibration();
    LoadPrevious();
    const CalSnapshot before = CalSnapshot::Take();
    testhook::ClearLogs();
    AnswerLimits("1", "2", "0.05");
    AnswerPrompt("short", true, pass == 0 ? DuringPass(0, PressHalt) : nullptr);
    if (pass >= 1) AnswerPrompt("open", true, pass == 1 ? DuringPass(1, PressHalt) : nullptr);
    if (pass >= 2) {
      AnswerPrompt("load", true, DuringPass(2, PressHalt));
      AnswerRstd("50");
    }
    AnswerBox(kIdOk, " Calibration");
    cal_test_count = -1;
    RunBandCal();
    ExpectScriptFollowed();
    EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
    // The calibration stopped in the halted pass: no later prompt, no data test.
    EXPECT_EQ(DialogsTitled(" Calibrate Port A"), pass + 1);
    EXPECT_EQ(cal_test_count, -1);
    EXPECT_EQ(scan_running, 0);
    EXPECT_EQ(CalinProgress, 0);
  }
  // Without a calibration before, none is in force after.
  ClearCalibration();
  cal_file_path = "";
  testhook::ClearLogs();
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("short");
  AnswerPrompt("open", true, DuringPass(1, PressHalt));
  AnswerBox(kIdOk, " Cal Required");
  RunBandCal();
  ExpectScriptFollowed();
  EXPECT_EQ(PortA_cal, 0);
  EXPECT_EQ(cal_valid, 0);
  EXPECT_EQ(cal_points, 0);
  EXPECT_EQ(CalDataA[0].shortR, 0);
}

// The instrument falls silent in the middle of a pass: the calibration says
// so and stops, and the one before stays.
TEST_P(CalASim, SilentInstrumentKeepsThePreviousCalibration) {
  Begin(GetParam());
  LoadPrevious();
  const CalSnapshot before = CalSnapshot::Take();
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("short");
  AnswerPrompt("open", true, DuringPass(1, [this] { Sim().Fault("silence"); }));
  RunBandCal();  // every box answered with OK
  ExpectScriptFollowed();
  // The point read may report the filler of the missing reply as well; the
  // calibration then says why it stopped, and the summary of the file read
  // back follows.
  const auto& boxes = testhook::MsgBoxes();
  ASSERT_GE(boxes.size(), 2u);
  const auto& said = boxes[boxes.size() - 2];
  EXPECT_EQ(said.caption, "  Cal Problem");
  EXPECT_EQ(said.text.rfind("No data from the VNA at", 0), 0u);
  EXPECT_NE(said.text.find("Calibration has been aborted. Previous cal data will be used."),
            std::string::npos);
  EXPECT_EQ(boxes.back().caption, " Calibration");
  EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
  EXPECT_EQ(DialogsTitled(" Calibrate Port A"), 2);
  Sim().Fault("none");
}

// The open circuit connected where the short was asked for: the check
// reading catches it and the person refuses the data.
TEST_P(CalASim, RefusedShortKeepsThePreviousCalibration) {
  Begin(GetParam());
  LoadPrevious();
  const CalSnapshot before = CalSnapshot::Take();
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("open");
  AnswerBox(kIdNo, "  Cal Alert 26");
  AnswerBox(kIdOk, "  Cal Problem 27");
  AnswerBox(kIdOk, " Calibration");
  RunBandCal();
  ExpectScriptFollowed();
  const auto& alert = testhook::MsgBoxes().at(0);
  EXPECT_EQ(alert.text.rfind("Make sure the Port A connector is shorted.\r\nMagLoad=", 0), 0u);
  EXPECT_NE(alert.text.find(". It should be greater than " +
                            std::string(GetParam() == "uhf" ? " 12000" : " 8000")),
            std::string::npos);
  EXPECT_EQ(testhook::MsgBoxes().at(1).text,
            "Calibration has been aborted. Previous cal data will be used.");
  EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
}

// The data test with the standard resistor still attached, then with
// another resistor in its place.
TEST_P(CalASim, DataTestPassesTheStandardAndFlagsAWrongResistor) {
  Begin(GetParam());
  AnswerBandCal("1", "11", "0.5", "test.vcal");
  RunBandCal();
  ExpectScriptFollowed();
  ASSERT_EQ(PortA_cal, 1);
  ASSERT_EQ(cal_points, 24);  // 1 .. 11 in 0.5 MHz steps, three beyond

  std::string title;
  int w = 0, h = 0;
  testhook::ClearLogs();
  // As the standard-resistor pass leaves the instrument.
  relayA = relayB = 1;
  ProgRelay(3);
  Sim().SetDut("load");
  OnPump([] { return point_win.IsOpen() && cal_test_count > 2; },
         [&] {
           title = GetTitle(point_win);
           ClientSize(point_win, w, h);
           KeepPicture(point_win, "cal_data_test_" + GetParam());
         });
  TestCalData();
  EXPECT_EQ(title, " Cal Data Test");
  EXPECT_EQ(w, 700);
  EXPECT_EQ(h, 200);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(cal_test_count, 23);
  EXPECT_EQ(CalinProgress, 0);

  // 60 ohms where 50 are expected: 20 % off, above the 5 % limit at 1 MHz.
  testhook::ClearLogs();
  Sim().SetDut("r=60");
  CalinProgress = 1;
  TestCalData();
  EXPECT_EQ(CalinProgress, 1);  // as it was
  CalinProgress = 0;
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const auto& box = testhook::MsgBoxes()[0];
  EXPECT_EQ(box.caption, " Warning: Cal step too large");
  const std::string nl = "\r\n";
  const std::string at = "% at " + NumStr((CalDataA[0].freq + CalDataA[1].freq) / 2) + " MHz.";
  EXPECT_EQ(box.text.rfind("The measurement of the Standard Resistor between cal points" + nl +
                               "is off by more than ",
                           0),
            0u);
  EXPECT_NE(box.text.find(at), std::string::npos) << box.text;
  // The error named is the first failing point's, about 20 %.
  const size_t from = box.text.find("more than ") + 10;
  const double named = ParseNumber(box.text.substr(from));
  EXPECT_NEAR(named, 20, 1.5);
}

// A multiplier change at the third point: the step is too coarse for the
// correction to bridge it.
TEST_F(CalSim, MultiplierChangeAtTheThirdPointStopsTheCalibration) {
  Begin("uhf");
  LoadPrevious();
  const CalSnapshot before = CalSnapshot::Take();
  // 38.5, 39.25, 40.0: the frequency plan changes multipliers at 40 MHz
  // (the spur rule, which could move 40.0, switched off).
  MyVar2 = 0.5;
  AnswerLimits("38.5", "54", "0.75");
  AnswerPrompt("short");
  AnswerBox(kIdOk, " Cal problem 7321");
  AnswerBox(kIdOk, " Calibration");
  RunBandCal();
  MyVar2 = 0;
  ExpectScriptFollowed();
  EXPECT_EQ(vna_status, 7321);
  SetDigits(3);  // as the readings leave it
  EXPECT_EQ(testhook::MsgBoxes().at(0).text,
            "The step size used for cal is too large at Freq =  40 MHz.\r\n"
            " Try using a step size of about " +
                NumStr(0.75 * HFcalDelta) + " MHz");
  EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
}

// The standard calibration of the 180 MHz model measures the frequencies of
// its fixed plan (the spur rule switched off by its diagnostic value) up to
// its maximum frequency.
TEST_F(CalSim, StandardCalibrationFollowsItsPlan) {
  Begin("7306");
  MyVar2 = 0.5;
  AnswerPrompt("short");
  AnswerPrompt("open");
  AnswerPrompt("load");
  AnswerRstd("50");
  AnswerSave("standard", "std.vcal");
  AnswerBox(kIdOk, " Calibration");
  RunStandardCal();
  MyVar2 = 0;
  ExpectScriptFollowed();
  EXPECT_EQ(DialogsTitled(" Cal Limits"), 0);  // no dialog for the standard range

  std::vector<double> want;
  for (int khz :
       {5, 7, 9, 11, 13, 16, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100})
    want.push_back(khz * 0.001);
  for (int k = 0; k <= 16; ++k) want.push_back(0.15 + 0.05 * k);  // .. 0.95
  for (int k = 0; k <= 18; ++k) want.push_back(1.05 + 0.05 * k);  // 1.0 skipped, .. 1.95
  for (int k = 0; k <= 39; ++k) want.push_back(2.05 + 0.2 * k);   // 2.0 skipped, .. 9.85
  for (int k = 0; k <= 169; ++k) want.push_back(10.05 + k);       // .. 179.05
  // The plan goes on to three points past 180 MHz, but the instrument is
  // programmed no higher than its maximum: the pass ends with a point there.
  want.push_back(180);
  ASSERT_EQ(cal_points, static_cast<int>(want.size()));
  for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(CalDataA[i].freq, want[i], 1e-6) << i;
  EXPECT_EQ(std_cal, 1);
  EXPECT_NEAR(cal_start_freq, 0.005, 1e-9);
  EXPECT_NEAR(cal_end_freq, 180, 1e-9);
}

// The data test's limit grows with frequency, 5 % plus 1 % per 100 MHz: a
// resistor 8 % off read between the points of a calibration around 120 MHz
// (limit about 6.2 %) is flagged, between those of one around 420 MHz
// (about 9.2 %) it is not.
TEST_F(CalSim, DataTestLimitGrowsWithFrequency) {
  Begin("uhf");
  const struct {
    const char *start, *stop;
    bool flagged;
  } bands[] = {{"100", "140", true}, {"400", "440", false}};
  for (const auto& band : bands) {
    SCOPED_TRACE(band.start);
    testhook::ClearLogs();
    AnswerBandCal(band.start, band.stop, "2", std::string("band") + band.start + ".vcal");
    RunBandCal();
    ExpectScriptFollowed();
    ASSERT_EQ(PortA_cal, 1);
    testhook::ClearLogs();
    relayA = relayB = 1;
    ProgRelay(3);
    Sim().SetDut("r=54");
    TestCalData();
    EXPECT_EQ(cal_test_count, cal_points - 1);
    if (!band.flagged) {
      EXPECT_TRUE(testhook::MsgBoxes().empty());
      continue;
    }
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    const std::string& text = testhook::MsgBoxes()[0].text;
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Warning: Cal step too large");
    // The first test point fails, with the error seen up to there.
    const double f_fail = (CalDataA[0].freq + CalDataA[1].freq) / 2;
    EXPECT_NE(text.find("% at " + NumStr(f_fail) + " MHz."), std::string::npos) << text;
    EXPECT_NEAR(ParseNumber(text.substr(text.find("more than ") + 10)), 8, 0.1);
  }
}

// The open standard's check reading: a 50 ohm load connected where the open
// was asked for is far above 2000; the person refuses its data and the
// previous calibration stays.
TEST_P(CalASim, OpenAlertRefusedKeepsThePreviousCalibration) {
  Begin(GetParam());
  LoadPrevious();
  const CalSnapshot before = CalSnapshot::Take();
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("short");
  AnswerPrompt("load");
  AnswerBox(kIdNo, "  Cal Alert 27");
  AnswerBox(kIdOk, "  Cal Problem");
  AnswerBox(kIdOk, " Calibration");
  RunBandCal();
  ExpectScriptFollowed();
  EXPECT_EQ(Captions(),
            (std::vector<std::string>{"  Cal Alert 27", "  Cal Problem", " Calibration"}));
  const std::string& text = testhook::MsgBoxes().at(0).text;
  EXPECT_EQ(text.rfind("Make sure the Port A connector is open.\r\nMagLoad=", 0), 0u) << text;
  EXPECT_GT(ParseNumber(text.substr(text.find("MagLoad=") + 8)), 2000);
  EXPECT_NE(text.find(". It should be less than  2000\r\n( If the cal load is at the end of a "
                      "transmission line, this condition may be normal. )\r\n\r\n   Do you want "
                      "to use this data?"),
            std::string::npos)
      << text;
  EXPECT_EQ(testhook::MsgBoxes().at(1).text,
            "Calibration has been aborted. Previous cal data will be used.");
  EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
}

// A 100 ohm resistor connected as the 50 ohm standard: the check reading
// says what it appears to be. The person uses the data all the same, and
// the calibration goes on with it.
TEST_P(CalASim, ResistorAlertAcceptedGoesOnWithTheData) {
  Begin(GetParam());
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("short");
  AnswerPrompt("open");
  AnswerPrompt("r=100");
  AnswerRstd("50");
  AnswerBox(kIdYes, "  Cal Alert 28");
  AnswerSave("hundred", "hundred.vcal");
  AnswerBox(kIdOk, " Calibration");
  RunBandCal();
  ExpectScriptFollowed();
  const std::string& text = testhook::MsgBoxes().at(0).text;
  EXPECT_EQ(testhook::MsgBoxes().at(0).caption, "  Cal Alert 28");
  EXPECT_EQ(text.rfind("Make sure the Port A resistor is  50.\r\nIt appears to be = ", 0), 0u)
      << text;
  EXPECT_NEAR(ParseNumber(text.substr(text.find("= ") + 2)), 100, 5);
  EXPECT_NE(text.find(" ohms.\r\n( If the cal load"), std::string::npos);
  // The 100 ohms stand for 50: a 200 ohm load reads 100.
  ASSERT_EQ(PortA_cal, 1);
  relayA = relayB = 1;
  ProgRelay(3);
  Sim().SetDut("r=200");
  freq = 1.5;
  ReadPoint_A(0);
  EXPECT_NEAR(point_Rs, 200 * 50.0 / 100, 1);
}

// Averaging above 16 is offered 16 for the calibration: Yes measures with
// 16, No with the averaging set.
TEST_F(CalSim, LargeAveragingIsOfferedSixteen) {
  Begin("uhf");
  for (bool yes : {true, false}) {
    SCOPED_TRACE(yes);
    testhook::ClearLogs();
    AnswerLimits("1", "2", "0.05", "100", "32");
    AnswerBox(yes ? kIdYes : kIdNo, " Large averaging");
    std::string during;
    AnswerPrompt("short", true, DuringPass(0, [&] { during = Sim().Status("avg"); }));
    AnswerPrompt("", false);  // the open's prompt cancelled
    AnswerBox(kIdOk, " Cal Required");
    RunBandCal();
    ExpectScriptFollowed();
    EXPECT_EQ(testhook::MsgBoxes().at(0).text,
              "Averaging is set for  32\r\n\r\nDo you want to change this value to 16x\r\nto "
              "reduce the time required for calibration?");
    EXPECT_EQ(during, yes ? "16" : "32");
  }
}

// The standard resistor typed during a calibration is one a calibration
// file takes back, more than 0 and at most 10000 ohms: anything else (an
// exponent read whole) is asked again.
TEST_F(CalSim, AStandardResistorOutsideItsRangeIsAskedAgain) {
  Begin("uhf");
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("short");
  AnswerPrompt("open");
  AnswerPrompt("load");
  for (const char* refused : {"0", "20000", "7.8e249"}) {
    AnswerRstd(refused);
    AnswerBox(kIdOk, " Cal Standard");
  }
  AnswerRstd("5e1");
  AnswerSave("range", "range.vcal");
  AnswerBox(kIdOk, " Calibration");
  RunBandCal();
  ExpectScriptFollowed();
  EXPECT_EQ(Captions(), (Strings{" Cal Standard", " Cal Standard", " Cal Standard",
                                 " Cal B Option ", " Calibration"}));
  EXPECT_EQ(testhook::MsgBoxes().at(0).text,
            "The standard resistor must be more than 0 and at most 10000 ohms.");
  EXPECT_EQ(Rstd, 50);
  EXPECT_EQ(PortA_cal, 1);
  EXPECT_EQ(cal_file_name, "range.vcal");
}

// The two-multiplier model's Port A gain check with the high gain stuck at
// 1x: the ratio reads about 1, the " 92213" box says so, and the calibration
// goes on.
TEST_F(CalSim, StuckPortAGainIsReportedAndTheCalibrationGoesOn) {
  Begin("uhf");
  AnswerLimits("1", "2", "0.05");
  AnswerPrompt("short", true, [this] { Sim().Fault("gainstuck"); });
  AnswerBox(kIdOk, " 92213");
  AnswerPrompt("", false);  // the open's prompt cancelled
  AnswerBox(kIdOk, " Cal Required");
  RunBandCal();
  ExpectScriptFollowed();
  EXPECT_EQ(Captions(), (std::vector<std::string>{" 92213", " Cal Required"}));
  EXPECT_EQ(testhook::MsgBoxes().at(0).text, "Error reading port A gain, should be approx 5x\r\n");
  EXPECT_NEAR(PortA_HiGain, 1, 0.05);
  EXPECT_EQ(DialogsTitled(" Calibrate Port A"), 2);  // on to the open's prompt
  Sim().Fault("none");
}

// Diagnostic mode traces each check reading and the gain check on the main
// window, over the scale of its level dots.
TEST_F(CalSim, DiagnosticModeTracesTheReadings) {
  Begin("uhf");
  DIAGMODE = 1;
  AnswerBandCal("1", "2", "0.05", "diag.vcal");
  RunBandCal();
  ExpectScriptFollowed();
  EXPECT_EQ(PortA_cal, 1);
  auto printed_at = [](int x, int y) {
    std::string text;
    for (const auto& p : testhook::Prints())
      if (p.window == "main_win" && p.x == x && p.y == y) text += p.text;
    return text;
  };
  EXPECT_EQ(printed_at(400, 5).rfind("   Temperature = ", 0), 0u);
  EXPECT_EQ(printed_at(100, 600).rfind("  short :   MagLoad= ", 0), 0u);
  EXPECT_EQ(printed_at(100, 620).rfind("  open  :   MagLoad= ", 0), 0u);
  EXPECT_EQ(printed_at(100, 640).rfind("  Rstd :  short ckt ratio =", 0), 0u);
  EXPECT_EQ(printed_at(200, 250).rfind(" PortA Hi Gain=", 0), 0u);
  EXPECT_EQ(printed_at(200, 450).rfind("First ref=", 0), 0u);
  EXPECT_EQ(printed_at(400, 120).rfind("Temperature = ", 0), 0u);
  // The level scale: 0 to 30000 in 20 steps up the left edge.
  EXPECT_NE(
      printed_at(graph_left - 20, Rnd(graph_bottom - 10 * (graph_bottom - graph_top) / 20.0 - 10))
          .find("15000 "),
      std::string::npos);
  KeepPicture(main_win, "cal_a_diagnostic");
}

INSTANTIATE_TEST_SUITE_P(BothModels, CalASim, ::testing::Values("uhf", "7306"));

}  // namespace
}  // namespace vna::test
