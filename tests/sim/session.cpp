#include "session.h"

#include <cstdio>

namespace vna::test {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

SimSession::SimSession(std::vector<std::string> args) : sim(std::move(args)), port(sim.Link()) {
  version = ParseVersion(Version());
}

std::string SimSession::Version() {
  port.Write("V");
  return port.ReadUntil('@');
}

std::vector<uint8_t> SimSession::MeasureBytes(double mhz, bool port_b) {
  std::string cmd;
  if (Uhf()) {
    int m1, m2;
    PlanMultipliers(mhz, m1, m2);
    const bool change = m1 != m1_ || m2 != m2_;
    m1_ = m1;
    m2_ = m2;
    cmd = UhfCommand(mhz, m1, m2, change ? 5 : 1, 2, port_b, version.offset1, version.clk1);
  } else {
    cmd = VhfCommand(port_b ? 'T' : 'U', mhz);
  }
  return port.Exchange(cmd, 72);
}

void SimSession::Setup(int amplitude_code, int averaging_code) {
  char amplitude[8];
  std::snprintf(amplitude, sizeof amplitude, "M%04X", amplitude_code);
  port.Write(Bytes({'K', 43, 'K', 171}) + amplitude + Bytes({'J', averaging_code}));
  Gains(false, 1);
}

void SimSession::Gains(bool a_high, int b_step, int b_sens, int a_sens) {
  static const int kUhfStep[6] = {0, 30, 28, 16, 4, 0};
  const int m = a_high ? 2 : 1;
  if (Uhf()) {
    port.Write(Bytes({'A', 4 * m, kUhfStep[b_step]}));
  } else {
    port.Write(Bytes({'A', 4 * m + a_sens + 64 * 2, b_sens | (4 * b_step)}));
  }
}

}  // namespace vna::test
