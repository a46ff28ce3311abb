// The legend window: which colour and line style belongs to which Port A
// trace shown.
#pragma once

namespace vna {

// Opens the legend over the lower right of the plot box, one row per trace
// switched on, and waits until its close box is pressed. The legend shows
// the normal colours and the styles of the moment it opened.
void ShowLegend();
// One sample of a line style, 80 pixels long from (x, y), in the colour and
// with the scan traces' pen width.
void DrawLegendSample(int x, int y, int color, int style);
// Handler of legend_win: the close box ends ShowLegend's wait.
int LegendHandler();

}  // namespace vna
