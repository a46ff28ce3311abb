// The menu bar and the button bar: golden dumps of the four variants, the
// Port B mode rule, captions, greyed entries and every check mark.
#include <gtest/gtest.h>

#include <QAction>

#include <set>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/qt_internal.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/menu_dump.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "tools/state.h"

namespace vna {
namespace {

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::OpenShell(1, [] { return 0; });
  }
  void TearDown() override {
    CloseWindow(main_win);
    PumpEvents();
  }

  static const MenuItem* Find(const std::vector<MenuItem>& items, int id) {
    for (const MenuItem& m : items) {
      if (m.items.empty() && m.id == id) return &m;
      if (const MenuItem* sub = Find(m.items, id)) return sub;
    }
    return nullptr;
  }
  static const MenuItem* Item(int id) { return Find(GetMenuBar(main_win), id); }
  static const MenuItem* Top(const std::string& caption) {
    for (const MenuItem& m : GetMenuBar(main_win))
      if (m.caption == caption) return &m;
    return nullptr;
  }
  static bool Checked(int id) {
    const MenuItem* m = Item(id);
    return m && m->checked;
  }
  // What a person sees: the items that show a check box at all, and those
  // that show it ticked.
  static std::set<int> ShownCheckable(bool ticked_only) {
    std::set<int> ids;
    for (const auto& [id, action] : main_win.impl->actions) {
      if (action->isCheckable() && (action->isChecked() || !ticked_only)) ids.insert(id);
    }
    return ids;
  }
  static std::set<int> CheckedIds(const std::vector<MenuItem>& items) {
    std::set<int> ids;
    for (const MenuItem& m : items) {
      if (m.checked) ids.insert(m.id);
      const std::set<int> sub = CheckedIds(m.items);
      ids.insert(sub.begin(), sub.end());
    }
    return ids;
  }
};

TEST_F(MenusTest, VariantsMatchTheGoldenDumps) {
  struct Variant {
    const char* golden;
    int portb_on, portb_cal, diag, uhf;
    double maxfreq;
  };
  const Variant variants[] = {
      {"menus_normal.golden", 0, 0, 0, 1, 1200},
      {"menus_portb.golden", 1, 1, 0, 1, 1200},
      {"menus_diagnostic.golden", 0, 0, 1, 1, 1200},
      {"menus_single_dds.golden", 0, 0, 0, 0, 180},
  };
  for (const Variant& v : variants) {
    // A fresh window each time, so the buttons are created with this
    // variant's captions.
    CloseWindow(main_win);
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption, "", [] { return 0; });
    PortB_on = v.portb_on;
    PortB_cal = v.portb_cal;
    DIAGMODE = v.diag;
    model_uhf = v.uhf;
    maximumfreq = v.maxfreq;
    BuildMenus();
    EXPECT_EQ(test::DumpMenusAndButtons(), test::ReadGolden(v.golden)) << v.golden;
    EXPECT_EQ(number_decimals, 3);
  }
}

TEST_F(MenusTest, ButtonsTakeTheTextHeightFontColourAndSlots) {
  WinWidth = 800;
  WinLeft = 20;
  status_y = 450;
  BuildMenus();
  int tw, th;
  TextExtent(main_win, "ScanKey", tw, th);
  const int w = (800 - 20) / 12 - 1;  // 64
  int x, y, bw, bh;
  ASSERT_TRUE(GetCtlRect(main_win, 20192, x, y, bw, bh));
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, 450);
  EXPECT_EQ(bw, w);
  EXPECT_EQ(bh, th + 6);
  ASSERT_TRUE(GetCtlRect(main_win, 4332, x, y, bw, bh));
  EXPECT_EQ(x, 20 + 8 * w + (w + 5));
  EXPECT_EQ(bw, w + 5);
  ASSERT_TRUE(GetCtlRect(main_win, 209, x, y, bw, bh));
  EXPECT_EQ(x, 20 + 9 * w + 2 * (w + 5));  // after Halt
  int text, bg, hover;
  GetCtlColors(main_win, 209, text, bg, hover);
  EXPECT_EQ(hover, Rgb(140, 250, 250));
}

