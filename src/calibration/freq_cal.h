// Frequency calibration: the synthesizer's clock corrected against an
// external reference, from the Constant Test Frequency panel.
#pragma once

namespace vna {

// The user tunes freq with the panel's buttons until the output matches the
// reference, then types the reference (MHz, or kHz with a "k"); each
// oscillator's factor is multiplied by the programmed frequency over the
// reference. A reference 0.002 MHz or more away is refused, at either step.
// On success freq, const_freq_prev, freqcal_ref and the panel's field 1 take
// the reference.
void FreqCal();

}  // namespace vna
