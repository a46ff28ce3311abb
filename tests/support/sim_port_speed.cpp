// Apart from <termios.h>: the Linux termios2 record sets custom rates such as
// the instrument's 115000 baud, and its header clashes with the C library's.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include "sim_port.h"

namespace vna::testing {

bool SetTerminalBaud(int fd, int baud) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~CBAUD;
  t.c_cflag |= BOTHER;
  t.c_ispeed = static_cast<speed_t>(baud);
  t.c_ospeed = static_cast<speed_t>(baud);
  return ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace vna::testing
