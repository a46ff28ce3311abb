// Scan globals and routines the instrument link uses that the scans do not define yet.
// Placeholders until the scans are built: weak definitions in pending.cpp,
// so the real ones take their place; delete the entries then.
#pragma once

namespace vna {

extern double scan_extra_value;  // value kept with each scan; the relay command clears it
extern double scan_stop;         // stop frequency of the running sweep, MHz

// Port A scan arrays, indexed by point: frequency (MHz), SWR, series
// resistance and reactance (ohms), |Z| (ohms) and phase (radians).
// Placeholders: zeros until the scan stores its points.
constexpr int kScanArraySize = 30012;
extern double scanA_freq[kScanArraySize], scanA_swr[kScanArraySize], scanA_Rs[kScanArraySize],
    scanA_Xs[kScanArraySize], scanA_zmag[kScanArraySize], scanA_phase[kScanArraySize];

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int ScanLimitsHandler();
int EnterFreqHandler();
int SmoothingHandler();

// Moving average of the last Port A points during a scan. Placeholder: the
// point stays unsmoothed.
void SmoothA();

// ---- What the main window's commands call ----
// Each placeholder measures nothing, draws nothing and opens nothing.
void Scan_A();           // Port A scan over the scan limits
void Scan_B();           // Port B scan over the scan limits
void BandScan();         // one band-scan pass at bandscan_sens
void PointDataMode();    // single-frequency live measurement
void SetScanLimits();    // " Scan Limits" dialog
void SmoothingDialog();  // " Smoothing" dialog
void RescanCenter();     // rescan around a centre, then the noise filter dsp_filter

}  // namespace vna
