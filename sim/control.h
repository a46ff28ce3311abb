// The control channel: a Unix socket (or a FIFO) taking one command per line,
// so a test or a person can swap the device under test, inject faults or
// change housekeeping values while the program runs.
#pragma once

#include <poll.h>

#include <functional>
#include <string>
#include <vector>

#include "instrument.h"

namespace vna::sim {

// Runs one control command; returns "ok ..." or "error: ...". Sets quit on "quit".
std::string RunControl(Instrument& instrument, const std::string& line, bool& quit);

class ControlServer {
 public:
  ControlServer() = default;
  ~ControlServer();
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;

  // An existing FIFO at path is read; otherwise a Unix socket is made there.
  bool Open(const std::string& path, std::string& error);
  // Appends this server's descriptors to fds.
  void AddPollFds(std::vector<pollfd>& fds) const;
  // Serves the descriptors added from index first on; run answers each line.
  void Service(const std::vector<pollfd>& fds, size_t first,
               const std::function<std::string(const std::string&)>& run);

 private:
  struct Client {
    int fd;
    std::string pending;
  };
  void Lines(std::string& pending, int reply_fd,
             const std::function<std::string(const std::string&)>& run);

  std::string path_;
  bool fifo_ = false;
  int listen_fd_ = -1;
  int fifo_fd_ = -1;
  int fifo_keep_ = -1;  // our own writer, so the FIFO never reads end-of-file
  std::string fifo_pending_;
  std::vector<Client> clients_;
};

// Client side of --send: connects, sends one line, returns the answer line.
bool SendControl(const std::string& path, const std::string& line, std::string& answer,
                 std::string& error);

}  // namespace vna::sim
