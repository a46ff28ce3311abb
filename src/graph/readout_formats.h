// The two conversions of the S21 and S11 magnitude readouts.
#pragma once

#include <string>

namespace vna {

// The voltage ratio of a level in dB: e^(db x 0.115129255). The constant
// lies a hair above ln(10)/20, as the ratios shown have always been computed.
double DbToRatio(double db);

// The return loss in dB of a reflection coefficient's magnitude. A perfect
// match has no finite one: 200 dB stands for it, as in the scan files.
double ReturnLossDb(double rho);

// A ratio as a mantissa and a decimal exponent: "5.0000e 0", "250.0000e 1",
// "-5.0000e -1". The mantissa keeps up to three integer digits (at most
// 1000); a value that does not reach 1 within 15 decades reads as 0.
std::string FormatEng(double x);

}  // namespace vna
