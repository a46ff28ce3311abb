// A finished Port A calibration whose file cannot be written where the person
// chose: the reason is told truly, another name is offered, and the new
// calibration stays in force whether or not it reaches a file.
#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "calibration/cal_sim.h"
#include "files/write_errors.h"
#include "scan/scan_sim.h"
#include "support/file_lines.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

class CalSaveSim : public CalSim, public ::testing::WithParamInterface<std::string> {
 protected:
  // A 75 ohm resistor scanned over the new calibration's range reads 75
  // ohms at every point; the previous calibration (made-up tables over
  // another range) could not give that.
  void ExpectTheNewCalibrationInForce() {
    EXPECT_EQ(PortA_cal, 1);
    EXPECT_EQ(cal_points, 24);  // 1 .. 11 MHz in 0.5 MHz steps and three beyond
    EXPECT_NEAR(cal_start_freq, 1, 1e-9);
    Sim().SetDut("r=75");
    ScanButton(1, 11, 0.25);
    ASSERT_EQ(vna_status, 0);
    ASSERT_EQ(scana_ok, 1);
    for (int k = 0; k < scan_npoints; ++k) {
      const std::complex<double> got(scanA_Rs[k], scanA_Xs[k]);
      EXPECT_LT(std::abs(got - 75.0), 0.75) << scanA_freq[k] << " MHz: " << got;
    }
  }
};

TEST_P(CalSaveSim, AFileThatCannotBeWrittenKeepsTheNewCalibrationAndOffersAnotherName) {
  Begin(GetParam());
  const std::string missing = dir / "no such folder/new.vcal";
  for (bool another_name : {true, false}) {
    SCOPED_TRACE(another_name ? "saved under another name" : "no other name");
    ClearCalibration();
    LoadPrevious();
    std::filesystem::remove(dir / "new.vcal");
    AnswerLimits("1", "11", "0.5");
    AnswerPrompt("short");
    AnswerPrompt("open");
    AnswerPrompt("load");
    AnswerRstd("50");
    AnswerSave("kept", "no such folder/new.vcal");
    AnswerBox(another_name ? kIdYes : kIdNo, " Calibration not saved");
    if (another_name) {
      testhook::QueueFileAnswer(dir / "new.vcal");
      AnswerBox(kIdOk, " Calibration");  // the summary of the file read back
    }
    RunBandCal();
    ExpectScriptFollowed();

    // Why, truly: the folder is missing, the file is not read-only.
    const auto& boxes = testhook::MsgBoxes();
    ASSERT_GE(boxes.size(), 2u);
    const auto& why = boxes[1];
    EXPECT_EQ(why.caption, " Calibration not saved");
    EXPECT_EQ(why.buttons, kMbYesNo);
    EXPECT_EQ(why.text, CannotCreateFileText(missing) +
                            "\r\rThe new calibration stays in force, but no file holds it yet."
                            "\rDo you want to save it under another name?");
    EXPECT_NE(why.text.find("folder " + dir / "no such folder does not exist"), std::string::npos);
    EXPECT_EQ(why.text.find("Read-Only"), std::string::npos);

    const std::vector<std::string> init = testing::SplitCrLf(dir.Read("VNA_Init_Data_ 4177.ini"));
    ASSERT_EQ(init.size(), 267u);
    if (another_name) {
      EXPECT_TRUE(std::filesystem::exists(dir / "new.vcal"));
      EXPECT_EQ(cal_file_path, dir / "new.vcal");
      EXPECT_EQ(cal_file_name, "new.vcal");
      EXPECT_EQ(cal_comment, "kept");
    } else {
      // In force, and no file claims to hold it.
      EXPECT_EQ(cal_file_path, "");
      EXPECT_EQ(cal_file_name, "");
    }
    EXPECT_EQ(init[72], cal_file_path);
    ExpectTheNewCalibrationInForce();
  }
}

INSTANTIATE_TEST_SUITE_P(BothModels, CalSaveSim, ::testing::Values("uhf", "7306"));

}  // namespace
}  // namespace vna::test
