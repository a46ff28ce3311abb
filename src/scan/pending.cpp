// Placeholders until the owning routines are built (see pending.h).
#include "scan/pending.h"
#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] double scan_extra_value = 0;
[[gnu::weak]] double scanA_Rs[kScanArraySize] = {};
[[gnu::weak]] double scanA_Xs[kScanArraySize] = {};
[[gnu::weak]] double scanA_freq[kScanArraySize];
[[gnu::weak]] double scanA_swr[kScanArraySize];
[[gnu::weak]] double scanA_zmag[kScanArraySize];
[[gnu::weak]] double scanA_phase[kScanArraySize];
[[gnu::weak]] double scanB_freq[kScanArraySize];
[[gnu::weak]] double s21_dB[kScanArraySize];
[[gnu::weak]] double resonance_freqs[11] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
[[gnu::weak]] void SmoothA() {}

[[gnu::weak]] int ScanLimitsHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int EnterFreqHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int SmoothingHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] void Scan_A() {}
[[gnu::weak]] void Scan_B() {}
[[gnu::weak]] void BandScan() {}
[[gnu::weak]] void PointDataMode() {}
[[gnu::weak]] void SetScanLimits() {}
[[gnu::weak]] void SmoothingDialog() {}
[[gnu::weak]] void RescanCenter() {}

}  // namespace vna
