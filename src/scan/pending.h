// Scan globals the instrument link writes that the scans do not define yet.
// Placeholder until the scans are built: a weak definition in pending.cpp,
// so the real one takes its place; delete the entry then.
#pragma once

namespace vna {

extern double scan_extra_value;  // value kept with each scan; the relay command clears it

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int ScanLimitsHandler();
int EnterFreqHandler();
int SmoothingHandler();

}  // namespace vna
