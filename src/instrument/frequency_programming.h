// Programming a frequency into either instrument model, and the measured
// point built on it.
//
// Send_Freq flags: 0 a corrected point of the current port; any other value
// skips the correction. On the single-DDS model every non-zero value only
// programs the frequency ("G"); on the two-multiplier model bit 0 only
// programs it ("E" mode 2), bit 2 keeps the multiplier pair already set, and
// other values (2) measure without correction. Bit 7 is dropped.
#pragma once

#include <cstdint>

namespace vna {

// One point at freq: oscillator choice, frequency command, reply, sine fit,
// raw impedance, correction (flags 0) and reflection coefficient. freq is
// given back unchanged. Returns 0; failures are in vna_status.
int Send_Freq(int flags);
// Send_Freq(0) after a warning when freq is below 0.002 MHz; the entry of
// the tools, markers and TDR.
int MeasureAtFreq();
// Single-DDS model: "U"/"T" and the reply (flags 0), or "G" only.
int SendFreqVHF(int flags);
// Two-multiplier model: multiplier pair from the frequency plan (unless flags
// bit 2), Port A gain below 548 MHz, then Send_FreqUHF(flags AND 1).
int SendFreqUHF(int flags);
// Two-multiplier model: the "E" command and its reply (flags 0) or its
// one-byte acknowledgement (flags 1).
int Send_FreqUHF(int flags);

// freq as it may be programmed: within [min_freq, maximumfreq]; anything
// else, not-a-number included, is moved to the nearer limit. Until the model
// decision has set maximumfreq above min_freq only the lower limit applies.
double ProgrammableFreq(double f);
// A ratio x = f / (clock x multiplier) of the two-multiplier model folded
// into the first Nyquist zone (0..0.5): odd zones mirror, even zones shift.
// Beyond the eighth zone x comes back unfolded with out_of_range set.
double FoldNyquist(double x, bool& out_of_range);
// x x 2^32 rounded as a signed 32-bit tuning word: 2^31 and above give
// 7FFFFFFF, a negative result its bitwise complement.
uint32_t RatioWord(double x);
// A multiplier pair the "E" command can carry: each 5..20 (one nibble less 5).
bool ValidMultiplierPair(int mult1, int mult2);

}  // namespace vna
