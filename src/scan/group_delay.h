// Group delay of a Port B scan: the negative slope of the S21 phase over
// frequency, per point from a running average of the phase steps, and as a
// mean over the middle half of the scan.
#pragma once

namespace vna {

// A phase difference brought into (-pi, pi]; a value that is not finite
// gives 0.
double WrapPhase(double d);

// Length of the running average for a Delay Smoothing setting over a scan
// of n points: |setting| samples per 200 points (a negative setting is a
// percentage of n), at least 1.
double DelayWindow(int setting, int n);

// The running group delay of one scan.
class GroupDelay {
 public:
  // A new scan, averaging over `window` phase steps.
  void Start(double window);
  // The next point's phase (radians), step_mhz above the previous point:
  // the delay in nanoseconds from the running average of the phase slopes,
  // or 0 at the first point (no step yet) and at a zero step.
  double Step(double phase, double step_mhz);

 private:
  double window_ = 1;
  double previous_ = 1000;  // above 900: no point yet
  double average_ = 0;      // smoothed phase slope, radians per MHz
  double count_ = 1;        // steps averaged so far plus 1
};

// Mean delay, seconds, of the stored phases of a scan of n points at the
// frequencies freq (MHz): the slope between the mean unwrapped phase of the
// second and the third quarter and their mean frequencies, divided by
// 2 pi x 10^6 (a phase rising with frequency gives a positive value). 0 below
// 4 points or where the quarters share one frequency.
double MeanDelay(const double* phase, const double* freq, int n);

}  // namespace vna
