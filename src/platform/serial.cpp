#include "platform/serial.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "platform/serial_rate.h"

namespace vna {

namespace {

struct Port {
  int fd = -1;
  std::string device;
  bool lost = false;  // the device went away: nothing more is read or written
};

// Handles are our own numbers, never reused, so a stale handle can never
// reach a descriptor that was handed out again to some other file.
std::map<int, Port>& Ports() {
  static std::map<int, Port> ports;
  return ports;
}
int next_handle = 1;

Port* Find(int handle) {
  auto it = Ports().find(handle);
  return it == Ports().end() ? nullptr : &it->second;
}

SerialLostHandler lost_handler = nullptr;

// Errors of a device that is gone, as opposed to one that is only quiet.
bool DeviceGone(int err) {
  return err == EIO || err == ENXIO || err == ENODEV || err == EPIPE;
}

// Marks the port lost and says so once; returns what a failed call returns.
int Lost(int handle) {
  Port* p = Find(handle);
  if (!p || p->lost) return -1;
  p->lost = true;
  if (lost_handler) lost_handler(handle);  // may close the port: p is not used after
  return -1;
}

speed_t StandardSpeed(int baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    case 230400:
      return B230400;
    case 460800:
      return B460800;
    case 921600:
      return B921600;
    default:
      return B0;
  }
}

bool Apply(int fd, const termios& t, int baud) {
  bool ok = tcsetattr(fd, TCSANOW, &t) == 0;
  if (StandardSpeed(baud) == B0) ok = serial_rate::SetCustom(fd, baud) && ok;
  return ok;
}

// "ttyUSB12" with prefix "ttyUSB" gives 12; -1 when the rest is not a number.
long DeviceNumber(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  long n = 0;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || n > 1000000) return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

}  // namespace

std::vector<std::string> SerialAdapters(const std::string& dev_dir) {
  std::vector<std::pair<long, std::string>> usb, acm;
  if (DIR* d = opendir(dev_dir.c_str())) {
    while (const dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (long n = DeviceNumber(name, "ttyUSB"); n >= 0) usb.emplace_back(n, name);
      if (long n = DeviceNumber(name, "ttyACM"); n >= 0) acm.emplace_back(n, name);
    }
    closedir(d);
  }
  std::sort(usb.begin(), usb.end());
  std::sort(acm.begin(), acm.end());
  std::vector<std::string> out;
  for (const auto* list : {&usb, &acm}) {
    for (const auto& [n, name] : *list) out.push_back(dev_dir + "/" + name);
  }
  return out;
}

std::string ComPortDevice(int port, const std::string& dev_dir) {
  const std::string var = "VNA_COM" + std::to_string(port);
  if (const char* v = std::getenv(var.c_str()); v && *v) return v;
  std::vector<std::string> adapters = SerialAdapters(dev_dir);
  if (adapters.empty()) return "";
  if (port >= 1 && static_cast<size_t>(port) <= adapters.size()) return adapters[port - 1];
  return adapters.front();
}

int SerialOpen(const std::string& device) {
  if (device.empty()) return kInvalidPort;
  // Non-blocking open: a real port without carrier would otherwise block here.
  int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kInvalidPort;
  if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return kInvalidPort;
  }
  ioctl(fd, TIOCEXCL);  // keeps other programs out too; root passes it, hence the lock
  const int handle = next_handle++;
  Ports()[handle] = Port{fd, device};
  return handle;
}

int SerialOpenPort(int port) {
  return SerialOpen(ComPortDevice(port));
}

SerialSetup SerialSetLine(int handle, int baud) {
  Port* p = Find(handle);
  termios t{};
  if (!p || tcgetattr(p->fd, &t) != 0) return SerialSetup::kUnreadable;
  cfmakeraw(&t);
  t.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (speed_t s = StandardSpeed(baud); s != B0) {
    cfsetispeed(&t, s);
    cfsetospeed(&t, s);
  }
  Apply(p->fd, t, baud);
  return Apply(p->fd, t, baud) ? SerialSetup::kOk : SerialSetup::kSecondApplyFailed;
}

int SerialBaud(int handle) {
  Port* p = Find(handle);
  return p ? serial_rate::Read(p->fd) : 0;
}

bool SerialRaiseRts(int handle) {
  Port* p = Find(handle);
  if (!p) return false;
  int bits = TIOCM_RTS;
  if (ioctl(p->fd, TIOCMBIS, &bits) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

int SerialWrite(int handle, const char* data, int n) {
  Port* p = Find(handle);
  if (!p || p->lost || n < 0) return -1;
  int done = 0;
  while (done < n) {
    ssize_t w = write(p->fd, data + done, static_cast<size_t>(n - done));
    if (w > 0) {
      done += static_cast<int>(w);
    } else if (w < 0 && errno == EINTR) {
      continue;
    } else if (w < 0 && errno == EAGAIN) {
      pollfd pfd{p->fd, POLLOUT, 0};
      if (poll(&pfd, 1, 1000) <= 0) break;
    } else {
      if (w < 0 && DeviceGone(errno)) return Lost(handle);
      break;
    }
  }
  return done;
}

int SerialWrite(int handle, const std::string& text, int n) {
  return SerialWrite(handle, text.data(), std::min(n, static_cast<int>(text.size())));
}

int SerialReadByte(int handle, uint8_t& byte) {
  Port* p = Find(handle);
  if (!p || p->lost) return -1;
  ssize_t r = read(p->fd, &byte, 1);
  if (r == 1) return 1;
  if (r < 0 && DeviceGone(errno)) return Lost(handle);
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(1);
  pollfd pfd{p->fd, POLLIN, 0};
  if (poll(&pfd, 1, 1) > 0) {
    if (pfd.revents & POLLIN) {
      r = read(p->fd, &byte, 1);
      if (r == 1) return 1;
      if (r < 0 && DeviceGone(errno)) return Lost(handle);
    }
    // Hung up with nothing left to read: the device is gone.
    if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) return Lost(handle);
  }
  std::this_thread::sleep_until(end);
  return 0;
}

void SerialClose(int handle) {
  auto it = Ports().find(handle);
  if (it == Ports().end()) return;
  close(it->second.fd);
  Ports().erase(it);
}

bool SerialIsOpen(int handle) {
  return Find(handle) != nullptr;
}

void SetSerialLostHandler(SerialLostHandler handler) {
  lost_handler = handler;
}

bool SerialLost(int handle) {
  const Port* p = Find(handle);
  return p && p->lost;
}

}  // namespace vna
