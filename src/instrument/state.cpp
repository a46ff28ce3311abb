#include "instrument/state.h"

namespace vna {

double sin_tab1[16], cos_tab1[16], sin_tab2[16], cos_tab2[16], sin_tab3[16], cos_tab3[16];

int baudrate = 0, model_uhf = 0, two_osc = 0, OSC = 0, hw_reset_prompt = 0, transmission_mode = 0;

double ddsclk1 = 0, ddsclk2 = 0, DDS_Clk = 0, dds_scale = 0, last_dds_amp = 0, amp_change_limit = 0;

int sig_select = 0, relayA = 0, relayB = 0, relay_state = 0, adc_scale = 0;
double gain_factor_A = 0, PortA_HiGain = 0, GainAfreq5x = 0, GainAfreq2 = 0, z_factor = 0;

double dc_volt_min = 0, dc_volt_max = 0, batt_offset = 0, min_dc_voltage = 0;
int sync_allowed = 0, sync_count = 0;

int mux_select = 0, extport_b1 = 0, extport_analog = 0;
double extport_volts = 0, extport_value = 0;
std::string extport_text;
double test_freq = 0, const_freq_prev = 0;
double sweep_marker[4] = {};
double swr = 0;
Complex s11;

}  // namespace vna
