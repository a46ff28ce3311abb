// Handlers of dialogs that the spine defines but whose analysis tool is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

// 1 while a multiplexer channel scan runs: loading a calibration file then
// also sets the scan limits. Placeholder until the channel scans are built: 0.
extern int multichan_scan;

// ---- What the main window's commands call ----
// Each placeholder measures nothing, draws nothing and opens nothing.
void ScanAllChannels();  // scans every enabled Vector Scope channel
void ReadAllElements();  // reads every Vector Scope element
void OpenVectorScope();
void ScanMuxChannel(int ask);  // scans the multiplexer channel mux_chan

}  // namespace vna
