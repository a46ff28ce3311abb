// Every test starts from what the test program had before its first test,
// whatever the test before it changed: the settings, the shell's scratch
// values and modes (the number-to-text precision among them), the outcome of
// the last instrument exchange with the identified model and the last
// measured point, the running scan, the calibration in memory with what its
// file brings, the stored scans with their counts, flags and file formats,
// the stored TDR trace, the clock and date offsets, and the test hook's
// answers, logs and pump hook. A test program then passes as one process as
// it passes one test at a time.
#pragma once

namespace vna::test {

// Takes the values every later test starts from; once, before the first test.
void KeepFreshState();
// Puts them back.
void RestoreFreshState();

}  // namespace vna::test
