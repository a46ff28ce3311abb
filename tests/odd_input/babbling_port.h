// A serial device that never gives the instrument's reply: a pseudo-terminal
// that keeps sending the same byte whatever it is told, as fast as the line
// takes it or one byte at a time with a pause between.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "support/pseudo_terminal.h"

namespace vna::testing {

class BabblingPort {
 public:
  // pause 0: a flood; otherwise one byte after each pause.
  BabblingPort(int port, char byte, std::chrono::milliseconds pause)
      : pty_(port, true), master_(pty_.master()), byte_(byte), pause_(pause) {
    thread_ = std::thread([this] { Babble(); });
  }
  BabblingPort(const BabblingPort&) = delete;
  BabblingPort& operator=(const BabblingPort&) = delete;
  ~BabblingPort() {
    stop_ = true;
    thread_.join();
  }

  long Sent() const { return sent_; }

 private:
  void Babble() {
    const std::string chunk(pause_.count() > 0 ? 1 : 256, byte_);
    char sink[512];
    while (!stop_) {
      // What the program writes is read and ignored.
      while (read(master_, sink, sizeof sink) > 0) {
      }
      pollfd p{master_, POLLOUT, 0};
      if (poll(&p, 1, 5) > 0 && (p.revents & POLLOUT)) {
        const ssize_t n = write(master_, chunk.data(), chunk.size());
        if (n > 0) sent_ += n;
      }
      if (pause_.count() > 0) std::this_thread::sleep_for(pause_);
    }
  }

  PseudoTerminal pty_;
  int master_;
  char byte_;
  std::chrono::milliseconds pause_;
  std::atomic<bool> stop_{false};
  std::atomic<long> sent_{0};
  std::thread thread_;
};

}  // namespace vna::testing
