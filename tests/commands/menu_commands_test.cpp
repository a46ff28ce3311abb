// What the menu commands decide themselves before and after the routine they
// hand over to: TDR mode, the calibration ranges, tones, power control,
// compensation marks, and the other steps of their own.
#include "calibration/state.h"
#include "commands/commands_fixture.h"
#include "files/state.h"
#include "support/temp_dir.h"
#include "tools/state.h"

namespace vna {

// The velocity-factor dialog's handler belongs to a tool that is not built:
// this one hands back field 1 on "Enter", as that tool's handler does.
int VelocityFactorHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_velocity_factor);
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    dlg_text1 = GetCtlText(dlg_velocity_factor, 1);
    CloseDialog(dlg_velocity_factor, 1);
  }
  return 0;
}

namespace test {
namespace {

TEST_F(CommandsTest, TdrModeOnAndOffKeepsAveragingAndSmoothing) {
  average = 16;
  smoothing = 5;
  PortB_on = 1;
  vna_present = 0;  // Port B mode survives the rebuild, to be dropped by TDR mode
  cursordata_open = 1;
  cursor1_x = 40;
  Pick(32191);
  EXPECT_EQ(tdr_mode, 1);
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(smoothing, 0);
  EXPECT_EQ(cursordata_open, 0);
  EXPECT_EQ(cursor1_x, 0);
  EXPECT_EQ(file_name, "last_VNATDR_file.tdr");
  EXPECT_EQ(Calls(), (Strings{"AverageADC(0)", "LoadTDR(1)"}));
  EXPECT_TRUE(Checked(32191));
  EXPECT_EQ(GetCtlText(main_win, 201), "Scan A");
  for (int id : {204, 31, 203, 208, 20192}) EXPECT_FALSE(IsCtlEnabled(main_win, id)) << id;

  ClearCalls();
  average = 1;  // what AverageADC(0) leaves
  PortB_cal = 1;
  Pick(32191);
  EXPECT_EQ(tdr_mode, 0);
  EXPECT_EQ(average, 16);
  EXPECT_EQ(smoothing, 5);
  EXPECT_EQ(Calls(), Strings{"RedrawGraph"});
  EXPECT_FALSE(Checked(32191));
  for (int id : {204, 31, 203, 208, 20192}) EXPECT_TRUE(IsCtlEnabled(main_win, id)) << id;
}

TEST_F(CommandsTest, TdrDisplaySwitchesSetTheirOwnMarks) {
  tdr_linear_z = 1;
  tdr_show_rho = 0;
  metric = 0;
  tdr_show_params = 1;
  Pick(32195);
  Pick(32196);
  Pick(32198);
  EXPECT_EQ(tdr_linear_z, 0);
  EXPECT_FALSE(Checked(32195));
  EXPECT_EQ(tdr_show_rho, 1);
  EXPECT_TRUE(Checked(32196));
  EXPECT_EQ(metric, 1);
  EXPECT_TRUE(Checked(32198));
  EXPECT_EQ(tdr_show_params, 0);
}

TEST_F(CommandsTest, RestoreDefaultCalRangesAsksFirst) {
  HFcalEnd = 30;
  SetDigits(2);
  const std::string present =
      "Band 1  start=  0.10  | stop=  2.10  | delta=  0.01\r\n"
      "Band 2  start=  0.10  | stop=  30  | delta=  0.20\r\n"
      "Band 3  start=  40  | stop=  180  | delta=  0.50\r\n"
      "Band 4  start=  140  | stop=  500  | delta=  0.50";
  testhook::QueueMsgBoxAnswer(kIdNo, " Restore Cal Defaults");
  Pick(21205);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const std::string question = testhook::MsgBoxes()[0].text;
  EXPECT_EQ(question.substr(0, question.find("\r\n\r\nDEFAULT")),
            "Do you want to restore the default cal Start/Stop freq values?\r\n"
            "Present freq values are: \r\n" +
                present);
  EXPECT_NE(question.find("DEFAULT values will be:\r\nBand 1  start=  0.10"), std::string::npos);
  EXPECT_NE(question.find("Band 2  start=  0.10  | stop=  60  |"), std::string::npos);
  EXPECT_EQ(HFcalEnd, 30);

  testhook::ClearLogs();
  testhook::QueueMsgBoxAnswer(kIdYes, " Restore Cal Defaults");
  Pick(21205);
  EXPECT_EQ(HFcalEnd, 60);
  ASSERT_EQ(testhook::MsgBoxes().size(), 2u);
  EXPECT_EQ(testhook::MsgBoxes()[1].caption, " Default Cal Limits");
  EXPECT_EQ(testhook::MsgBoxes()[1].text,
            "Default cal start, stop, delta cal limits have been restored: \r\n\r\n"
            "Band 1  start=  0.100  | stop=  2.100  | delta=  0.010\r\n"
            "Band 2  start=  0.100  | stop=  60  | delta=  0.200\r\n"
            "Band 3  start=  40  | stop=  180  | delta=  0.500\r\n"
            "Band 4  start=  140  | stop=  500  | delta=  0.500");
  EXPECT_EQ(FindItem(GetMenuBar(main_win), 21336)->caption, "  Band 2  0.100- 60 ( 0.200)");
}

TEST_F(CommandsTest, CalibrationCommandsSetTheirRange) {
  double start = 0, end = 0, step = 0;
  int band = -1;
  std::string label;
  OnCall("CalA", [&] {
    start = cal_start_freq;
    end = cal_end_freq;
    step = cal_delta_freq;
    band = cal_band;
    label = msg_text;
  });
  Pick(39177);
  EXPECT_EQ(label, " Standard cal ");
  EXPECT_EQ(band, 0);
  EXPECT_DOUBLE_EQ(start, 0.005);
  EXPECT_DOUBLE_EQ(end, 1200);
  EXPECT_DOUBLE_EQ(step, 0.005);
  Pick(21337);
  EXPECT_EQ(label, " VHF band cal ");
  EXPECT_EQ(band, 3);
  EXPECT_DOUBLE_EQ(start, VHFcalStart);
  EXPECT_DOUBLE_EQ(end, VHFcalEnd);
  Pick(21338);
  EXPECT_EQ(label, " UHF band cal");
  EXPECT_DOUBLE_EQ(step, UHFcalDelta);
}

// A good Port B calibration is saved with a comment and read back; a failed
// one saves nothing.
TEST_F(CommandsTest, PortBCalibrationSavesOnlyAfterSuccess) {
  OnCall("CalB", [] {
    EXPECT_EQ(calB_only, 1);
    EXPECT_EQ(DDS_Amplitude, 100);
    calB_error = 0;
    PortB_cal = 1;
  });
  DDS_Amplitude = 50;
  cal_comment = "old";
  last_comment_A = "my cal";
  AnswerDialog(" Enter a comment", {}, 2);  // accepts the shown text
  Pick(39179);
  EXPECT_EQ(Calls(), (Strings{"CalB", "DrawTitle", "SaveCalFile", "GetPortACal(0)"}));
  EXPECT_EQ(cal_comment, "my cal");

  ClearCalls();
  OnCall("CalB", [] { calB_error = 2; });
  Pick(39179);
  EXPECT_EQ(Calls(), Strings{"CalB"});
}

TEST_F(CommandsTest, SaveGraphAsksForATitleOnlyWithoutOne) {
  PortB_on = 1;
  PortB_cal = 1;
  PortB_title = "";
  AnswerDialog(" Enter a comment", {{1, "filter response"}}, 2);
  Pick(2);
  EXPECT_EQ(PortB_title, "filter response");
  EXPECT_EQ(Calls(), (Strings{"DrawTitle", "DrawTitle", "SaveScanB"}));
  EXPECT_EQ(save_mode, 0);
  ClearCalls();
  testhook::ClearLogs();
  Pick(2);
  EXPECT_EQ(Calls(), Strings{"SaveScanB"});
  EXPECT_EQ(testhook::Dialogs().size(), 0u);
  // No measured point of the port: said before any comment is asked.
  PortB_title = "";
  scanB_npoints = 0;
  ClearCalls();
  testhook::ClearLogs();
  Pick(2);
  EXPECT_EQ(Calls(), Strings{});
  EXPECT_EQ(testhook::Dialogs().size(), 0u);
  EXPECT_EQ(BoxTexts(), Strings{"There is no measured Port B scan to save."});
}

TEST_F(CommandsTest, BandPresetsAboveTheLowestStartSetTheLimits) {
  band_start[2] = 3.5;
  band_end[2] = 4;
  band_delta[2] = 0.01;
  Pick(52);
  EXPECT_EQ(start_freq, 3.5);
  EXPECT_EQ(end_freq, 4);
  EXPECT_EQ(delta_freq, 0.01);
  EXPECT_EQ(Calls(), Strings{"SetScanLimits"});
  ClearCalls();
  band_start[3] = 0.05;
  Pick(53);
  EXPECT_EQ(Calls(), Strings{});
  EXPECT_EQ(start_freq, 3.5);
}

TEST_F(CommandsTest, SaveImageBitmapRemembersTheFolder) {
  testing::TempDir dir;
  testhook::QueueFileAnswer(dir / "graph.bmp");
  Pick(2173);
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  EXPECT_EQ(testhook::FileDialogs()[0].title, " Save BitMap");
  EXPECT_EQ(testhook::FileDialogs()[0].filter, "Bitmap Files(*.bmp)|*.bmp||");
  EXPECT_EQ(bmp_file, dir / "graph.bmp");
  EXPECT_EQ(bmp_folder, dir.path() + "/");
  EXPECT_FALSE(dir.Read("graph.bmp").empty());
  EXPECT_EQ(testhook::FileDialogs()[0].start_folder.empty(), false);
}

TEST_F(CommandsTest, PrintMenuPrintsMainOrSmithChartsOnly) {
  OpenWindow(smith_win, 0, 0, 200, 200, kWinCaption, "Smith", [] { return 0; });
  OpenWindow(marker_win, 0, 0, 200, 200, kWinCaption, "Markers", [] { return 0; });
  for (int focus : {1, 5, 8, 3}) {
    focus_win = focus;
    Pick(3);
  }
  EXPECT_EQ(testhook::PrintedWindows(), (Strings{"main_win", "smith_win"}));
  CloseWindow(smith_win);
  CloseWindow(marker_win);
}

TEST_F(CommandsTest, VelocityFactorIsKeptInItsRange) {
  const std::pair<const char*, double> cases[] = {{"-0.8", 0.8}, {"1.3", 1}, {"0.3", 0.66}};
  for (const auto& [typed, vf] : cases) {
    AnswerDialog(dlg_velocity_factor.title, {{1, typed}}, 2);
    Pick(3867);
    EXPECT_DOUBLE_EQ(VF, vf) << typed;
  }
  AnswerDialog(dlg_velocity_factor.title, {}, 0);  // closed: unchanged
  Pick(3867);
  EXPECT_DOUBLE_EQ(VF, 0.66);
}

TEST_F(CommandsTest, ToneModesAreOneChoice) {
  tone_swr_max = 10;
  tone_phase_max = 60;
  Pick(4505);
  EXPECT_EQ(tone_swr, 10);
  EXPECT_TRUE(Checked(4505));
  Pick(4506);
  EXPECT_EQ(tone_swr, 0);
  EXPECT_EQ(tone_phase, 60);
  EXPECT_FALSE(Checked(4505));
  EXPECT_TRUE(Checked(4506));
  Pick(4506);
  EXPECT_EQ(tone_phase, 0);
  EXPECT_FALSE(Checked(4506));
  EXPECT_EQ(Calls(), Strings(3, "SetToneRange"));
}

TEST_F(CommandsTest, PowerControl) {
  autopoweroff = 0;
  full_current_mode = 1;
  Pick(46);
  EXPECT_EQ(autopoweroff, 1);
  EXPECT_EQ(full_current_mode, 0);
  EXPECT_TRUE(Checked(46));
  Pick(46);
  EXPECT_EQ(full_current_mode, 1);
  Pick(3058);
  EXPECT_EQ(full_current_mode, 0);
  EXPECT_TRUE(Checked(3058));
  Pick(3058);
  EXPECT_EQ(full_current_mode, 1);
  EXPECT_EQ(BoxTexts(), (Strings{" Auto power down is enabled for battery operation.",
                                 " Auto power down is disabled.", " Low current mode is on.",
                                 " Low current mode is off"}));
  EXPECT_EQ(Calls(), (Strings{"SetAutoPowerDown(1)", "ProgRelay(0)", "SetAutoPowerDown(0)",
                              "ProgRelay(0)", "ProgRelay(0)", "ProgRelay(0)"}));
}

TEST_F(CommandsTest, AutorangingNoticeIsDrawnAndErased) {
  graph_right = 700;
  win_xscale = 1;
  autorange = 1;
  Pick(23348);
  EXPECT_EQ(autorange, 0);
  ASSERT_FALSE(testhook::Prints().empty());
  EXPECT_EQ(testhook::Prints().back().text, "Autorange OFF   ");
  EXPECT_EQ(testhook::Prints().back().x, 760);
  EXPECT_EQ(testhook::Prints().back().y, 5);
  Pick(23348);
  EXPECT_EQ(autorange, 1);
  EXPECT_EQ(main_win.draw.text_color, Black);
  EXPECT_EQ(Calls(), (Strings{"InfoPanel(0)", "InfoPanel(0)"}));
}

TEST_F(CommandsTest, CompensationMarks) {
  DIAGMODE = 1;
  BuildMenus();
  Pick(23351);
  EXPECT_EQ(std_comp, 0);
  EXPECT_TRUE(Checked(23351));
  EXPECT_TRUE(Checked(23354));  // "Use S22=0.5" comes with it while no S22 choice is made
  Pick(23355);
  EXPECT_TRUE(Checked(23355));
  EXPECT_FALSE(Checked(23354));
  Pick(23353);
  EXPECT_TRUE(Checked(23353));
  EXPECT_FALSE(Checked(23351));
  EXPECT_FALSE(Checked(23354));  // the S22 choice stays
  EXPECT_TRUE(Checked(23355));
  Pick(23350);
  EXPECT_EQ(std_comp, 1);
  EXPECT_TRUE(Checked(23350));
  EXPECT_FALSE(Checked(23353));
  EXPECT_FALSE(Checked(23355));
}

TEST_F(CommandsTest, AveragingWeightRebuildsTheMarks) {
  fixed_avg = 1;
  Pick(25320);
  EXPECT_EQ(fixed_avg, 0);
  Pick(25317);
  EXPECT_EQ(avgweight, 0.125);
  EXPECT_TRUE(Checked(25317));
  Pick(25319);
  EXPECT_FALSE(Checked(25317));
  EXPECT_TRUE(Checked(25319));
}

TEST_F(CommandsTest, LeavingDiagnosticModeClearsItsFlagsAndEntries) {
  DIAGMODE = 1;
  no_cal_comp = coord_debug = dsp_debug = 1;
  BuildMenus();
  Pick(12843);
  EXPECT_EQ(DIAGMODE + no_cal_comp + coord_debug + dsp_debug, 0);
  EXPECT_EQ(GetMenuBar(main_win).size(), 11u);
  EXPECT_EQ(FindItem(GetMenuBar(main_win), 2347), nullptr);
}

TEST_F(CommandsTest, SwrRulerAndVoiceMarks) {
  OnCall("EnterSwrRuler", [] { swr_ruler = 1.0; });
  Pick(147);
  EXPECT_TRUE(Checked(147));
  OnCall("EnterSwrRuler", [] { swr_ruler = 0.5; });
  Pick(147);
  EXPECT_FALSE(Checked(147));
  voice = 0;
  Pick(4473);
  EXPECT_EQ(voice, 1);
  EXPECT_TRUE(Checked(4473));
  EXPECT_EQ(focus_win, 1);
}

TEST_F(CommandsTest, ClearAllStylesAndStylePreselection) {
  rtstyle = 4;
  Pick(3026);
  EXPECT_EQ(Calls().back(), "SelectStyle(6,4)");
  swrstyle = zmagstyle = s21style = 3;
  Pick(3027);
  EXPECT_EQ(swrstyle + zmagstyle + rsstyle + xsstyle + phasestyle + rtstyle + s11style + s21style +
                delaystyle,
            0);
}

TEST_F(CommandsTest, PointDataForBothPortsLeavesPortBModeOn) {
  int mode_inside = -1;
  OnCall("PointDataMode", [&] { mode_inside = transmission_mode; });
  Pick(23349);
  EXPECT_EQ(mode_inside, 1);
  EXPECT_EQ(transmission_mode, 0);
  EXPECT_EQ(PortB_on, 1);
}

}  // namespace
}  // namespace test
}  // namespace vna
