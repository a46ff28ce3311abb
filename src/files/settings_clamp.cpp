#include "files/settings_clamp.h"

#include <cmath>

#include "calibration/state.h"
#include "files/settings.h"
#include "scan/state.h"

namespace vna {

void ClampSettings() {
  // Each rule sees the values the rules before it left; a value on a bound stays.
  if (Zref > 10000 || Zref < 1) {
    Zref = 50;
    Z0real = 50;
    Z0imag = 0;
  }
  if (Z0real > 10000 || Z0real < 1) Z0real = 50;
  if (std::fabs(Z0imag) > 10) Z0imag = 0;
  if (smoothing > maxsmooth || smoothing < 0) smoothing = 0;
  if (average > 256 || average < 0) average = 0;
  if (DDSdelay < 0) DDSdelay = 0;
  if (DDSdelay > 31) DDSdelay = 31;
  if (end_freq - start_freq < 0.0001) {
    start_freq = 1;
    end_freq = 21;
    delta_freq = 0.25;
  }
  const double step_limit = CalinProgress != 0 ? 2 : 10;
  if (std::fabs(delta_freq) > step_limit) delta_freq = step_limit;
  if (osc_freq < 30 || osc_freq > 1000) osc_freq = 50;
}

}  // namespace vna
