// Recalling the automatically saved graphs: the "Swap Graphs" command and
// the Up and Down keys flip between the last two scans of the port.
#pragma once

namespace vna {

// Loads the other of the two auto-saved scans of the present port
// (ZiviRURGraph0/1.scn, ZiviRURGraphB0/1.scnb) and flips the port's digit,
// with the automatic save held off meanwhile. With automatic saving off it
// says so instead. `n` is not used (callers pass 0).
void RecallAutoSave(int n);

}  // namespace vna
