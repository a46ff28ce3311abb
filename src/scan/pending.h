// Scan routines other folders call that the scans do not define yet.
// Placeholders until they are built: weak definitions in pending.cpp, so the
// real ones take their place; delete the entries then.
//
// The Port A scan, its frequency list, limits, smoothing and resonance
// search are built: their headers are included here, so the callers written
// against this file find them.
#pragma once

#include "scan/band_scan.h"
#include "scan/freq_list.h"
#include "scan/noise_filters.h"
#include "scan/point_data.h"
#include "scan/resonance.h"
#include "scan/scan_a.h"
#include "scan/scan_limits.h"
#include "scan/smoothing.h"

namespace vna {

// ---- What the main window's commands call ----
// Each placeholder measures nothing, draws nothing and opens nothing.
void Scan_B();  // Port B scan over the scan limits

}  // namespace vna
