#include "line_pacer.h"

#include <unistd.h>

#include <algorithm>
#include <limits>

namespace vna::sim {

void LinePacer::Incoming(const uint8_t* data, size_t n, double now, int baud) {
  const double bt = ByteTime(baud);
  double t = std::max(now, in_free_);
  for (size_t i = 0; i < n; ++i) {
    t += bt;
    incoming_.emplace_back(t, data[i]);
  }
  in_free_ = t;
}

std::vector<uint8_t> LinePacer::Arrived(double now) {
  std::vector<uint8_t> bytes;
  while (!incoming_.empty() && incoming_.front().first <= now) {
    bytes.push_back(incoming_.front().second);
    incoming_.pop_front();
  }
  return bytes;
}

void LinePacer::Send(int fd, std::string& out, double now, int baud) {
  const double bt = ByteTime(baud);
  if (out.empty()) {
    sending_ = false;
    return;
  }
  if (!sending_) {
    // A new reply starts now, or when the line is done with the last one.
    sending_ = true;
    next_start_ = std::max(next_start_, now);
    next_done_ = next_start_ + bt;
  }
  size_t due = 0;
  for (double t = next_done_; due < out.size() && t <= now; t += bt) ++due;
  if (due == 0) return;
  const ssize_t n = write(fd, out.data(), due);
  if (n <= 0) return;
  out.erase(0, static_cast<size_t>(n));
  next_start_ += static_cast<double>(n) * bt;
  next_done_ = next_start_ + bt;
  if (out.empty()) sending_ = false;
}

double LinePacer::NextEvent() const {
  double t = std::numeric_limits<double>::infinity();
  if (!incoming_.empty()) t = incoming_.front().first;
  if (sending_) t = std::min(t, next_done_);
  return t;
}

}  // namespace vna::sim
