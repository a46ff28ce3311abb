// Instrument routines that other folders call but that are not built yet.
// Placeholders until the test panels are built: weak definitions in
// pending.cpp, so the real ones take their place; delete the entries then.
#pragma once

namespace vna {

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int ConstantTestFreqHandler();
int VnaTestHandler();
int MuxHandler();

// ---- What the main window's commands call ----
// Each placeholder sends nothing and opens nothing.
void EnterConstantFreq();  // the Constant Test Frequency panel
void DiagGraph();          // "Plot MagRef" diagnostic graph
void EnterMyVar(int n);    // diagnostic values MyVar1..MyVar4

}  // namespace vna
