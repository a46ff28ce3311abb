// Graph routines and globals the instrument link uses that the graph
// subsystem does not provide yet. Placeholders until the graphs are built:
// each is a weak definition in pending.cpp, so the real one takes its place;
// delete the entry then.
#pragma once

#include <string>

namespace vna {

// Plot box of the main window, pixels. The placeholder values are 0 until
// the layout computes them.
extern int graph_left, graph_right, graph_top, graph_bottom, graph_mid_x;
extern int tdr_mode;        // the main graph shows the TDR plot
extern int WinTop;          // top edge of the graph window, 0 after the layout
extern double cursor_freq;  // frequency under the graph cursor, MHz
extern int graph_zero_y;    // y of the middle line of the plot box. Placeholder: 0
// Height scale of the layout, WinHeight / 768. Placeholder: 1 (a 768-pixel
// window) until the layout computes it.
extern float win_yscale;
// The date stamp text last printed on the graph, which the charts print too.
// Placeholder: empty.
extern std::string graph_stamp;
// Pixel factors of the frame: frequency f lies at graph_left + (f -
// graph_start) x px_per_MHz; an S21 level L dB at graph_top + Zero_Ref x
// grid_units_per_div - L x s21mag_yscale. 0 until the frame sets them.
extern double graph_start;         // MHz at graph_left
extern double px_per_MHz;          // pixels per MHz
extern double grid_units_per_div;  // pixels per vertical division
extern double s21mag_yscale;       // pixels per dB of the S21 trace
// Scan point under the graph cursor, set by the cursor readout.
extern int cursor_index;

// Info panel: 0 builds its five buttons, 1..5 redraws one. Placeholder: draws
// nothing.
void InfoPanel(int n);
// Date stamp of the main window, kept in scan_stamp. Placeholder: draws
// nothing and leaves scan_stamp as it is.
void DrawDateStamp();

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int GraphScalesHandler();
int PlotParamsHandler();
int SWRRulerHandler();
int MarkerDlgHandler();
int GraphStyleHandler();
int ColorSelectionHandler();
int TDRScalesHandler();

// Layout of the main graph from WinWidth and WinHeight (start-up step 10).
// Placeholder: only keeps the size within the screen and at least 200 x 100
// pixels (a damaged init file must not open a window of any size); computes
// no layout.
void Initgrafsize();
// Frequency grid of the graph for the scan limits. Placeholder: does nothing.
void FreqGrid();

// ---- What the main window's commands call ----
// Each placeholder draws nothing and opens nothing; the real routine replaces it.
void RedrawGraph();                      // the main graph again for the present settings
void DrawTitle();                        // the title line of the current port or TDR plot
void CursorReadout(int x, int y);        // cursor line and readout at window pixel x, y
void MarkerCommand(int sub);             // marker sub-commands 1, 5, 6, 7, 8, 9, 22
void TDRScales();                        // " TDR Scales" dialog
void GraphScales();                      // " Graph  Scales" dialog
void ReopenMainWindow(int keep_size);    // re-creates main_win with a new layout
void ShowCursorData();                   // the " Cursor Data" window
void ClearGraph();                       // clears the graph area
void CheckScreenDimensions();            // the graph-coordinate test picture
void DrawFilesPanel();                   // the panel of file names under the graph
void SetStyles(int style);               // overlay a scan file drawn in this style
void SelectStyle(int trace, int style);  // " Graph Style" dialog for one trace
void ShowLegend();                       // the legend window
void SelectColors();                     // " Color Selection" dialog
void EnterSwrRuler();                    // " SWR Ruler" dialog

// ---- What the chart windows call ----
// Each placeholder opens, lists, reads and writes nothing.
extern int marker_measure;  // the marker list measures each marker anew
void MarkerData_A();        // the Port A marker data window and its wait
void ListMarkers_A();       // one row per marker into the marker window
void SaveMarkers();         // marker file; with cmd_param 8 also the readable list
void LoadMarkers();         // marker file into the marker table

}  // namespace vna
