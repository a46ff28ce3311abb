#include "pty_link.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vna::sim {

PtyLink::~PtyLink() {
  if (!link_.empty()) {
    // Remove the link only while it still points at this device.
    char target[512];
    const ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
    if (n > 0 && device_ == std::string(target, static_cast<size_t>(n))) unlink(link_.c_str());
  }
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

bool PtyLink::Open(const std::string& link, std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  const char* name = ptsname(master_);
  if (!name) {
    error = "no name for the pseudo-terminal";
    return false;
  }
  device_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY);
  if (slave_ < 0) {
    error = device_ + ": " + std::strerror(errno);
    return false;
  }
  // Raw until the program sets its own mode: no echo of our replies back to
  // us, no line editing, 8 bits through, at the instrument's power-on speed.
  struct termios t {};
  tcgetattr(slave_, &t);
  cfmakeraw(&t);
  cfsetispeed(&t, B57600);
  cfsetospeed(&t, B57600);
  tcsetattr(slave_, TCSANOW, &t);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

  if (!link.empty()) {
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
      error = link + " exists and is not a symlink";
      return false;
    }
    // Made under a temporary name and renamed, so a waiting test never sees
    // a half-made link.
    const std::string tmp = link + ".tmp";
    unlink(tmp.c_str());
    if (symlink(device_.c_str(), tmp.c_str()) != 0 || rename(tmp.c_str(), link.c_str()) != 0) {
      error = "cannot make the link " + link + ": " + std::strerror(errno);
      unlink(tmp.c_str());
      return false;
    }
    link_ = link;
  }
  return true;
}

int PtyLink::LineBaud() const {
  return TerminalBaud(slave_);
}

void PtyLink::ReleaseExclusive() const {
  ioctl(slave_, TIOCNXCL);
}

}  // namespace vna::sim
