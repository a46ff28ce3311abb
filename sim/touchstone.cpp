#include "touchstone.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "value_parse.h"

namespace vna::sim {

namespace {

using cplx = std::complex<double>;

cplx FromPair(const std::string& format, double a, double b) {
  const double rad = b * M_PI / 180.0;
  if (format == "ri") return {a, b};
  if (format == "db") return std::polar(std::pow(10.0, a / 20.0), rad);
  return std::polar(a, rad);  // "ma"
}

}  // namespace

bool ReadTouchstone(const std::string& path, Touchstone& out, std::string& error) {
  out = Touchstone{};
  const std::string lower = Lower(path);
  if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".s2p") == 0) {
    out.ports = 2;
  } else if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".s1p") == 0) {
    out.ports = 1;
  } else {
    error = "a Touchstone file must end in .s1p or .s2p: " + path;
    return false;
  }
  std::ifstream in(path);
  if (!in) {
    error = "cannot read Touchstone file " + path;
    return false;
  }
  double unit = 1e9;
  std::string format = "ma";
  double ref = 50;
  bool seen_options = false;
  std::vector<double> numbers;
  std::string line;
  while (std::getline(in, line)) {
    const size_t bang = line.find('!');
    if (bang != std::string::npos) line.resize(bang);
    line = Trim(line);
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (seen_options) continue;  // only the first option line counts
      seen_options = true;
      std::istringstream words(Lower(line.substr(1)));
      std::string w;
      while (words >> w) {
        if (w == "hz")
          unit = 1;
        else if (w == "khz")
          unit = 1e3;
        else if (w == "mhz")
          unit = 1e6;
        else if (w == "ghz")
          unit = 1e9;
        else if (w == "ri" || w == "ma" || w == "db")
          format = w;
        else if (w == "s")
          continue;
        else if (w == "y" || w == "z" || w == "h" || w == "g") {
          error = "only S parameters are supported: " + path;
          return false;
        } else if (w == "r") {
          if (!(words >> w) || !ParseSi(w, ref) || ref <= 0) {
            error = "bad reference impedance in " + path;
            return false;
          }
        }
      }
      continue;
    }
    std::istringstream values(line);
    std::string w;
    while (values >> w) {
      char* end = nullptr;
      const double v = std::strtod(w.c_str(), &end);
      if (*end != '\0') {
        error = "not a number in " + path + ": " + w;
        return false;
      }
      numbers.push_back(v);
    }
  }
  const size_t per_point = out.ports == 1 ? 3 : 9;
  if (numbers.empty() || numbers.size() % per_point != 0) {
    error = "incomplete data in " + path;
    return false;
  }
  if (out.ports == 2 && std::abs(ref - 50) > 1e-9) {
    error = "only 50-ohm two-port files are supported: " + path;
    return false;
  }
  for (size_t i = 0; i < numbers.size(); i += per_point) {
    std::array<cplx, 4> s{};
    for (int k = 0; k < (out.ports == 1 ? 1 : 4); ++k) {
      s[k] = FromPair(format, numbers[i + 1 + 2 * k], numbers[i + 2 + 2 * k]);
    }
    if (out.ports == 1 && std::abs(ref - 50) > 1e-9) {
      // Through the impedance, so the device looks the same against 50 ohms.
      const cplx z = ref * (1.0 + s[0]) / (1.0 - s[0]);
      s[0] = (z - 50.0) / (z + 50.0);
    }
    const double hz = numbers[i] * unit;
    if (!out.hz.empty() && hz <= out.hz.back()) {
      error = "frequencies must ascend in " + path;
      return false;
    }
    out.hz.push_back(hz);
    out.s.push_back(s);
  }
  return true;
}

cplx Interpolate(const Touchstone& data, SParam which, double hz) {
  const int k = static_cast<int>(which);
  if (data.hz.empty()) return {};
  if (hz <= data.hz.front()) return data.s.front()[k];
  if (hz >= data.hz.back()) return data.s.back()[k];
  const auto hi = std::upper_bound(data.hz.begin(), data.hz.end(), hz);
  const size_t j = static_cast<size_t>(hi - data.hz.begin());
  const double f0 = data.hz[j - 1], f1 = data.hz[j];
  const double t = (hz - f0) / (f1 - f0);
  return data.s[j - 1][k] + t * (data.s[j][k] - data.s[j - 1][k]);
}

}  // namespace vna::sim
