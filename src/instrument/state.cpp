#include "instrument/state.h"

#include "platform/serial.h"

namespace vna {

double sin_tab1[16], cos_tab1[16], sin_tab2[16], cos_tab2[16], sin_tab3[16], cos_tab3[16];

// Serial link
int hcom = kInvalidPort;
int baudrate = 57600;
int vna_present = 0;
int vna_status = 0;
int port_status = 0;
int raw_valid = 0;
int comm_ok = 0;
int comm_port_busy = 0;
unsigned char rx_byte[2] = {};
int rx_buf[kRxBufSize] = {};
int bytes_read = 0, bytes_written = 0;
std::string prev_trace;

// Model, clocks and identification
int model_uhf = 0, model7306 = 0, two_osc = 0, OSC = 1, has_temp = 0, sync_allowed = 0;
double ddsclk1 = 0, ddsclk2 = 0, DDS_Clk = 0, dds_clk4 = 0;
double freq_offset1 = 0, freq_offset2 = 0, FreqOffset = 0;
std::string version_reply, trace_label;
std::string identified_reply;
double MaxFreqUHF = 1200;
int transmission_mode = 0;
double dds_scale = 0;

// What the command routines last sent
int relayA = 0, relayB = 0, relay_state = 0;
double last_dds_amp = -1;  // so that the first amplitude request always goes out
int adc_scale = 16;
double gain_factor_A = 1, gain_factor_B = 1;
double PortA_HiGain = 0, GainAfreq5x = 0, GainAfreq2 = 0, z_factor = 0, amp_change_limit = 0;
int average_saved = 0;
int sync_count = 0;
int sig_select = 0, freq_changed = 0, hw_reset_prompt = 0, hw_reset_said = 0, vna_test_open = 0;

// External port
int mux_select = 0, extport_b1 = 0, extport_analog = 0, extport_b2 = 0, extport_value = 0;
double extport_volts = 0;
std::string extport_text;
double test_freq = 0, const_freq_prev = 0;
double sweep_marker[4] = {};

// Frequency plan and oscillator bands
int freqplan_bp[kPlanSize] = {}, freqplan_code[kPlanSize] = {};
int freqplan_default_bp[kPlanSize] = {}, freqplan_default_code[kPlanSize] = {};
int freq_mult_table[kFreqTableSize] = {};
int clk_intervals = 0;
double diag_freq_offset = 0;
int osc_band_count = 0;
double osc_band_lo[kOscBandSize] = {}, osc_band_hi[kOscBandSize] = {};
int osc_manual = 0;

// Temperature and supply: the "no reading" values until something is read
double temperature_F = 76.543;
double dc_voltage = 12.345;
double min_dc_voltage = 1000;
double batt_offset = 0.45;
double dc_volt_min = 9.8, dc_volt_max = 16;

// The measured point
double MagLoad = 0, MagRef = 0, point_Rs = 0, point_Xs = 0;
double swr = 0;
Complex s11;

double raw_Z0 = 0;

// ==== Measured point ====
int settle_ms = 0, mult_code = 0, new_mults = 0, mult_changed = 0, dds_mult1 = 0, dds_mult2 = 0;

int ADCdata[100] = {};

int fit_samples[16] = {};
double fit_mag = 0, fit_phase = 0, fit_dc = 0, fit_mag2 = 0, fit_mag3 = 0;
int fit_min = 0, fit_max = 0;
double load_mag_raw = 0, ref_mag_raw = 0, load_phase = 0, ref_phase = 0;
double load_mag2 = 0, load_mag3 = 0, ref_mag2 = 0, ref_mag3 = 0, load_dc = 0, ref_dc = 0;
int load_adc_min = 0, load_adc_max = 0;
double Delta_Phase = 0;

double Rsm = 0, Xsm = 0, Rp_raw = 0, Xp_raw = 0;
double Zmag = 0, Zphase = 0, Rp = 0, Xp = 0, freq_plot = 0;
double rho = 0, rho_mag = 0, rho_phase = 0, return_loss = 0;

double ref_load_ratio = 0;

}  // namespace vna
