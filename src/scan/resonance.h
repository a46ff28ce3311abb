// The resonance search after a Port A scan.
#pragma once

namespace vna {

// From scanA_freq, scanA_swr and scanA_phase up to last_point: min_swr and
// the frequency of its first point (the point at last_point takes no part;
// min_swr is 10000 when no point was searched), and in resonance_freqs the
// zero crossings of the phase, interpolated between the two points around
// each. A crossing counts only when |phase| rose above 0.1 rad since the
// previous one; the first ten fill elements 0..9, later ones overwrite 10.
void FindResonances();

}  // namespace vna
