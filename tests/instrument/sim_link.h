// The program's serial link opened on the instrument simulator, and the
// commands the simulator logged, for the end-to-end tests of this folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "instrument/link_test.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/events.h"
#include "support/sim_runner.h"

namespace vna {

using Command = std::vector<uint8_t>;

// Letters, then byte values: Cmd("K", {43}) is the two bytes 4B 2B.
inline Command Cmd(const std::string& letters, std::vector<int> values = {}) {
  Command c(letters.begin(), letters.end());
  for (int v : values) c.push_back(static_cast<uint8_t>(v));
  return c;
}

class SimLink : public LinkTest {
 protected:
  void StartSim(std::vector<std::string> args) {
    sim_ = std::make_unique<test::SimRunner>(std::move(args));
    OpenLink(sim_->ComPort());
  }

  // The detecting version query, as start-up makes it. On a loaded machine
  // the simulator may answer only after the query has given up: that reply
  // is then read to its "@", so it cannot pass for a later one, and the
  // query is made again.
  void Identify() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      GetVersion(1);
      if (comm_ok == 1) return;
      for (int empty = 0; empty < 20000;) {  // about 20 s of empty reads
        if (ReadOneByte() != 1) {
          ++empty;
        } else if (rx_byte[0] == '@') {
          break;
        }
      }
    }
  }

  // Marks the log, so Sent() returns what the program wrote after this.
  void Mark() { sim_->Mark("step" + std::to_string(++marks_)); }
  // The commands logged since the last Mark(), once at least `at_least` of
  // them arrived (or a second passed) and the line stayed quiet a little.
  std::vector<Command> Sent(size_t at_least = 1) {
    const std::string mark = "step" + std::to_string(marks_);
    for (int i = 0; i < 100 && sim_->CommandsSince(mark).size() < at_least; ++i) DelayMs(10);
    DelayMs(30);
    return sim_->CommandsSince(mark);
  }

  std::unique_ptr<test::SimRunner> sim_;
  int marks_ = 0;
};

}  // namespace vna
