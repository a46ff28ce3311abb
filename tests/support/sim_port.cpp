#include "sim_port.h"

#include "platform/serial_rate.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace vna::test {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

SimPort::SimPort(const std::string& path, int baud) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  termios t{};
  tcgetattr(fd_, &t);
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd_, TCSANOW, &t);
  SetBaud(baud);
}

SimPort::~SimPort() {
  if (fd_ >= 0) close(fd_);
}

void SimPort::SetBaud(int baud) {
  if (!serial_rate::SetCustom(fd_, baud)) throw std::runtime_error("cannot set the line speed");
}

void SimPort::Write(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno != EAGAIN) throw std::runtime_error("write to the simulator failed");
    if (n > 0) done += static_cast<size_t>(n);
    if (n <= 0) {
      pollfd p{fd_, POLLOUT, 0};
      poll(&p, 1, 100);
    }
  }
}

void SimPort::Write(const std::string& bytes) {
  Write(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> SimPort::Read(size_t n, int timeout_ms) {
  std::vector<uint8_t> got;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  uint8_t buf[512];
  while (got.size() < n) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, RemainingMs(deadline)) <= 0) break;
    const ssize_t r = read(fd_, buf, std::min(sizeof buf, n - got.size()));
    if (r > 0) got.insert(got.end(), buf, buf + r);
  }
  return got;
}

std::string SimPort::ReadUntil(char end, int timeout_ms) {
  std::string got;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (got.empty() || got.back() != end) {
    const std::vector<uint8_t> b = Read(1, RemainingMs(deadline));
    if (b.empty()) break;
    got += static_cast<char>(b[0]);
  }
  return got;
}

std::vector<uint8_t> SimPort::Drain(int quiet_ms) {
  std::vector<uint8_t> got;
  for (;;) {
    const std::vector<uint8_t> b = Read(4096, quiet_ms);
    if (b.empty()) return got;
    got.insert(got.end(), b.begin(), b.end());
  }
}

std::vector<uint8_t> SimPort::Exchange(const std::string& command, size_t n, int timeout_ms) {
  Write(command);
  return Read(n, timeout_ms);
}

}  // namespace vna::test