TEST_F(MenusTest, PortBModeNeedsACalibrationWhileAnInstrumentAnswers) {
  PortB_on = 1;
  BuildMenus();
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(Item(1)->caption, "Load Port A Graph");
  EXPECT_TRUE(Top("Port B Functions")->greyed);
  EXPECT_TRUE(Top("Multi Channel")->greyed);

  // In diagnostic mode the Port B menu is open even so.
  DIAGMODE = 1;
  PortB_on = 1;
  BuildMenus();
  EXPECT_EQ(PortB_on, 0);
  EXPECT_FALSE(Top("Port B Functions")->greyed);
}

TEST_F(MenusTest, WithoutAnInstrumentPortBModeSurvivesButTheButtonStaysOff) {
  vna_present = 0;
  PortB_on = 1;
  BuildMenus();
  EXPECT_EQ(PortB_on, 1);
  EXPECT_EQ(Item(2)->caption, "Save Port B Graph");
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan B");
  EXPECT_FALSE(Top("Multi Channel")->greyed);
  EXPECT_TRUE(Top("Port B Functions")->greyed);  // not calibrated
  EXPECT_FALSE(IsCtlEnabled(main_win, 20192));
  // TDR mode disables the button even when Port B is calibrated.
  PortB_cal = 1;
  tdr_mode = 1;
  BuildMenus();
  EXPECT_FALSE(IsCtlEnabled(main_win, 20192));
  tdr_mode = 0;
  BuildMenus();
  EXPECT_TRUE(IsCtlEnabled(main_win, 20192));
}

// A rebuild keeps a caption that names what the button runs, and renames one
// that no longer does: the buttons always name the port they scan.
TEST_F(MenusTest, ButtonsKeepTheirCaptionWhileItNamesWhatTheyScan) {
  tdr_mode = 1;
  BuildMenus();
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan TDR");
  EXPECT_EQ(GetCtlText(main_win, 202), "Rescan TDR");
  tdr_mode = 0;
  BuildMenus();  // off the TDR plot they scan Port A
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan A");
  EXPECT_EQ(GetCtlText(main_win, 202), "Rescan A");
  tdr_mode = 1;
  SetScanCaptions();  // never writes " TDR"; the TDR plot measures Port A
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan A");
  EXPECT_EQ(GetCtlText(main_win, 202), "Rescan A");
  EXPECT_EQ(msg_text, " A");
  BuildMenus();  // " A" is right on the TDR plot too: kept
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan A");
  // Port B mode set behind the buttons' back: the next rebuild names it.
  tdr_mode = 0;
  vna_present = 0;  // Port B mode survives the rebuild without a calibration
  PortB_on = 1;
  BuildMenus();
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan B");
  EXPECT_EQ(GetCtlText(main_win, 202), "Rescan B");
  PortB_on = 0;
  BuildMenus();
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan A");
}

TEST_F(MenusTest, BandPresetsShowTheirNamesAndGreyWithoutAStart) {
  band_name[3] = "my band";
  band_start[3] = 0;
  band_start[4] = 0.001;
  BuildMenus();
  EXPECT_EQ(Item(53)->caption, "my band");
  EXPECT_TRUE(Item(53)->greyed);
  EXPECT_FALSE(Item(54)->greyed);
  EXPECT_FALSE(Item(52)->greyed);
}

TEST_F(MenusTest, CalibrationCaptionsFollowTheRanges) {
  HFcalEnd = 54.25;
  UHFcalStart = 0.0005;
  maximumfreq = 180;
  BuildMenus();
  EXPECT_EQ(Item(39177)->caption, "STANDARD CAL  5KHz- 180 MHz");
  EXPECT_EQ(Item(21336)->caption, "  Band 2  0.100- 54.250 ( 0.200)");
  EXPECT_EQ(Item(21338)->caption, "  Band 4  0.001- 500 ( 0.500)");
}

TEST_F(MenusTest, LeavingDiagnosticModeRemovesItsEntries) {
  DIAGMODE = 1;
  BuildMenus();
  EXPECT_EQ(GetMenuBar(main_win).size(), 12u);
  EXPECT_NE(Item(2347), nullptr);
  DIAGMODE = 0;
  BuildMenus();
  EXPECT_EQ(test::DumpMenusAndButtons(), test::ReadGolden("menus_normal.golden"));
}

