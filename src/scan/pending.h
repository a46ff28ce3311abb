// Scan globals and routines the instrument link uses that the scans do not define yet.
// Placeholders until the scans are built: weak definitions in pending.cpp,
// so the real ones take their place; delete the entries then.
#pragma once

namespace vna {

extern double scan_extra_value;  // value kept with each scan; the relay command clears it

// ---- Scan arrays, one element per point (Port A: index k of each array is
// point k of the last Port A scan, scan_npoints of them) ----
constexpr int kScanArraySize = 30012;
// Series resistance and reactance of each point of the last Port A scan,
// ohms. Placeholders: zeros until the scan stores its points.
extern double scanA_Rs[kScanArraySize], scanA_Xs[kScanArraySize];
extern double scanA_freq[kScanArraySize];   // MHz
extern double scanA_swr[kScanArraySize];    // SWR
extern double scanA_zmag[kScanArraySize];   // ohms
extern double scanA_phase[kScanArraySize];  // radians
extern double scanB_freq[kScanArraySize];   // MHz
extern double s21_dB[kScanArraySize];       // dB
// Phase zero crossings of the last Port A scan, MHz, in scan order; -1 marks
// an empty entry.
extern double resonance_freqs[11];

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
