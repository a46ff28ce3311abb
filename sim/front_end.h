// The instrument's analog side: source, bridge, Port B path, gain steps and
// the 12-bit ADC that samples one period of the load and reference signals.
// Everything is a phasor until it is sampled. The ADC sees each phasor P as
// DC + |P| sin(2 pi i / 16 - arg P): the sample phase runs against the
// physical phase, so the program's Port A decoding (50 ohms times the
// reference-to-load ratio, turned by the load-minus-reference phase) gives the
// impedance the bridge presents, and its negated Port B phase gives S21. The
// 16 samples span one period only while the signal runs at the frequency the
// converter expects (PathState::if_ratio 1).
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <random>
#include <string>

#include "device.h"

namespace vna::sim {

enum class Model { kUhf, k7306 };

// What lies between the devices and the samplers: nothing (the raw reading
// is the device), the real bridge with fixed errors, or the real bridge with
// errors that vary with frequency.
enum class Bridge { kIdeal, kReal, kVarying };
// "ideal", "real", "varying".
bool ParseBridge(const std::string& name, Bridge& bridge);
const char* BridgeName(Bridge bridge);

// The settings of the signal path, as the commands left them.
struct PathState {
  Model model = Model::kUhf;
  bool port_b = false;
  bool relay_a = false, relay_b = false;
  int dds_power = 3;     // bit mask of the two DDS outputs; 0 = no test signal
  int amplitude = 1023;  // DDS amplitude code 0..1023
  bool a_gain_high = false;
  int a_sens = 2;    // single-DDS model: Port A output level, 1 low, 2 high
  int b_gain = 1;    // Port B gain step 1..5
  int b_sens = 1;    // single-DDS model: Port B RF sensitivity, 2 = +12 dB
  int readings = 1;  // readings averaged per point
  // The frequency the converter sees over the one it samples one period of:
  // 1 unless the two-multiplier model's DDS outputs differ by another amount
  // than its offset.
  double if_ratio = 1;
};

struct SignalFaults {
  bool overload = false;    // the load signal far beyond both ends of the ADC's range
  bool clip = false;        // the load signal beyond the top of the range, its lower half in it
  bool noref = false;       // the reference channel dead (no signal, no bias)
  bool nosignal = false;    // the ADC reads zero on every word
  bool gain_stuck = false;  // the Port A gain step stays at 1x whatever is asked
};

using Words = std::array<uint16_t, 33>;
using Reply = std::array<uint8_t, 72>;

class FrontEnd {
 public:
  FrontEnd(Bridge bridge, double noise_sigma, uint64_t seed);

  void SetBridge(Bridge bridge) { bridge_ = bridge; }
  Bridge GetBridge() const { return bridge_; }
  void SetNoise(double sigma, uint64_t seed);
  double Noise() const { return sigma_; }

  // The 33 reply words of one measurement at hz (the frequency the DUT sees)
  // through the given devices (port_b is the Port B path in use).
  Words Measure(const PathState& path, const Device& port_a, const Device& port_b, double hz,
                const SignalFaults& faults);

  // The band-scan level at hz: the Port A load signal, 1200 at about full scale, plus 5.
  int BandLevel(const PathState& path, const Device& port_a, double hz);

  // Averaged words are scaled so that the program's factor (16, 4, 2 or 1 by
  // the count) brings every count back to 16 times the mean ADC reading.
  static int WordScale(int readings);

 private:
  cplx Source(const PathState& path, double hz) const;
  cplx PortALoad(const PathState& path, const Device& dev, double hz) const;
  cplx PortBLoad(const PathState& path, const Device& dev, double hz) const;
  uint16_t Convert(double analog, int readings);

  Bridge bridge_;
  double sigma_;
  std::mt19937_64 rng_;
  std::normal_distribution<double> normal_{0.0, 1.0};
};

// Big-endian reply: read-back word, 33 ADC words, checksum of the 35 words before it.
Reply PackReply(uint32_t readback, const Words& words);
uint16_t ReplyChecksum(const Reply& reply);

}  // namespace vna::sim
