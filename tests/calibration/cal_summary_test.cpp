// The summary box that ends a calibration names the calibration file in
// force: after a save, the file just written.
#include <filesystem>

#include "calibration/cal_end.h"
#include "calibration/cal_fixture.h"

namespace vna::test {
namespace {

TEST_F(CalFileTest, TheSummaryAfterASaveNamesTheFileJustWritten) {
  StartModel("uhf", 0);
  // The calibration in force when a new one starts.
  ASSERT_EQ(Load(std::string(VNA_SOURCE_DIR) + "/tests/calibration/data/two_multiplier.vcal"), 0);
  KeepCalInForce();
  // The new one, measured and saved under a name of its own.
  FillCalibration(10, true);
  Save("antenna.vcal");
  ASSERT_EQ(cal_file_name, "antenna.vcal");
  KeepCalInForce();
  testhook::ClearLogs();
  testhook::QueueMsgBoxAnswer(kIdOk, " Calibration");
  EndCal();
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].starts_with(" Calibration|Calibration File --- antenna.vcal\r\r"))
      << boxes[0];
  EXPECT_EQ(cal_file_path, dir / "antenna.vcal");
}

}  // namespace
}  // namespace vna::test
