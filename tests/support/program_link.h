// The program's serial link opened on a running simulator, as start-up opens
// it for an attached instrument.
#pragma once

#include "files/settings.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/serial.h"
#include "scan/state.h"
#include "support/sim_runner.h"

namespace vna::test {

// Opens COM port sim.ComPort() at 57600 with the instrument taken to be
// present; hcom is kInvalidPort when the port did not open.
inline void OpenLinkTo(const SimRunner& sim) {
  commport = sim.ComPort();
  vna_present = 1;
  live_data = 1;
  baudrate = kBaudLow;
  OpenCommPort();
}

}  // namespace vna::test
