// Scan file routines that start-up and exit call but that the files
// subsystem does not provide yet. Placeholders until the scan files are
// built: each is a weak definition in pending.cpp that reads and writes
// nothing, so the real one takes its place; delete the entry then.
#pragma once

#include "files/auto_save.h"
#include "files/scan_file_a.h"
#include "files/tdr_file.h"

namespace vna {

void LoadScanB();  // the Port B scan named by save_mode
void SaveScanB();  // the Port B scan under the name save_mode gives

}  // namespace vna
