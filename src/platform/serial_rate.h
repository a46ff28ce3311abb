// Custom line rates (Linux termios2), kept apart because the kernel's
// termios headers clash with the C library's.
#pragma once

namespace vna::serial_rate {

// Sets an arbitrary rate in both directions; false when refused.
bool SetCustom(int fd, int baud);
// The output rate in effect, 0 when unknown.
int Read(int fd);

}  // namespace vna::serial_rate
