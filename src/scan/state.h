// Run-state of the scans: the point list, the scan flags, smoothing in use
// and the step text of the limits dialogs.
#pragma once

#include <string>

#include "platform/ui.h"

namespace vna {

// ---- Point list and progress ----
extern int Numscanpts;          // points of the current frequency list
extern int scan_npoints;        // points of the last completed Port A scan
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
extern int tone_on;       // the tone follows the readings (the point window's Tone button)
extern int tone_restart;  // sound a note at the next reading whatever its value

// ---- Colours of the next scan and the band scan ----
extern int alt_colors;     // the next scan draws in the light colour set (toggled by the scans)
extern int bandscan_mode;  // 1 after a band scan, until the next Port B scan or scan load
extern int bandscan_sens;  // band scan sensitivity: 1 normal, 2 high

// ---- Where the shown scan came from ----
extern int scan_from_file;  // 1 while the graph shows a scan loaded from a file

}  // namespace vna
