// The scan routines other folders call. Every one is built now: their
// headers are included here, so the callers written against this file find
// them.
#pragma once

#include "scan/band_scan.h"
#include "scan/freq_list.h"
#include "scan/noise_filters.h"
#include "scan/point_data.h"
#include "scan/resonance.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/scan_limits.h"
#include "scan/smoothing.h"
