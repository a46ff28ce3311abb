// The quarter-wave stub: the velocity factor of a cable of known length from
// its quarter-wave frequency, the length of a quarter-wave stub at a wanted
// frequency, and guidance while the cable is trimmed to it.
#pragma once

namespace vna {

// The "1/4Wave Stub" command: asks for the wanted frequency (1..170 MHz) and
// the cable's length, measures VF, then repeats a Port A scan and a search
// and shows the length still to cut ("STOP" once the cable is shorter than
// the target) until Halt. A failed search, an implausible VF (outside
// 0.5..0.99, which VF then does not take) or a cable already too short is
// reported and ends the tool. The relays end switched off.
void MeasureVelocityFactor();

// Handler of the "1/4 Wave Tuning Stub" dialog: offers stub_freq (15 MHz the
// first time) and stub_length in the display unit (27.5 the first time);
// returns the two texts in dlg_text1 and dlg_text2 with result 1 on Enter.
int TuningStubHandler();

}  // namespace vna
