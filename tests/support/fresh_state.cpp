#include "support/fresh_state.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/settings_table.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/state.h"
#include "tools/state.h"

namespace vna::test {

namespace {

// One restore step per kept value, holding the value it had when kept.
std::vector<std::function<void()>>& Restores() {
  static std::vector<std::function<void()>> restores;
  return restores;
}

template <class T>
void KeepOne(T& v) {
  Restores().push_back([&v, saved = v] { v = saved; });
}

template <class T, size_t N>
void KeepOne(T (&a)[N]) {
  Restores().push_back(
      [&a, saved = std::vector<T>(a, a + N)] { std::copy(saved.begin(), saved.end(), a); });
}

template <class... T>
void Keep(T&... v) {
  (KeepOne(v), ...);
}

// Every setting: the init file's lines (the table, so a new line is kept
// too), what their read rules set beside them, and the config file's values.
void KeepSettings() {
  for (const InitLine& line : InitFileLines()) {
    if (line.int_value) Keep(*line.int_value);
    if (line.double_value) Keep(*line.double_value);
    if (line.text_value) Keep(*line.text_value);
  }
  Keep(swr_log, step_text, smoothing_on, freq_single, markers);
  Keep(BCcalStart_def, BCcalEnd_def, BCcalDelta_def, HFcalStart_def, HFcalEnd_def, HFcalDelta_def,
       VHFcalStart_def, VHFcalEnd_def, VHFcalDelta_def, UHFcalStart_def, UHFcalEnd_def,
       UHFcalDelta_def);
  Keep(band_name, band_start, band_end, band_delta, bandskip_start, bandskip_end);
  Keep(RedColor, LightRed, Green, LightGreen, Magenta, LightMagenta, Blue, LightBlue, Yellow,
       LightYellow, Orange, LightOrange, Cyan, title_color, chart_bg_color, grid_line_color,
       grid_color, files_color, band_color, White, Black, Grey, grey_color, light_grey_color,
       graph_bg_color, bright_green_color, bright_yellow_color, btn_hilite, color_blue2,
       color_lilac, default_colors, tdr_colors, cycle_colors);
  Keep(trace_width, max_points, metric, version_delay, cfg_win_width, cfg_win_height, font_size,
       bold_font, chart_scale, recycle_delay, highbaud, dspthreshold_factor, dspthreshold,
       regctl_mode, autosave_graph, voice_digits, voice_repeat, lowres_tol, relay_freq, autobaud,
       swr_yoffset, control_csv, voice_folder);
}

// Scratch values and modes of the shell: a dialog takes its title from
// msg_text, a number box leaves its value behind, and so on.
void KeepShellRunState() {
  Keep(number_decimals, cmd_param, main_loop_on, loop_restore, key_sequence, msg_text);
  Keep(input_value, input_imag, input_scale, api_busy);
  Keep(recycle_on, recycle_count, recycle_scans_done, key_code, key_down);
  Keep(DIAGMODE, dsp_debug, coord_debug, trace_serial, monitor_trace, MyVar1, MyVar2, MyVar3,
       MyVar4);
}

// The outcome of the last exchange, the identified model and the last
// measured point: a reading that fails keeps the values of the last good
// one, which must not be one a test before measured.
void KeepInstrumentRunState() {
  Keep(vna_present, vna_status, port_status, raw_valid, comm_ok, rx_buf, ADCdata);
  Keep(model_uhf, model7306, two_osc, OSC, ddsclk1, ddsclk2, DDS_Clk, dds_clk4);
  Keep(freq_offset1, freq_offset2, FreqOffset);
  Keep(settle_ms, mult_code, new_mults, mult_changed, dds_mult1, dds_mult2);
  Keep(freqplan_bp, freqplan_code, freqplan_default_bp, freqplan_default_code, freq_mult_table);
  Keep(osc_band_count, osc_band_lo, osc_band_hi);
  Keep(MagLoad, MagRef, point_Rs, point_Xs, swr, s11);
  Keep(fit_mag, fit_phase, load_mag_raw, ref_mag_raw, load_phase, ref_phase, Delta_Phase);
  Keep(Rsm, Xsm, Zmag, Zphase, rho, rho_mag, rho_phase, return_loss, ref_load_ratio);
}

// Whether a scan or calibration runs, and the calibration in memory.
void KeepScanAndCalibration() {
  Keep(scan_running, scanloop, live_data, Numscanpts, rescan_on, pointdata_on);
  Keep(CalDataA, CalDataB, cal_points, MaxCalANdx, MaxCalBNdx, cal_valid, RngGain);
  Keep(CalinProgress, calB_error, PortA_cal, PortB_cal);
}

// The stored scans of both ports with their counts and flags, and what a
// scan file or TDR file brings beside them: a file loaded or a scan run by
// one test must not be the stored scan the next one starts with.
void KeepStoredScans() {
  Keep(scanA_freq, scanA_swr, scanA_Rs, scanA_Xs, scanA_zmag, scanA_phase, readA_zmag, readA_phase);
  Keep(scanB_freq, s21_dB, scanB_phase, scanB_s11rl, scanB_s11phase, delay_B);
  Keep(scan_npoints, scanA_npoints, scanB_npoints, last_point, scana_ok, scanb_ok, bandscan_mode,
       scan_from_file, scan_recalled, min_swr, min_swr_freq, resonance_freqs);
  Keep(scan_stamp, scan_comment, scan_extra_value, scn_spare_1, scn_spare_2, scn_spare_3);
  Keep(graph_start, graph_end, freq_per_div, grid_units_per_div, PortA_title, PortB_title,
       average_saved);
  Keep(scan_format_A, scan_format_B, xtal_seq_no, xtal_folder, marker_count, marker_next);
}

// What a calibration file brings beside its tables, and the stored TDR
// trace with the settings that draw it.
void KeepCalibrationFileAndTrace() {
  Keep(Rstd, indep_chan, cal_temperature, cal_comment, cal_date, cal_prog_version, std_cal,
       cal_start_freq, cal_end_freq, cal_delta_freq, cal_unsaved, Rng, GainAfreq5x, GainAfreq2);
  Keep(tdr_response, tdr_trace_points, tdr_graph_title, tdr_title, Numpts, Tdr_delf, DXscale,
       tdr_zmax, tdr_range_factor, tdr_zo, tdr_linear_z, tdr_overlay, tdr_feet_per_index);
}

}  // namespace

void KeepFreshState() {
  Restores().clear();
  KeepSettings();
  KeepShellRunState();
  KeepInstrumentRunState();
  KeepScanAndCalibration();
  KeepStoredScans();
  KeepCalibrationFileAndTrace();
}

void RestoreFreshState() {
  for (const auto& restore : Restores()) restore();
  SetTickOffset(0);
  SetLocalDate(0, 0, 0);
  testhook::Reset();
  testhook::Enable(true);
}

}  // namespace vna::test
