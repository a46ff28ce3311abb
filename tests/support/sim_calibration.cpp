#include "support/sim_calibration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"

namespace vna::test {

void CalibratePortAOnSim(SimRunner& sim, const std::vector<double>& freqs) {
  CalinProgress = 1;  // the point reads leave the readings uncorrected
  const char* standards[] = {"short", "open", "load"};
  for (int s = 0; s < 3; ++s) {
    sim.SetDut(standards[s]);
    for (size_t i = 0; i < freqs.size(); ++i) {
      freq = freqs[i];
      ReadPoint_A(0);
      if (vna_status != 0) ADD_FAILURE() << standards[s] << " at " << freqs[i];
      CalPointA& p = CalDataA[i];
      p.freq = freqs[i];
      double& r = s == 0 ? p.shortR : s == 1 ? p.openR : p.stdR;
      double& x = s == 0 ? p.shortX : s == 1 ? p.openX : p.stdX;
      r = Rsm;
      x = Xsm;
      p.multstate = 1000 * OSC + mult_code;
      p.gainA = gain_factor_A;
      p.osc = OSC;
    }
  }
  CalinProgress = 0;
  cal_points = static_cast<int>(freqs.size());
  MaxCalANdx = cal_points - 1;
  Rstd = 50;
  PortA_cal = cal_valid = 1;
}

std::vector<double> CalFrequencies(double start, double end, double step) {
  const int n = static_cast<int>(std::ceil((end - start) / step - 1e-9)) + 1;
  std::vector<double> freqs;
  for (int k = 0; k < n; ++k) freqs.push_back(start + k * step);
  return freqs;
}

}  // namespace vna::test
