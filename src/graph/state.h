// Run-state of the graphs and charts: the marker set, chart windows, axis
// choices and the screen size. The marker table itself and every value the
// init or config file keeps are settings (files/settings.h).
#pragma once

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

}  // namespace vna
