// Run-state of the scans: the scan arrays, the point list, the scan flags,
// smoothing in use and the step text of the limits dialogs.
#pragma once

#include <string>

#include "calibration/state.h"
#include "platform/ui.h"

namespace vna {

// ---- Scan arrays: element k of every array of a port describes point k ----
// A scan uses elements 0 .. Numscanpts - 1; a list never holds more than
// 30010 points, so every index a scan or a scan file writes fits.
constexpr int kScanArraySize = 30012;
// Port A. scanA_freq holds the list frequency until the point is measured,
// then the frequency it is drawn at (the smoothing window's centre).
extern double scanA_freq[kScanArraySize];   // MHz
extern double scanA_swr[kScanArraySize];    // SWR (a band scan: its level, 0..50)
extern double scanA_Rs[kScanArraySize];     // series resistance, ohms
extern double scanA_Xs[kScanArraySize];     // series reactance, ohms
extern double scanA_zmag[kScanArraySize];   // |Z|, ohms
extern double scanA_phase[kScanArraySize];  // phase of Z, radians
// |Z| and phase exactly as the point read delivered them: what a replay and
// the scan file start from.
extern double readA_zmag[kScanArraySize], readA_phase[kScanArraySize];
// Port B.
extern double scanB_freq[kScanArraySize];      // MHz
extern double s21_dB[kScanArraySize];          // S21 magnitude, dB
extern double scanB_phase[kScanArraySize];     // S21 phase, radians
extern double scanB_s11rl[kScanArraySize];     // return loss of the Port A point read beside it, dB
extern double scanB_s11phase[kScanArraySize];  // its reflection angle, radians
extern double delay_B[kScanArraySize];         // group delay, ns
// SWR of the Port A point read beside each Port B point (a loaded file: of
// its return loss): the Port B scan's own, which a Port A scan never writes
// over (nor the Port B scan over the Port A one's).
extern double scanB_swr[kScanArraySize];
// Linear S21 and its phase (radians) that multiplexer channel 1 measured at
// each point, and the point's frequency (MHz): the reference of the other
// channels of an array scan. Only entries 0 .. mux_ref_npoints - 1 were
// measured by channel 1's last scan; the rest are of no reading of it.
extern double mux_ref_ratio[kScanArraySize], mux_ref_phase[kScanArraySize];
extern double mux_ref_freq[kScanArraySize];
extern int mux_ref_npoints;

// ---- The last scan ----
// Index of the last point the last scan measured (the resonance search
// ends there): a halted scan's repeated rest is stored but not measured.
extern int last_point;
extern double scan_stop;            // stop frequency of the running scan, MHz
extern double last_step;            // step of the last completed scan, MHz
extern int scan_recalled;           // the graph shows recalled or filtered data
extern double min_swr;              // smallest SWR of the last Port A scan (10000: none searched)
extern double min_swr_freq;         // frequency of its first point, MHz
extern double resonance_freqs[11];  // phase zero crossings, MHz, in scan order; -1 = empty
extern double scan_extra_value;     // value kept with each scan; the relay command clears it
extern double point_s21db;          // S21 magnitude of the Port B point being stored, dB
// Settings in force at the end of the last scan, for the scan file's header
// (zref, z0imag and extra only from a Port A scan).
extern int scanhdr_smooth, scanhdr_avg;
extern double scanhdr_zref, scanhdr_z0imag, scanhdr_extra;

// Scan limits before their last change (sv_start, sv_end, sv_delta,
// svplotatzero): the calibration's state, which the limits dialog also saves
// and CheckScanLimits compares.

// ---- Point list and progress ----
extern int Numscanpts;    // points of the current frequency list
// Points the last scan of either port stored in its arrays, a halted scan's
// repeated rest included; 0 after a live scan that stored none (refused
// scans leave it alone).
extern int scan_npoints;
// Points of each port's stored scan: the points a scan measured (a halted
// scan's rest repeats a reading and does not count) or a file held. A
// replay, the files and the tools keep to these; a scan of the other port
// leaves them alone.
extern int scanA_npoints;
extern int scanB_npoints;
// Limits of the list each port's stored scan was measured over, or its file
// held (MHz): what its scan file names, whatever a later scan that measured
// nothing, or a scan of the other port, left in start_freq, end_freq and
// delta_freq.
struct ScanLimits {
  double start = 0, end = 0, step = 0;
};
extern ScanLimits scanA_limits, scanB_limits;
extern int scanloop;            // index of the point being measured
extern int scan_running;        // 1 while a scan or calibration measures
extern int rescan_on;           // the running scan is a rescan
extern int live_data;           // 1 = measure the instrument, 0 = replay the stored arrays
extern std::string scan_stamp;  // date and time stamp of the shown scan
extern std::string step_text;   // text of the step field of the scan and calibration limits

// ---- Averaging and smoothing ----
extern int average_other;  // averaging kept for the other port
extern int fixed_avg;      // "Fixed Avg"
extern int maxsmooth;      // largest smoothing width, points
extern int smoothing_on;   // smoothing switched on (smoothing > 0 after a file read)

// ---- Rescan and noise filter ----
extern double rescan_center, rescan_halfwidth;  // the rescan around a centre, MHz
extern int dsp_filter;                          // noise filter after a rescan, 0 = none
// Working arrays of the noise filters and the polynomial fit, indexed by
// point. A y_dat value below -4 marks a rejected point.
extern double x_dat[kScanArraySize], y_dat[kScanArraySize];    // the curve
extern double x2_dat[kScanArraySize], y2_dat[kScanArraySize];  // the points given to the fit
extern double Devs[kScanArraySize];                            // local deviation of each point
extern double dsp_fit_curve[kScanArraySize];                   // the fit at every x_dat
extern double dsp_poly_coef[20];  // entry j multiplies x to the power j
extern int dsp_fit_points;        // points packed into x2_dat, y2_dat
extern int dsp_poly_order;        // order asked of the fit
extern int dsp_plot_color;        // colour of the filters' diagnostic points

// ---- Group delay ----
extern double delay_offset;  // seconds
extern double avg_delay;     // mean delay of the last Port B scan
extern int gain_color;       // diagnostic: draw S21 wide while Port B is at high sensitivity

// ---- Point data mode ----
extern int pointdata_on;
extern int point_smith, point_smith_new;  // point shown on the Smith chart, first point pending
// The single-frequency text window of point data and the Status view, and its
// run flag (1 while one of its users keeps it open).
extern Window point_win;
extern int pointwin_run;

// ---- Tone output of point data mode ----
extern int tone_on;             // the tone follows the readings (the point window's Tone button)
extern int tone_restart;        // sound a note at the next reading whatever its value
extern int tone_history[4];     // the last four notes played, index 0 newest
extern double tone_last_value;  // the value the last note was played for
extern int voice_countdown;     // readings before an unchanged value is spoken again
extern int voice_last_value;    // the value spoken last, SWR x 10 or x 100
extern int text_line_step;      // line step of the point display, pixels

// ---- Colours of the next scan and the band scan ----
extern int alt_colors;     // the next scan draws in the light colour set (toggled by the scans)
extern int bandscan_mode;  // 1 after a band scan, until the next Port B scan or scan load
extern int bandscan_sens;  // band scan sensitivity: 1 normal, 2 high

// ---- Where the shown scan came from ----
extern int scan_from_file;  // 1 while the graph shows a scan loaded from a file

}  // namespace vna
