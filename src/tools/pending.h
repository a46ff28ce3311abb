// Handlers of dialogs that the spine defines but whose analysis tool is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

// 1 while a multiplexer channel scan runs: loading a calibration file then
// also sets the scan limits. Placeholder until the channel scans are built: 0.
extern int multichan_scan;

// The TDR computation's results and the TDR screen's scales, which the TDR
// trace reads. Placeholders: 0 until the TDR computation is built.
extern double tdr_response[2100];  // step response (reflection coefficient) by sample
extern double FeetPerNdx;          // feet of line per sample
extern double DXfactor;            // pixels per foot
extern double tdr_zscale;          // pixels per ohm of the impedance plot
extern double tdr_rho_scale;       // pixels per unit of rho of the rho plot
extern int tdr_zo_y;               // y pixel of tdr_zo on the impedance scale

int VelocityFactorHandler();
int TuningStubHandler();

// ---- What the main window's commands call ----
// Each placeholder measures nothing, draws nothing and opens nothing.
void RunTDR();                 // TDR computation and plot
void DrawTDR();                // the TDR frame on the main graph (graph redraw in TDR mode)
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
