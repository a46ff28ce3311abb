// The program's serial link opened as for an attached instrument, and closed
// again after each test.
#pragma once

#include <gtest/gtest.h>

#include "files/settings.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/state.h"

namespace vna {

class LinkTest : public ::testing::Test {
 protected:
  // Opens COM port `port` at 57600 with an instrument taken to be present.
  void OpenLink(int port) {
    // Run state as the program starts: no multiplier pair sent yet, and no
    // diagnostic mode (no flag file), whatever a test before left.
    mult_code = 0;
    DIAGMODE = 0;
    commport = port;
    vna_present = 1;
    live_data = 1;
    baudrate = kBaudLow;
    OpenCommPort();
    ASSERT_NE(hcom, kInvalidPort);
    testhook::ClearLogs();
  }
  void TearDown() override {
    SerialClose(hcom);
    hcom = kInvalidPort;
  }
};

}  // namespace vna
