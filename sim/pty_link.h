// The pseudo-terminal the program opens as its serial port, and the symlink
// that names it.
#pragma once

#include <string>

namespace vna::sim {

class PtyLink {
 public:
  PtyLink() = default;
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  // Opens the pair and, when link is not empty, points link at the device.
  bool Open(const std::string& link, std::string& error);
  int Master() const { return master_; }
  const std::string& DeviceName() const { return device_; }
  // The speed the program set on its side of the line, in baud (0 when unknown).
  int LineBaud() const;
  // A program that opens its port exclusively (TIOCEXCL) leaves the flag on
  // the pseudo-terminal after it closes, and its next open would fail unless
  // it runs as root. The instrument does not mind who opens the line, so the
  // flag is cleared as often as the line is served.
  void ReleaseExclusive() const;

 private:
  int master_ = -1;
  int slave_ = -1;  // held open so the master never sees a hang-up between the program's opens
  std::string device_;
  std::string link_;
};

// Reads the output speed of a terminal, custom rates included.
int TerminalBaud(int fd);

}  // namespace vna::sim
