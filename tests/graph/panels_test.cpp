// The text panels around the plot box and the info panel's five buttons:
// the texts a user sees, where they stand, and the buttons' colours.
#include <QLocale>

#include <functional>
#include <regex>

#include "graph/info_panel.h"
#include "graph/text_panels.h"
#include "graph_fixture.h"
#include "shell/main_program.h"
#include "shell/menus.h"

namespace vna {
namespace {

using test::GraphTest;

class PanelsTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    SetProgramVersion();
    RoundBox();
    graph_mid_x = 460;
    title_y = 470;
    info_x = 880;
  }
  static int Width(int points, const std::string& text) {
    return TextWidth("arial", points, font_weight, text);
  }
};

TEST_F(PanelsTest, TheTitleIsTrimmedCutAndCentred) {
  title_min_x = 150;
  PortA_title = "   " + std::string(150, 'x') + " \t";
  DrawTitle();
  const std::string shown(120, 'x');
  const int w = Width(font_size + 1, shown);
  auto p = PrintOf(shown);
  EXPECT_EQ(p.y, 470);
  EXPECT_EQ(p.x, std::max(150, 460 - w / 2));  // never left of the date stamp
  // Two rows of 200 blanks first erase the old title.
  const auto& all = Prints();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].text, std::string(200, ' '));
  EXPECT_EQ(all[0].x, 150);
  EXPECT_EQ(all[1].y, 472);

  testhook::ClearLogs();
  PortA_title = "Dipole";
  PortB_title = "Filter";
  PortB_on = 1;
  DrawTitle();
  EXPECT_EQ(PrintOf("Filter").x, 460 - Width(font_size + 1, "Filter") / 2);
  tdr_mode = 1;
  tdr_graph_title = "  Feed line ";
  DrawTitle();
  EXPECT_TRUE(Printed("Feed line"));
  tdr_mode = 0;
  PortB_on = 0;

  testhook::ClearLogs();
  PortA_title = "";
  DrawTitle();
  EXPECT_EQ(Prints().size(), 3u);  // the blanks still erase the old one
}

TEST_F(PanelsTest, TheDateStampOfALiveScanAndOfAStoredOne) {
  SetFont(main_win, "arial", font_size + 1, font_weight);
  live_data = 1;
  DrawDateStamp();
  ASSERT_EQ(Prints().size(), 1u);
  const auto p = Prints()[0];
  EXPECT_TRUE(std::regex_match(p.text, std::regex("[A-Z][a-z]{2} [0-9]{1,2}, [0-9]{4}  "
                                                  "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")))
      << p.text;
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 447);
  EXPECT_EQ(scan_stamp, p.text);
  EXPECT_EQ(graph_stamp, p.text);
  EXPECT_EQ(title_min_x, Width(font_size + 1, p.text) + 40);

  testhook::ClearLogs();
  live_data = 0;
  scan_stamp = "Mar 7, 2021  09:15:00";
  DrawDateStamp();
  EXPECT_EQ(Prints()[0].text, "Mar 7, 2021  09:15:00");
  EXPECT_EQ(graph_stamp, "Mar 7, 2021  09:15:00");
  // An empty stored stamp prints nothing, but the title still keeps clear of
  // where a stamp stands.
  scan_stamp = "";
  title_min_x = 0;
  DrawDateStamp();
  EXPECT_GT(title_min_x, 100);
  live_data = 1;
}

TEST_F(PanelsTest, FilesPanelCalibrationRangeAndDiagnosticLine) {
  cal_file_name = "antenna.vcal";
  config_file_name = std::string(40, 'c');
  cal_start_freq = 0.1;
  cal_end_freq = 60;
  DIAGMODE = 1;
  baudrate = 57600;
  commport = 8;
  format = 25;
  monitor_trace = 0;
  full_current_mode = 0;
  autopoweroff = 0;
  min_dc_voltage = 1000;
  DrawFilesPanel();
  int fw = 0, h = 0;
  FontTextExtent("arial", font_size + 1, font_weight, "FileName", fw, h);
  EXPECT_EQ(files_panel_y, 440 - 3 * h);
  auto p = PrintOf("FILES: (636A)");
  EXPECT_EQ(p.x, 880);
  EXPECT_EQ(p.y, 440 - 3 * h);
  p = PrintOf("antenna.vcal" + std::string(18, ' '));
  EXPECT_EQ(p.x, 885);
  EXPECT_EQ(p.y, 440 - 2 * h);
  // A longer name than the padding, too long for the window: cut to fit,
  // keeping its end.
  bool cut = false;
  for (const auto& q : Prints())
    cut |= q.x == 885 && q.y == 440 - h && q.text.starts_with("...c") && q.text.ends_with("cc");
  EXPECT_TRUE(cut);
  p = PrintOf(" Cal Range = 0.100000,  60 MHz       ");
  EXPECT_EQ(p.x, 260);
  EXPECT_EQ(p.y, 0);
  p = PrintOf(" DIAGMODE Baud= 57K  port= 8  MultSet=  25" + std::string(13, ' '));
  EXPECT_EQ(p.x, 460);
  EXPECT_EQ(p.y, 1);
  EXPECT_EQ(number_decimals, 3);
  testhook::ClearLogs();
  baudrate = 115000;
  monitor_trace = 1;
  DrawFilesPanel();
  EXPECT_TRUE(Printed(" DIAGMODE Baud= 115K  port= 8  MultSet=  25  Debug"));
  DIAGMODE = monitor_trace = 0;
  baudrate = 57600;
}

