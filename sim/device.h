// Devices under test: what Port A sees (a reflection against 50 ohms) and
// what Port B sees (a transmission from Port A), built from a short text.
#pragma once

#include <complex>
#include <memory>
#include <string>

namespace vna::sim {

using cplx = std::complex<double>;

class Device {
 public:
  virtual ~Device() = default;
  virtual bool HasReflection() const { return false; }
  virtual bool HasTransmission() const { return false; }
  // S11 against 50 ohms at a frequency in Hz (may exceed 1 in magnitude for a measured file).
  virtual cplx Reflection(double) const { return 1.0; }
  // S21 at a frequency in Hz.
  virtual cplx Transmission(double) const { return 0.0; }
};

using DevicePtr = std::shared_ptr<const Device>;

// Builds a device from its text; on failure returns null and says why.
//   open  short  load  r=OHMS  z=R,X
//   series:r=..,l=..,c=..   parallel:r=..,l=..,c=..   (any element may be left out)
//   crystal:fs=..,r=..,c1=..,c0=..
//   line:z0=..,vf=..,len=METRES,end=open|short|load|r=OHMS[,db100=DB]
//   s1p:FILE  s2p:FILE
//   thru  atten:db=..  delay:ns=..[,db=..]  isolated
// A one-port circuit used on Port B sits in series between the two ports.
DevicePtr ParseDevice(const std::string& device, std::string& error);

// One-line description of the device grammar for the help text.
const char* DeviceHelp();

}  // namespace vna::sim
