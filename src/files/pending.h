// Scan and TDR file routines that start-up and exit call but that the files
// subsystem does not provide yet. Placeholders until the scan files are
// built: each is a weak definition in pending.cpp that reads and writes
// nothing, so the real one takes its place; delete the entry then.
#pragma once

namespace vna {

void LoadScanA();  // the Port A scan named by save_mode (start-up: the auto-save or command-line
                   // file)
void LoadScanB();  // the Port B scan named by save_mode
void SaveScanA();  // the Port A scan under the name save_mode gives
void SaveScanB();  // the Port B scan under the name save_mode gives
void SaveTDR(int mode);  // the TDR data; mode not 0 writes file_name without a dialog

// ---- What the main window's commands call ----
// Each placeholder reads nothing, writes nothing and opens no dialog.
void LoadTDR(int ask);       // TDR data: 0 asks with a file dialog, else file_name
void RecallAutoSave(int n);  // the other auto-saved graph of the current port

}  // namespace vna
