// Touchstone (version 1) files of one- and two-port devices, read into memory
// and interpolated, so the simulator can present a measured device.
#pragma once

#include <array>
#include <complex>
#include <string>
#include <vector>

namespace vna::sim {

struct Touchstone {
  int ports = 1;
  std::vector<double> hz;                              // ascending
  std::vector<std::array<std::complex<double>, 4>> s;  // S11, S21, S12, S22 (S11 only for one port)
};

enum class SParam { S11 = 0, S21 = 1, S12 = 2, S22 = 3 };

// Reads an .s1p or .s2p file (the port count comes from the extension). Accepts
// the units HZ/KHZ/MHZ/GHZ, the formats RI/MA/DB and S parameters; a one-port
// file with a reference other than 50 ohms is renormalised to 50 ohms.
bool ReadTouchstone(const std::string& path, Touchstone& out, std::string& error);

// Linear interpolation of the complex value between the two nearest points;
// outside the file's range the nearest end point holds.
std::complex<double> Interpolate(const Touchstone& data, SParam which, double hz);

}  // namespace vna::sim
