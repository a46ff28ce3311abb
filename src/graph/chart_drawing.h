// What the Smith charts and the polar plot draw alike: the reflection
// coefficient of a scan point, the walk along the trace with its start dot
// and marker circles, and the row of zoom or scale buttons.
#pragma once

#include <string>
#include <vector>

namespace vna {

struct Window;

// Reflection coefficient of R + jX against the charts' reference Zsm_real +
// jZsm_imag.
struct Reflection {
  double re = 0, im = 0;
};
Reflection ChartReflection(double r, double x);

// A trace offset in pixels from a chart's centre, rounded: a reflection
// toward infinity (a resistance near -Zref) lies far off the chart on its
// own side, never beyond what the centre can be added to. An offset without
// a value is 0, as rounding gives it.
int ChartPixel(double offset);

// The trace of one chart, walked point by point: each point is joined to the
// previous one in RedColor; with the markers hidden the first point gets a
// magenta dot, with them shown each marker is circled on its nearest point.
struct TraceWalk {
  Window* win = nullptr;
  int cx = 0, cy = 0;         // chart centre, window pixels
  int px = 0, py = 0;         // offsets of the previous point
  int marker = 1;             // the next marker the walk waits for
  std::vector<int> segments;  // drawn in one pass before anything else is drawn
};
// Pen, precision and counter for a new trace.
void StartTrace(TraceWalk& t, Window& win, int cx, int cy);
// Point i at offsets (x, y) from the centre, y upwards.
void TraceStep(TraceWalk& t, int i, int x, int y);
// Draws what the walk still holds; call after the last point.
void EndTrace(TraceWalk& t);

// Five push buttons (ids first_id .. first_id + 4) of rnd(35 s) x rnd(20 s)
// at the top right of a window W pixels wide, the one of `current` (1..5)
// marked; with `scale_caption` the word "SCALE" under them.
void ChartScaleButtons(Window& win, double s, int W, int first_id, const char* const captions[5],
                       int current, bool scale_caption);

// The chart's zoom or scale setting kept within 1..5.
int ChartStep(int& setting);

// "Zref = " and the charts' reference impedance.
std::string ChartZrefText();

}  // namespace vna
