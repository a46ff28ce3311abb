// A pseudo-terminal standing in for COM port n: VNA_COM<n> names its device
// while it lives, and a test plays the instrument's side on its master.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace vna::testing {

class PseudoTerminal {
 public:
  // With `nonblocking` the master's reads and writes never wait.
  PseudoTerminal(int port, bool nonblocking)
      : master_(posix_openpt(O_RDWR | O_NOCTTY | (nonblocking ? O_NONBLOCK : 0))),
        env_var_("VNA_COM" + std::to_string(port)) {
    grantpt(master_);
    unlockpt(master_);
    env_.emplace(env_var_.c_str(), std::string(ptsname(master_)));
    // Keep the slave side open so the master never sees a hang-up between
    // the program's opens.
    keep_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(keep_, &t);
    cfmakeraw(&t);
    tcsetattr(keep_, TCSANOW, &t);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal() {
    close(keep_);
    close(master_);
  }

  int master() const { return master_; }
  // The slave side this object keeps open: it becomes readable once bytes
  // written to the master have crossed to the program's side.
  int slave() const { return keep_; }

 private:
  int master_ = -1, keep_ = -1;
  std::string env_var_;
  std::optional<ScopedEnv> env_;
};

}  // namespace vna::testing
