// What the other subsystems once took from the calibration's placeholders;
// every routine is built now. Kept so that includes of it still find the
// frequency calibration and the reference to the antenna.
#pragma once

#include "calibration/freq_cal.h"
#include "calibration/ref_to_antenna.h"
