// What the instrument sends over the serial line: the version text up to its
// "@", read by the detecting version query, then the bytes of a measured
// point's 72-byte replies on whichever model the text named. The bytes come
// through a pseudo-terminal, as the instrument's come through its port.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "files/settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/serial.h"
#include "scan/state.h"

namespace {

int g_master = -1, g_slave = -1;

void OpenLine() {
  g_master = posix_openpt(O_RDWR | O_NOCTTY);
  grantpt(g_master);
  unlockpt(g_master);
  const char* device = ptsname(g_master);
  // Held open so the line never hangs up between the program's opens.
  g_slave = open(device, O_RDWR | O_NOCTTY);
  termios t{};
  tcgetattr(g_slave, &t);
  cfmakeraw(&t);
  tcsetattr(g_slave, TCSANOW, &t);
  fcntl(g_master, F_SETFL, O_NONBLOCK);
  setenv("VNA_COM1", device, 1);
}

void Drain() {
  char buf[4096];
  while (read(g_master, buf, sizeof buf) > 0) {
  }
  tcflush(g_slave, TCIOFLUSH);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  if (size > 2048) return 0;  // within what the line buffers
  fuzz::Begin();
  // Opened once: opening waits for the line to settle.
  static int port = kInvalidPort;
  if (port == kInvalidPort) {
    OpenLine();
    commport = 1;
    vna_present = 1;
    baudrate = kBaudHigh;
    OpenCommPort();
    port = hcom;
    if (port == kInvalidPort) std::abort();
  }
  hcom = port;
  baudrate = kBaudHigh;
  live_data = 1;
  vna_present = 1;
  // Nothing of the last input is left on the line or in the port's buffer.
  Drain();
  for (uint8_t b; SerialReadByte(hcom, b) == 1;) {
  }
  // An "@" ends the version text if the input has none, and zeros follow
  // the input, so no read waits for bytes that never come: five replies' worth.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.find('@') == std::string::npos) bytes += '@';
  bytes.append(5 * 72, '\0');
  if (write(g_master, bytes.data(), bytes.size()) < 0) return 0;
  GetVersion(1);
  if (vna_present <= 0) {
    fuzz::Decided(1);  // no usable version text: demonstration mode
    return 0;
  }
  // Send_Freq goes on with the analysis whatever the reply was (its callers
  // look at vna_status), so it guards nothing: what it must do is hand freq
  // back unchanged and say a failure only with the link's own statuses.
  freq = 14.2;
  vna_status = 0;
  Send_Freq(0);
  fuzz::Decided(vna_status);
  fuzz::Expect(freq == 14.2, "the frequency handed back by a point read");
  // 128 is added to any of them for a weak reference.
  auto link_status = [](int s) { return s == 0 || s == 10 || s == 17 || s == 72 || s == 1274; };
  fuzz::Expect(link_status(vna_status) || link_status(vna_status - 128),
               "a point read's status " + std::to_string(vna_status));
  return 0;
}
