// InitVars: every default, the values it copies from the present state, and
// a second call resetting what the user had changed.
#include <gtest/gtest.h>

#include <cmath>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/settings_fixture.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "tools/state.h"

namespace vna {
namespace {

using InitVarsTest = testing::SettingsTest;

TEST_F(InitVarsTest, NumberDefaults) {
  struct Case {
    const char* name;
    double actual, expected;
  };
  const Case cases[] = {
      {"start_freq", start_freq, 5},
      {"end_freq", end_freq, 25},
      {"delta_freq", delta_freq, 0.202},
      {"freq", freq, 5},
      {"Numscanpts", double(Numscanpts), 100},
      {"average", double(average), 4},
      {"adc_scale", double(adc_scale), 4},
      {"avgweight", avgweight, 1},
      {"maxsmooth", double(maxsmooth), 9},
      {"delay_smoothing", double(delay_smoothing), 2},
      {"Recycle_depth", double(Recycle_depth), 3},
      {"recycle_count", double(recycle_count), 5},
      {"recycle_delay", double(recycle_delay), 300},
      {"rescan_halfwidth", rescan_halfwidth, 0.1},
      {"swr_ratio_center", swr_ratio_center, 1.08},
      {"commport", double(commport), 8},
      {"baudrate", double(baudrate), 57600},
      {"DDS_Amplitude", DDS_Amplitude, 100},
      {"last_dds_amp", last_dds_amp, -1},
      {"PortA_Sens", double(PortA_Sens), 2},
      {"PortB_Sens", double(PortB_Sens), 1},
      {"relay_freq", relay_freq, 3.313},
      {"ddsclk2", ddsclk2, 50},
      {"DDS_Clk", DDS_Clk, 50},
      {"dds_scale", dds_scale, 4294967296.0},
      {"PortA_HiGain", PortA_HiGain, 5.015},
      {"GainAfreq5x", GainAfreq5x, 515},
      {"GainAfreq2", GainAfreq2, 1150},
      {"dc_volt_min", dc_volt_min, 9.8},
      {"batt_offset", batt_offset, 0.45},
      {"min_dc_voltage", min_dc_voltage, 1000},
      {"sync_count", double(sync_count), 1},
      {"extport_b1", double(extport_b1), 15},
      {"Zref", Zref, 50},
      {"Zsm_real", Zsm_real, 50},
      {"VF", VF, 0.66},
      {"cable_length", cable_length, 20},
      {"loss", loss, 0.35 / 100 / 8.686},
      {"ExtensionVP", ExtensionVP, 1},
      {"tone_zmag_max", tone_zmag_max, 500},
      {"swrmaxfreq", double(swrmaxfreq), 30},
      {"Level", double(Level), 1},
      {"cfg_spare_int", double(cfg_spare_int), 2},
      {"screen_width", double(screen_width), 1024},
      {"screen_height", double(screen_height), 768},
      {"pi", pi, 3.141592654},
      {"twopi", twopi, 2 * 3.141592654},
      {"scn_const_a", scn_const_a, 1e-11},
      {"scn_const_b", scn_const_b, 0.011746},
      {"scn_const_c", scn_const_c, 1.0012},
      {"swr_axis_max", swr_axis_max, -1},
      {"swr_ruler", swr_ruler, 1.5},
      {"s11gain_scale", s11gain_scale, -60},
      {"s21gain_scale", s21gain_scale, 10},
      {"Zero_Ref", double(Zero_Ref), 2},
      {"trace_width", double(trace_width), 2},
      {"font_size", double(font_size), 7},
      {"cursorena", double(cursorena), 1},
      {"smith_cx", double(smith_cx), 300},
      {"smith_cy", double(smith_cy), 260},
      {"array_right", double(array_right), 840},
      {"array_bottom", double(array_bottom), 540},
      {"array_phase_scale", array_phase_scale, 225},
      {"DeltaPhaseMax", DeltaPhaseMax, 5},
      {"freqcal_ref", freqcal_ref, 10},
      {"std_comp", double(std_comp), 1},
      {"S22", S22.r, 0.5},
      {"s11", s11.r, 0.5},
      {"main_loop_on", double(main_loop_on), 1},
      {"shown_average", double(shown_average), -1},
      {"swr", swr, -1},
      {"cursor_x", double(cursor_x), 200},
      {"marker_next", double(marker_next), 1},
      {"sweep_marker[3]", sweep_marker[3], 5},
      {"Rng[3]", Rng[3], 2.4 / 57.3},
      {"Numpts", double(Numpts), 256},
      {"LengthOffset", LengthOffset, 10},
      {"tdr_overlay", double(tdr_overlay), 1},
      {"vscope_elements[1].mag", vscope_elements[1].mag, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
  EXPECT_EQ(step_text, "50");
  EXPECT_EQ(scan_stamp, " ");
  EXPECT_EQ(control_csv, "c:\\AutoScan.csv");
  EXPECT_EQ(regctl_key, "hkey_current_user\\software\\TARVOVNA\\");
  EXPECT_EQ(voice_folder, "Sounds_1\\");
  EXPECT_EQ(extport_text, " PortData");
  EXPECT_EQ(gain_text, "1");
  // Settings the defaults leave alone keep their start values.
  EXPECT_EQ(osc_freq, 0);
  EXPECT_EQ(max_points, 30000);
}

TEST_F(InitVarsTest, BandPresetsAndCalibrationRanges) {
  const char* names[] = {"160_meters", " 80_meters", " 60_meters", " 40_meters",
                         " 30_meters", " 20_meters", " 17_meters", " 15_meters",
                         " 12_meters", " 10_meters", "  6_meters", "  2_meters",
                         " Band_A",    " Band_B",    " Band_C",    " Band_D"};
  for (int k = 1; k <= kBandPresets; ++k) {
    EXPECT_EQ(band_name[k], names[k - 1]) << k;
    EXPECT_GT(band_start[k], 0.05) << k;  // every preset acts and none is greyed
  }
  EXPECT_EQ(band_delta[3], 0.005);
  EXPECT_EQ(band_delta[2], 0.02);
  EXPECT_EQ(band_start[13], 1.0);
  EXPECT_EQ(band_end[13], 150.0);
  EXPECT_EQ(band_delta[13], 2.0);
  EXPECT_EQ(band_end[16], 43.0);

  EXPECT_EQ(cal_end_freq, 1200);
  EXPECT_EQ(STDcalEnd, 1200);
  EXPECT_EQ(cal_start_freq, 0.1);
  EXPECT_EQ(cal_delta_freq, 2.0);
  EXPECT_EQ(UHFcalEnd, 500);
  EXPECT_EQ(UHFcalEnd_def, 500);
  EXPECT_EQ(VHFcalDelta_def, 0.5);
  EXPECT_EQ(BCcalEnd_def, 2.1);

  // The export's later call takes the model's maximum frequency.
  maximumfreq = 180;
  InitVars();
  EXPECT_EQ(cal_end_freq, 180);
  EXPECT_EQ(STDcalEnd, 180);
}

TEST_F(InitVarsTest, ColoursAndTheirTables) {
  EXPECT_EQ(graph_bg_color, Rgb(230, 230, 230));
  EXPECT_EQ(RedColor, Rgb(240, 0, 0));
  EXPECT_EQ(LightOrange, Rgb(255, 195, 125));
  EXPECT_EQ(files_color, Rgb(200, 0, 0));
  EXPECT_EQ(title_color, Rgb(0, 0, 255));
  const int expected_defaults[12] = {LightMagenta, Magenta,  LightGreen,  Green,
                                     LightRed,     RedColor, LightBlue,   Blue,
                                     LightOrange,  Orange,   LightYellow, Yellow};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(default_colors[i], expected_defaults[i]) << i;
  EXPECT_EQ(tdr_colors[5], Rgb(0, 200, 200));
  EXPECT_EQ(tdr_colors[1], RedColor);
  EXPECT_EQ(cycle_colors[0], Green);
  EXPECT_EQ(cycle_colors[7], Rgb(50, 255, 105));
  // The tables are copies.
  RedColor = Rgb(1, 2, 3);
  EXPECT_EQ(default_colors[5], Rgb(240, 0, 0));
  EXPECT_EQ(tdr_colors[1], Rgb(240, 0, 0));
}

TEST_F(InitVarsTest, ValuesCopiedFromTheSystem) {
  int w = 0, h = 0;
  ScreenSize(w, h);
  EXPECT_EQ(cfg_win_width, w * 9 / 10);
  EXPECT_EQ(cfg_win_height, h * 7 / 10);
  EXPECT_EQ(WinWidth, cfg_win_width);
  EXPECT_EQ(WinHeight, cfg_win_height);
  for (const std::string* f :
       {&cal_folder, &config_folder, &scan_folder, &spare_folder, &bmp_folder, &marker_folder})
    EXPECT_EQ(*f, dir.path() + "/");
  // Sine-fit tables of the ten-digit pi.
  const double a = 2 * 3.141592654 * 3 / 16;
  EXPECT_EQ(sin_tab1[3], std::sin(a));
  EXPECT_EQ(cos_tab2[3], std::cos(2 * a));
  EXPECT_EQ(sin_tab3[3], std::sin(3 * a));
}

TEST_F(InitVarsTest, SecondCallResetsEverythingItTouches) {
  start_freq = 100;
  VF = 0.8;
  scan_running = 1;
  main_loop_on = 0;
  band_name[1] = "X";
  markers[2].Freq = 14.2;
  markers[2].Rs = 50;
  markers[2].s21mag = -3;  // not a field the defaults touch
  marker_count = 1;
  InitVars();
  EXPECT_EQ(start_freq, 5);
  EXPECT_EQ(VF, 0.66);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(main_loop_on, 1);
  EXPECT_EQ(band_name[1], "160_meters");
  EXPECT_EQ(marker_count, 0);
  for (int i = 1; i <= kMaxMarkers; ++i) EXPECT_EQ(markers[i].Freq, 9999) << i;
  EXPECT_EQ(markers[2].Rs, 0);
  EXPECT_EQ(markers[2].s21mag, -3);
}

}  // namespace
}  // namespace vna
