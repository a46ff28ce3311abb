// The info panel: five buttons in the right-hand column of the main window
// showing averaging, settling time, smoothing, line extension and the
// reference impedance, light blue while the feature is active, grey when off.
// Their clicks are the main window's commands (ids kInfoAverage..kInfoZref).
#pragma once

namespace vna {

// Background of an info button whose feature is active.
constexpr int kInfoActiveColor = 190 + 256 * 220 + 65536 * 240;

// n = 0: creates the five buttons where they do not exist yet and refreshes
// all; 1..5: refreshes button 20820 + n; anything else refreshes nothing.
// Every call first clamps the settings and leaves the decimals at 3.
void InfoPanel(int n);

}  // namespace vna
