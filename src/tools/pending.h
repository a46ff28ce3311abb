// Handlers of dialogs that the spine defines but whose analysis tool is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

int VelocityFactorHandler();
int TuningStubHandler();

// ---- What the main window's commands call ----
// Each placeholder measures nothing, draws nothing and opens nothing.
void RunTDR();                 // TDR computation and plot
void ScanAllChannels();        // scans every enabled Vector Scope channel
void ReadAllElements();        // reads every Vector Scope element
void DistanceToFaultCheck();   // distance to fault
void MeasureVelocityFactor();  // quarter-wave stub
void OpenVectorScope();
void ScanMuxChannel(int ask);  // scans the multiplexer channel mux_chan

// Diagnostic mode only: marks a measured point at frequency f (MHz) and
// phase (radians) on the main graph, shape 1 a dot of radius size, else a
// square of side size, in colour. Placeholder: draws nothing.
void PlotDebugPoint(double f, double phase, int shape, int size, int colour);

}  // namespace vna
