#include "scan/state.h"

namespace vna {

double scanA_freq[kScanArraySize], scanA_swr[kScanArraySize], scanA_Rs[kScanArraySize],
    scanA_Xs[kScanArraySize], scanA_zmag[kScanArraySize], scanA_phase[kScanArraySize];
double readA_zmag[kScanArraySize], readA_phase[kScanArraySize];
double scanB_freq[kScanArraySize], s21_dB[kScanArraySize], scanB_phase[kScanArraySize],
    scanB_s11rl[kScanArraySize], scanB_s11phase[kScanArraySize], delay_B[kScanArraySize],
    scanB_swr[kScanArraySize];
double mux_ref_ratio[kScanArraySize], mux_ref_phase[kScanArraySize];
double mux_ref_freq[kScanArraySize];
int mux_ref_npoints = 0;

int last_point = 0;
double scan_stop = 0, last_step = 0;
int scan_recalled = 0;
double min_swr = 10000, min_swr_freq = 0;
double resonance_freqs[11] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
double scan_extra_value = 0, point_s21db = 0;
int scanhdr_smooth = 0, scanhdr_avg = 0;
double scanhdr_zref = 50, scanhdr_z0imag = 0, scanhdr_extra = 0;

int Numscanpts = 0, scan_npoints = 0, scanA_npoints = 0, scanB_npoints = 0, scanloop = 0,
    scan_running = 0, rescan_on = 0, live_data = 0;
ScanLimits scanA_limits, scanB_limits;
std::string scan_stamp, step_text;

int average_other = 0, fixed_avg = 0, maxsmooth = 0, smoothing_on = 0;

double rescan_center = 0, rescan_halfwidth = 0;
int dsp_filter = 0;
double x_dat[kScanArraySize], y_dat[kScanArraySize], x2_dat[kScanArraySize], y2_dat[kScanArraySize],
    Devs[kScanArraySize], dsp_fit_curve[kScanArraySize];
double dsp_poly_coef[20];
int dsp_fit_points = 0, dsp_poly_order = 0, dsp_plot_color = 0;

double delay_offset = 0, avg_delay = 0;
int gain_color = 0;

int pointdata_on = 0, point_smith = 0, point_smith_new = 0;
Window point_win{"point_win"};
int pointwin_run = 0;
int tone_on = 0, tone_restart = 0;
int tone_history[4];
double tone_last_value = 0;
int voice_countdown = 0, voice_last_value = 0;
int text_line_step = 20;

int alt_colors = 0, bandscan_mode = 0, bandscan_sens = 1;

int scan_from_file = 0;

}  // namespace vna
