// A pseudo-terminal that answers chosen commands with fixed bytes, for the
// replies the simulator never sends (damaged version texts, exact raw
// housekeeping values). It sets VNA_COM<n> to its device while it lives.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "instrument/link_test.h"
#include "support/pseudo_terminal.h"

namespace vna::testing {

class ScriptedPort {
 public:
  explicit ScriptedPort(int port) : pty_(port, false), master_(pty_.master()) {
    thread_ = std::thread([this] { Serve(); });
  }
  ScriptedPort(const ScriptedPort&) = delete;
  ScriptedPort& operator=(const ScriptedPort&) = delete;
  ~ScriptedPort() {
    stop_ = true;
    thread_.join();
  }

  // A command starting with `letter` is `length` bytes long and answered with `reply`.
  void Answer(char letter, int length, const std::string& reply) {
    std::lock_guard<std::mutex> lock(mu_);
    script_[letter] = {length, reply};
  }
  // Sends bytes of the test's own at the moment it chooses, and returns once
  // the program's side of the line holds them.
  void Send(const std::string& bytes) {
    {
      std::lock_guard<std::mutex> lock(mu_);
      ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    pollfd p{pty_.slave(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 10000), 1) << "the bytes never reached the program's side";
  }
  // Every byte the program wrote so far.
  std::string Received() {
    std::lock_guard<std::mutex> lock(mu_);
    return received_;
  }

 private:
  void Serve() {
    std::string pending;
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 5) <= 0 || !(p.revents & POLLIN)) continue;
      char buf[256];
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) continue;
      std::lock_guard<std::mutex> lock(mu_);
      received_.append(buf, static_cast<size_t>(n));
      pending.append(buf, static_cast<size_t>(n));
      while (!pending.empty()) {
        auto it = script_.find(pending[0]);
        const int length = it == script_.end() ? 1 : it->second.first;
        if (static_cast<int>(pending.size()) < length) break;
        if (it != script_.end()) {
          const std::string& reply = it->second.second;
          if (!reply.empty() && write(master_, reply.data(), reply.size()) < 0) break;
        }
        pending.erase(0, static_cast<size_t>(length));
      }
    }
  }

  PseudoTerminal pty_;
  int master_;
  std::atomic<bool> stop_{false};
  std::mutex mu_;
  std::map<char, std::pair<int, std::string>> script_;
  std::string received_;
  std::thread thread_;
};

}  // namespace vna::testing

namespace vna {

// The program's link opened at 57600 on a scripted port.
class ScriptedLink : public LinkTest {
 protected:
  static constexpr int kPort = 7;
  void SetUp() override { OpenLink(kPort); }

  testing::ScriptedPort port_{kPort};
};

}  // namespace vna
