// The mailbox's result CSV from scan arrays set here, against files written
// out by hand (data/README.md), and the checks a request's limits go through.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/mailbox.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "support/file_lines.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ControlCsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramVersion();
    PortA_title = "My antenna";
    Zref = 50;
    control_csv = dir / "AutoScan.csv";
    testhook::ClearLogs();
  }
  // The written file against the golden one; the first line by its form.
  void ExpectGolden(const std::string& golden) {
    const auto got = testing::SplitCrLf(ReadAll(control_csv));
    const auto want =
        testing::SplitCrLf(ReadAll(std::string(VNA_SOURCE_DIR) + "/tests/exports/data/" + golden));
    ASSERT_EQ(got.size(), want.size());
    EXPECT_TRUE(std::regex_match(got[0], std::regex(R"(Created: \d\d-\d\d-\d{4}  \d\d:\d\d:\d\d)")))
        << got[0];
    for (size_t i = 1; i < got.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
  }
  testing::TempDir dir;
};

TEST_F(ControlCsvTest, PortAFileMatchesTheHandWrittenOne) {
  PortB_on = 0;
  scanA_npoints = 3;
  const double freq[] = {1, 2, 100.25}, swr[] = {1.5, 1, 3}, rs[] = {75, 50, 25},
               xs[] = {0, 0, -10.123456789}, zmag[] = {75, 50, 26.97}, phase[] = {0, 0, -0.39};
  for (int p = 0; p < 3; ++p) {
    scanA_freq[p] = freq[p];
    scanA_swr[p] = swr[p];
    scanA_Rs[p] = rs[p];
    scanA_Xs[p] = xs[p];
    scanA_zmag[p] = zmag[p];
    scanA_phase[p] = phase[p];
  }
  scanA_freq[3] = 5;  // beyond the scan: not written
  ASSERT_TRUE(WriteControlCsv());
  ExpectGolden("port_a.csv");
}

TEST_F(ControlCsvTest, PortBFileMatchesTheHandWrittenOne) {
  PortB_on = 1;
  scanB_npoints = 2;
  const double freq[] = {1.5, 123.4567891}, db[] = {-3.25, 0}, phase[] = {0.5, -1},
               delay[] = {12.5, 0};
  for (int p = 0; p < 2; ++p) {
    scanB_freq[p] = freq[p];
    s21_dB[p] = db[p];
    scanB_phase[p] = phase[p];
    delay_B[p] = delay[p];
  }
  ASSERT_TRUE(WriteControlCsv());
  ExpectGolden("port_b.csv");
}

// A file that cannot be written is said so, and reported as not written.
TEST_F(ControlCsvTest, UnwritableFileIsReported) {
  control_csv = dir / "no-folder/AutoScan.csv";
  PortB_on = 0;
  scanA_npoints = 1;
  EXPECT_FALSE(WriteControlCsv());
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const auto& box = testhook::MsgBoxes()[0];
  EXPECT_EQ(box.caption, "No control file");
  EXPECT_EQ(box.text, "Data file: " + control_csv +
                          " is not available for writing.\rIt may be in use by another program.");
  EXPECT_TRUE(box.topmost);
}

TEST(ControlLimitsTest, RequestLimitsAreCheckedInOrder) {
  struct Row {
    double start, end, delta;
    int code;
    const char* message;
  };
  const Row rows[] = {
      {1, 30, 0.5, 0, ""},
      {1, 30, 2, kCtlDeltaRange, "Delta Freq is outside of limits, 1KHz to 1MHz "},
      {1, 30, 0.0009, kCtlDeltaRange, "Delta Freq is outside of limits, 1KHz to 1MHz "},
      // A later check overwrites the code and message of an earlier one.
      {0, 30, 2, kCtlStartRange, "Start Freq is outside of limits, 5KHz to  1200  "},
      {1, 0.005, 0.5, kCtlEndRange, "End Freq is outside of limits, 10KHz to  1200  "},
      {1, 1200.0002, 0.5, kCtlEndRange, "End Freq is outside of limits, 10KHz to  1200  "},
      {1, 1200.00005, 1, 0, ""},
      {1200.5, 1200.00005, 1, kCtlStartRange, "Start Freq is outside of limits, 5KHz to  1200  "},
      {50, 10, 1, kCtlEndNotAboveStart, "End Freq is not above Start Freq  "},
      {10, 10, 1, kCtlEndNotAboveStart, "End Freq is not above Start Freq  "},
      {0.005, 100, 0.001, kCtlTooManyPoints, "Too many points: 99996, at most 29999  "},
      {1, 30.998, 0.001, 0, ""},  // 29999 points: the most a list holds here
  };
  maximumfreq = 1200;
  max_points = 30000;
  for (const Row& r : rows) {
    start_freq = r.start;
    end_freq = r.end;
    delta_freq = r.delta;
    std::string message;
    EXPECT_EQ(ValidateControlLimits(message), r.code) << r.start << " " << r.end << " " << r.delta;
    EXPECT_EQ(message, r.code != 0 ? r.message : "") << r.start << " " << r.end << " " << r.delta;
  }
}

}  // namespace
}  // namespace vna
