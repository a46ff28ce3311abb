#include "graph/state.h"

namespace vna {

int tdr_mode = 0;
int marker_count = 0, marker_next = 0, markers_drawn = 0;
double marker_rotation = 0;
int marker_measure = 0;

double cursor_freq = 0;
int cursor_index = 0;
double cursor_swr = 0, cursor_zmag = 0, cursor_phase = 0, cursor_rs = 0, cursor_xs = 0;
double cursor_rl = 0, cursor_distance = 0, cursor_zline = 0;

double swr_axis_max = 0, swr_axis_min = 0, insloss_scale = 0;
int plot_insloss = 0, plot_rt_alt = 0, cursor_x = 0, shown_average = 0, style_choice = 0;

int smith_active = 0, smith_drawn = 0;
int smith_x = 0, smith_y = 0, smith2_x = 0, smith2_y = 0, polar_x = 0, polar_y = 0;
int smith_zoom = 0, smith2_zoom = 0, polar_scale = 0, smith_cx = 0, smith_cy = 0;

int screen_width = 0, screen_height = 0;

int bg_color = 0, font_weight = 0, line0_y = 0, line1_y = 0, line2_y = 0, line3_y = 0;
int WinLeft = 0, WinTop = 0, status_y = 0, last_WinWidth = 0, last_WinHeight = 0;
float win_xscale = 1, win_yscale = 1;
int PointWinWidth = 0, PointWinHeight = 0, text_height = 0, title_y = 0;
int info_x = 0, info_button_w = 0, info_button_h = 0, info_button_y = 0;
int graph_left = 0, graph_right = 0, graph_top = 0, graph_bottom = 0;

double graph_start = 0, graph_end = 0, freq_per_div = 0, px_per_MHz = 0;
int freq_divs = 0, graph_mid_x = 0, graph_zero_y = 0, graph_clip_top = 0, graph_clip_bottom = 0;
double grid_units_per_div = 0, swr_per_div = 0;
double swr_yscale = 0, zmag_yscale = 0, phase_yscale = 0, q_yscale = 0, rtloss_yscale = 0;
double delay_yscale = 0, s21phase_yscale = 0, s21mag_yscale = 0, pwr_yscale = 0, s11_yscale = 0;

int title_min_x = 0, files_panel_y = 0;
std::string graph_stamp;

int ruler_drawn = 0, cursor_line_x = 0;

int x_px = 0, last_x_px = 0, marker_px = 0, progress_color = 0, trace_segments = 0;
int zmag_y_step = 0;

Window smith_win{"smith_win"}, smith2_win{"smith2_win"}, polar_win{"polar_win"};
Window marker_win{"marker_win"}, legend_win{"legend_win"}, cursor_win{"cursor_win"};
int smith_open = 0, smith_closed = 0, smith2_open = 0, smith2_closed = 0, smith2_active = 0;
int polar_open = 0, polar_closed = 0, markerwin_open = 0, legend_open = 0, cursordata_open = 0;
int cursor1_x = 0, cursor2_x = 0;
double smith_rotation = 0;
int polar_swr = 0, polar_z = 0, polar_s11 = 0;

int marker_points[21];
int smith_px[kChartPoints], smith_py[kChartPoints];
int smith2_px[kChartPoints], smith2_py[kChartPoints];
int polar_px[kChartPoints], polar_py[kChartPoints];
int smith_dot_x = 0, smith_dot_y = 0, smith2_dot_x = 0, smith2_dot_y = 0;
int polar_dot_x = 0, polar_dot_y = 0;
int smith_readout_y = 0;
int polar_active = 0;
double tdr_trace_table[kTdrTraceEntries][2];

std::string tdr_title, tdr_graph_title;

}  // namespace vna
