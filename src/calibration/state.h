// Run-state of calibration: the range of the loaded calibration and the
// standard range, the S21 compensation choices and the calibration prompts.
// The four custom calibration bands are settings (files/settings.h).
#pragma once

#include <string>

#include "shell/complex.h"

namespace vna {

// ---- Ranges, MHz ----
extern double cal_start_freq, cal_end_freq, cal_delta_freq;  // the loaded (or next) calibration
extern double STDcalStart, STDcalEnd, STDcalDelta;           // the standard, full range

// ---- Progress ----
extern int CalinProgress;  // 1 while a calibration runs
extern int cal_band;       // range of the next Port A calibration: 0 standard, 1..4 custom band
extern int calB_only;      // the Port B calibration runs on its own, over the scan limits
extern int calB_error;     // outcome of the last Port B calibration, 0 = success

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

// ---- Corrections and prompts ----
extern int ref_to_antenna;        // reference moved to the antenna end of the feed line
extern double ext_phase_per_MHz;  // phase of the line extension per MHz
extern double DeltaPhaseMax;      // largest phase step between Port A calibration points, degrees
extern double freqcal_ref;        // reference frequency of the frequency calibration, MHz
extern int cal_prompt_color;      // background of the calibration prompt before a step colours it
extern std::string gain_text;     // field 1 of the " Enter Gain " dialog

// ---- What is loaded ----
extern int PortA_cal, PortB_cal;  // a Port A / Port B calibration is in memory
extern int no_cal_comp;           // 1 turns the Port B calibration compensation off
extern double Rbridge;            // bridge resistance, ohms (50)

}  // namespace vna
