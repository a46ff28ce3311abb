// The frequency plan of the two-multiplier model (which multiplier pair makes
// each whole MHz) and the oscillator bands of a two-oscillator instrument.
#pragma once

namespace vna {

// Installs the default plan, builds the lookup table and the oscillator bands.
// Does nothing on the model 7306.
void InitFreqPlan();
// The working plan becomes entries 0..n of the default plan.
void CopyFreqPlan(int n);
// Fills freq_mult_table from the working plan, segment by segment, up to the
// segment that starts more than 100 MHz above MaxFreqUHF. Entries it does not
// reach keep their value; nothing is written beyond the table's end.
void BuildFreqLookup();
// The 41 bands measured with oscillator 2, and clk_intervals.
void InitOscBands();
// Chooses the oscillator for freq and switches it when it changes.
void SelectOscBand();
// Diagnostic overlays on the main graph (diagnostic mode, two-multiplier model).
void ShowFreqPlan();
void ShowOscBands();

}  // namespace vna
