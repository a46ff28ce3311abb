// Run-state of the analysis tools: the Vector Scope elements, the array scan
// window, the TDR settings and the tool inputs that the defaults give.
#pragma once

#include <string>

#include "platform/ui.h"

namespace vna {

// ---- Vector Scope ----
// One element of a phased array, read through one multiplexer channel.
struct VectorTrace {
  double mag = 0;    // linear magnitude of the last reading; -1 in element 1: scope never opened
  double phase = 0;  // radians
  int tip_x = 0, tip_y = 0;  // tip of the vector last drawn, pixels
  int colour = 0;
  std::string name;  // "vector_1" .. "vector_5"
  int index = 0;     // 1..5
};
extern VectorTrace vscope_elements[6];  // elements 1..5
extern int chan_enabled[7];             // channels 1..6
extern int mux_chan;                    // multiplexer channel of the present measurement, 0 = none
extern Window win_vector_scope;
extern int vscope_open;         // 1 while the Vector Scope window is open
extern int vscope_recycle;      // the Vector Scope reads its elements again and again
extern int vscope_settle_ms;    // wait after switching the multiplexer, 10..5000 ms
extern int vscope_reading_all;  // 1 while READ ALL runs
// 1 while an element is measured: the Port B scan then leaves the main
// window and its graph alone.
extern int vscope_scanning;
extern int vscope_width, vscope_height;          // window size, pixels
extern int vscope_cx, vscope_cy, vscope_radius;  // centre and full-scale radius of the face
extern double vscope_full_scale;                 // magnitude ratio drawn at the rim
extern int vscope_circles;                       // reference circles, the rim included
extern int vscope_linear;                        // 1: radius linear in the ratio
extern double vscope_db_spacing;                 // dB between circles on the decibel scale
extern int vscope_nelements;                     // element records drawn
// 1 while a scope reading or a channel scan has the multiplexer: a second
// request that would switch it is ignored until then.
extern int mux_busy;

// ---- Multiplexer channel scans ----
// 1 while a channel scan runs (and while an Array Scan button runs): the Port
// B scan draws into the Array Scan window, and loading a calibration file
// also sets the scan limits.
extern int multichan_scan;
// Trace colours of channel c (1..6): [c][0] magnitude, [c][1] phase, [c][2]
// SWR.
extern int chan_colors[7][3];
// Set by Halt and by the Array Scan's Stop/Exit: the all-channel scan stops
// before its next channel (the Port B scan itself cannot report a halt).
extern int chan_scan_stop;

// ---- Array Scan and SWR Ratio windows ----
extern Window win_array_scan, swrratio_win;
extern int arrayscan_open;   // 1 while OpenArrayScan waits for the window to close
extern int arrayscan_shown;  // 1 while the Array Scan window exists

// ---- Array Scan window (pixels) ----
extern int arrayscan_width, arrayscan_height;
extern int array_left, array_top, array_right, array_bottom;  // plot box
extern int arr_plot_swr, arr_plot_mag, arr_plot_phase;        // traces shown
extern int arr_styles;  // each channel in a trace style of its own
extern double array_phase_scale;                              // phase full scale

// ---- TDR ----
extern int Numpts;               // points of the transform, 256 or 512
extern double Tdr_delf;          // sweep step, MHz
extern double DXscale;           // distance full scale, feet
extern double tdr_zmax;          // impedance full scale, ohms
extern double tdr_range_factor;  // reflection coefficient of the impedance full scale
extern double tdr_zo;            // reference impedance, ohms
extern double tdr_dist_factor;   // distance correction factor
extern int tdr_high_res, tdr_smoothing, tdr_linear_z, tdr_show_rho, tdr_lines, tdr_show_params;
extern double LengthOffset;   // offset line before the load, feet
extern int tdr_overlay;       // colour number of the next TDR trace
extern double DXfactor;       // pixels per foot of the distance axis
extern double FeetPerNdx;     // feet of line per sample of the step response
extern double tdr_zscale;     // pixels per ohm of the impedance plot
extern double tdr_rho_scale;  // pixels per unit of rho of the rho plot
extern int tdr_zo_y;          // y pixel of the 50 ohm row of the impedance scale
// The sweep's reflection coefficients, point i at Tdr_delf x i MHz, i = 0..Numpts / 2.
extern double tdr_spec_re[2100], tdr_spec_im[2100];
// The stored trace: the step response (reflection coefficient) by sample
// 1..tdr_trace_points / 2 - 1, with the point count and the feet per sample
// it was computed with. A stored trace is drawn with these two, never with
// the present settings (see PlotStoredTDR).
extern double tdr_response[2100];
extern int tdr_trace_points;       // N of the stored trace; 0 = none
extern double tdr_feet_per_index;  // feet per sample of the stored trace
// Averaging and smoothing counts kept while TDR mode is on.
extern int tdr_saved_average, tdr_saved_smoothing;

// ---- Phase-crossing search, distance to fault and stub ----
extern double search_max_phase;  // largest |phase| seen while the last search stepped, radians
extern double stub_freq;         // wanted frequency of the quarter-wave stub, MHz
extern double stub_length;       // length of the cable it is cut from, metres

// ---- Tool inputs ----
extern double swr_ratio_center;  // centre frequency of the SWR ratio test, MHz
// SWR ratio per marker number 1..20, from the SWR ratio test; the marker
// list export writes it (below 1: none measured).
extern double marker_swr_ratio[21];
extern double xtal_freq;  // crystal frequency of the crystal measurement
extern int xtal_q_range;  // "Standard Q" choice (1 or 10)

// ---- Crystal measurement: results of the last run ----
extern double xtal_Fs, xtal_Fp;  // series and parallel resonance, MHz
extern double xtal_Rs;           // motional resistance, ohms
extern double xtal_Ls;           // motional inductance, microhenries
extern double xtal_Cs;           // motional capacitance, pF
extern double xtal_Cp;           // holder capacitance, pF
extern double xtal_Q;            // Q at series resonance
extern int xtal_cp_warned;       // the large-capacitance warning was shown in this run

// ---- Filter bandwidth ----
extern int band_start_index;  // Port B scan point the band-edge search starts from

// Start values of the TDR settings.
void InitTDRDefaults();

}  // namespace vna
