// Kept apart from <termios.h>: the Linux termios2 record reads custom rates
// such as 115000 baud, and its header clashes with the C library's.
#ifdef __linux__
#include <asm/termbits.h>
#include <sys/ioctl.h>
#else
#include <termios.h>
#endif

#include "pty_link.h"

namespace vna::sim {

int TerminalBaud(int fd) {
#ifdef __linux__
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return 0;
  return static_cast<int>(t.c_ospeed);
#else
  struct termios t {};
  if (tcgetattr(fd, &t) != 0) return 0;
  switch (cfgetospeed(&t)) {
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    default:
      return 0;
  }
#endif
}

}  // namespace vna::sim
