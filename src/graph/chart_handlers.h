// Handlers of the chart windows and the marker data window, and the loop
// that keeps the polar plot up.
#pragma once

namespace vna {

// smith_win: zoom buttons 2201..2205, "Print" 2206, "Marker Data" 2207,
// "Close" 2208, the close box, the mouse (cursor readout, markers) and keys.
int SmithHandler();
// smith2_win: zoom buttons 2301..2305, "Print" 2306, the close box, mouse
// and keys.
int Smith2Handler();
// polar_win: full-scale buttons 2201..2205, "Print" 2206, the close box,
// mouse and keys.
int PolarHandler();
// marker_win: "Refresh" 3174, "Recycle" 3193, "Exit" 3175, "Print" 3176,
// "Save" 3177, "Recall" 3178 and the close box.
int MarkerWindowHandler();

// Outside Port B and recycle mode: PolarPlot again and again until its
// window is closed (polar_closed), or until it draws nothing.
void RepeatPolarPlot();

}  // namespace vna
