// The traces of a running scan, drawn point by point into the frame that
// DrawGraph prepared: nothing is redrawn, each new point adds one segment to
// every enabled trace, in the trace's colour and style, and extends the
// progress line above the plot box. A replay (live_data 0) draws with the
// same calls, so a stored scan looks exactly like a measured one.
//
// A Port A scan calls StartTracePlot before its first point, PlotPointA for
// every point (after the point's values are known) and EndTracePlot after
// its last. The Port B scan builds its own traces from the pieces below
// (x mapping, y clamping, pens, styles, markers, progress line).
#pragma once

namespace vna {

struct Window;

// Trace line styles: the values of swrstyle, xsstyle, rsstyle, zmagstyle,
// rtstyle, phasestyle and the Port B styles.
enum : int {
  kStylePlain = 0,
  kStyleShortDash = 1,
  kStyleLongDash = 2,
  kStyleCircle = 3,
  kStyleSquare = 4,
  kStyleWide = 5,
};

// The Port A traces, in drawing order.
enum PortATrace : int {
  kTraceSwrQ = 0,  // SWR, or Q in its place
  kTraceXs,        // reactance, Xs or Xp
  kTraceRs,        // resistance, Rs or Rp
  kTraceZmag,
  kTraceReturnLoss,
  kTracePhase,
  kPortATraces
};
// y of each Port A trace at the last plotted point, pixels.
extern int trace_y[kPortATraces];

// Scan start: last_x_px := graph_left, no segment and no marker drawn yet,
// the progress colour as a Port A scan starts it (RedColor in diagnostic mode
// on the two-multiplier model, else LightBlue), and the progress line of the
// previous scan erased.
void StartTracePlot();
// One Port A point from the values the point read (or the replay) left:
// freq or freq_plot (with smoothing), swr, point_Rs, point_Xs, Rp, Xp, Zmag,
// return_loss, Zphase. Sets x_px and trace_y, extends the progress line,
// draws a segment of every shown trace from the second point on, then makes
// this point the previous one (zmag_y_step: the |Z| trace's change).
void PlotPointA();
// Scan end: outside diagnostic mode the progress line is erased.
void EndTracePlot();

// ---- The pieces ----
// x of a frequency: rounded and kept within graph_left..graph_right.
int FreqToX(double f);
// y of a trace value from its exact pixel position, rounded and kept within
// graph_clip_top..graph_clip_bottom (only above graph_clip_top with
// top_only); a position that is not a number keeps `previous`.
int TraceY(double y, int previous, bool top_only = false);
// The progress line from last_x_px to x_px above the box, and the colour of
// its next piece.
void ProgressStep();
// The pen of this point's segments: solid trace_width while scan_running is
// 1, dotted and 1 pixel wide once Halt or an error stopped the scan.
void SetTracePen();
// The same with a pen of the caller's choice (the Port B scan keeps its
// normal pen after Halt).
void SetTracePen(int style, int width);
// Circle radius and square side of this point: 3 and 6 when it lies more
// than 20 pixels right of the last marker, else 0 and 0 (no marker).
void MarkerSpacing();
// One trace's segment from (last_x_px, y0) to (x_px, y1) in its colour and
// style: dashes by trace_segments, circles and squares (marker_color) by
// MarkerSpacing, the wide line solid at trace_width + 2 (the pen is solid at
// trace_width afterwards). With `light` a plain segment, styles unused.
void PlotTraceSegment(int y0, int y1, int color, int style, int marker_color, bool light);
// The same into another window (the Array Scan window).
void PlotTraceSegment(Window& w, int y0, int y1, int color, int style, int marker_color,
                      bool light);

}  // namespace vna
