// Layout of the main window: the plot box, the text lines above and below
// it, the info column at the right and the status area, all computed from the
// window size and the measured size of sample texts in the graph fonts. The
// values are the globals of graph/state.h.
#pragma once

namespace vna {

// Keeps WinWidth x WinHeight on the screen (at least 200 x 100, at most the
// screen, leaving 35 pixels of its height free), then computes the layout.
// It opens main_win at that size to build the menus and the button bar, and
// closes it again: the caller opens the window the user sees.
void Initgrafsize();

// Re-creates main_win at a new size: its present size when keep_size is set,
// else WinWidth x WinHeight; lays it out again, titles it, rebuilds the menus
// and redraws the graph.
void ReopenMainWindow(int keep_size);

// Test picture of the layout: the plot box, the coordinates and sample text
// lines, then a message box.
void CheckScreenDimensions();

// The two computing steps of Initgrafsize. FitWindowToScreen bounds WinWidth
// and WinHeight by screen_width x screen_height (a screen size of 0 is taken
// as unknown and bounds nothing) and sets font_weight, the scales and the
// point window size; MeasureGraphLayout computes every coordinate from the
// text extents of the graph fonts.
void FitWindowToScreen();
void MeasureGraphLayout();

}  // namespace vna
