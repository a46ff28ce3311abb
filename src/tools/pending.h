// Handlers of dialogs that the spine defines but whose analysis tool is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

int VelocityFactorHandler();
int CrystalMeasHandler();
int CrystalParamsHandler();
int TuningStubHandler();

// ---- What the main window's commands call ----
// Each placeholder measures nothing, draws nothing and opens nothing.
void RunTDR();                // TDR computation and plot
void DrawTDR();               // the TDR frame on the main graph (graph redraw in TDR mode)
void ScanAllChannels();       // scans every enabled Vector Scope channel
void ReadAllElements();       // reads every Vector Scope element
void DistanceToFaultCheck();  // distance to fault
void MeasureCrystal();
void MeasureVelocityFactor();  // quarter-wave stub
void MeasureQ();
void AntennaBandwidth();
void Bandwidth();  // filter bandwidth
void OpenVectorScope();
void ScanMuxChannel(int ask);  // scans the multiplexer channel mux_chan

}  // namespace vna
