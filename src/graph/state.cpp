#include "graph/state.h"

namespace vna {

int marker_count = 0, marker_next = 0, markers_drawn = 0;
double marker_rotation = 0;

double swr_axis_max = 0, swr_axis_min = 0, insloss_scale = 0;
int plot_insloss = 0, plot_rt_alt = 0, cursor_x = 0, shown_average = 0, style_choice = 0;

int smith_active = 0, smith_drawn = 0;
int smith_x = 0, smith_y = 0, smith2_x = 0, smith2_y = 0, polar_x = 0, polar_y = 0;
int smith_zoom = 0, smith2_zoom = 0, polar_scale = 0, smith_cx = 0, smith_cy = 0;

int screen_width = 0, screen_height = 0;

int bg_color = 0, font_weight = 0, line0_y = 0, line1_y = 0;
int WinLeft = 0, status_y = 0, last_WinWidth = 0, last_WinHeight = 0;
float win_xscale = 1;

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
int polar_active = 0;
double tdr_trace_table[kTdrTraceEntries][2];

std::string tdr_title, tdr_graph_title;

}  // namespace vna
