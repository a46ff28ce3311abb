// One reading of point data mode drawn into the point window: the frequency,
// an SWR bar on a logarithmic scale and large-print lines of the equivalent
// circuit, SWR, |Z|, phase, reflection coefficient and return loss; the raw
// acquisition data instead of the bar in diagnostic mode.
#pragma once

namespace vna {

// S21 of the Port B reading of a Ports A & B point, shown under the Port A
// lines of the same reading while point_show_s21 is set.
extern int point_show_s21;
extern double point_s21_db, point_s21_deg;

// Draws the reading left by the point read and its correction; " ### DATA
// ERROR ###" alone after a failed reading. Nothing unless pointdata_on is set
// and the serial port is open. Speaks the SWR at the end when voice is on.
// Leaves 3 decimals and return_loss = 20 log10(rho).
void ShowPointData();

}  // namespace vna
