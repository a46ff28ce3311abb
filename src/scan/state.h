// Run-state of the scans: the point list, the scan flags, smoothing in use
// and the step text of the limits dialogs.
#pragma once

#include <string>

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

// ---- Where the shown scan came from ----
extern int scan_from_file;  // 1 while the graph shows a scan loaded from a file

}  // namespace vna
