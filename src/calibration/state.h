// Run-state of calibration: the calibration tables and what was loaded with
// them, the range of the loaded calibration and the standard range, the
// values of the last corrected point, the S21 compensation choices and the
// calibration prompts. The four custom calibration bands, the line extension
// and the feed line are settings (files/settings.h).
#pragma once

#include <cstdint>
#include <string>

#include "shell/complex.h"

namespace vna {

// ---- Calibration tables ----
// One Port A calibration frequency: the raw readings (the domain of Rsm, Xsm)
// of the three standards and the instrument state they were taken in.
struct CalPointA {
  double freq = 0;                // MHz
  double shortR = 0, shortX = 0;  // short circuit
  double openR = 0, openX = 0;    // open circuit
  double stdR = 0, stdX = 0;      // standard resistor of Rstd ohms
  int32_t multstate = 0;          // 1000 x OSC + 32 x dds_mult1 + dds_mult2
  double gainA = 0;               // gain_factor_A
  int32_t osc = 0;                // OSC
};
// One Port B calibration frequency (the through connection), on the
// frequency of the CalDataA record with the same index.
struct CalPointB {
  double freq = 0;                       // MHz
  double ratio_low = 0, ratio_high = 0;  // |B/A| at PortB_Sens 1 and 2
  double phase_low = 0, phase_high = 0;  // phase of B against A, radians, continuous
  int32_t multstate = 0;
  double gainA = 0, gainB = 0;  // gain_factor_A, gain_factor_B
  int32_t osc = 0;
};
constexpr int kCalTableSize = 30002;
constexpr int kMaxCalPoints = 30000;  // the most points a calibration file may hold
extern CalPointA CalDataA[kCalTableSize];
extern CalPointB CalDataB[kCalTableSize];
extern int cal_points;              // valid records 0 .. cal_points - 1 in both tables
extern int MaxCalANdx, MaxCalBNdx;  // highest valid index of each table
extern double Rstd;                 // standard resistor, ohms: the scale of the Port A correction
extern int cal_valid;               // usable Port A calibration data in memory
extern int cal_unsaved;  // 1: the calibration in memory was finished but no file holds it
extern int std_cal;      // 1 standard (full range) calibration, 0 band calibration
extern int indep_chan;   // multiplexer channel calibrated apart from channel 1
// Gain of each Port B gain step 1..5 against step 1 (index 0 unused): the
// nominal steps until a Port B calibration measures steps 2 and 3.
extern double RngGain[6];

// ---- Calibration file ----
extern double cal_temperature;     // instrument temperature at the calibration, degrees F
extern std::string cal_save_name;  // path chosen in the last save dialog of the writer
extern std::string cal_field[8];   // fields of the row last cut by SplitCalLine

// ---- Ranges, MHz ----
extern double cal_start_freq, cal_end_freq, cal_delta_freq;  // the loaded (or next) calibration
extern double STDcalStart, STDcalEnd, STDcalDelta;           // the standard, full range

// ---- Progress ----
extern int CalinProgress;   // 1 while a calibration runs
extern int cal_band;        // range of the next Port A calibration: 0 standard, 1..4 custom band
extern int calB_only;       // the Port B calibration runs on its own, over the scan limits
extern int calB_error;      // outcome of the last Port B calibration, 0 = success
extern int cal_test_count;  // points tested by the last calibration data test

// ---- Scan settings a calibration borrows, put back when it ends ----
extern int sv_average, sv_smoothing;
extern double sv_start, sv_end, sv_delta;  // also kept by the scan limits dialog
extern int svplotatzero, sv_plot_swrA, sv_plot_rt;

// ---- The prompt of a Port A calibration step ----
extern std::string cal_prompt;   // the instruction shown
extern std::string cal_caption;  // the prompt dialog's title

// ---- The loaded calibration ----
extern std::string cal_comment;       // its comment
extern std::string cal_date;          // date and time it was made
extern std::string cal_prog_version;  // the program version that made it
extern int cal_PortA_Sens;            // Port A sensitivity it was made with
extern int cal_ndx_A;                 // point index of the Port A calibration tables

// ---- S21 compensation menu (ids 23350..23356) ----
extern int std_comp;                                           // "Standard Compensation"
extern int comp_s11_half, comp_s11_measure, comp_s11_specify;  // S11 choices
extern int comp_s22_half, comp_s22_is_s11, comp_s22_specify;   // S22 choices
extern Complex S22;                                            // assumed Port B reflection
extern Complex s22_preset;                                     // what "Use S22=0.5" copies into S22

// ---- The last corrected Port A point (besides point_Rs, point_Xs, Zmag,
// Zphase, Rp and Xp of instrument/state.h) ----
extern double Cs, Cp;           // series and parallel capacitance, pF
extern double Zmag_A, phase_A;  // copies of Zmag and Zphase for the tools

// ---- Feed line of the reference to the antenna, as typed ----
extern std::string cable_length_text, cable_loss_text;

// ---- Corrections and prompts ----
extern int ref_to_antenna;        // reference moved to the antenna end of the feed line
extern double ext_phase_per_MHz;  // electrical angle of the line extension per MHz, radians
extern double DeltaPhaseMax;      // largest phase step between Port A calibration points, degrees
extern double freqcal_ref;        // reference frequency of the frequency calibration, MHz
extern int cal_prompt_color;      // background of the calibration prompt before a step colours it
extern std::string gain_text;     // field 1 of the " Enter Gain " dialog

// ---- What is loaded ----
extern int PortA_cal, PortB_cal;  // a Port A / Port B calibration is in memory
extern int no_cal_comp;           // 1 turns the Port B calibration compensation off
extern double Rbridge;            // bridge resistance, ohms (50)

}  // namespace vna
