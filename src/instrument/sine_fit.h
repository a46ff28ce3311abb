// Magnitude and phase of the two channels of a reply: each set of 16 ADC
// samples is one period of a sine, fitted by a single-bin DFT against the
// sine and cosine tables that InitVars builds.
#pragma once

namespace vna {

// Fits fit_samples: fit_mag, fit_phase (radians, negated while
// transmission_mode is set), fit_dc, fit_min, fit_max, and in diagnostic
// mode fit_mag2 and fit_mag3.
void SineFit();

// Load channel (ADC words 0..15) and reference channel (16..31) of the last
// reply: MagLoad, MagRef (divided by the gain factors), their phases and
// Delta_Phase. Does nothing unless raw_valid is 1. A reference magnitude
// below 50 above 10 MHz is reported and ORs kStatusWeakReference into
// vna_status.
void AnaRawDat();

}  // namespace vna
