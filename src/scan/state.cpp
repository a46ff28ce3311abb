#include "scan/state.h"

namespace vna {

int Numscanpts = 0, scan_npoints = 0, scanloop = 0, scan_running = 0, rescan_on = 0, live_data = 0;
std::string scan_stamp, step_text;

int average_other = 0, fixed_avg = 0, maxsmooth = 0, smoothing_on = 0;

double rescan_center = 0, rescan_halfwidth = 0;
int dsp_filter = 0;

double delay_offset = 0, avg_delay = 0;
int gain_color = 0;

int pointdata_on = 0, point_smith = 0, point_smith_new = 0;
Window point_win{"point_win"};
int pointwin_run = 0;
int tone_on = 0, tone_restart = 0;

int alt_colors = 0, bandscan_mode = 0, bandscan_sens = 1;

int scan_from_file = 0;

}  // namespace vna
