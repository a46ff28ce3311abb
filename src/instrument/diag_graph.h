// Diagnostic tools: the raw reference and load levels plotted over a sweep
// ("Plot MagRef"), and the four free debug values MyVar1..MyVar4.
#pragma once

namespace vna {

// Sweeps Port A from start_freq to graph_end in steps of delta_freq, reading
// each frequency ten times, and draws MagRef, MagLoad and the deviation of
// their ratio into the main graph until the sweep ends or Halt clears
// scan_running. Leaves the relays off and two_osc as it found it.
void DiagGraph();
// Asks for MyVar1..MyVar4 (selector 1..4) in the number box.
void EnterMyVar(int n);

}  // namespace vna
