// Run-state of the graphs and charts: the marker set, chart windows, axis
// choices and the screen size. The marker table itself and every value the
// init or config file keeps are settings (files/settings.h).
#pragma once

#include <string>

#include "platform/ui.h"

namespace vna {

// ---- Markers ----
extern int marker_count;        // defined markers, rows 1..marker_count after sorting
extern int marker_next;         // row the next inserted marker takes, 1..20
extern int markers_drawn;       // the marker lines are on the graph
extern double marker_rotation;  // rotation of listed marker impedances, degrees

// ---- Main graph ----
extern double swr_axis_max, swr_axis_min;  // fixed SWR axis ends; -1 = automatic
extern double insloss_scale;               // insertion loss, dB per division
extern int plot_insloss;                   // insertion loss on the Port B graph
extern int plot_rt_alt;                    // return loss drawn from the alternate value
extern int cursor_x;                       // cursor position, pixels
extern int shown_average;                  // averaging last shown by the info panel; -1 = redraw
extern int style_choice;                   // code picked in the Graph Style dialog

// ---- Chart windows ----
extern int smith_active, smith_drawn;
extern int smith_x, smith_y, smith2_x, smith2_y, polar_x, polar_y;  // positions, pixels
extern int smith_zoom, smith2_zoom;                                 // 1..5
extern int polar_scale;         // full-scale choice of the polar plot, 1..5
extern int smith_cx, smith_cy;  // chart centre at chart_scale 1

// ---- Screen ----
extern int screen_width, screen_height;  // replaced by the screen size by the layout

// ---- Main window text lines ----
extern int bg_color;          // background of the main window: its pixel (2, 2) when it opened
extern int font_weight;       // weight of the graph texts: 200, or 600 for bold text
extern int line0_y, line1_y;  // tops of the first two text lines above the graph, pixels

// ---- Main window layout (pixels) ----
extern int WinLeft;                        // left edge of the graph window, 0 after the layout
extern int status_y;                       // top of the status area under the graph: the button bar
extern int last_WinWidth, last_WinHeight;  // main window size at its last layout
extern float win_xscale;                   // horizontal scale of the layout

// ---- Chart and tool windows of the graphs, with their open and closed flags ----
// A window's procedure waits while its open flag is set; the closed flag is
// set when the user (or the closing of all tool windows) closed it.
extern Window smith_win, smith2_win, polar_win, marker_win, legend_win, cursor_win;
extern int smith_open, smith_closed;
extern int smith2_open, smith2_closed, smith2_active;  // smith2_active: the second chart is shown
extern int polar_open, polar_closed;
extern int markerwin_open, legend_open, cursordata_open;
extern int cursor1_x, cursor2_x;           // the two cursor lines of the Cursor Data window, pixels
extern double smith_rotation;              // rotation of the second Smith chart, degrees
extern int polar_swr, polar_z, polar_s11;  // quantity of the polar plot

// ---- Smith charts, polar plot and TDR trace ----
constexpr int kChartPoints = 30012;  // one pixel position per element of the scan arrays
// Per marker 1..20, the index of its nearest scan point plus 1; -1 = none.
extern int marker_points[21];
// Window pixel of each scan point on each chart. On the first chart and the
// polar plot x is 100000 for a point outside the visible circle, and its y
// keeps its earlier value.
extern int smith_px[kChartPoints], smith_py[kChartPoints];
extern int smith2_px[kChartPoints], smith2_py[kChartPoints];
extern int polar_px[kChartPoints], polar_py[kChartPoints];
// The cursor readout's dot on each chart (x 0: none); cleared by every drawing.
extern int smith_dot_x, smith_dot_y, smith2_dot_x, smith2_dot_y, polar_dot_x, polar_dot_y;
extern int polar_active;  // the polar plot is shown
// The last TDR trace: entry i (1..) holds the x pixel of sample i and its
// line impedance in ohms; entry 0 is never written.
constexpr int kTdrTraceEntries = 2100;
extern double tdr_trace_table[kTdrTraceEntries][2];

// ---- Titles ----
extern std::string tdr_title;        // TDR title as entered
extern std::string tdr_graph_title;  // TDR title as drawn

}  // namespace vna
