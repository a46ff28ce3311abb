#include "tools/q_measurement.h"

#include <cmath>
#include <string>

#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

constexpr double k45Degrees = 0.7854;  // radians

double PhaseMag(int k) {
  return std::fabs(scanA_phase[k]);
}

// The stored point nearest to f, the lower one on a tie.
int NearestPoint(double f, int n) {
  int best = 0;
  for (int k = 1; k < n; ++k) {
    if (std::fabs(scanA_freq[k] - f) < std::fabs(scanA_freq[best] - f)) best = k;
  }
  return best;
}

void ClearHeldKeys() {
  lbutton_down = ctrl_key_down = shift_key_down = 0;
}

// Decimals that show a bandwidth bw (MHz) to a few significant digits.
int BandwidthDecimals(double bw) {
  if (bw < 0.001) return 6;
  if (bw < 0.01) return 5;
  if (bw < 0.1) return 4;
  return 3;
}

}  // namespace

void MeasureQ() {
  const int n = MeasuredPointsA();
  const int last = n - 1;
  const double fres = resonance_freqs[0];
  int err = 0;
  std::string report;
  // A resonance outside the measured points (found beside a reading that
  // failed, or left from an earlier scan) has no points to measure Q on.
  if (fres <= 0.00999 || n < 1 || fres < scanA_freq[0] || fres > scanA_freq[last]) {
    err = 1;
  } else {
    const int j0 = NearestPoint(fres, n);
    // Upwards to the first point beyond 45 degrees.
    int i = j0;
    double p = 0;
    do {
      p = PhaseMag(i);
      ++i;
    } while (!(i > last || p > k45Degrees));
    if (i - j0 < 4) {
      MsgBox(&main_win,
             "The scan step size is too large for this circuit.\r"
             "There are not enough data points around the resonance point.\r"
             "Change the limits and try it again.",
             "Freq Resolution Too Coarse", kMbOk, kIconNone, true);
      ClearHeldKeys();
      return;
    }
    if (i > last) err = 2;
    // Between the last point below 45 degrees (i - 2) and the first above.
    i -= 2;
    const double f2 = LevelCrossing(scanA_freq[i], PhaseMag(i), scanA_freq[i + 1], p, k45Degrees);

    // Downwards the same way.
    int j = j0;
    do {
      p = PhaseMag(j);
      --j;
    } while (!(j < 2 || p > k45Degrees));
    if (j < 2) err = 3;
    j += 2;
    const double f1 = LevelCrossing(scanA_freq[j], PhaseMag(j), scanA_freq[j - 1], p, k45Degrees);

    SetDigits(2);
    const std::string q_text = NumStr(fres / std::fabs(f2 - f1));
    SetDigits(BandwidthDecimals(f2 - f1));
    report = "Q = " + q_text + "\r\rResonant freq = " + NumStr(fres) + "\rF1=" + NumStr(f1) +
             "  F2=" + NumStr(f2) + "\rBandwidth=" + NumStr(f2 - f1);
    if (resonance_freqs[1] > 0.01) {
      report +=
          "\r\rNote: There is more than one resonance point in the scan data.\r"
          "The first point was used to calculate Q.";
    }
  }
  if (err == 0) {
    MsgBox(&main_win, report, " Q Measurement", kMbOk, kIconNone, true);
  } else {
    MsgBox(&main_win,
           "Scan data is not valid for a tuned circuit with one resonant point. Err=" + NumStr(err),
           "", kMbOk, kIconNone, true);
  }
  ClearHeldKeys();
}

}  // namespace vna
