// Q of a tuned circuit from the stored Port A scan: the first resonance
// (phase zero crossing) and the two frequencies around it where the impedance
// phase reaches 45 degrees; Q = Fres / (F2 - F1). Measures nothing.
#pragma once

namespace vna {

// The "Q Measurement" command; shows the result or why there is none.
void MeasureQ();

}  // namespace vna
