// The instrument going away while the program runs (its adapter unplugged,
// its power or the simulator gone): the serial layer finds it when a read or
// write fails for good, and the program goes on as without an instrument.
#pragma once

namespace vna {

// Makes the serial layer report a lost port to InstrumentLost. Start-up
// calls it before the link is opened.
void WatchForLostInstrument();

// The port `handle` is lost. When it is the instrument's port (hcom) and an
// instrument was taken to be present: demonstration mode from now on (no
// command is sent any more, the commands that measure are refused), a
// running scan or Recycle loop stops at its next check, the title says
// "DEMO MODE", and one message says what happened. A port the program no
// longer uses, or a second report, changes nothing.
void InstrumentLost(int handle);

}  // namespace vna
