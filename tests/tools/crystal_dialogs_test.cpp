// The crystal tool's two dialogs, and the entries it refuses before it reads
// any point. The measurements themselves run against the simulator
// (crystal_sim_test.cpp).
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/state.h"
#include "tools/crystal.h"
#include "tools/state.h"
#include "support/temp_dir.h"
#include "tools/tools_fixture.h"

namespace vna::test {
namespace {

class CrystalDialogsTest : public ToolsTest {
 protected:
  void SetUp() override {
    ToolsTest::SetUp();
    cal_start_freq = 0.1;
    cal_end_freq = 60;
    average = 8;
    DDSdelay = 3;
  }
  static void AnswerEntry(std::vector<std::pair<int, std::string>> texts,
                          std::vector<std::pair<int, bool>> checks = {}) {
    AnswerDialog(GetTitle(dlg_crystal_meas), std::move(texts), 8, std::move(checks));
  }
  // Nothing the tool changes for its duration is left changed.
  static void ExpectRestored() {
    EXPECT_EQ(average, 8);
    EXPECT_EQ(DDSdelay, 3);
    EXPECT_EQ(scan_running, 0);
  }
};

TEST_F(CrystalDialogsTest, EntryDialogShowsTheLastEntry) {
  xtal_freq = 10;
  ShowModeless(dlg_crystal_meas, &main_win);
  PumpEvents();
  EXPECT_EQ(GetCtlText(dlg_crystal_meas, 1), "  10.000000");
  EXPECT_TRUE(GetCheck(dlg_crystal_meas, 4));
  EXPECT_FALSE(GetCheck(dlg_crystal_meas, 6));
  PostEvent(dlg_crystal_meas, kEvCommand, 6);
  PumpEvents();
  EXPECT_EQ(xtal_q_range, 10);
  EXPECT_FALSE(GetCheck(dlg_crystal_meas, 4));
  EXPECT_TRUE(GetCheck(dlg_crystal_meas, 6));
  PostEvent(dlg_crystal_meas, kEvCommand, 4);
  PumpEvents();
  EXPECT_EQ(xtal_q_range, 1);
  EXPECT_TRUE(GetCheck(dlg_crystal_meas, 4));
  EXPECT_FALSE(GetCheck(dlg_crystal_meas, 6));
  CloseDialog(dlg_crystal_meas, 2);
  PumpEvents();
}

TEST_F(CrystalDialogsTest, TheFirstOpeningOffersTenMegahertz) {
  xtal_freq = 0;  // as start-up leaves it
  cal_end_freq = 5;
  AnswerEntry({}, {{6, true}});
  MeasureCrystal();
  EXPECT_EQ(dlg_text1, "  10.000000");
  EXPECT_EQ(xtal_freq, 10);
  EXPECT_EQ(xtal_q_range, 10);
  EXPECT_EQ(Captions(), std::vector<std::string>{""}) << "the calibration ends below 10 MHz";
}

TEST_F(CrystalDialogsTest, EntriesBelowTheLowestCrystalFrequency) {
  AnswerEntry({{1, "0.5"}});
  MeasureCrystal();
  EXPECT_EQ(Captions(), std::vector<std::string>{" Crystal freq is too low"});
  EXPECT_EQ(LastText(), "The lowest crystal frequency that can be measured is 0.99 MHz");
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  EXPECT_EQ(xtal_freq, 0.5);
  ExpectRestored();
  // The refused entry is offered next time.
  testhook::ClearLogs();
  AnswerEntry({});
  MeasureCrystal();
  EXPECT_EQ(dlg_text1, "   0.500000");
  EXPECT_EQ(Captions(), std::vector<std::string>{" Crystal freq is too low"});
}

TEST_F(CrystalDialogsTest, ClosedOrEmptyEntries) {
  xtal_freq = 12;
  AnswerDialog(GetTitle(dlg_crystal_meas), {{1, "7"}}, 0);
  MeasureCrystal();
  EXPECT_EQ(xtal_freq, 12) << "closed: nothing changes";
  EXPECT_TRUE(testhook::MsgBoxes().empty());

  cal_end_freq = 5;  // ends the tool before it reads a point
  for (const char* empty : {"", "   "}) {
    AnswerEntry({{1, empty}});
    MeasureCrystal();
    EXPECT_EQ(xtal_freq, 12) << "'" << empty << "'";
    EXPECT_EQ(freq, 12);
  }
}

// The calibration must cover every frequency the tool reads: the holder
// capacitance at 0.78 f (f - 1 when lower, never below 0.005 MHz) up to
// f + 0.5.
TEST_F(CrystalDialogsTest, CalibrationRangeTooNarrow) {
  struct Case {
    const char* entry;
    double cal_start, cal_end;
    const char* limits;
  };
  const Case cases[] = {
      {"10", 9.5, 60, " 7.800 to 10.500"},  // starts above 9 MHz
      {"10", 0.1, 10.4, " 7.800 to 10.500"},
      {"10", 8, 60, " 7.800 to 10.500"},  // the holder capacitance at 7.8 MHz
      {"3", 2.1, 60, " 2 to 3.500"},      // f - 1 below 0.78 f
      {"1", 0.01, 60, " 0.005 to 1.500"},
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    cal_start_freq = c.cal_start;
    cal_end_freq = c.cal_end;
    AnswerEntry({{1, c.entry}});
    MeasureCrystal();
    EXPECT_EQ(Captions(), std::vector<std::string>{""}) << c.entry;
    EXPECT_EQ(LastText(),
              std::string("Note: the cal range is not appropriate for this crystal measurement.\r"
                          "The min cal limits are:") +
                  c.limits)
        << c.entry;
    ExpectRestored();
  }
}

TEST_F(CrystalDialogsTest, ResultsDialogFields) {
  xtal_Fs = 9.999876;
  xtal_Fp = 10.019912;
  xtal_Rs = 10.0126;
  xtal_Ls = 12666.04;
  xtal_Cs = 0.020012345;
  xtal_Cp = 25;
  xtal_Q = 79456.4;
  font_size = 7;
  ShowModeless(dlg_crystal_params, &main_win);
  PumpEvents();
  const std::pair<int, const char*> shown[] = {
      {9, "  9.999876"},   {10, "  10.019912"}, {11, "  10.013"}, {12, "  12.6660"},
      {13, "  0.0200123"}, {14, "  25"},        {15, "  79456"},
  };
  for (const auto& [id, text] : shown) EXPECT_EQ(GetCtlText(dlg_crystal_params, id), text) << id;
  int fg = 0, bg = 0, hover = 0;
  GetCtlColors(dlg_crystal_params, 14, fg, bg, hover);
  EXPECT_EQ(fg, White) << "a holder capacitance above 20 pF stands out";
  EXPECT_EQ(bg, RedColor);
  GetCtlColors(dlg_crystal_params, 13, fg, bg, hover);
  EXPECT_EQ(bg, -1);
  EXPECT_EQ(number_decimals, 3);
  PostEvent(dlg_crystal_params, kEvCommand, 18);  // END
  PumpEvents();
  EXPECT_FALSE(dlg_crystal_params.IsOpen());
}

// SAVE appends the results to a crystal data file, then closes the dialog.
TEST_F(CrystalDialogsTest, SaveButton) {
  testing::TempDir dir;
  xtal_Fs = 9.999876;
  xtal_seq_no = 0;
  vna_status = 0;
  ShowModeless(dlg_crystal_params, &main_win);
  PumpEvents();
  AnswerDialog("Xtal sequence number:", {}, 2);
  testhook::QueueFileAnswer(dir / "saved.xdat");
  PostEvent(dlg_crystal_params, kEvCommand, 19);
  PumpEvents();
  EXPECT_FALSE(dlg_crystal_params.IsOpen());
  const std::string text = dir.Read("saved.xdat");
  EXPECT_NE(text.find("\r\n     1,     9.999876,"), std::string::npos) << text;
}

}  // namespace
}  // namespace vna::test
