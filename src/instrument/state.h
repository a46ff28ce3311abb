// Run-state of the instrument link: the serial port and the state of the last
// exchange, the model and its clocks, what the command routines last sent, the
// frequency plan and oscillator bands, the housekeeping readings and the
// sine-fit tables. Values the user keeps between runs are settings
// (files/settings.h).
#pragma once

#include <string>

#include "shell/complex.h"

namespace vna {

// ---- Sine-fit tables: a = 2 pi i / 16, i = 0..15 ----
extern double sin_tab1[16], cos_tab1[16];  // sin a, cos a
extern double sin_tab2[16], cos_tab2[16];  // sin 2a, cos 2a
extern double sin_tab3[16], cos_tab3[16];  // sin 3a, cos 3a

// ---- Serial link ----
extern int hcom;         // open port handle; -1 after a failed open
extern int baudrate;     // 57600, or 115000 after the high-speed attempt
extern int vna_present;  // 1 = an instrument is taken to be attached; 0 = demonstration mode
extern int vna_status;   // status of the last instrument operation, 0 = success
extern int
    port_status;  // 1 after an open, 0 after a failed open or an empty read, -1 before an exchange
extern int raw_valid;       // 1 while the ADC words of the last reply may be analysed
extern int comm_ok;         // last version query: 1 valid reply, -1 reply without "vna", 0 none
extern int comm_port_busy;  // 1 when the last open failed because another program holds the port
constexpr int kRxBufSize = 72;
extern unsigned char rx_byte[2];       // one-byte receive buffer of every read loop, and a zero
extern int rx_buf[kRxBufSize];         // received byte values, index 0 first
extern int bytes_read, bytes_written;  // counts of the last single read and the last write
extern std::string prev_trace;         // the last echo line of SendData

// ---- Model, clocks and identification ----
extern int model_uhf;                      // 1 on the two-multiplier model
extern int model7306;                      // 1 on the single-DDS model 7306
extern int two_osc;                        // above 0 when the instrument has a second oscillator
extern int OSC;                            // oscillator in use, 1 or 2
extern int has_temp;                       // the instrument has a temperature sensor
extern int sync_allowed;                   // set by a detecting version query with a valid reply
extern double ddsclk1, ddsclk2;            // DDS clocks of oscillators 1 and 2, MHz
extern double DDS_Clk;                     // DDS clock of the oscillator in use, MHz
extern double dds_clk4;                    // DDS_Clk / 4
extern double freq_offset1, freq_offset2;  // frequency offsets of the oscillators, MHz
extern double FreqOffset;                  // offset of the oscillator in use, MHz
extern std::string version_reply;  // lower-cased reply from its first "vna" on, "@" included
// The version_reply of the instrument the program was last identified with
// (model, clocks, offsets); a later query that leaves another reply in
// msg_text reached another instrument. "" in demonstration mode.
extern std::string identified_reply;
extern std::string trace_label;    // raw reply of the version query; scratch text
extern double MaxFreqUHF;          // maximum frequency of the two-multiplier model, MHz
extern int transmission_mode;      // 1 while Port B (transmission) is measured
extern double dds_scale;           // tuning-word scale, 2^32

// ---- What the command routines last sent ----
extern int relayA, relayB;   // remembered relay states
extern int relay_state;      // last code passed to ProgRelay
extern double last_dds_amp;  // amplitude last sent, percent; -1 forces the next send
extern int adc_scale;        // multiplier of each reply word (follows the averaging)
extern double gain_factor_A, gain_factor_B;  // factors of the present Port A and Port B gain steps
extern double PortA_HiGain;                  // ratio of Port A gain 5 to gain 1
extern int
    average_saved;  // averaging to go back to after a calibration (Port B's, or a scan file's)
extern double GainAfreq5x, GainAfreq2;  // gain parameters of the two-multiplier model
extern double z_factor;                 // divisor of the raw gain ratio of the raw impedance
extern double amp_change_limit;  // percent change of the amplitude that asks for a new calibration
extern int sync_count;           // sync requests of the exports pending
extern int sig_select;           // signal path bits of the gain command on the single-DDS model
extern int freq_changed;         // set when a command may have moved the signal
extern int hw_reset_prompt;      // a read without data offers the " Hardware Reset" box
extern int hw_reset_said;        // the last reading's missing reply was put to the user in
                                 // the " Hardware Reset" box (cleared as a reading starts)
extern int vna_test_open;        // 1 while the VNA Test panel is open

// ---- External port (Port B multiplexer and analog input) ----
extern int mux_select;            // multiplexer channel the command sends
extern int extport_b1;            // first data value of the command
extern int extport_analog;        // 1 = read the analog input
extern int extport_b2;            // channel byte of the last command
extern int extport_value;         // raw value of the last reply, high x 256 + low
extern double extport_volts;      // that value in volts when the analog input was read
extern std::string extport_text;  // the last reading as text
extern double test_freq;          // frequency of the test panel and point mode, MHz
extern double const_freq_prev;    // frequency before the Constant Test Frequency panel opened
extern double sweep_marker[4];    // marker frequencies of the generator sweep, MHz

// ---- Frequency plan of the two-multiplier model ----
constexpr int kPlanSize = 50;
constexpr int kFreqTableSize = 2000;  // one entry per whole MHz
// Segment i starts at freqplan_bp[i] MHz and uses the multiplier code
// freqplan_code[i] = 32 x first multiplier + second; a code below 1 ends the plan.
extern int freqplan_bp[kPlanSize], freqplan_code[kPlanSize];  // working plan
extern int freqplan_default_bp[kPlanSize], freqplan_default_code[kPlanSize];
extern int freq_mult_table[kFreqTableSize];  // multiplier code per whole MHz
extern int clk_intervals;                    // kept in the calibration file's model block
extern double diag_freq_offset;              // margin in MHz of the diagnostic readouts

// ---- Oscillator bands (entries 1..osc_band_count measured with oscillator 2) ----
constexpr int kOscBandSize = 100;
extern int osc_band_count;
extern double osc_band_lo[kOscBandSize], osc_band_hi[kOscBandSize];
extern int osc_manual;  // 1 while the oscillator is chosen by hand

// ---- Temperature and supply ----
extern double temperature_F;             // degrees Fahrenheit; 76.543 when no reading is possible
extern double dc_voltage;                // volts; 12.345 when no valid reading exists
extern double min_dc_voltage;            // lowest dc_voltage since start
extern double batt_offset;               // volts added to every supply reading
extern double dc_volt_min, dc_volt_max;  // configured supply limits, volts

// ---- The measured point (computed by the point reads) ----
extern double MagLoad, MagRef;     // fitted magnitudes of the load and reference channels
extern double point_Rs, point_Xs;  // corrected series resistance and reactance, ohms
extern double swr;     // SWR of the last Port A point; -1 makes the next reading start afresh
extern Complex s11;    // reflection coefficient of the last Port A point
extern double raw_Z0;  // reference of the raw impedance, ohms (50)

// ==== Measured point: frequency programming, reply, sine fit, impedance ====
// Written by Send_Freq and the routines it calls, read by the scans, the
// calibrations, the tools and the exports. vna_status, raw_valid,
// freq_changed, MagLoad, MagRef, point_Rs, point_Xs, swr, s11 and raw_Z0 are
// above.

// ---- Frequency programming (two-multiplier model) ----
extern int settle_ms;     // settling value of the current point
extern int mult_code;     // multiplier code last programmed, 32 x mult1 + mult2
extern int new_mults;     // the next "E" command tells the instrument the multipliers changed
extern int mult_changed;  // a multiplier change happened: the point reads read again
extern int dds_mult1, dds_mult2;  // multiplier pair in use

// ---- Measurement reply ----
// Scaled ADC words of the last reply: 0..15 load, 16..31 reference, 32 extra.
extern int ADCdata[100];

// ---- Sine fit ----
extern int fit_samples[16];        // input of SineFit: one channel
extern double fit_mag, fit_phase;  // amplitude (ADC units) and phase (radians) of the fundamental
extern double fit_dc;              // mean of the samples
extern double fit_mag2, fit_mag3;  // second and third harmonic (diagnostic mode only)
extern int fit_min, fit_max;       // smallest and largest sample
extern double load_mag_raw, ref_mag_raw;  // fitted magnitudes before the gain factor
extern double load_phase, ref_phase;      // fitted phases, radians
extern double load_mag2, load_mag3, ref_mag2, ref_mag3;
extern double load_dc, ref_dc;
extern int load_adc_min, load_adc_max;
extern double Delta_Phase;  // load minus reference phase, radians, in (-pi, pi]

// ---- Impedance and reflection ----
extern double Rsm, Xsm;            // raw series resistance and reactance, ohms
extern double Rp_raw, Xp_raw;      // raw parallel resistance and reactance, ohms
extern double Zmag, Zphase;        // |Z| (ohms) and phase (radians) of the point
extern double Rp, Xp;              // parallel equivalents of the point, ohms
extern double freq_plot;           // frequency at which the point is drawn, MHz
extern double rho;                 // |reflection coefficient|
extern double rho_mag, rho_phase;  // magnitude and phase (radians) of s11
extern double return_loss;         // dB, 0 or negative

// ---- Point reads ----
extern double ref_load_ratio;  // MagRef x raw_Z0 / (MagLoad + 1) of the last point read

}  // namespace vna
