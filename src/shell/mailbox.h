// The registry mailbox: another program writes scan limits and a request
// flag under regctl_key; the program scans and answers in "csvready" with
// the path of the result CSV, or with "error" and the code of the failure.
#pragma once

#include <string>

namespace vna {

// Codes the mailbox answers besides a scan's own failure status (README).
enum : int {
  kCtlDeltaRange = 1,  // step below 1 kHz or above 1 MHz
  kCtlEndRange = 2,    // end below 10 kHz or above the model's maximum
  kCtlStartRange = 3,  // start below 5 kHz or above the model's maximum
  kCtlEndNotAboveStart = 4,
  kCtlTooManyPoints = 5,  // more points than a frequency list holds
  kCtlCsvNotWritten = 6,
  kCtlScanRunning = 7,  // a scan was running: the request is dropped
  kCtlNotScanned = 8,   // the scan did not run
  // The scan was halted before it measured a point.
  kCtlNothingMeasured = 9,
};

// Polls the mailbox every 500 ms while the program runs, the mailbox is on
// and an instrument is present.
void RegistryControl();

// Writes the points the last scan of the present port measured to
// control_csv. False, after its message box, when the file could not be
// written whole.
bool WriteControlCsv();
// The points WriteControlCsv writes: the present port's stored count.
int ControlCsvPoints();

// The number of points a scan from start to end in steps of delta lists
// (before the list's own limit).
long ControlPointCount(double start, double end, double delta);

// The validation of a request's limits in start_freq, end_freq, delta_freq:
// 0, or the code of the check that failed last, with its message text.
int ValidateControlLimits(std::string& message);

// One data line of the result CSV, without the line end.
std::string ControlCsvLineA(int p);
std::string ControlCsvLineB(int p);

}  // namespace vna
