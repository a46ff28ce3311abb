// Setting the line extension (the reference plane moved to the far end of a
// lossless line) and the dialog handlers of the line extension and of the
// feed line of the reference to the antenna.
#pragma once

namespace vna {

// The " Line Extension" dialog: length with its unit mark (c, m, i or ",
// f or '; centimetres when none), impedance (1..1000, else 50) and velocity
// factor (0.5..1). Enable switches the extension on and Disable off, both
// storing the typed values; then the notice beside the graph is redrawn.
// The caller redraws the graph.
void SetLineExtension();
// Handler of dlg_line_ext.
int LineExtensionHandler();
// Handler of dlg_cable_data: opens with the feed line as last typed; OK
// returns the four texts in dlg_text1..dlg_text4.
int CableDataHandler();

// The electrical angle per MHz of a line of that length (metres) and
// velocity factor, radians.
double LinePhasePerMHz(double length_m, double velocity_factor);

}  // namespace vna
