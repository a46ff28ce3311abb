#include "shell/state.h"

namespace vna {

int cmd_param = 0;
int number_decimals = 2;

double pi = 0, twopi = 0, min_freq = 0, min_Zref = 0;

int keep_shared_files = 0;
int main_loop_on = 0, loop_restore = 0, lbutton_down = 0, resize_pending = 0;
std::string key_sequence;
int focus_win = 0, help_open = 0;

std::string command_line, msg_text, PortA_title, PortB_title;

double input_value = 0, input_imag = 0, input_scale = 1.0;

std::string prog_ver, prog_subver, prog_date, manual_name_single, manual_name_uhf, model;
int api_busy = 0;

int recycle_on = 0, recycle_count = 0, recycle_scans_done = 0;

int key_code = 0, key_down = 0, ctrl_key_down = 0, shift_key_down = 0;
int mouse_x = 0, mouse_y = 0, last_mouse_x = 0, last_mouse_y = 0;

int color_index = 0;

std::string last_comment_A, last_comment_B;

std::string regctl_key;
double tone_swr_max = 0, tone_phase_max = 0, tone_zmag_max = 0;
int tone_swr = 0, tone_phase = 0, tone_zmag = 0;
int tooltips_on = 0;

int DIAGMODE = 0, dsp_debug = 0, coord_debug = 0, trace_serial = 0, monitor_trace = 0;
std::string SUB;
int checkpoint = 0;
double MyVar1 = 0, MyVar2 = 0, MyVar3 = 0, MyVar4 = 0;

}  // namespace vna
