// "Refer to Antenna": the feed line typed into the " Cable data" dialog
// becomes the reference impedance, the velocity factor and the stored line;
// switching off, Cancel and an impedance of 0 leave a sound state.
#include <cmath>

#include "calibration/cal_fixture.h"
#include "calibration/ref_to_antenna.h"
#include "graph/state.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "support/shell_fixture.h"

namespace vna::test {
namespace {

constexpr int kOk = 10, kCancel = 11;

class RefToAntennaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    StartModel("uhf", 1);
    graph_mid_x = 400;
    line1_y = 40;
    ref_to_antenna = 0;
    metric = 0;
    cable_length = 7;
    cable_length_text = cable_loss_text = "";
    Z0real = Zref = 50;
    VF = 0.66;
  }
  // The notice printed last.
  static std::string Notice() {
    const auto& prints = testhook::Prints();
    if (prints.empty()) return "<none>";
    EXPECT_EQ(prints.back().x, 350);
    EXPECT_EQ(prints.back().y, 40);
    EXPECT_EQ(main_win.draw.text_color, Black) << "the black pen again after the notice";
    return prints.back().text;
  }
};

TEST_F(RefToAntennaTest, CableDataBecomeTheReference) {
  const struct {
    const char *length, *loss, *z0, *vf;
    int metric;
    double feet, nepers_per_foot, zref, vf_taken;
  } cases[] = {
      {"20", "1.5", "75", "0.66", 0, 20, 0.015 / 8.686, 75, 0.66},
      {"20m", "1.5", "75", "0.66", 0, 20 * 3.2808, 0.015 / 3.2808 / 8.686, 75, 0.66},
      {"20", "1.5", "75", "0.66", 1, 20 * 3.2808, 0.015 / 3.2808 / 8.686, 75, 0.66},
      {"-20", "-3", "-300", "0.4", 0, 20, 0.03 / 8.686, 300, 0.66},
      {"", "0", "50", "1.5", 0, 7, 0, 50, 1},                 // an empty length keeps the last
      {"20", "1", "0", "0.8", 0, 20, 0.01 / 8.686, 50, 0.8},  // no reference of 0 ohms
      {"20", "1", "20000", "0.8", 0, 20, 0.01 / 8.686, 50, 0.8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.length) + " " + c.z0);
    ref_to_antenna = 0;
    cable_length = 7;
    metric = c.metric;
    AnswerDialog(dlg_cable_data.title, {{1, c.length}, {2, c.loss}, {3, c.z0}, {4, c.vf}}, kOk);
    testhook::ClearLogs();
    RefToAntenna();
    EXPECT_EQ(ref_to_antenna, 1);
    EXPECT_NEAR(cable_length, c.feet, 1e-9);
    EXPECT_NEAR(loss, c.nepers_per_foot, 1e-12);
    EXPECT_EQ(Z0real, c.zref);
    EXPECT_EQ(Zref, c.zref);
    EXPECT_NEAR(VF, c.vf_taken, 1e-12);
    EXPECT_EQ(cable_length_text, c.length);
    EXPECT_EQ(cable_loss_text, c.loss);
    EXPECT_EQ(Notice(), "Ref to Antenna     ");
  }
}

TEST_F(RefToAntennaTest, OffAndCancelLeaveTheModeOffAndTheLineAsItWas) {
  ref_to_antenna = 1;
  Zref = Z0real = 75;
  testhook::ClearLogs();
  RefToAntenna();  // switching off asks nothing
  EXPECT_EQ(ref_to_antenna, 0);
  EXPECT_TRUE(testhook::Dialogs().empty());
  EXPECT_EQ(Notice(), "Ref to Antenna     ");
  for (int answer : {kCancel, 0}) {
    SCOPED_TRACE(answer);
    AnswerDialog(dlg_cable_data.title, {{1, "99"}, {3, "300"}}, answer);
    testhook::ClearLogs();
    RefToAntenna();
    EXPECT_EQ(ref_to_antenna, 0) << "no cable data: the mode stays off";
    EXPECT_EQ(cable_length, 7);
    EXPECT_EQ(Zref, 75);
    ASSERT_EQ(testhook::Dialogs().size(), 1u);
  }
}

}  // namespace
}  // namespace vna::test