TEST_F(PanelsTest, SupplyReadoutOnlyWhileTheSupplyIsWatched) {
  full_current_mode = 0;
  DIAGMODE = 0;
  autopoweroff = 0;
  min_dc_voltage = 9;
  DrawBattery(12.3);
  EXPECT_TRUE(Prints().empty());
  // Diagnostic mode after a low reading: only the warning.
  DIAGMODE = 1;
  DrawBattery(12.3);
  ASSERT_EQ(Prints().size(), 1u);
  EXPECT_EQ(Prints()[0].text, " LOW BATT    ");
  EXPECT_EQ(Prints()[0].x, 915);
  EXPECT_EQ(Prints()[0].y, 20);
  // With automatic power-off the voltage first, then blanks when not low.
  testhook::ClearLogs();
  DIAGMODE = 0;
  autopoweroff = 1;
  min_dc_voltage = 11;
  DrawBattery(12.3);
  ASSERT_EQ(Prints().size(), 2u);
  EXPECT_EQ(Prints()[0].text, "BattV= 12.3");
  EXPECT_EQ(Prints()[1].text, std::string(11, ' '));
  EXPECT_EQ(number_decimals, 3);
  autopoweroff = 0;
}

class InfoPanelTest : public GraphTest {
 protected:
  static std::string Text(int id) { return GetCtlText(main_win, id); }
  static int Background(int id) {
    int t, b, h;
    GetCtlColors(main_win, id, t, b, h);
    return b;
  }
};

TEST_F(InfoPanelTest, FiveButtonsInTheRightColumn) {
  InfoPanel(0);
  for (int k = 0; k < 5; ++k) {
    int x, y, w, h;
    ASSERT_TRUE(GetCtlRect(main_win, kInfoAverage + k, x, y, w, h)) << k;
    EXPECT_EQ(x, info_x);
    EXPECT_EQ(y, info_button_y + k * info_button_h);
    EXPECT_EQ(w, info_button_w);
    EXPECT_EQ(h, info_button_h);
  }
  // Built once: a second call only refreshes.
  average = 16;
  InfoPanel(0);
  EXPECT_EQ(Text(kInfoAverage), "Average= 16           ");
  EXPECT_EQ(shown_average, 16);
}

TEST_F(InfoPanelTest, TextsAndColoursOfEachSetting) {
  InfoPanel(0);
  struct Case {
    std::function<void()> set;
    int id;
    std::string text;
    int background;
  };
  const int blue = Rgb(190, 220, 240);
  const Case cases[] = {
      {[] { average = 1; }, kInfoAverage, "Average is OFF        ", Grey},
      {[] { average = 16; }, kInfoAverage, "Average= 16           ", blue},
      {[] { DDSdelay = 5; }, kInfoSettling, "Settling Time= 5 ms   ", blue},
      {[] { smoothing = 0; }, kInfoSmoothing, "Smoothing= 0          ", Grey},
      {[] { smoothing = 5, smooth_auto = 5; }, kInfoSmoothing, "Smoothing= 5 auto     ", blue},
      {[] { ExtensionLength = 0.1234, ExtensionFlag = 1; }, kInfoExtension,
       "Line Extension= 12.34 cm", blue},  // longer than 22: whole on this button only
      {[] { ExtensionLength = 0, ExtensionFlag = 0; }, kInfoExtension, "Line Extension= 0 cm  ",
       Grey},
      {[] { Zref = 50, Z0imag = 0.000005; }, kInfoZref, "Zref= 50              ", blue},
      {[] { Zref = 50, Z0imag = -2; }, kInfoZref, "Zref= 50 - j 2        ", blue},
      {[] { Zref = 75, Z0imag = 3.5; }, kInfoZref, "Zref= 75 + j 3.500    ", blue},
      {[] { Zref = 1234.5678, Z0imag = 9.875; }, kInfoZref, "Zref= 1234.568 + j 9.8", blue},
  };
  for (const Case& c : cases) {
    c.set();
    InfoPanel(c.id - 20820);
    EXPECT_EQ(Text(c.id), c.text);
    EXPECT_EQ(Background(c.id), c.background) << c.text;
  }
  // Light text pads to 20 characters.
  bold_font = 0;
  average = 2;
  InfoPanel(1);
  EXPECT_EQ(Text(kInfoAverage), "Average= 2          ");
  bold_font = 1;
}

TEST_F(InfoPanelTest, OtherNumbersOnlyClampTheSettings) {
  InfoPanel(0);
  const std::string before = Text(kInfoZref);
  Zref = 0;  // out of range: the clamp makes it 50
  SetDigits(6);
  InfoPanel(6);
  EXPECT_EQ(Zref, 50);
  EXPECT_EQ(Text(kInfoZref), before);
  EXPECT_EQ(number_decimals, 3);
}

}  // namespace
}  // namespace vna
