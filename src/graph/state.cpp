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

}  // namespace vna
