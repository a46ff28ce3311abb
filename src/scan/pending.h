// Scan globals and routines the instrument link uses that the scans do not define yet.
// Placeholders until the scans are built: weak definitions in pending.cpp,
// so the real ones take their place; delete the entries then.
#pragma once

namespace vna {

extern double scan_extra_value;  // value kept with each scan; the relay command clears it

// Moving average of the last Port A points during a scan. Placeholder: the
// point stays unsmoothed.
void SmoothA();

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int ScanLimitsHandler();
int EnterFreqHandler();
int SmoothingHandler();

}  // namespace vna
