#include "calibration/state.h"

namespace vna {

CalPointA CalDataA[kCalTableSize];
CalPointB CalDataB[kCalTableSize];
int cal_points = 0, MaxCalANdx = -1, MaxCalBNdx = -1;
double Rstd = 0;
int cal_valid = 0, std_cal = 0, indep_chan = 0;
int cal_unsaved = 0;
double RngGain[6] = {0, 1, 4.9, 24, 117.4, 487.7};

std::string cal_save_name;
double cal_temperature = 0;
std::string cal_field[8];

double Cs = 0, Cp = 0, Zmag_A = 0, phase_A = 0;
std::string cable_length_text, cable_loss_text;

double cal_start_freq = 0, cal_end_freq = 0, cal_delta_freq = 0;
double STDcalStart = 0, STDcalEnd = 0, STDcalDelta = 0;

int CalinProgress = 0, cal_band = 0, calB_only = 0, calB_error = 0, cal_test_count = 0;

int sv_average = 0, sv_smoothing = 0;
double sv_start = 0, sv_end = 0, sv_delta = 0;
int svplotatzero = 0, sv_plot_swrA = 0, sv_plot_rt = 0;

std::string cal_prompt, cal_caption;

std::string cal_comment, cal_date, cal_prog_version;
int cal_PortA_Sens = 0, cal_ndx_A = 0;

int std_comp = 0, comp_s11_half = 0, comp_s11_measure = 0, comp_s11_specify = 0;
int comp_s22_half = 0, comp_s22_is_s11 = 0, comp_s22_specify = 0;
Complex S22, s22_preset;

int ref_to_antenna = 0;
double ext_phase_per_MHz = 0, DeltaPhaseMax = 0, freqcal_ref = 0;
int cal_prompt_color = 0;
std::string gain_text;

int PortA_cal = 0, PortB_cal = 0, no_cal_comp = 0;
double Rbridge = 0;

}  // namespace vna
