#include "device.h"

#include <cmath>
#include <functional>

#include "value_parse.h"
#include "touchstone.h"

namespace vna::sim {

namespace {

constexpr double kZ0 = 50.0;
constexpr double kLight = 299792458.0;

cplx GammaFromZ(cplx z) {
  return (z - kZ0) / (z + kZ0);
}
cplx GammaFromY(cplx y) {
  return (1.0 - kZ0 * y) / (1.0 + kZ0 * y);
}

// A one-port given as a reflection function of frequency. On Port B it sits
// in series between the two 50-ohm ports: S21 = 100 / (100 + Z), written
// with the reflection so an open passes nothing without dividing by zero.
class Reflector : public Device {
 public:
  explicit Reflector(std::function<cplx(double)> gamma) : gamma_(std::move(gamma)) {}
  bool HasReflection() const override { return true; }
  bool HasTransmission() const override { return true; }
  cplx Reflection(double hz) const override { return gamma_(hz); }
  cplx Transmission(double hz) const override {
    const cplx g = gamma_(hz);
    return 2.0 * (1.0 - g) / (3.0 - g);
  }

 private:
  std::function<cplx(double)> gamma_;
};

// A two-port path given as a transmission function of frequency.
class Transmitter : public Device {
 public:
  explicit Transmitter(std::function<cplx(double)> s21) : s21_(std::move(s21)) {}
  bool HasTransmission() const override { return true; }
  cplx Transmission(double hz) const override { return s21_(hz); }

 private:
  std::function<cplx(double)> s21_;
};

class TouchstoneDevice : public Device {
 public:
  explicit TouchstoneDevice(Touchstone data) : data_(std::move(data)) {}
  bool HasReflection() const override { return true; }
  bool HasTransmission() const override { return data_.ports == 2; }
  cplx Reflection(double hz) const override { return Interpolate(data_, SParam::S11, hz); }
  cplx Transmission(double hz) const override { return Interpolate(data_, SParam::S21, hz); }

