// The loops that keep a Smith chart up: the chart procedure returns when its
// chart must be drawn anew or was closed, and is called again until the user
// closed it.
#pragma once

namespace vna {

// Smith again and again while the last Port A scan has points and the chart
// was not closed. Ends as well when Smith returned without opening its
// window (too few points, Port B or TDR mode), which would never set
// smith_closed.
void RepeatSmith();

// The same for the second, rotated chart (Smith_2 and smith2_closed).
void RepeatSmith2();

}  // namespace vna
