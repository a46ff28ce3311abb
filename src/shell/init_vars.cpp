// Every default, in one call and always in the same order: a few values
// depend on others set before them (freq on start_freq, the DDS clocks on
// ddsclk1, the sine tables on twopi, the colour tables on the named colours,
// the main window size on the screen), and the TDR and oscillator-band
// defaults run at their fixed places.
#include "shell/init_vars.h"

#include <cmath>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "graph/graph_frame.h"
#include "shell/state.h"
#include "tools/state.h"

namespace vna {

namespace {

void SetConstants() {
  pi = 3.141592654;  // this ten-digit value, not the full-precision constant
  twopi = 2 * pi;
  for (int i = 0; i < 16; ++i) {
    double a = 2 * pi * i / 16;
    sin_tab1[i] = std::sin(a);
    cos_tab1[i] = std::cos(a);
    sin_tab2[i] = std::sin(2 * a);
    cos_tab2[i] = std::cos(2 * a);
    sin_tab3[i] = std::sin(3 * a);
    cos_tab3[i] = std::cos(3 * a);
  }
  scn_const_a = 1e-12 * 10;
  scn_const_b = 0.011746;
  scn_const_c = 1.0012;
}

void SetScanDefaults() {
  start_freq = 5;
  end_freq = 25;
  delta_freq = 0.202;
  freq = start_freq;
  Numscanpts = 100;
  scan_npoints = scanA_npoints = scanB_npoints = 0;
  step_text = "50";
  interpolate = 1;
  fullscan = 1;
  smoothing = 0;
  maxsmooth = 9;
  delay_smoothing = 2;
  average = 4;
  average_other = 4;
  adc_scale = 4;
  avgweight = 1.0;
  fixed_avg = 1;
  autorange = 1;
  live_data = 1;
  test_freq = 1;
  const_freq_prev = 1;
  rescan_center = 1;
  rescan_halfwidth = 0.1;
  dspthreshold = 2.0;
  dsp_filter = 0;
  swr_ratio_center = 1.08;
  xtal_freq = 0;
  xtal_q_range = 1;
  Recycle_depth = 3;
  recycle_count = 5;
  recycle_delay = 300;
  autosave_graph = 1;
  scan_stamp = " ";
  scan_comment = "";
  PortA_title = "";
  PortB_title = "";
  loaded_scan_name = "";
}

// The instrument's defaults up to the gain parameters, which follow the TDR
// defaults.
void SetLinkDefaults() {
  commport = 8;
  baudrate = 57600;
  highbaud = 0;
  DDSdelay = 2;
  DDS_Amplitude = 100;
  last_dds_amp = -1;
  amp_change_limit = 5.0;
  autopoweroff = 0;
  full_current_mode = 0;
  PortA_Gain = 1;
  PortB_Gain = 1;
  PortA_Sens = 2;
  PortB_Sens = 1;
  cal_PortA_Sens = 2;
  sig_select = 2;
  relayA = 0;
  relayB = 0;
  relay_state = 0;
  relay_freq = 3.313;
  hw_reset_prompt = 0;
  transmission_mode = 0;
  OSC = 1;
  two_osc = 0;
  ddsclk1 = 50;
  ddsclk2 = ddsclk1;
  DDS_Clk = ddsclk1;
  dds_scale = 4294967296.0;
  freq_comp = 1.0;
  freq_comp1 = 1.0;
  freq_comp2 = 1.0;
  gain_factor_A = 1.0;
  PortA_HiGain = 5.015;
}

void SetGainParameters() {
  GainAfreq5x = 515;
  GainAfreq2 = 1150;
  z_factor = 1.0;
  dc_volt_min = 9.8;
  dc_volt_max = 16.0;
  batt_offset = 0.45;
  min_dc_voltage = 1000;
  sync_allowed = 0;
  sync_count = 1;
  mux_chan = 0;
  mux_select = 0;
  extport_b1 = 15;
  extport_analog = 1;
  extport_volts = 0;
  extport_value = 0;
  extport_text = " PortData";
}

void SetReferenceDefaults() {
  Zref = 50;
  Z0real = 50;
  Z0imag = 0;
  Zsm_real = Z0real;
  Zsm_imag = Z0imag;
  VF = 0.66;
  cable_length = 20;
  loss = 0.35 / 100 / 8.686;
  ref_to_antenna = 0;
  metric = 0;
  ExtensionFlag = 0;
  Zextension = 50;
  ExtensionLength = 0;
  ExtensionVP = 1.0;
}

void SetFileDefaults() {
  const std::string folder = ProgramFolder();
  cal_folder = config_folder = scan_folder = spare_folder = bmp_folder = marker_folder = folder;
  cal_file_path = config_file_path = scan_file_path = spare_file_path = bmp_file =
      marker_file_path = "";
  cal_comment = "";
  control_csv = "c:\\AutoScan.csv";
  regctl_key = "hkey_current_user\\software\\TARVOVNA\\";
  voice_folder = "Sounds_1\\";
  voice = 0;
  voice_digits = 1;
  voice_repeat = 0;
  tone_swr_max = 10;
  tone_phase_max = 60;
  tone_zmag_max = 500;
  swrminfreq = 1;
  swrmaxfreq = 30;
  swrmax = 10;
  cfg_editor_open = 0;
  config_changed = 0;
  autosave_flipA = 0;
  autosave_block = 0;
  Level = 1;
  cfg_spare_int = 2;
  MyVar1 = MyVar2 = MyVar3 = MyVar4 = 0;
}

void SetWindowDefaults() {
  int w = 0, h = 0;
  ScreenSize(w, h);
  cfg_win_width = w * 9 / 10;
  cfg_win_height = h * 7 / 10;
  WinWidth = cfg_win_width;
  WinHeight = cfg_win_height;
}

void SetBandPresets() {
  struct Preset {
    const char* name;
    double start, end, delta;
  };
  static constexpr Preset kPresets[kBandPresets] = {
      {"160_meters", 1.7, 2.1, 0.01},    {" 80_meters", 3.4, 4.1, 0.02},
      {" 60_meters", 5.3, 5.5, 0.005},   {" 40_meters", 6.9, 7.4, 0.01},
      {" 30_meters", 10.0, 10.2, 0.005}, {" 20_meters", 13.9, 14.5, 0.01},
      {" 17_meters", 18.0, 18.2, 0.01},  {" 15_meters", 20.9, 21.6, 0.01},
      {" 12_meters", 24.7, 25.1, 0.01},  {" 10_meters", 27.9, 29.8, 0.01},
      {"  6_meters", 49.5, 54.5, 0.1},   {"  2_meters", 143.5, 148.5, 0.1},
      {" Band_A", 1.0, 150.0, 2.0},      {" Band_B", 1.0, 21.0, 0.2},
      {" Band_C", 5.0, 45.0, 0.25},      {" Band_D", 13.0, 43.0, 0.2},
  };
  for (int k = 1; k <= kBandPresets; ++k) {
    const Preset& p = kPresets[k - 1];
    band_name[k] = p.name;
    band_start[k] = p.start;
    band_end[k] = p.end;
    band_delta[k] = p.delta;
  }
}

void SetCalibrationDefaults() {
  cal_start_freq = 0.1;
  cal_end_freq = maximumfreq;
  cal_delta_freq = 2.0;
  STDcalStart = 0.1;
  STDcalEnd = maximumfreq;
  STDcalDelta = 2.0;
  BCcalStart = BCcalStart_def = 0.1;
  BCcalEnd = BCcalEnd_def = 2.1;
  BCcalDelta = BCcalDelta_def = 0.01;
  HFcalStart = HFcalStart_def = 0.1;
  HFcalEnd = HFcalEnd_def = 60;
  HFcalDelta = HFcalDelta_def = 0.2;
  VHFcalStart = VHFcalStart_def = 40;
  VHFcalEnd = VHFcalEnd_def = 180;
  VHFcalDelta = VHFcalDelta_def = 0.5;
  UHFcalStart = UHFcalStart_def = 140;
  UHFcalEnd = UHFcalEnd_def = 500;
  UHFcalDelta = UHFcalDelta_def = 0.5;
  // Phase offsets of the Port B gain ranges: degrees / 57.3, the factor the
  // init file multiplies by.
  Rng[1] = 0;
  Rng[2] = 0.2 / 57.3;
  Rng[3] = 2.4 / 57.3;
  Rng[4] = 6.2 / 57.3;
  Rng[5] = 6.7 / 57.3;
  std_comp = 1;
  comp_s11_half = 0;
  comp_s11_measure = 0;
  comp_s11_specify = 0;
  comp_s22_half = 0;
  comp_s22_is_s11 = 0;
  comp_s22_specify = 0;
  S22 = Complex{0.5, 0};
  s22_preset = Complex{0.5, 0};
  DeltaPhaseMax = 5;
  freqcal_ref = 10;
  cal_prompt_color = Rgb(255, 255, 255);
  gain_text = "1";
}

void SetDisplayDefaults() {
  plot_swrA = 1;
  plot_swrB = 0;
  plot_rt = 1;
  plot_s11 = 0;
  plots21 = 1;
  plot_delay = 0;
  plot_zmagA = 1;
  plot_rsA = 1;
  plot_rpA = 0;
  plot_ZphaseA = 1;
  plot_phaseS21 = 1;
  plot_Q = 0;
  plot_insloss = 0;
  plot_rt_alt = 0;
  plot_at_zero = 0;

  swr_scale = 10;
  swr_axis_max = -1;
  swr_axis_min = -1;
  swr_yoffset = 1;
  swr_ruler = 1.5;
  zmag_scale = 1000;
  phase_scale = 100;
  rtloss_scale = 20;
  Q_scale = 100;
  s21gain_scale = 10;
  s11gain_scale = -60;
  insloss_scale = 1.0;
  Zero_Ref = 2;
  ruler_1 = 0;
  ruler_2 = 0;
  ruler1_on = 0;
  ruler2_on = 0;
  chart_scale = 1.0;

  swrstyle = zmagstyle = rsstyle = xsstyle = phasestyle = rtstyle = s11style = s21style =
      delaystyle = 0;
  trace_width = 2;
  font_size = 7;
  bold_font = 1;
  cursorena = 1;
  markerena = 0;
  marker_rotation = 0;
  highlight = 0;
  tooltips_on = 1;
  tdr_overlay = 1;

  smith_x = 50;
  smith_y = 50;
  smith2_x = 0;
  smith2_y = 0;
  polar_x = 50;
  polar_y = 50;
  smith_zoom = 1;
  smith2_zoom = 1;
  polar_scale = 1;
  smith_cx = 300;
  smith_cy = 260;

  arrayscan_width = 900;
  arrayscan_height = 680;
  array_left = 60;
  array_top = 60;
  array_right = arrayscan_width - 60;
  array_bottom = arrayscan_height - 100 - 40;
  arr_plot_swr = 0;
  arr_plot_mag = 1;
  arr_plot_phase = 0;
  arr_styles = 0;
  array_phase_scale = 225;
}

void SetColours() {
  White = Rgb(255, 255, 255);
  Black = Rgb(0, 0, 0);
  RedColor = Rgb(240, 0, 0);
  LightRed = Rgb(240, 120, 0);
  Green = Rgb(0, 150, 0);
  LightGreen = Rgb(130, 240, 180);
  Magenta = Rgb(200, 0, 200);
  LightMagenta = Rgb(200, 180, 240);
  Blue = Rgb(0, 0, 200);
  LightBlue = Rgb(175, 175, 250);
  Yellow = Rgb(200, 200, 0);
  LightYellow = Rgb(225, 225, 0);
  Orange = Rgb(240, 174, 0);
  LightOrange = Rgb(255, 195, 125);
  Cyan = Rgb(0, 200, 200);
  bright_green_color = Rgb(37, 241, 123);
  bright_yellow_color = Rgb(252, 250, 70);
  light_grey_color = Rgb(230, 230, 230);
  graph_bg_color = light_grey_color;
  grey_color = Rgb(128, 128, 128);
  Grey = Rgb(175, 175, 175);
  btn_hilite = Rgb(180, 255, 255);
  band_color = Rgb(240, 240, 240);
  title_color = Rgb(0, 0, 255);
  color_blue2 = Rgb(64, 122, 252);
  color_lilac = Rgb(150, 150, 250);
  chart_bg_color = Rgb(180, 220, 255);
  files_color = Rgb(200, 0, 0);

  // Copies of the values just set: a later change of a named colour leaves
  // the tables alone.
  const int defaults[12] = {LightMagenta, Magenta, LightGreen,  Green,  LightRed,    RedColor,
                            LightBlue,    Blue,    LightOrange, Orange, LightYellow, Yellow};
  for (int i = 0; i < 12; ++i) default_colors[i] = defaults[i];
  tdr_colors[1] = RedColor;
  tdr_colors[2] = Green;
  tdr_colors[3] = Blue;
  tdr_colors[4] = Magenta;
  tdr_colors[5] = Cyan;
  const int cycle[8] = {Green,
                        Rgb(0, 215, 200),
                        Rgb(180, 132, 30),
                        Rgb(35, 15, 200),
                        Rgb(150, 40, 135),
                        Rgb(190, 50, 85),
                        Rgb(40, 125, 180),
                        Rgb(50, 255, 105)};
  for (int i = 0; i < 8; ++i) cycle_colors[i] = cycle[i];
}

void SetRunState() {
  scanloop = scan_running = recycle_on = rescan_on = 0;
  marker_count = markers_drawn = 0;
  smith_active = smith_drawn = point_smith = point_smith_new = pointdata_on = 0;
  lbutton_down = resize_pending = cal_ndx_A = style_choice = checkpoint = 0;
  avg_delay = 0;
  delay_offset = 0;
  gain_color = 0;
  key_sequence = "";
  main_loop_on = 1;
  loop_restore = 1;
  shown_average = -1;
  swr = -1;
  s11 = Complex{0.5, 0};
  marker_next = 1;
  cursor_x = 200;
  for (int i = 1; i <= kMaxMarkers; ++i) {
    Marker& m = markers[i];  // the S21 and spare fields are left as they are
    m.Freq = 9999;
    m.Rs = m.Xs = m.Phase = m.SWR = m.Rt = 0;
  }
  for (int i = 0; i < 4; ++i) sweep_marker[i] = i + 2;
  vscope_elements[1].mag = -1;
  for (int i = 1; i <= 6; ++i) chan_enabled[i] = 0;
}

}  // namespace

void InitVars() {
  SetConstants();
  SetScanDefaults();
  SetLinkDefaults();
  SetReferenceDefaults();
  SetFileDefaults();
  SetWindowDefaults();
  SetBandPresets();
  SetCalibrationDefaults();
  InitTDRDefaults();
  SetGainParameters();
  SetColours();
  SetDisplayDefaults();
  // Placeholders until the layout measures the screen.
  screen_width = 1024;
  screen_height = 768;
  SetRunState();
  InitOscBands();
}

}  // namespace vna
