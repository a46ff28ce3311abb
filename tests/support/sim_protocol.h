// The instrument protocol as the tests read it, written apart from both the
// program and the simulator: command builders, the 72-byte reply, the
// 16-point sine fit and the version text's keys.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <string>
#include <vector>

namespace vna::test {

// Eight upper-case hexadecimal digits.
std::string Hex8(uint32_t word);

// The default multiplier pair of the two-multiplier model at a frequency (MHz).
void PlanMultipliers(double mhz, int& m1, int& m2);

// "E": mode 1 measures, 2 sets the frequency only; 4 is added when the
// multipliers change. Words fold into the first Nyquist zone of clock x mult.
std::string UhfCommand(double mhz, int m1, int m2, int mode, int settle, bool port_b, double offset,
                       double clock = 50.0);
// "U"/"T" (measure Port A / Port B) or "G" (frequency only) of the single-DDS model.
std::string VhfCommand(char letter, double mhz, int settle = 2, double clock = 400.0);

struct ReplyData {
  uint32_t readback = 0;
  std::array<int, 33> words{};
  int checksum = 0;       // as sent
  int sum = 0;            // of the 35 words before it, modulo 65536
  bool complete = false;  // 72 bytes
};
ReplyData ParseReply(const std::vector<uint8_t>& bytes);

struct SineFit {
  double mag = 0, phase = 0, dc = 0;
};
// One period of 16 samples: A sin(2 pi i / 16 + phase) + dc.
SineFit FitSine(const int* samples);

// Port A: 50 ohms times the reference-to-load magnitude ratio, at the load
// phase minus the reference phase.
std::complex<double> RawImpedance(const ReplyData& reply);
// Port B: load over reference, with the phase of the transmission (the
// fitted phases negated). Gain factors are left to the caller.
std::complex<double> RawTransmission(const ReplyData& reply);

struct VersionData {
  bool valid = false;  // holds "vna" and ends with "@"
  bool uhf = false, model7306 = false, two_osc = false, temp = false;
  double clk1 = 0, clk2 = 0;
  double offset1 = 0, offset2 = 0;  // MHz
};
VersionData ParseVersion(const std::string& text);

}  // namespace vna::test
