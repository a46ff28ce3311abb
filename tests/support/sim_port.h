// A bare serial client for the simulator's pseudo-terminal: raw 8N1 at a
// chosen speed, byte writes and reads with time-outs. The simulator's own
// tests and the soak speak the protocol through it; the end-to-end tests use
// the program's serial code instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vna::test {

class SimPort {
 public:
  explicit SimPort(const std::string& path, int baud = 57600);
  ~SimPort();
  SimPort(const SimPort&) = delete;
  SimPort& operator=(const SimPort&) = delete;

  void SetBaud(int baud);  // 57600, or 115000 as a custom rate
  void Write(const std::string& bytes);
  void Write(const std::vector<uint8_t>& bytes);
  // Reads until n bytes came or timeout_ms passed without completing them.
  std::vector<uint8_t> Read(size_t n, int timeout_ms = 2000);
  // Reads up to and including the byte end.
  std::string ReadUntil(char end, int timeout_ms = 2000);
  // Whatever arrives until the line has been quiet for quiet_ms.
  std::vector<uint8_t> Drain(int quiet_ms = 50);
  // Writes a command and reads its reply of n bytes.
  std::vector<uint8_t> Exchange(const std::string& command, size_t n, int timeout_ms = 2000);

 private:
  int fd_ = -1;
};

}  // namespace vna::test