// Every flag of the check-mark table on: exactly the table's ids carry a mark;
// every flag off: only "Fixed Avg" does.
TEST_F(MenusTest, CheckMarksFollowTheirFlags) {
  struct Flag {
    int* flag;
    int on, off;  // "off" values next to "on" show the exact condition
  };
  const Flag flags[] = {
      {&trace_serial, 1, 0},
      {&std_comp, 1, 0},
      {&comp_s11_half, 1, 0},
      {&comp_s11_measure, 1, 0},
      {&comp_s11_specify, 1, 0},
      {&comp_s22_half, 1, 0},
      {&comp_s22_is_s11, 1, 0},
      {&comp_s22_specify, 1, 0},
      {&autorange, 1, 2},
      {&ref_to_antenna, 1, 0},
      {&tone_swr, 10, 0},
      {&tone_phase, 60, 0},
      {&tone_zmag, 500, 0},
      {&full_current_mode, 0, 1},
      {&autopoweroff, 1, 0},
      {&gain_color, 1, 2},
      {&no_cal_comp, 0, 1},
      {&cursorena, 1, 0},
      {&grid_highlight, 1, 0},
      {&tdr_mode, 1, 0},
      {&tdr_lines, 1, 0},
      {&tdr_high_res, 1, 0},
      {&tdr_linear_z, 1, 0},
      {&metric, 1, 0},
      {&voice, 1, 0},
      {&highlight, 1, 0},
      {&markerena, 1, 0},
      {&PortB_Gain, 3, 6},
      {&PortB_Sens, 2, 3},
      {&fixed_avg, 0, 1},
  };
  DIAGMODE = 1;
  PortB_on = 1;
  PortB_cal = 1;
  avgweight = 0.5;
  for (bool on : {true, false}) {
    for (const Flag& f : flags) *f.flag = on ? f.on : f.off;
    swr_ruler = on ? 1.0 : 0.99999;
    markers[1].Freq = on ? 989 : 990;
    BuildMenus();
    const std::set<int> expected =
        on ? std::set<int>{30178, 23350, 23351, 23352, 23353, 23354, 23355, 23356,
                           23348, 38,    4505,  4506,  4507,  3058,  46,    30172,
                           30177, 3163,  3165,  32191, 32193, 32194, 32195, 32198,
                           147,   4473,  3081,  67,    3085,  23342, 23346, 25318}
           : std::set<int>{25320};
    EXPECT_EQ(CheckedIds(GetMenuBar(main_win)), expected) << on;
    // Only a ticked item looks like a toggle; the others look like the
    // commands they are, without an empty box.
    EXPECT_EQ(ShownCheckable(true), expected) << on;
    EXPECT_EQ(ShownCheckable(false), expected) << on;
  }
}

TEST_F(MenusTest, SomeMarksAreOnlySetAndARebuildClearsThem) {
  fixed_avg = 0;
  avgweight = 0.125;
  swr_ruler = 1.5;
  BuildMenus();
  EXPECT_TRUE(Checked(25317));
  EXPECT_TRUE(Checked(147));
  avgweight = 1.0;
  swr_ruler = 0;
  UpdateMenuChecks();
  EXPECT_TRUE(Checked(25317));  // set only: the old mark stays
  EXPECT_TRUE(Checked(25319));
  EXPECT_TRUE(Checked(147));
  BuildMenus();
  EXPECT_FALSE(Checked(25317));
  EXPECT_TRUE(Checked(25319));
  EXPECT_FALSE(Checked(147));
  // A mark that is cleared as well as set follows at once.
  cursorena = 0;
  UpdateMenuChecks();
  EXPECT_FALSE(Checked(3163));
  EXPECT_EQ(ShownCheckable(false).count(3163), 0u);
  cursorena = 1;
  UpdateMenuChecks();
  EXPECT_EQ(ShownCheckable(true).count(3163), 1u);
}

}  // namespace
}  // namespace vna
