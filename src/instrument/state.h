// Run-state of the instrument link: what the command routines last sent, the
// DDS clocks and gain factors, supply limits and the sine-fit tables. Values
// the user keeps between runs are settings (files/settings.h).
#pragma once

#include <string>

#include "shell/complex.h"

namespace vna {

// ---- Sine-fit tables: a = 2 pi i / 16, i = 0..15 ----
extern double sin_tab1[16], cos_tab1[16];  // sin a, cos a
extern double sin_tab2[16], cos_tab2[16];  // sin 2a, cos 2a
extern double sin_tab3[16], cos_tab3[16];  // sin 3a, cos 3a

// ---- Link and model ----
extern int baudrate;           // serial baud rate
extern int model_uhf;          // 1 on the two-oscillator (two-multiplier) model
extern int two_osc;            // instrument with two oscillators
extern int OSC;                // active oscillator
extern int hw_reset_prompt;    // a read without data offers the hardware-reset box once set
extern int transmission_mode;  // 1 while Port B (transmission) is measured

// ---- DDS clocks and amplitude ----
extern double ddsclk1, ddsclk2;  // DDS clocks of oscillators 1 and 2, MHz
extern double DDS_Clk;           // DDS clock of the active oscillator, MHz
extern double dds_scale;         // tuning-word scale, 2^32
extern double last_dds_amp;      // amplitude last sent; -1 forces the next send
extern double amp_change_limit;  // percent change of the amplitude that asks for a new calibration

// ---- Gains and relays ----
extern int sig_select;                  // signal path of the gain command (2 = SIG-B)
extern int relayA, relayB;              // relay states
extern int relay_state;                 // last relay code
extern int adc_scale;                   // multiplier of each raw sample (follows the averaging)
extern double gain_factor_A;            // Port A gain factor
extern double PortA_HiGain;             // ratio of Port A gain 5 to gain 1
extern double GainAfreq5x, GainAfreq2;  // gain parameters of the two-multiplier model
extern double z_factor;                 // divisor of the raw gain ratio of the raw impedance

// ---- Supply and sync ----
extern double dc_volt_min, dc_volt_max;  // supply limits of the measuring routines, volts
extern double batt_offset;               // volts added to a supply reading
extern double min_dc_voltage;            // lowest supply read since the defaults were set
extern int sync_allowed;                 // the instrument version allows sync
extern int sync_count;                   // sync requests pending

// ---- External port and test panel ----
extern int mux_select;                       // channel that the external-port (MUX) command sends
extern int extport_b1;                       // first data byte of the external-port command
extern int extport_analog;                   // the external port reads its analog input
extern double extport_volts, extport_value;  // last external-port reading
extern std::string extport_text;             // text of that reading
extern double test_freq;                     // frequency of the test panel and point mode, MHz
extern double const_freq_prev;  // frequency before the Constant Test Frequency panel opened
extern double sweep_marker[4];  // marker frequencies of the generator sweep, MHz

// ---- Last measured point ----
extern double swr;   // SWR of the last Port A point; -1 makes the next reading start afresh
extern Complex s11;  // reflection coefficient of the last Port A point

}  // namespace vna
