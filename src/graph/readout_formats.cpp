#include "graph/readout_formats.h"

#include <cmath>

#include "shell/text.h"

namespace vna {

double DbToRatio(double db) {
  const double exponent = db * 0.115129255;
  return std::exp(exponent);
}

double ReturnLossDb(double rho) {
  return rho > 1e-10 ? -20 * std::log10(rho) : 200;
}

std::string FormatEng(double x) {
  const bool negative = x < 0;
  if (negative) x = -x;
  int e = 0;
  if (x >= 1) {
    while (e < 15 && x > 1000) {
      x *= 0.1;
      ++e;
    }
  } else {
    while (e > -15 && x < 1) {
      x *= 10;
      --e;
    }
  }
  if (e < -14) {
    x = 0;
    e = 0;
  }
  std::string text = FormatUsing("#.####", {x}) + "e" + NumStr(e);
  return negative ? "-" + text : text;
}

}  // namespace vna
