// A running simulator with a port open on it, speaking the protocol the way
// the program would, for the simulator's own tests.
#pragma once

#include <complex>
#include <string>
#include <vector>

#include "support/sim_port.h"
#include "support/sim_protocol.h"
#include "support/sim_runner.h"

namespace vna::test {

class SimSession {
 public:
  explicit SimSession(std::vector<std::string> args = {});

  bool Uhf() const { return version.uhf; }
  std::string Version();
  // One measurement at mhz on Port A or B with the model's command; the reply bytes.
  std::vector<uint8_t> MeasureBytes(double mhz, bool port_b = false);
  ReplyData Measure(double mhz, bool port_b = false) {
    return ParseReply(MeasureBytes(mhz, port_b));
  }
  // Both relays on, amplitude code, averaging code, gains at their lowest.
  void Setup(int amplitude_code = 1023, int averaging_code = 200);
  // The gain command: Port A high gain on or off, Port B step 1..5, sensitivities (single-DDS
  // model).
  void Gains(bool a_high, int b_step, int b_sens = 1, int a_sens = 2);

  SimRunner sim;
  SimPort port;
  VersionData version;

 private:
  int m1_ = 0, m2_ = 0;
};

std::string Bytes(std::initializer_list<int> values);

}  // namespace vna::test
