// Graph routines and globals the instrument link uses that the graph
// subsystem does not provide yet. Placeholders until the graphs are built:
// each is a weak definition in pending.cpp, so the real one takes its place;
// delete the entry then.
#pragma once

namespace vna {

// Plot box of the main window, pixels. The placeholder values are 0 until
// the layout computes them.
extern int graph_left, graph_right, graph_top, graph_bottom, graph_mid_x;
extern int tdr_mode;  // the main graph shows the TDR plot

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

}  // namespace vna
