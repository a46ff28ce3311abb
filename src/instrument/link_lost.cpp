#include "instrument/link_lost.h"

#include "files/settings.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/serial.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna {

namespace {

const char* const kDemoSuffix = "     DEMO MODE   ";

}  // namespace

void WatchForLostInstrument() {
  SetSerialLostHandler(InstrumentLost);
}

void InstrumentLost(int handle) {
  if (handle != hcom || vna_present == 0) return;
  vna_present = 0;
  scan_running = 0;  // as Halt: a running loop ends at its next check
  recycle_on = 0;
  const std::string title = GetTitle(main_win);
  if (main_win.IsOpen() && !title.ends_with(kDemoSuffix)) SetTitle(main_win, title + kDemoSuffix);
  if (api_busy != 0) return;  // a calling program learns it from the status
  MsgBox(&main_win,
         "The connection to the VNA on " + CommPortName(commport) +
             " was lost.\r\n"
             "The program now runs without the VNA (demonstration mode).\r\n\r\n"
             "Check the power and the data cable, then restart the program.",
         " VNA connection lost", kMbOk, kIconExclamation, true);
}

}  // namespace vna
