// Steps the Port A and Port B scans share.
#pragma once

namespace vna {

// The instrument's loop-counter reset ("Y" and six fixed bytes), written
// straight to the serial port.
void SendLoopCounterReset();
// Closes an open Smith chart (and then the second one too); with
// focus_main the main window gets the focus.
void CloseSmithCharts(bool focus_main);

}  // namespace vna
