// A serial device that never gives the instrument's reply: a pseudo-terminal
// that keeps sending the same byte whatever it is told, as fast as the line
// takes it or one byte at a time with a pause between. It sets VNA_COM<n> to
// its device while it lives.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace vna::testing {

class BabblingPort {
 public:
  // pause 0: a flood; otherwise one byte after each pause.
  BabblingPort(int port, char byte, std::chrono::milliseconds pause) : byte_(byte), pause_(pause) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    grantpt(master_);
    unlockpt(master_);
    env_var_ = "VNA_COM" + std::to_string(port);
    env_ = std::make_unique<ScopedEnv>(env_var_.c_str(), std::string(ptsname(master_)));
    // The slave side stays open so the master never sees a hang-up between
    // the program's opens.
    keep_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(keep_, &t);
    cfmakeraw(&t);
    tcsetattr(keep_, TCSANOW, &t);
    thread_ = std::thread([this] { Babble(); });
  }
  BabblingPort(const BabblingPort&) = delete;
  BabblingPort& operator=(const BabblingPort&) = delete;
  ~BabblingPort() {
    stop_ = true;
    thread_.join();
    close(keep_);
    close(master_);
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

  char byte_;
  std::chrono::milliseconds pause_;
  int master_ = -1, keep_ = -1;
  std::string env_var_;
  std::unique_ptr<ScopedEnv> env_;
  std::atomic<bool> stop_{false};
  std::atomic<long> sent_{0};
  std::thread thread_;
};

}  // namespace vna::testing
