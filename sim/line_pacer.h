// The serial line's own pace. At 8N1 a byte takes 10 bit times, so a reply of
// 72 bytes needs 12.5 ms at 57600 baud; a pseudo-terminal would hand it over
// at once. With pacing on, the program's bytes reach the instrument one byte
// time apart, and the instrument's bytes leave one byte time apart, each
// when its last bit would have crossed the line.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace vna::sim {

class LinePacer {
 public:
  // Times in seconds, rates in baud.
  static double ByteTime(int baud) { return 10.0 / baud; }

  // Bytes the program wrote, read from the terminal at now: on the line one
  // after the other from now (or from the end of the bytes still arriving).
  void Incoming(const uint8_t* data, size_t n, double now, int baud);
  // The incoming bytes whose last bit has arrived by now, taken off the line.
  std::vector<uint8_t> Arrived(double now);

  // Writes to fd the bytes of out whose time has come, and takes them from out.
  void Send(int fd, std::string& out, double now, int baud);

  // When the next byte arrives or leaves; infinity when the line is idle.
  double NextEvent() const;

 private:
  std::deque<std::pair<double, uint8_t>> incoming_;  // arrival time, byte
  double in_free_ = 0;                               // when the last incoming byte has arrived
  bool sending_ = false;
  double next_start_ = 0;  // when the next outgoing byte starts
  double next_done_ = 0;   // when its last bit is on the other side
};

}  // namespace vna::sim
