#include "front_end.h"

#include <algorithm>
#include <cmath>

namespace vna::sim {

namespace {

// Levels in ADC counts (12 bits, 0..4095).
constexpr double kSourceCounts = 500;  // reference amplitude at full drive, gain 1, low frequency
constexpr double kLoadDc = 2037;       // the two channels' bias, a little off mid-scale
constexpr double kRefDc = 2055;
constexpr double kAdcMax = 4095;
constexpr double kFullScaleAmplitude = 2047;

constexpr double kDeg = M_PI / 180;

// The real reflection bridge, a three-term error model: the source drives
// the device through its own impedance Zs (source match), the load channel
// senses the device's current through a transimpedance T (tracking), and a
// fraction D of the reference leaks past the bridge (directivity). The load
// channel thus carries T / (Z + Zs) + D of the reference, a holomorphic
// bilinear map of Z, so three standards calibrate it exactly at each
// frequency.
struct BridgeTerms {
  cplx tracking;  // ohms
  cplx source;    // ohms
  cplx leak;      // of the reference
};

// The fixed bridge has the same errors at every frequency. The varying one
// (a better bridge at low frequency) drifts smoothly from its own, as a real
// bridge does: T and D reach the samplers through a little internal line,
// the source path adds series inductance and skin loss, and the leakage
// grows with frequency.
BridgeTerms PortABridge(Bridge bridge, double hz) {
  if (bridge != Bridge::kVarying) {
    return {std::polar(110.0, -8.0 * kDeg), cplx(50.0, 4.0), std::polar(0.012, 35.0 * kDeg)};
  }
  const double ghz = hz / 1e9, w = 2 * M_PI * hz;
  return {std::polar(110.0 * (1 - 0.05 * ghz), -8.0 * kDeg - w * 0.6e-9),
          cplx(50.0 + 5.0 * std::sqrt(ghz), 4.0 + w * 1.2e-9),
          std::polar(0.006 * (1 + 2 * ghz), 35.0 * kDeg - w * 0.9e-9)};
}

// The path from the bridge to the Port B receiver: a fixed tracking error,
// or in the varying bridge a lossy line of about 3 ns (internal cabling)
// whose loss grows with the root of frequency.
cplx ThroughPath(Bridge bridge, double hz) {
  if (bridge == Bridge::kIdeal) return 1.0;
  const double ghz = bridge == Bridge::kVarying ? hz / 1e9 : 0;
  const double db = 0.5 * std::sqrt(ghz);
  return std::polar(0.85 * std::pow(10.0, -db / 20), -25.0 * kDeg - 2 * M_PI * ghz * 3.0);
}
// Leakage past open relays.
constexpr double kRelayIsolation = 1e-5;

// True gains of the gain steps (the menu's nominal 1x, 5x, 24x, 122x, 513x).
// The varying bridge's instrument has steps 4 and 5 of its own: no two
// instruments are alike, and the program has to measure them.
cplx PortBGain(Bridge bridge, int step) {
  static const cplx kSteps[6] = {
      1.0,
      1.0,
      std::polar(4.93, -0.25 * kDeg),
      std::polar(24.3, -1.5 * kDeg),
      std::polar(117.4, 2.881 * kDeg),
      std::polar(487.7, -1.371 * kDeg),
  };
  step = std::clamp(step, 1, 5);
  if (bridge == Bridge::kVarying && step == 4) return std::polar(119.6, 3.7 * kDeg);
  if (bridge == Bridge::kVarying && step == 5) return std::polar(478.9, 0.35 * kDeg);
  return kSteps[step];
}
// Single-DDS model: the +12 dB Port B sensitivity; in the varying bridge its
// phase grows with frequency.
cplx PortBHighSens(Bridge bridge, double hz) {
  const double mhz = bridge == Bridge::kVarying ? hz / 1e6 : 0;
  return std::polar(3.98, (0.4 + 0.003 * mhz) * kDeg);
}
const cplx kPortAHighGain = std::polar(5.02, 0.6 * kDeg);  // applies to both channels
constexpr double kPortALowSens = 0.6;                      // single-DDS model, Sens 1

// Output falls off with frequency (DDS images, filters and mixer).
double Rolloff(Model model, double hz, double uhf_corner) {
  const double corner = model == Model::kUhf ? uhf_corner : 150e6;
  return 1.0 / std::sqrt(1.0 + (hz / corner) * (hz / corner));
}

// The source: its reference amplitude at full drive (gain 1, low
// frequency) and the corner of the two-multiplier model's roll-off. The
// varying bridge's instrument is built for its whole range: its short
// circuit uses most of the converter's range at low frequency, and its
// source holds up better towards 1200 MHz, so that its readings resolve a
// few milliohms there.
double SourceCounts(Bridge bridge) {
  return bridge == Bridge::kVarying ? 800 : kSourceCounts;
}
double UhfCorner(Bridge bridge) {
  return bridge == Bridge::kVarying ? 600e6 : 200e6;
}

void PutWord(Reply& r, size_t at, uint16_t w) {
  r[at] = static_cast<uint8_t>(w >> 8);
  r[at + 1] = static_cast<uint8_t>(w & 0xFF);
}

}  // namespace

FrontEnd::FrontEnd(Bridge bridge, double noise_sigma, uint64_t seed)
    : bridge_(bridge), sigma_(noise_sigma), rng_(seed) {}

bool ParseBridge(const std::string& name, Bridge& bridge) {
  for (Bridge b : {Bridge::kIdeal, Bridge::kReal, Bridge::kVarying}) {
    if (name == BridgeName(b)) {
      bridge = b;
      return true;
    }
  }
  return false;
}

const char* BridgeName(Bridge bridge) {
  switch (bridge) {
    case Bridge::kIdeal:
      return "ideal";
    case Bridge::kVarying:
      return "varying";
    case Bridge::kReal:
      break;
  }
  return "real";
}

void FrontEnd::SetNoise(double sigma, uint64_t seed) {
  sigma_ = sigma;
  rng_.seed(seed);
  normal_.reset();
}

int FrontEnd::WordScale(int readings) {
  if (readings < 2) return 16;
  if (readings <= 4) return 4;
  if (readings <= 8) return 2;
  return 1;
}

cplx FrontEnd::Source(const PathState& path, double hz) const {
  if (path.dds_power == 0) return 0.0;
  double level =
      SourceCounts(bridge_) * path.amplitude / 1023.0 * Rolloff(path.model, hz, UhfCorner(bridge_));
  if (path.model == Model::k7306 && path.a_sens == 1) level *= kPortALowSens;
  // 1.1 ns of internal path between the DDS and the reference sampler.
  const double phase = 0.7 - 2 * M_PI * hz * 1.1e-9;
  return std::polar(level, phase);
}

cplx FrontEnd::PortALoad(const PathState& path, const Device& dev, double hz) const {
  const cplx gamma = path.relay_a ? dev.Reflection(hz) : cplx(1.0);
  cplx ratio;
  if (bridge_ == Bridge::kIdeal) {
    // 50 / Z without forming Z, so an open gives 0 and a short a huge value.
    const cplx den = 1.0 + gamma;
    ratio = std::abs(den) < 1e-12 ? cplx(1e12) : (1.0 - gamma) / den;
  } else {
    const BridgeTerms b = PortABridge(bridge_, hz);
    ratio = b.tracking * (1.0 - gamma) / (50.0 * (1.0 + gamma) + b.source * (1.0 - gamma)) + b.leak;
  }
  return ratio;
}

cplx FrontEnd::PortBLoad(const PathState& path, const Device& dev, double hz) const {
  cplx s21 = dev.Transmission(hz);
  if (!(path.relay_a && path.relay_b)) s21 *= kRelayIsolation;
  cplx ratio = ThroughPath(bridge_, hz) * s21 * PortBGain(bridge_, path.b_gain);
  if (path.model == Model::k7306 && path.b_sens == 2) ratio *= PortBHighSens(bridge_, hz);
  return ratio;
}

uint16_t FrontEnd::Convert(double analog, int readings) {
  const int scale = WordScale(readings);
  double mean;
  if (sigma_ > 0) {
    double sum = 0;
    for (int k = 0; k < readings; ++k) {
      sum += std::clamp(std::round(analog + sigma_ * normal_(rng_)), 0.0, kAdcMax);
    }
    mean = sum / readings;
  } else {
    // Without explicit noise the averaged reading keeps the resolution its
    // word has room for, as a dithered converter would.
    mean = std::clamp(analog, 0.0, kAdcMax);
  }
  return static_cast<uint16_t>(std::lround(16.0 * mean / scale));
}

Words FrontEnd::Measure(const PathState& path, const Device& port_a, const Device& port_b,
                        double hz, const SignalFaults& faults) {
  const cplx source = Source(path, hz);
  const cplx a_gain = path.a_gain_high && !faults.gain_stuck ? kPortAHighGain : cplx(1.0);
  const cplx ref = source * a_gain;
  cplx load =
      path.port_b ? source * PortBLoad(path, port_b, hz) : ref * PortALoad(path, port_a, hz);
  if (faults.overload) load = std::polar(std::max(std::abs(load) * 50.0, 3000.0), std::arg(load));
  // Clipped at the top: the sine's upper third beyond full scale, its trough
  // well inside the range, so no word drops towards 0.
  double load_dc = kLoadDc;
  if (faults.clip) {
    load = std::polar(std::clamp(std::abs(load), 600.0, 2000.0), std::arg(load));
    load_dc = kAdcMax - std::abs(load) / 2;
  }
  const int n = std::clamp(path.readings, 1, 256);
  Words words{};
  for (int i = 0; i < 17; ++i) {
    const double a = 2 * M_PI * i / 16.0 * path.if_ratio;
    const double load_value = load_dc + std::abs(load) * std::sin(a - std::arg(load));
    // The 33rd word is one more load sample, the first of the next period.
    words[i < 16 ? i : 32] = Convert(load_value, n);
    if (i < 16) {
      const double ref_value =
          faults.noref ? 0.0 : kRefDc + std::abs(ref) * std::sin(a - std::arg(ref));
      words[16 + i] = Convert(ref_value, n);
    }
  }
  if (faults.nosignal) words.fill(0);
  return words;
}

int FrontEnd::BandLevel(const PathState& path, const Device& port_a, double hz) {
  const cplx source = Source(path, hz);
  const cplx a_gain = path.a_gain_high ? kPortAHighGain : cplx(1.0);
  double level = std::abs(source * a_gain * PortALoad(path, port_a, hz));
  if (sigma_ > 0) level += sigma_ * normal_(rng_);
  const double value = 5 + std::round(std::max(level, 0.0) * 1200 / kFullScaleAmplitude);
  return static_cast<int>(std::min(value, 30000.0));
}

uint16_t ReplyChecksum(const Reply& reply) {
  uint32_t sum = 0;
  for (size_t j = 0; j < 70; j += 2) sum += (reply[j] << 8) | reply[j + 1];
  return static_cast<uint16_t>(sum & 0xFFFF);
}

Reply PackReply(uint32_t readback, const Words& words) {
  Reply r{};
  PutWord(r, 0, static_cast<uint16_t>(readback >> 16));
  PutWord(r, 2, static_cast<uint16_t>(readback & 0xFFFF));
  for (size_t k = 0; k < words.size(); ++k) PutWord(r, 4 + 2 * k, words[k]);
  PutWord(r, 70, ReplyChecksum(r));
  return r;
}

}  // namespace vna::sim
