// Crystal measurement: the series and parallel resonances of a quartz
// crystal on Port A, found by walking the corrected impedance phase through
// its sign changes, and the motional circuit computed from them. Results in
// the xtal_ globals of tools/state.h.
#pragma once

namespace vna {

// The "Measure Crystal" command: asks for the nominal frequency and Q range,
// measures, and shows the results. Needs an instrument (the command checks).
// A reading that fails ends it: the failure said once, no results dialog,
// the results as they were, and vna_status the reading's status.
void MeasureCrystal();

// Handlers of " Crystal Measurement  ver-" (the entry) and " Crystal
// Parameters   ver-" (the results, with SAVE to a crystal data file).
int CrystalMeasHandler();
int CrystalParamsHandler();

}  // namespace vna
