#include "shell/state.h"

namespace vna {

int number_decimals = 2;

double pi = 0, twopi = 0, min_freq = 0, min_Zref = 0;

int main_loop_on = 0, loop_restore = 0, lbutton_down = 0, resize_pending = 0;
std::string key_sequence;

std::string msg_text, PortA_title, PortB_title;

int recycle_on = 0, recycle_count = 0;

std::string regctl_key;
double tone_swr_max = 0, tone_phase_max = 0, tone_zmag_max = 0;
int tooltips_on = 0;

int checkpoint = 0;
double MyVar1 = 0, MyVar2 = 0, MyVar3 = 0, MyVar4 = 0;

}  // namespace vna