 private:
  Touchstone data_;
};

// Reads "key=value" items into named slots; every key must be known, values are SI numbers.
struct KeyReader {
  std::string kind;
  std::string error;
  bool Read(const std::string& list, std::initializer_list<std::pair<const char*, double*>> slots,
            std::initializer_list<const char*> required,
            std::vector<std::pair<std::string, std::string>>* text_items = nullptr,
            std::initializer_list<const char*> text_keys = {}) {
    for (const auto& [key, value] : SplitKeys(list)) {
      bool is_text = false;
      for (const char* t : text_keys) {
        if (key == t) is_text = true;
      }
      if (is_text) {
        text_items->emplace_back(key, value);
        continue;
      }
      double* slot = nullptr;
      for (const auto& [name, ptr] : slots) {
        if (key == name) slot = ptr;
      }
      if (!slot) {
        error = kind + ": unknown item \"" + key + "\"";
        return false;
      }
      if (!ParseSi(value, *slot)) {
        error = kind + ": bad value for " + key + ": \"" + value + "\"";
        return false;
      }
    }
    for (const char* name : required) {
      for (const auto& [slot_name, ptr] : slots) {
        if (std::string(slot_name) == name && std::isnan(*ptr)) {
          error = kind + ": " + name + "= is required";
          return false;
        }
      }
    }
    return true;
  }
};

DevicePtr Series(const std::string& list, std::string& error) {
  double r = 0, l = 0, c = NAN;
  KeyReader k{"series", ""};
  if (!k.Read(list, {{"r", &r}, {"l", &l}, {"c", &c}}, {})) {
    error = k.error;
    return nullptr;
  }
  if (!std::isnan(c) && c <= 0) {
    error = "series: c must be above 0";
    return nullptr;
  }
  return std::make_shared<Reflector>([=](double hz) {
    const double w = 2 * M_PI * hz;
    cplx z(r, w * l);
    if (!std::isnan(c)) z += cplx(0, -1.0 / (w * c));
    return GammaFromZ(z);
  });
}

DevicePtr Parallel(const std::string& list, std::string& error) {
  double r = NAN, l = NAN, c = 0;
  KeyReader k{"parallel", ""};
  if (!k.Read(list, {{"r", &r}, {"l", &l}, {"c", &c}}, {})) {
    error = k.error;
    return nullptr;
  }
  if ((!std::isnan(r) && r <= 0) || (!std::isnan(l) && l <= 0)) {
    error = "parallel: r and l must be above 0";
    return nullptr;
  }
  return std::make_shared<Reflector>([=](double hz) {
    const double w = 2 * M_PI * hz;
    cplx y(0, w * c);
    if (!std::isnan(r)) y += 1.0 / r;
    if (!std::isnan(l)) y += cplx(0, -1.0 / (w * l));
    return GammaFromY(y);
  });
}

DevicePtr Crystal(const std::string& list, std::string& error) {
  double fs = NAN, r = NAN, c1 = NAN, c0 = NAN;
  KeyReader k{"crystal", ""};
  if (!k.Read(list, {{"fs", &fs}, {"r", &r}, {"c1", &c1}, {"c0", &c0}}, {"fs", "r", "c1", "c0"})) {
    error = k.error;
    return nullptr;
  }
  if (fs <= 0 || c1 <= 0 || c0 < 0 || r < 0) {
    error = "crystal: fs and c1 must be above 0, r and c0 not below 0";
    return nullptr;
  }
  // The motional inductance follows from the series resonance: w^2 L1 C1 = 1.
  const double l1 = 1.0 / (std::pow(2 * M_PI * fs, 2) * c1);
  return std::make_shared<Reflector>([=](double hz) {
    const double w = 2 * M_PI * hz;
    const cplx zm(r, w * l1 - 1.0 / (w * c1));
    return GammaFromY(1.0 / zm + cplx(0, w * c0));
  });
}

DevicePtr Line(const std::string& list, std::string& error) {
  double z0 = NAN, vf = NAN, len = NAN, db100 = 0;
  std::vector<std::pair<std::string, std::string>> text;
  KeyReader k{"line", ""};
  if (!k.Read(list, {{"z0", &z0}, {"vf", &vf}, {"len", &len}, {"db100", &db100}},
              {"z0", "vf", "len"}, &text, {"end"})) {
    error = k.error;
    return nullptr;
  }
  if (z0 <= 0 || vf <= 0 || vf > 1 || len < 0 || db100 < 0) {
    error = "line: z0 above 0, vf in (0, 1], len and db100 not below 0";
    return nullptr;
  }
  std::string end = "open";
  for (const auto& item : text) end = item.second;
  cplx load_gamma;  // against z0
  if (end == "open") {
    load_gamma = 1.0;
  } else if (end == "short") {
    load_gamma = -1.0;
  } else if (end == "load" || end.rfind("r=", 0) == 0) {
    double r = 50;
    if (end != "load" && (!ParseSi(end.substr(2), r) || r < 0)) {
      error = "line: bad end \"" + end + "\"";
      return nullptr;
    }
    load_gamma = (r - z0) / (r + z0);
  } else {
    error = "line: end must be open, short, load or r=OHMS";
    return nullptr;
  }
  return std::make_shared<Reflector>([=](double hz) {
    const double beta = 2 * M_PI * hz / (vf * kLight);
    // Loss in dB per 100 m at 100 MHz, growing with the root of frequency (skin effect).
    const double alpha = db100 / 100.0 / 8.685889638 * std::sqrt(hz / 100e6);
    const cplx g = load_gamma * std::exp(cplx(-2 * alpha * len, -2 * beta * len));
    // Input impedance z0 (1 + g) / (1 - g), against 50 ohms, without dividing by 1 - g.
    const cplx num = z0 * (1.0 + g) - kZ0 * (1.0 - g);
    const cplx den = z0 * (1.0 + g) + kZ0 * (1.0 - g);
    return num / den;
  });
}

DevicePtr Delay(const std::string& list, std::string& error) {
  double ns = NAN, db = 0;
  KeyReader k{"delay", ""};
  if (!k.Read(list, {{"ns", &ns}, {"db", &db}}, {"ns"})) {
    error = k.error;
    return nullptr;
  }
  const double mag = std::pow(10.0, -db / 20.0);
  return std::make_shared<Transmitter>(
      [=](double hz) { return std::polar(mag, -2 * M_PI * hz * ns * 1e-9); });
}

}  // namespace

DevicePtr ParseDevice(const std::string& text_in, std::string& error) {
  const std::string device = Trim(text_in);
  const size_t colon = device.find(':');
  const std::string head = colon == std::string::npos ? device : device.substr(0, colon);
  const std::string rest = colon == std::string::npos ? "" : device.substr(colon + 1);
  auto constant = [](cplx g) { return std::make_shared<Reflector>([g](double) { return g; }); };

  if (device == "open") return constant(1.0);
  if (device == "short") return constant(-1.0);
  if (device == "load") return constant(0.0);
  if (device.rfind("r=", 0) == 0) {
    double r;
    if (!ParseSi(device.substr(2), r) || r < 0) {
      error = "r=: bad resistance \"" + device.substr(2) + "\"";
      return nullptr;
    }
    return constant(GammaFromZ(r));
  }
  if (device.rfind("z=", 0) == 0) {
    const auto parts = Split(device.substr(2), ',');
    double r, x;
    if (parts.size() != 2 || !ParseSi(parts[0], r) || !ParseSi(parts[1], x)) {
      error = "z=: expected z=R,X, got \"" + device + "\"";
      return nullptr;
    }
    if (r == -kZ0 && x == 0) {
      error = "z=: -50 ohms has no reflection coefficient";
      return nullptr;
    }
    return constant(GammaFromZ(cplx(r, x)));
  }
  if (head == "series" && colon != std::string::npos) return Series(rest, error);
  if (head == "parallel" && colon != std::string::npos) return Parallel(rest, error);
  if (head == "crystal") return Crystal(rest, error);
  if (head == "line") return Line(rest, error);
  if (head == "s1p" || head == "s2p") {
    Touchstone data;
    if (rest.empty() || !ReadTouchstone(rest, data, error)) {
      if (rest.empty()) error = head + ": a file name is required";
      return nullptr;
    }
    if ((head == "s2p") != (data.ports == 2)) {
      error = head + ": the file's extension does not match";
      return nullptr;
    }
    return std::make_shared<TouchstoneDevice>(std::move(data));
  }
  if (device == "thru") return std::make_shared<Transmitter>([](double) { return cplx(1.0); });
  if (device == "isolated") return std::make_shared<Transmitter>([](double) { return cplx(0.0); });
  if (head == "atten") {
    double db = NAN;
    KeyReader k{"atten", ""};
    if (!k.Read(rest, {{"db", &db}}, {"db"})) {
      error = k.error;
      return nullptr;
    }
    const double mag = std::pow(10.0, -db / 20.0);
    return std::make_shared<Transmitter>([mag](double) { return cplx(mag); });
  }
  if (head == "delay") return Delay(rest, error);
  error = "unknown device \"" + device + "\"";
  return nullptr;
}

const char* DeviceHelp() {
  return R"(Devices (values take SI suffixes: 1u, 100p, 10M; "m" is milli, "M" mega):
  Port A (a reflection):
    open | short | load (50 ohms) | r=OHMS | z=R,X
    series:r=..,l=..,c=..       R + L + C in series (any element may be left out)
    parallel:r=..,l=..,c=..     R, L and C in parallel (any element may be left out)
    crystal:fs=HZ,r=..,c1=..,c0=..   motional R1, C1 (L1 from fs) with the holder C0 across
    line:z0=..,vf=..,len=METRES,end=open|short|load|r=OHMS[,db100=DB]
                                a cable ending in that load; db100 = loss per 100 m at 100 MHz
    s1p:FILE | s2p:FILE         a Touchstone file (S11), interpolated
  Port B and multiplexer channels (a transmission from Port A):
    thru | isolated | atten:db=DB | delay:ns=NS[,db=DB] | s2p:FILE (S21)
    any circuit of Port A above (not a Touchstone file) sits in series
    between the ports: crystal:... or series:l=..,c=.. make a band-pass
)";
}

}  // namespace vna::sim
