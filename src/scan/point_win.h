// The shared single-frequency text window point_win: point data mode, the
// " Status" view and the calibration data test print into it, one at a time.
#pragma once

namespace vna {

// Handler of point_win. Keys go to the keyboard commands of the graph
// windows; the close box closes the window and clears pointwin_run, which
// ends the wait of whichever user holds it open.
int PointWinHandler();

}  // namespace vna
