// Smoothing during a scan: each new point becomes the mean of itself and the
// points just before it, drawn at the frequency of the middle of that
// window; the width comes from the " Smoothing" dialog or from the scan
// limits.
#pragma once

namespace vna {

// The Port A values of the point just read (swr, Zmag, Zphase, point_Xs,
// point_Rs, return_loss) become the mean of the last min(smoothing,
// scanloop + 1) readings, and freq_plot the frequency they stand for. Acts
// only while smoothing > 1, scan_running > 0 and no multiplier change is
// pending; otherwise freq_plot := freq.
void SmoothA();
// The same for a Port B point: point_s21db and its phase Zphase.
void SmoothB();

// Width from the scan limits: 2 % of the steps, rounded and made odd, 0
// below 3, at most maxsmooth, into smooth_auto, and into smoothing while
// smoothing is on.
void SmoothCells();
// Redraws the "Smoothing=" box of the info panel.
void ShowSmoothing();

// The " Smoothing" dialog over the main window: Manual takes the typed
// width, Auto the width from the limits, OFF switches smoothing off.
void SmoothingDialog();
int SmoothingHandler();

}  // namespace vna
