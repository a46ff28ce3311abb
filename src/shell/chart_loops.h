// The loops that keep a chart up: the chart procedure returns when its
// chart must be drawn anew or was closed, and is called again until the user
// closed it.
#pragma once

namespace vna {

struct Window;

// Runs a chart procedure and tells whether it opened its window afresh,
// which every call that draws does outside recycle mode: a call that opened
// nothing drew nothing (too few points, Port B or TDR mode) and never sets
// its closed flag, so a loop repeating it must end.
bool DrawsAnew(Window& win, void (*draw)());

// Smith again and again while the last Port A scan has points and the chart
// was not closed, or until Smith draws nothing.
void RepeatSmith();

// The same for the second, rotated chart (Smith_2 and smith2_closed).
void RepeatSmith2();

}  // namespace vna
