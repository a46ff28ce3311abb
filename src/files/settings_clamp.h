// Brings the settings a measurement depends on back into their working ranges.
#pragma once

namespace vna {

// Reference impedance, smoothing, averaging, settling time, scan limits and
// step, and the DDS clock: a value out of range is replaced, silently. Runs
// after every init or state file read, before every scan and calibration and
// in every info panel update; a second call changes nothing.
void ClampSettings();

}  // namespace vna
