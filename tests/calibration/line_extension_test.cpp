// Setting the line extension through its dialog: the length with its unit
// marks, the clamps of impedance and velocity factor, Enable and Disable,
// the angle per MHz, and the notice beside the graph; and the dialog of the
// feed line.
#include <cmath>

#include "calibration/cal_fixture.h"
#include "calibration/line_extension.h"
#include "graph/state.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "support/shell_fixture.h"

namespace vna::test {
namespace {

class LineExtensionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    StartModel("uhf", 1);
    graph_right = 700;
    win_xscale = 1;
    line1_y = 40;
  }
  // Types the three fields (unchanged where empty) and presses a button (0:
  // the close box).
  void Enter(const std::string& length, const std::string& z0, const std::string& vf, int button) {
    std::vector<std::pair<int, std::string>> texts;
    if (!length.empty()) texts.push_back({6, length});
    if (!z0.empty()) texts.push_back({7, z0});
    if (!vf.empty()) texts.push_back({8, vf});
    AnswerDialog(dlg_line_ext.title, texts, button);
    testhook::ClearLogs();
    SetLineExtension();
  }
  std::string Notice() {
    const auto& prints = testhook::Prints();
    if (prints.empty()) return "<none>";
    EXPECT_EQ(prints.back().x, 760);
    EXPECT_EQ(prints.back().y, 58);
    return prints.back().text;
  }
};

constexpr int kEnable = 2, kDisable = 9;

TEST_F(LineExtensionTest, LengthUnits) {
  const struct {
    const char* typed;
    double metres;
  } cases[] = {
      {"25", 0.25},      {"2.5m", 2.5},
      {"2 mm", 2},       {"10in", 0.254},
      {"10inch", 0.254}, {"10\"", 0.254},
      {"3ft", 0.9144},   {"3feet", 0.9144},
      {"3'", 0.9144},    {"10 centimeters", 0.254},
      {"40 cm", 0.4},    {"-20", -0.2},
      {"1.5 M", 1.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Enter(c.typed, "50", "0.66", kEnable);
    EXPECT_NEAR(ExtensionLength, c.metres, 1e-12);
    EXPECT_EQ(ExtensionFlag, 1);
    EXPECT_NEAR(ext_phase_per_MHz, 2 * pi * c.metres / (0.66 * 299.8), 1e-12);
  }
}

TEST_F(LineExtensionTest, ImpedanceAndVelocityFactorLimits) {
  const struct {
    const char* z0;
    const char* vf;
    double zext, vp;
  } cases[] = {
      {"0", "0.66", 50, 0.66}, {"5000", "0.66", 50, 0.66}, {"1000", "0.66", 1000, 0.66},
      {"1", "1", 1, 1},        {"-75", "-0.8", 75, 0.8},   {"75", "1.2", 75, 1},
      {"75", "0.3", 75, 0.5},  {"0.5", "0", 50, 0.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.z0) + " " + c.vf);
    Enter("30", c.z0, c.vf, kEnable);
    EXPECT_EQ(Zextension, c.zext);
    EXPECT_NEAR(ExtensionVP, c.vp, 1e-12);
  }
  Enter("30", "50", "0.66", kEnable);
  EXPECT_NEAR(ext_phase_per_MHz, 2 * pi * 0.3 / (0.66 * 299.8), 1e-12);
}

TEST_F(LineExtensionTest, EnableDisableAndTheNotice) {
  Enter("25", "75", "0.8", kEnable);
  EXPECT_EQ(ExtensionFlag, 1);
  EXPECT_EQ(Notice(), "Extension= 25cm");
  EXPECT_EQ(number_decimals, 3);

  // Disable stores the new values and switches the extension off.
  Enter("40", "93", "0.84", kDisable);
  EXPECT_EQ(ExtensionFlag, 0);
  EXPECT_NEAR(ExtensionLength, 0.4, 1e-12);
  EXPECT_EQ(Zextension, 93);
  EXPECT_EQ(Notice(), std::string(28, ' '));

  // Enable with no length leaves it off.
  Enter("0.00001", "", "", kEnable);
  EXPECT_EQ(ExtensionFlag, 0);
  EXPECT_EQ(Notice(), std::string(28, ' '));

  // The dialog opens with the values in force: Enable alone keeps them.
  Enter("12.5", "75", "0.8", kEnable);
  Enter("", "", "", kEnable);
  EXPECT_NEAR(ExtensionLength, 0.125, 1e-12);
  EXPECT_EQ(Zextension, 75);
  EXPECT_NEAR(ExtensionVP, 0.8, 1e-12);
  EXPECT_EQ(Notice(), "Extension= 12.50cm");

  // Closed without a button: nothing changes, the notice is drawn again.
  Enter("99", "10", "0.9", 0);
  EXPECT_NEAR(ExtensionLength, 0.125, 1e-12);
  EXPECT_EQ(ExtensionFlag, 1);
  EXPECT_EQ(Notice(), "Extension= 12.50cm");
}

TEST_F(LineExtensionTest, CableDataDialog) {
  cable_length_text = "20m";
  cable_loss_text = "1.5";
  Z0real = 75;
  VF = 0.66;
  SetDigits(3);
  AnswerDialog(dlg_cable_data.title, {}, 10);
  EXPECT_EQ(RunModal(dlg_cable_data, &main_win), 1);
  EXPECT_EQ(dlg_text1, "20m");
  EXPECT_EQ(dlg_text2, "1.5");
  EXPECT_EQ(dlg_text3, " 75");
  EXPECT_EQ(dlg_text4, " 0.660");
  EXPECT_EQ(focus_win, 1);

  AnswerDialog(dlg_cable_data.title, {{1, "30"}, {4, "0.8"}}, 10);
  EXPECT_EQ(RunModal(dlg_cable_data, &main_win), 1);
  EXPECT_EQ(dlg_text1, "30");
  EXPECT_EQ(dlg_text4, "0.8");

  AnswerDialog(dlg_cable_data.title, {{1, "40"}}, 11);
  EXPECT_EQ(RunModal(dlg_cable_data, &main_win), 2);
}

}  // namespace
}  // namespace vna::test
