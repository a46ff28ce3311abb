// Tool tips of the main window's Port A/B button and info panel.
#pragma once

namespace vna {

// With tooltips_on 1 adds the tips to buttons 20192 and 20821..20825 of
// main_win (500 pixels wide, shown while the window is inactive too);
// activates them when tooltips_on is 1, deactivates them otherwise. Called
// after the info panel exists and whenever the main window is re-created.
void SetToolTips();

}  // namespace vna
