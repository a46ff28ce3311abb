// Every dialog record of the program. DefineDialogs defines the 39 dialogs
// once at start-up (titles, sizes, styles, handlers, controls); the About
// dialog is defined earlier by the start-up itself. Opening a dialog builds
// its window from the record, closing it destroys the window only, so a
// record can be opened again any number of times.
#pragma once

#include <vector>

#include "platform/ui.h"

namespace vna {

// In definition order.
extern Dialog dlg_scan_limits;      // " Scan Limits"
extern Dialog dlg_cal_limits;       // " Cal Limits"
extern Dialog dlg_graph_scales;     // " Graph  Scales"
extern Dialog dlg_velocity_factor;  // " Velocity Factor"
extern Dialog dlg_cable_length;     // " Cable Length" (nothing opens it)
extern Dialog dlg_meas_results;     // " Measurement Results   ver-" (nothing opens it)
extern Dialog dlg_test_freq;        // " Enter Test Frequency" (nothing opens it)
extern Dialog dlg_cable_zo;         // " Enter Cable Zo"
extern Dialog dlg_const_freq;       // "Constant Test Frequency  ver-"
extern Dialog dlg_comment;          // " Enter a comment"
extern Dialog dlg_calibration;      // " Calibration"
extern Dialog dlg_line_length;      // " Measure Line Length & Impedance  ver-" (nothing opens it)
extern Dialog dlg_comm_port;        // " Enter Comm Port"
extern Dialog dlg_crystal_meas;     // " Crystal Measurement  ver-"
extern Dialog dlg_crystal_params;   // " Crystal Parameters   ver-"
extern Dialog dlg_cable_data;       // " Cable data  ver-"
extern Dialog dlg_enter_data;       // " Enter Data ", the number box
extern Dialog dlg_plot_params;      // "Parameters to Plot  ver-"
extern Dialog dlg_enter_freq;       // " Enter Frequency (MHz)", owned by point_win
extern Dialog dlg_swr_ruler;        // "SWR Ruler"
extern Dialog dlg_tuning_stub;      // "1/4 Wave Tuning Stub  ver-"
extern Dialog dlg_smoothing;        // " Smoothing"
extern Dialog dlg_marker;           // " Marker  ver-"
extern Dialog dlg_style;            // " Graph Style"
extern Dialog dlg_line_ext;         // " Line Extension  ver-"
extern Dialog dlg_voice;            // " Enable Voice Output" (nothing opens it)
extern Dialog dlg_sweep;            // " Sweep Parameters  ver-" (nothing opens it)
extern Dialog dlg_vna_test;         // " VNA Test  ver-", modeless
extern Dialog dlg_touchstone;       // " Touchstone File Format" (nothing opens it)
extern Dialog dlg_gain;             // " Enter Gain " (nothing opens it)
extern Dialog dlg_rulers;           // " Enter Rulers"
extern Dialog dlg_colors;           // " Color Selection"
extern Dialog dlg_average;          // " Average value 1..256"
extern Dialog dlg_delay_time;       // "  Delay time (sec, msec, usec, nsec)"
extern Dialog dlg_mux;              // " Port B Mux", modeless
extern Dialog dlg_chan_ref;         // " Channel Reference  ver-" (nothing opens it)
extern Dialog dlg_ref_circles;      // " Reference Circles  ver-" (nothing opens it)
extern Dialog dlg_array_current;    // "Array Current  ver-" (nothing opens it)
extern Dialog dlg_tdrscales;        // " TDR Scales  ver-"

extern Dialog dlg_about;  // " VNA", defined by the start-up, shown by ShowAbout

// Every dialog window has a title bar, a close box and a modal frame.
constexpr unsigned kDialogStyle = kDlgPopup | kDlgTitleBar | kDlgCloseBox | kDlgModalFrame;

// Defines the 39 dialogs in index order. Titles ending in "ver-" take the
// version texts as they stand now.
void DefineDialogs();
// Defines dlg_about (start-up step 4).
void DefineAboutDialog();

// The 39 records and the About record, in definition order (About last).
const std::vector<Dialog*>& AllDialogs();

int AboutHandler();

// Handlers of the dialogs kept for their records, which no command opens
// (shell/dialogs_kept_for_records.cpp): they centre their dialog, hand the
// texts of its fields back in dlg_text1.. on OK (1) and close with 2 on
// Cancel.
int CableLengthHandler();
int MeasResultsHandler();
int TestFreqHandler();
int LineLengthHandler();
int VoiceHandler();
int SweepParamsHandler();
int TouchstoneHandler();
int GainHandler();
int ChannelRefHandler();
int ReferenceCirclesHandler();
int ArrayCurrentHandler();

}  // namespace vna
