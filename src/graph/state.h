// Run-state of the graphs and charts: the marker set, chart windows, axis
// choices and the screen size. The marker table itself and every value the
// init or config file keeps are settings (files/settings.h).
#pragma once

#include <string>

#include "platform/ui.h"

namespace vna {

// ---- Markers ----
extern int tdr_mode;            // the main graph shows the TDR plot
extern int marker_count;        // defined markers, rows 1..marker_count after sorting
extern int marker_next;         // row the next inserted marker takes, 1..20
extern int markers_drawn;       // the marker lines are on the graph
extern double marker_rotation;  // rotation of listed marker impedances, degrees
extern int marker_measure;      // the marker list measures (or interpolates) each marker anew

// ---- Cursor readout: the values under the graph cursor ----
// Written by CursorReadout, read by the Cursor Data window and the tools.
extern double cursor_freq;      // frequency under the cursor, MHz
extern int cursor_index;        // index of the stored scan point at or below it
extern double cursor_swr;       // SWR (a band scan: its level)
extern double cursor_zmag;      // |Z|, ohms
extern double cursor_phase;     // phase of Z, degrees
extern double cursor_rs;        // Rs, ohms (1e-6 where it computes as 0)
extern double cursor_xs;        // Xs, ohms
extern double cursor_rl;        // return loss, dB (200 for a perfect match)
extern double cursor_distance;  // TDR distance, feet
extern double cursor_zline;     // TDR line impedance, ohms

// ---- Main graph ----
extern double swr_axis_max, swr_axis_min;  // fixed SWR axis ends; -1 = automatic
extern double insloss_scale;               // insertion loss, dB per division
extern int plot_insloss;                   // insertion loss on the Port B graph
extern int plot_rt_alt;                    // return loss drawn from the alternate value
extern int cursor_x;                       // x of the last position the cursor readout handled
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
extern int bg_color;     // background of the main window: its pixel (2, 2) when it opened
extern int font_weight;  // weight of the graph texts: 200, or 600 for bold text
// Tops of the text lines above the plot box, pixels: 0, then one text height
// apart (start-up spaces line 1 by its own measure).
extern int line0_y, line1_y, line2_y, line3_y;

// ---- Main window layout (pixels of the drawing area, y down), set by Initgrafsize ----
extern int WinLeft, WinTop;                // 0
extern int status_y;                       // top of the status area under the graph: the button bar
extern int last_WinWidth, last_WinHeight;  // main window size at its last layout
extern float win_xscale, win_yscale;       // WinWidth / 1024, WinHeight / 768
extern int PointWinWidth, PointWinHeight;  // size of the point window
extern int text_height;                    // height of a line of the graph font
extern int title_y;                        // the title line under the plot box
// The column at the right: file-name panel, info panel buttons, supply readout.
extern int info_x;                        // its left edge
extern int info_button_w, info_button_h;  // size of an info panel button
extern int info_button_y;                 // top of the first info panel button
// The plot box: every trace, grid line, cursor and marker lies inside it.
extern int graph_left, graph_right, graph_top, graph_bottom;

// ---- Frequency grid and pixel factors, set by FreqGrid and DrawGraph ----
extern double graph_start, graph_end;          // MHz at graph_left and graph_right
extern int freq_divs;                          // horizontal divisions
extern double freq_per_div;                    // MHz per horizontal division
extern double px_per_MHz;                      // x = graph_left + (f - graph_start) x px_per_MHz
extern int graph_mid_x;                        // (graph_left + graph_right) / 2
extern double grid_units_per_div;              // pixels per vertical division (20 divisions)
extern int graph_zero_y;                       // the middle line: the value 0 of the traces
extern int graph_clip_top, graph_clip_bottom;  // y range of a plotted point
extern double swr_per_div;                     // SWR per division of the linear SWR scale
// Pixels per unit of each trace's value; a value v is drawn at
// graph_zero_y - v x factor (S21 magnitude: from division Zero_Ref down). A
// factor whose scale setting cannot be drawn (0, or not a number) is 0.
extern double swr_yscale;       // per SWR unit (linear) or per decade (swr_log)
extern double zmag_yscale;      // per ohm: |Z|, Rs, Xs, Rp, Xp
extern double phase_yscale;     // per degree of the impedance phase
extern double q_yscale;         // per unit of Q
extern double rtloss_yscale;    // per dB of return loss
extern double delay_yscale;     // per nanosecond of group delay
extern double s21phase_yscale;  // per degree of S21 phase
extern double s21mag_yscale;    // per dB of S21
extern double pwr_yscale;       // per dB of insertion loss
extern double s11_yscale;       // per dB of S11 in Port B mode

// ---- Text panels ----
extern int title_min_x;          // leftmost x of the title: right of the date stamp
extern int files_panel_y;        // first line of the file-name panel
extern std::string graph_stamp;  // the date stamp last printed on the graph

// ---- Lines drawn in exclusive-or over the graph ----
extern int ruler_drawn;    // the SWR ruler line is on the graph
extern int cursor_line_x;  // x of the cursor line on the graph, 0 = none

// ---- Trace plotting of a running scan ----
extern int x_px, last_x_px;  // x of the point being drawn and of the one before
extern int marker_px;        // side of the square marker at this point: 6, or 0 for none
extern int progress_color;   // colour of the next piece of the progress line
extern int trace_segments;   // points drawn in this scan (the dash patterns count them)
extern int zmag_y_step;      // change of the |Z| trace's y at the last point, pixels

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
// Top of the first Smith chart's two cursor lines ("Blue dot at", s11),
// under its row of buttons; set when the chart is drawn.
extern int smith_readout_y;
extern int polar_active;  // the polar plot is shown
// The last TDR trace: entry i (1..) holds the x pixel of sample i and its
// line impedance in ohms; entry 0 is never written.
constexpr int kTdrTraceEntries = 2100;
extern double tdr_trace_table[kTdrTraceEntries][2];

// ---- Titles ----
extern std::string tdr_title;        // TDR title as entered
extern std::string tdr_graph_title;  // TDR title as drawn

}  // namespace vna
