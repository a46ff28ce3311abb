#include "tools/state.h"

#include <algorithm>

namespace vna {

VectorTrace vscope_elements[6];
int chan_enabled[7] = {};
int mux_chan = 0;
Window win_vector_scope{"win_vector_scope"};
int vscope_open = 0, vscope_recycle = 0;
int vscope_settle_ms = 100, vscope_reading_all = 0, vscope_scanning = 0;
int vscope_width = 1000, vscope_height = 600;
int vscope_cx = 228, vscope_cy = 232, vscope_radius = 213;
double vscope_full_scale = 1;
int vscope_circles = 5, vscope_linear = 1;
double vscope_db_spacing = -3;
int vscope_nelements = 5;
int mux_busy = 0;
int multichan_scan = 0;
int chan_colors[7][3] = {};
int chan_scan_stop = 0;
Window win_array_scan{"win_array_scan"}, swrratio_win{"swrratio_win"};
int arrayscan_open = 0, arrayscan_shown = 0;

int arrayscan_width = 0, arrayscan_height = 0;
int array_left = 0, array_top = 0, array_right = 0, array_bottom = 0;
int arr_plot_swr = 0, arr_plot_mag = 0, arr_plot_phase = 0, arr_styles = 0;
double array_phase_scale = 0;

int Numpts = 0;
double Tdr_delf = 0, DXscale = 0, tdr_zmax = 0, tdr_range_factor = 0, tdr_zo = 0,
       tdr_dist_factor = 0;
int tdr_high_res = 0, tdr_smoothing = 0, tdr_linear_z = 0, tdr_show_rho = 0, tdr_lines = 0,
    tdr_show_params = 0;
double LengthOffset = 0;
int tdr_overlay = 0;
double DXfactor = 0, FeetPerNdx = 0, tdr_zscale = 0, tdr_rho_scale = 0;
int tdr_zo_y = 0;
double tdr_spec_re[2100] = {}, tdr_spec_im[2100] = {};
double tdr_response[2100] = {};
int tdr_trace_points = 0;
double tdr_feet_per_index = 0;
double search_max_phase = 0, stub_freq = 0, stub_length = 0;
int tdr_saved_average = 0, tdr_saved_smoothing = 0;

double swr_ratio_center = 0, xtal_freq = 0;
double marker_swr_ratio[21] = {};
int xtal_q_range = 0;

double xtal_Fs = 0, xtal_Fp = 0, xtal_Rs = 0, xtal_Ls = 0, xtal_Cs = 0, xtal_Cp = 0, xtal_Q = 0;
int xtal_cp_warned = 0;

int band_start_index = 0;

void InitTDRDefaults() {
  Numpts = 256;
  Tdr_delf = 1;
  DXscale = 100;
  tdr_zmax = 200;
  tdr_range_factor = 1;
  tdr_zo = 50;
  tdr_dist_factor = 1;
  tdr_high_res = 0;
  tdr_smoothing = 0;
  tdr_linear_z = 1;
  tdr_show_rho = 0;
  tdr_lines = 1;
  tdr_show_params = 1;
  LengthOffset = std::max(10.0, DXscale * 0.1);
}

}  // namespace vna
